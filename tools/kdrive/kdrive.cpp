// kdrive commands.
#include "tools/kdrive/kdrive.h"

#include <cstdlib>
#include <cstring>

namespace kdrive {

namespace {

std::string Upper(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

std::string WindowText(HWND w) {
    char buf[4096] = {};
    // WM_GETTEXT works across processes, GetWindowText does not for controls.
    SendMessageTimeoutA(w, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 5000, nullptr);
    return buf;
}

std::string ClassOf(HWND w) {
    char buf[256] = {};
    GetClassNameA(w, buf, sizeof buf);
    return buf;
}


struct KeyName {
    const char* name;
    WORD vk;
};
constexpr KeyName kKeys[] = {
    {"RETURN", VK_RETURN}, {"ENTER", VK_RETURN}, {"ESC", VK_ESCAPE}, {"ESCAPE", VK_ESCAPE}, {"TAB", VK_TAB},
    {"SPACE", VK_SPACE},   {"BS", VK_BACK},      {"BACK", VK_BACK}, {"DEL", VK_DELETE}, {"INS", VK_INSERT},
    {"HOME", VK_HOME},     {"END", VK_END},      {"UP", VK_UP},      {"DOWN", VK_DOWN}, {"LEFT", VK_LEFT},
    {"RIGHT", VK_RIGHT},   {"PGUP", VK_PRIOR},   {"PGDN", VK_NEXT},  {"PRIOR", VK_PRIOR}, {"NEXT", VK_NEXT},
};

int ParseVk(const std::string& name) {
    const std::string u = Upper(name);
    for (const KeyName& k : kKeys) {
        if (u == k.name) return k.vk;
    }
    if (u.size() == 1 && ((u[0] >= 'A' && u[0] <= 'Z') || (u[0] >= '0' && u[0] <= '9'))) return u[0];
    if (u.size() >= 2 && u[0] == 'F') {
        const int n = std::atoi(u.c_str() + 1);
        if (n >= 1 && n <= 24) return VK_F1 + n - 1;
    }
    if (u.size() > 2 && u[0] == '#') return std::atoi(u.c_str() + 1);
    return -1;
}

// Saves the whole screen as a 24-bit BMP file.
std::string SaveScreen(const std::string& path) {
    using kestrum::FileHandle;
    using kestrum::GdiObject;
    using kestrum::MemoryDc;
    const int w = GetSystemMetrics(SM_CXSCREEN);
    const int h = GetSystemMetrics(SM_CYSCREEN);
    const kestrum::WindowDc screen(nullptr);
    const MemoryDc mem(CreateCompatibleDC(screen.Get()));
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const GdiObject<HBITMAP> bmp(CreateDIBSection(screen.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bmp) return "cannot capture the screen";
    {
        const kestrum::SelectGuard keep(mem.Get(), bmp.Get());
        BitBlt(mem.Get(), 0, 0, w, h, screen.Get(), 0, 0, SRCCOPY);
    }
    const DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
    const DWORD size = stride * static_cast<DWORD>(h);
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + size;
    const FileHandle f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (!f || !WriteFile(f.Get(), &fh, sizeof fh, &written, nullptr) ||
        !WriteFile(f.Get(), &bi.bmiHeader, sizeof bi.bmiHeader, &written, nullptr) ||
        !WriteFile(f.Get(), bits, size, &written, nullptr)) {
        return "cannot write " + path;
    }
    return {};
}

}  // namespace

int KeyCode(const std::string& name) { return ParseVk(name); }

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::string cur;
    bool quoted = false;
    bool any = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (IsDBCSLeadByteEx(932, static_cast<BYTE>(c)) && i + 1 < line.size()) {
            cur += c;
            cur += line[++i];
            any = true;
        } else if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (any) words.push_back(cur);
            cur.clear();
            any = false;
        } else {
            cur += c;
            any = true;
        }
    }
    if (any) words.push_back(cur);
    return words;
}

// Lets the target handle what was posted to it.
void Driver::Settle(HWND w) const {
    Sleep(settleMs_);
    DWORD_PTR r = 0;
    if (w) SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &r);
}

Driver::~Driver() {
    if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) TerminateProcess(process_.Get(), 99);
}

std::string Driver::Start(const std::string& exe, const std::string& args) {
    if (process_) return "a program is already running";
    std::string path = exe;
    if (path.find('\\') == std::string::npos && path.find(':') == std::string::npos) {
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        char* slash = std::strrchr(self, '\\');  // our own path holds no Japanese
        if (slash) slash[1] = '\0';
        path = std::string(self) + exe;
    }
    std::string cmd = "\"" + path + "\"";
    if (!args.empty()) cmd += " " + args;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(path.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        return "cannot start " + path + " (error " + std::to_string(GetLastError()) + ")";
    }
    process_.Reset(pi.hProcess);
    thread_.Reset(pi.hThread);
    pid_ = pi.dwProcessId;
    tid_ = pi.dwThreadId;
    WaitForInputIdle(process_.Get(), 10000);
    return {};
}

namespace {
struct FindData {
    DWORD pid;
    std::string cls;
    std::string caption;
    bool visibleOnly;
    HWND found;
};
BOOL CALLBACK FindProc(HWND w, LPARAM lp) {
    auto* d = reinterpret_cast<FindData*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != d->pid) return TRUE;
    if (d->visibleOnly && !IsWindowVisible(w)) return TRUE;
    if (d->cls != "*" && ClassOf(w) != d->cls) return TRUE;
    if (!d->caption.empty() && WindowText(w).find(d->caption) == std::string::npos) return TRUE;
    d->found = w;
    return FALSE;
}
}  // namespace

namespace {
struct OwnWindows {
    DWORD pid;
    std::vector<HWND> found;
};
BOOL CALLBACK OwnProc(HWND w, LPARAM lp) {
    auto* d = reinterpret_cast<OwnWindows*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == d->pid && IsWindowVisible(w)) d->found.push_back(w);
    return TRUE;
}
BOOL CALLBACK AllProc(HWND w, LPARAM lp) {
    auto* d = reinterpret_cast<OwnWindows*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == d->pid) d->found.push_back(w);
    return TRUE;
}
std::vector<HWND> WindowsOf(DWORD pid) {
    OwnWindows d{pid, {}};
    EnumWindows(AllProc, reinterpret_cast<LPARAM>(&d));
    return d.found;
}
std::vector<HWND> VisibleWindowsOf(DWORD pid) {
    OwnWindows d{pid, {}};
    EnumWindows(OwnProc, reinterpret_cast<LPARAM>(&d));
    return d.found;
}
}  // namespace

std::string Driver::Ping(DWORD ms) const {
    if (!process_) return "no program";
    if (WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0) return "the program has ended";
    for (HWND w : VisibleWindowsOf(pid_)) {
        DWORD_PTR r = 0;
        if (!SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_BLOCK, ms, &r) && IsWindow(w)) {
            return "window " + ClassOf(w) + " has not answered for " + std::to_string(ms) + " ms";
        }
    }
    return {};
}

std::string Driver::Dismiss(std::string& out) {
    if (!process_) return "no program";
    int n = 0;
    for (HWND w : VisibleWindowsOf(pid_)) {
        const std::string cls = ClassOf(w);
        if (cls == "#32770") {
            // No over Cancel over OK: the answer that changes the least.
            int id = IDOK;
            for (int b : {IDNO, IDCANCEL, IDRETRY}) {
                if (GetDlgItem(w, b)) {
                    id = b;
                    break;
                }
            }
            out += (n ? " " : "") + cls + ":" + WindowText(w) + ":" + WindowText(GetDlgItem(w, 0xFFFF));
            PostMessageA(w, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(w, id)));
        } else if (cls != "TfrmMain" && cls != "TfrmFM" && cls != "TApplication" && cls != "TCallbackWindow") {
            out += (n ? " " : "") + cls;
            PostMessageA(w, WM_CLOSE, 0, 0);
        } else {
            continue;
        }
        ++n;
        Settle(w);
    }
    return {};
}

namespace {
struct EditSearch {
    HWND found;
};
BOOL CALLBACK FirstEditProc(HWND w, LPARAM lp) {
    auto* d = reinterpret_cast<EditSearch*>(lp);
    if (ClassOf(w) != "Edit" && ClassOf(w) != "EDIT") return TRUE;
    d->found = w;
    return FALSE;
}
}  // namespace

std::string Driver::FocusInfo() const {
    HWND f = nullptr;
    GUITHREADINFO gti{};
    gti.cbSize = sizeof gti;
    if (tid_ && GetGUIThreadInfo(tid_, &gti)) {
        f = gti.hwndFocus ? gti.hwndFocus : gti.hwndActive;
    }
    if (!f) return "nothing";
    HWND top = GetAncestor(f, GA_ROOT);
    std::string info = ClassOf(f);
    if (top && top != f) info += " in " + ClassOf(top);
    if (!IsWindowVisible(f)) info += " (hidden)";
    if (!IsWindowEnabled(top ? top : f)) info += " (disabled)";
    return info;
}

HWND Driver::FindWindowOf(const std::string& cls, const std::string& caption, bool visibleOnly) const {
    if (!process_) return nullptr;
    FindData d{pid_, cls, caption, visibleOnly, nullptr};
    EnumWindows(FindProc, reinterpret_cast<LPARAM>(&d));
    return d.found;
}

std::string Driver::WaitWindow(const std::vector<std::string>& a, bool visibleOnly) {
    if (a.size() < 2) return "usage: wait-window CLASS [CAPTION] [TIMEOUT-MS]";
    const std::string caption = a.size() > 2 ? a[2] : "";
    const DWORD timeout = a.size() > 3 ? static_cast<DWORD>(std::atoi(a[3].c_str())) : 20000;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeout) {
        if (HWND w = FindWindowOf(a[1], caption, visibleOnly)) {
            current_ = w;
            Settle(w);
            return {};
        }
        if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0) return "the program has ended";
        Sleep(50);
    }
    return "no window " + a[1] + (caption.empty() ? "" : " \"" + caption + "\"");
}

HWND Driver::Focused() const {
    if (!current_) return nullptr;
    // The program first finishes what it is doing (a window just closed
    // gives the focus back only then): a key goes where the focus ends up,
    // as a key pressed by hand would.
    DWORD_PTR r = 0;
    SendMessageTimeoutA(current_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &r);
    GUITHREADINFO gti{};
    gti.cbSize = sizeof gti;
    const DWORD tid = GetWindowThreadProcessId(current_, nullptr);
    if (GetGUIThreadInfo(tid, &gti) && gti.hwndFocus) return gti.hwndFocus;
    return current_;
}

std::string Driver::TypeText(const std::string& text) {
    HWND f = Focused();
    if (!f) return "no window to type into";
    const int n = MultiByteToWideChar(932, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(932, 0, text.c_str(), static_cast<int>(text.size()), w.data(), n);
    // Each character is posted to the focused control as the keyboard and
    // the input method deliver it: one UTF-16 WM_CHAR through the program's
    // own message loop.
    for (wchar_t c : w) PostMessageW(f, WM_CHAR, c, 1);
    Settle(f);
    return {};
}

std::string Driver::SendKey(const std::string& spec) {
    HWND f = Focused();
    if (!f) return "no window for the key";
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    std::string rest = spec;
    for (;;) {
        const std::size_t plus = rest.find('+');
        if (plus == std::string::npos || plus + 1 == rest.size()) break;
        const std::string mod = Upper(rest.substr(0, plus));
        if (mod == "SHIFT") {
            shift = true;
        } else if (mod == "CTRL") {
            ctrl = true;
        } else if (mod == "ALT") {
            alt = true;
        } else {
            return "unknown modifier " + mod;
        }
        rest = rest.substr(plus + 1);
    }
    const int vk = ParseVk(rest);
    if (vk < 0) return "unknown key " + rest;
    // The target reads the modifiers from its thread's key state: share the
    // input state with it and set the keys there.
    const DWORD tid = GetWindowThreadProcessId(f, nullptr);
    AttachThreadInput(GetCurrentThreadId(), tid, TRUE);
    BYTE state[256] = {};
    GetKeyboardState(state);
    BYTE saved[256];
    std::memcpy(saved, state, sizeof saved);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    state[VK_MENU] = alt ? 0x80 : 0;
    SetKeyboardState(state);
    const UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const UINT up = alt ? WM_SYSKEYUP : WM_KEYUP;
    const LPARAM lpDown = 1 | (alt ? (1 << 29) : 0);
    PostMessageA(f, down, static_cast<WPARAM>(vk), lpDown);
    PostMessageA(f, up, static_cast<WPARAM>(vk), lpDown | (1u << 30) | (1u << 31));
    // The modifiers must still be down when the program takes the key.
    if ((shift || ctrl || alt) && settleMs_ < 150) Sleep(150 - settleMs_);
    Settle(f);
    SetKeyboardState(saved);
    AttachThreadInput(GetCurrentThreadId(), tid, FALSE);
    return {};
}

std::string Driver::WaitExit(DWORD timeoutMs) {
    if (!process_) return "no program";
    if (WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0) return "the program did not end";
    GetExitCodeProcess(process_.Get(), &exitCode_);
    return {};
}

std::string Driver::Close(DWORD timeoutMs) {
    HWND main = FindWindowOf("TfrmMain", "", false);
    if (!main) return "no shell window";
    PostMessageA(main, WM_CLOSE, 0, 0);
    return WaitExit(timeoutMs);
}

std::string Driver::Run(const std::string& line, std::string& out) {
    const std::vector<std::string> a = Words(line);
    if (a.empty() || a[0][0] == '#') return {};
    const std::string cmd = a[0];
    auto window = [&](std::size_t i) -> HWND {
        if (a.size() <= i) return current_;
        HWND w = FindWindowOf(a[i], "", false);
        if (w) current_ = w;
        return w;
    };
    if (cmd == "start") {
        if (a.size() < 2) return "usage: start EXE [ARGS]";
        std::string args;
        for (std::size_t i = 2; i < a.size(); ++i) args += (i > 2 ? " " : "") + ("\"" + a[i] + "\"");
        return Start(a[1], args);
    }
    if (cmd == "wait-window") return WaitWindow(a, true);
    if (cmd == "find-window") return WaitWindow(a, false);
    if (cmd == "focus") {
        HWND w = window(1);
        if (!w) return "no window";
        SetForegroundWindow(w);
        Settle(w);
        return {};
    }
    if (cmd == "hotkey" || cmd == "tray" || cmd == "expect-tray") return RunDesktop(a);
    if (cmd == "type") return a.size() < 2 ? "usage: type TEXT" : TypeText(a[1]);
    if (cmd == "key") return a.size() < 2 ? "usage: key [SHIFT+][CTRL+][ALT+]KEY" : SendKey(a[1]);
    if (cmd == "caption") {
        HWND w = window(1);
        if (!w) return "no window";
        out = WindowText(w);
        return {};
    }
    if (cmd == "text") {
        // text [CLASS [CHILD-CLASS [N]]]: the focused control, or the n-th
        // child of a class.
        HWND w = a.size() > 1 ? window(1) : Focused();
        if (!w) return "no window";
        if (a.size() > 2) {
            int n = a.size() > 3 ? std::atoi(a[3].c_str()) : 0;
            HWND child = nullptr;
            while ((child = FindWindowExA(w, child, a[2].c_str(), nullptr)) != nullptr && n > 0) --n;
            if (!child) return "no child " + a[2];
            w = child;
        }
        out = WindowText(w);
        return {};
    }
    if (cmd == "expect-caption" || cmd == "expect-text") {
        if (a.size() < 3) return "usage: " + cmd + " CLASS TEXT";
        HWND w = window(1);
        if (!w) return "no window " + a[1];
        const std::string got = WindowText(cmd == "expect-text" ? Focused() : w);
        return got == a[2] ? std::string() : "expected \"" + a[2] + "\", got \"" + got + "\"";
    }
    if (cmd == "expect-visible" || cmd == "expect-hidden") {
        HWND w = window(1);
        if (!w) return "no window";
        const bool want = cmd == "expect-visible";
        return (IsWindowVisible(w) != 0) == want ? std::string() : a[1] + (want ? " is hidden" : " is visible");
    }
    if (cmd == "menu" || cmd == "sysmenu") {
        if (a.size() < 3) return "usage: " + cmd + " CLASS ID";
        HWND w = window(1);
        if (!w) return "no window " + a[1];
        PostMessageA(w, cmd == "menu" ? WM_COMMAND : WM_SYSCOMMAND, static_cast<WPARAM>(std::atoi(a[2].c_str())), 0);
        Settle(w);
        return {};
    }
    if (cmd == "expect-menu") {
        if (a.size() < 3) return "usage: expect-menu CLASS on|off";
        HWND w = window(1);
        if (!w) return "no window " + a[1];
        const bool want = Upper(a[2]) == "ON";
        return (GetMenu(w) != nullptr) == want ? std::string() : a[1] + (want ? " has no menu bar" : " has a menu bar");
    }
    if (cmd == "press") {
        // press CLASS ID: clicks a dialog button by its id (1 OK, 2 Cancel, 6 Yes, 7 No).
        if (a.size() < 3) return "usage: press CLASS ID";
        HWND w = window(1);
        if (!w) return "no window " + a[1];
        PostMessageA(w, WM_COMMAND, MAKEWPARAM(std::atoi(a[2].c_str()), BN_CLICKED), 0);
        Settle(nullptr);
        return {};
    }
    if (cmd == "wait-gone") {
        if (a.size() < 2) return "usage: wait-gone CLASS [MS]";
        const DWORD timeout = a.size() > 2 ? static_cast<DWORD>(std::atoi(a[2].c_str())) : 20000;
        const DWORD start = GetTickCount();
        while (FindWindowOf(a[1], "", true)) {
            if (GetTickCount() - start >= timeout) return a[1] + " is still there";
            Sleep(50);
        }
        return {};
    }
    if (cmd == "box") {
        // box CLASS: the text of the window's first edit control, however
        // deep it sits.
        if (a.size() < 2) return "usage: box CLASS";
        HWND w = FindWindowOf(a[1], "", false);
        if (!w) return "no window " + a[1];
        EditSearch d{nullptr};
        EnumChildWindows(w, FirstEditProc, reinterpret_cast<LPARAM>(&d));
        if (!d.found) return "no edit control in " + a[1];
        out = WindowText(d.found);
        return {};
    }
    if (cmd == "windows") {
        // Every top-level window of the program: class, "hidden" and
        // "disabled" where it is.
        for (HWND w : WindowsOf(pid_)) {
            out += (out.empty() ? "" : " ") + ClassOf(w);
            if (!IsWindowVisible(w)) out += "(hidden)";
            if (!IsWindowEnabled(w)) out += "(disabled)";
        }
        return {};
    }
    if (cmd == "focused") {
        out = FocusInfo();
        return {};
    }
    if (cmd == "shot") return a.size() < 2 ? "usage: shot FILE.bmp" : SaveScreen(a[1]);
    if (cmd == "sleep") {
        Sleep(a.size() > 1 ? static_cast<DWORD>(std::atoi(a[1].c_str())) : 100);
        return {};
    }
    if (cmd == "close") return Close(a.size() > 1 ? static_cast<DWORD>(std::atoi(a[1].c_str())) : 20000);
    if (cmd == "wait-exit") return WaitExit(a.size() > 1 ? static_cast<DWORD>(std::atoi(a[1].c_str())) : 20000);
    if (cmd == "ping") return Ping(a.size() > 1 ? static_cast<DWORD>(std::atoi(a[1].c_str())) : 10000);
    if (cmd == "dismiss") return Dismiss(out);
    if (cmd == "exit-code") {
        out = std::to_string(exitCode_);
        return {};
    }
    return "unknown command " + cmd;
}

}  // namespace kdrive
