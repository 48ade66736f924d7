#include "fileops/shortcut_win.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "common/sjis.h"

namespace kestrum {

namespace {

template <typename T>
struct ComPtr {
    T* p = nullptr;
    ~ComPtr() {
        if (p) p->Release();
    }
};

std::wstring Wide(const std::string& s) {
    const int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> buf(static_cast<std::size_t>(n > 0 ? n : 1));
    MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, buf.data(), n);
    return std::wstring(buf.data());
}

}  // namespace

bool CreateShortcut(const std::string& link, const std::string& target) {
    const HRESULT init = CoInitialize(nullptr);
    bool ok = false;
    {
        ComPtr<IShellLinkA> shellLink;
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                       reinterpret_cast<void**>(&shellLink.p)))) {
            shellLink.p->SetPath(target.c_str());
            shellLink.p->SetWorkingDirectory(ExcludeTrailingBackslash(ExtractFilePath(target)).c_str());
            ComPtr<IPersistFile> file;
            if (SUCCEEDED(shellLink.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p)))) {
                ok = SUCCEEDED(file.p->Save(Wide(link).c_str(), TRUE));
            }
        }
    }
    if (SUCCEEDED(init)) CoUninitialize();
    return ok;
}

}  // namespace kestrum
