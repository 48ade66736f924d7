// EjectMedia through the disk device's eject request.
#include "fileops/eject_win.h"

#include <windows.h>
#include <winioctl.h>

#include "common/handles_win.h"
#include "common/prompter.h"

namespace kestrum {

namespace {

// Keeps the platform's critical-error box away while the drive is opened.
class ErrorModeScope {
public:
    ErrorModeScope() : old_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~ErrorModeScope() { SetErrorMode(old_); }
    ErrorModeScope(const ErrorModeScope&) = delete;
    ErrorModeScope& operator=(const ErrorModeScope&) = delete;

private:
    UINT old_;
};

}  // namespace

bool EjectMedia(const std::string& drive) {
    static_assert(IOCTL_DISK_EJECT_MEDIA == 0x74808);
    std::string device = "\\\\.\\";
    if (!drive.empty()) device += drive.substr(0, 1) + ":";
    ErrorModeScope quiet;
    FileHandle h(CreateFileA(device.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr));
    if (!h) {
        CurrentPrompter().ShowMessage("Open Error!");
        return false;
    }
    DWORD returned = 0;
    if (!DeviceIoControl(h.Get(), IOCTL_DISK_EJECT_MEDIA, nullptr, 0, nullptr, 0, &returned, nullptr)) {
        CurrentPrompter().ShowMessage("Eject Error!");
        return false;
    }
    return true;
}

}  // namespace kestrum
