// Move-only owners for Win32 handles, registry keys, GDI objects, DCs,
// menus, image lists, COM pointers and DLLs loaded by name.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <string>
#include <utility>
#include <vector>

namespace kestrum {

// Generic owner: Traits supplies the invalid value and the closer.
template <typename Traits>
class UniqueOwner {
public:
    using Handle = typename Traits::Handle;
    UniqueOwner() = default;
    explicit UniqueOwner(Handle h) : h_(h) {}
    ~UniqueOwner() { Reset(); }
    UniqueOwner(const UniqueOwner&) = delete;
    UniqueOwner& operator=(const UniqueOwner&) = delete;
    UniqueOwner(UniqueOwner&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
    UniqueOwner& operator=(UniqueOwner&& o) noexcept {
        if (this != &o) {
            Reset();
            h_ = std::exchange(o.h_, Traits::Invalid());
        }
        return *this;
    }
    Handle Get() const { return h_; }
    bool Valid() const { return h_ != Traits::Invalid(); }
    explicit operator bool() const { return Valid(); }
    Handle Release() { return std::exchange(h_, Traits::Invalid()); }
    void Reset(Handle h = Traits::Invalid()) {
        if (Valid()) Traits::Close(h_);
        h_ = h;
    }

private:
    Handle h_ = Traits::Invalid();
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::CloseHandle(h); }
};
// CreateFile returns INVALID_HANDLE_VALUE on failure.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::CloseHandle(h); }
};
struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::FindClose(h); }
};
struct ModuleTraits {
    using Handle = HMODULE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::FreeLibrary(h); }
};
struct RegKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::RegCloseKey(h); }
};
struct MenuTraits {
    using Handle = HMENU;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DestroyMenu(h); }
};
template <typename T>
struct GdiTraits {
    using Handle = T;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DeleteObject(h); }
};
// A DC made by CreateCompatibleDC.
struct MemoryDcTraits {
    using Handle = HDC;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DeleteDC(h); }
};
struct ImageListTraits {
    using Handle = HIMAGELIST;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::ImageList_Destroy(h); }
};

using UniqueHandle = UniqueOwner<KernelHandleTraits>;
using FileHandle = UniqueOwner<FileHandleTraits>;
using FindHandle = UniqueOwner<FindHandleTraits>;
using RegKey = UniqueOwner<RegKeyTraits>;
using MenuHandle = UniqueOwner<MenuTraits>;
template <typename T>
using GdiObject = UniqueOwner<GdiTraits<T>>;
using MemoryDc = UniqueOwner<MemoryDcTraits>;
using ImageListHandle = UniqueOwner<ImageListTraits>;

// The key path below root opened for reading; not Valid when it cannot be.
RegKey OpenRegKey(HKEY root, const std::string& path);
// A string value of key (nullptr: its default value) of up to MAX_PATH
// bytes; empty when there is none.
std::string RegString(HKEY key, const char* valueName);
// The names of key's subkeys in the registry's order.
std::vector<std::string> RegSubkeyNames(HKEY key);

// A window's menu bar. While a window shows it the window owns it and
// destroys it with itself; while no window shows it this owner does.
class MenuBar {
public:
    MenuBar() = default;
    explicit MenuBar(HMENU menu) : menu_(menu), own_(menu) {}
    HMENU Get() const { return menu_; }
    // Shows the bar in wnd, which takes it over, or takes it out of wnd.
    void Show(HWND wnd, bool show) {
        if (!menu_) return;
        ::SetMenu(wnd, show ? menu_ : nullptr);
        if (show) {
            own_.Release();
        } else if (!own_) {
            own_.Reset(menu_);
        }
    }
    // The window was created with the bar: it owns it now.
    void CreatedWith() { own_.Release(); }

private:
    HMENU menu_ = nullptr;
    MenuHandle own_;
};

// A move-only COM interface pointer: released once, by its last owner.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& o) noexcept {
        if (this != &o) {
            Reset();
            p_ = std::exchange(o.p_, nullptr);
        }
        return *this;
    }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void Reset() {
        if (p_) std::exchange(p_, nullptr)->Release();
    }
    // For a call that hands out a new reference: the old one is released.
    void** Put() {
        Reset();
        return reinterpret_cast<void**>(&p_);
    }

private:
    T* p_ = nullptr;
};

// CoInitialize for a scope; CoUninitialize only when it succeeded.
class ComScope {
public:
    ComScope() : result_(::CoInitialize(nullptr)) {}
    ~ComScope() {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT result_;
};

// BeginPaint / EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND wnd) : wnd_(wnd) { dc_ = ::BeginPaint(wnd, &ps_); }
    ~PaintDc() { ::EndPaint(wnd_, &ps_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC Get() const { return dc_; }
    const PAINTSTRUCT& Info() const { return ps_; }

private:
    HWND wnd_;
    HDC dc_;
    PAINTSTRUCT ps_{};
};

// GetDC (or GetDCEx with flags) / ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND wnd) : wnd_(wnd), dc_(::GetDC(wnd)) {}
    WindowDc(HWND wnd, DWORD flags) : wnd_(wnd), dc_(::GetDCEx(wnd, nullptr, flags)) {}
    ~WindowDc() {
        if (dc_) ::ReleaseDC(wnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND wnd_;
    HDC dc_;
};

// Selects an object into a DC for the lifetime of the guard.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(::SelectObject(dc, obj)) {}
    ~SelectGuard() {
        if (old_) ::SelectObject(dc_, old_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// The report of a missing export of a library: "<name>が見つかりません".
std::string MissingExportText(const std::string& exportName);

// What the lookup of one export of a Module found: the function, or the
// name that is missing.
template <typename Fn>
struct Export {
    Fn fn = nullptr;
    std::string name;  // the export looked up
    explicit operator bool() const { return fn != nullptr; }
    std::string Missing() const { return MissingExportText(name); }
};

// A DLL loaded by name. Exports are looked up when asked for; a missing DLL
// or export is reported by the lookup, never a crash.
class Module {
public:
    Module() = default;
    explicit Module(const std::string& name) : name_(name), h_(::LoadLibraryA(name.c_str())) {}
    bool Loaded() const { return h_.Valid(); }
    const std::string& Name() const { return name_; }
    template <typename Fn>
    Export<Fn> Find(const char* exportName) const {
        Export<Fn> e;
        e.name = exportName;
        if (h_.Valid()) e.fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(h_.Get(), exportName)));
        return e;
    }

private:
    std::string name_;
    UniqueOwner<ModuleTraits> h_;
};

}  // namespace kestrum
