// Shortcut files made through the platform's shell link object.
#include "fileops/shortcut_win.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "common/handles_win.h"
#include "common/sjis.h"

namespace kestrum {

namespace {

std::wstring Wide(const std::string& s) {
    const int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> buf(static_cast<std::size_t>(n > 0 ? n : 1));
    MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, buf.data(), n);
    return std::wstring(buf.data());
}

}  // namespace

bool CreateShortcut(const std::string& link, const std::string& target) {
    const ComScope com;
    ComPtr<IShellLinkA> shellLink;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, shellLink.Put()))) {
        return false;
    }
    shellLink->SetPath(target.c_str());
    shellLink->SetWorkingDirectory(ExcludeTrailingBackslash(ExtractFilePath(target)).c_str());
    ComPtr<IPersistFile> file;
    if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.Put()))) return false;
    return SUCCEEDED(file->Save(Wide(link).c_str(), TRUE));
}

}  // namespace kestrum
