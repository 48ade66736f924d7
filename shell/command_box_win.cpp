// The command box bound to an EDIT control: reads the text and caret, runs
// the key handler and writes the result back.
#include "shell/command_box_win.h"

#include <commctrl.h>

#include <map>

#include "common/handles_win.h"
#include "common/sjis.h"
#include "common/window_win.h"
#include "config/key_files_win.h"
#include "config/key_map.h"
#include "filer/frm_fm_win.h"
#include "shell/app_win.h"

namespace kestrum {

namespace {

class WinLister : public DirectoryLister {
public:
    std::vector<FoundName> Find(const std::string& pattern) override {
        std::vector<FoundName> out;
        WIN32_FIND_DATAA fd{};
        FindHandle h(FindFirstFileA(pattern.c_str(), &fd));
        if (!h) return out;
        do {
            out.push_back(FoundName{fd.cFileName, (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
        } while (FindNextFileA(h.Get(), &fd));
        return out;
    }
    bool IsFixedDisk(char letter) override {
        const char root[] = {letter, ':', '\\', '\0'};
        return GetDriveTypeA(root) == DRIVE_FIXED;
    }
};

std::map<HWND, std::unique_ptr<CommandBox>>& Boxes() {
    static std::map<HWND, std::unique_ptr<CommandBox>> boxes;
    return boxes;
}

constexpr UINT_PTR kSubclassId = 0x4B42;  // "KB"

bool Down(int vk) { return GetKeyState(vk) < 0; }

}  // namespace

DirectoryLister& PlatformLister() {
    static WinLister lister;
    return lister;
}

std::string FullPathFromCurrentDir(const std::string& path) {
    if (path.empty()) return path;
    std::string base = App().currentDir;
    if (base.empty()) {
        char cwd[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, cwd);
        base = cwd;
    }
    base = IncludeTrailingBackslash(base);
    std::string joined;
    if (path.size() >= 2 && path[1] == ':') {
        joined = path;  // a drive of its own (relative to that drive's directory)
    } else if (path[0] == '\\') {
        joined = (path.size() > 1 && path[1] == '\\') ? path : base.substr(0, 2) + path;
    } else {
        joined = base + path;
    }
    char full[MAX_PATH * 2] = {};
    const DWORD n = GetFullPathNameA(joined.c_str(), sizeof full, full, nullptr);
    if (n == 0 || n >= sizeof full) return joined;
    return full;
}

CommandBox& CommandBox::For(HWND edit, int tag) {
    auto& boxes = Boxes();
    auto it = boxes.find(edit);
    if (it != boxes.end()) return *it->second;
    std::unique_ptr<CommandBox> box(new CommandBox(edit, tag));
    CommandBox& ref = *box;
    boxes[edit] = std::move(box);
    return ref;
}

CommandBox::CommandBox(HWND edit, int tag) : edit_(edit), logic_(tag) {
    SetWindowSubclass(edit_, &CommandBox::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    logic_.Browser().Reset(GetText(edit_));
}

CommandBox::~CommandBox() {
    if (edit_ && IsWindow(edit_)) RemoveWindowSubclass(edit_, &CommandBox::SubclassProc, kSubclassId);
}

BoxText CommandBox::Read() const {
    DWORD start = 0;
    SendMessageA(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return BoxText{GetText(edit_), static_cast<int>(start)};
}

void CommandBox::Write(const BoxText& box) {
    SetWindowTextA(edit_, box.text.c_str());
    SendMessageA(edit_, EM_SETSEL, box.caret, box.caret);
}

void CommandBox::Apply(const BoxText& before, const BoxText& after) {
    if (!IsWindow(edit_)) return;
    if (after.text != before.text) {
        Write(after);
    } else if (after.caret != before.caret) {
        SendMessageA(edit_, EM_SETSEL, after.caret, after.caret);
    }
}

BoxEnv CommandBox::Env() {
    AppState& app = App();
    BoxEnv env;
    env.history = history_ ? history_ : &app.lists.exeHistory;
    env.settings = &app.settings;
    env.lister = lister_ ? lister_ : &PlatformLister();
    const int tag = Tag();
    Runner run = runner_;
    env.run = [tag, run](const std::string& line) {
        App().lineOrigin = tag;
        return run ? run(line) : Execute_t(line);
    };
    env.focusFiler = onFocusFiler ? onFocusFiler : [] { Execute_t(CommandName(1)); };
    if (tag == kLineInputBox) env.fullPath = &FullPathFromCurrentDir;
    env.accept = onAccept;
    env.browse = onBrowse;
    env.cdName = CommandName(0);
    return env;
}

void CommandBox::KeyDown(WPARAM& key) { KeyDown(key, Down(VK_SHIFT), Down(VK_CONTROL), Down(VK_MENU)); }

void CommandBox::KeyDown(WPARAM& key, bool shift, bool ctrl, bool alt) {
    if (key == 0) return;
    // ---- key map hook ----
    // The key map of the command boxes: a bound key runs the line-input
    // window's action for it and is consumed.
    if (EditKeyLookUp(key, shift, ctrl, alt)) return;
    // ----------------------
    // A key the filer binds to its next or previous page turns the filer's
    // page from the command box too.
    if (!alt && App().filer) {
        const int vk = MainRowKey(static_cast<int>(key));
        const unsigned char mods = ModifierBits(shift, ctrl, alt);
        const TUserKey& map = FilerKeyX().KeyXUserKey;
        for (int i = 0; i < map.Count(); ++i) {
            const KeyBinding& b = map.Get(i);
            if (b.key == vk && b.modifiers == mods && (b.action == 19 || b.action == 20)) {
                App().filer->RunAction(b.action);
                key = 0;
                return;
            }
        }
    }
    if (key == VK_ESCAPE && !alt && onEscape) {
        onEscape();
        key = 0;
        return;
    }
    ++busy_;
    const BoxText before = Read();
    BoxText box = before;
    int post = 0;
    const BoxEnv env = Env();
    const bool swallowed = logic_.KeyDown(KeyInput{static_cast<int>(key), shift, ctrl, alt}, box, env, &post);
    --busy_;
    if (doomed_) {
        // The control went away while the line ran (EXIT).
        key = 0;
        if (busy_ == 0) delete this;
        return;
    }
    Apply(before, box);
    if (post && IsWindow(edit_)) PostMessageA(edit_, WM_KEYDOWN, static_cast<WPARAM>(post), 0);
    if (swallowed) key = 0;
}

bool CommandBox::KeyPress(WPARAM ch, bool ctrl) const {
    if (ch == '\r' || ch == '\n' || ch == '\t') return true;
    // The line-input window also swallows every control character typed
    // with Ctrl (Ctrl+A and the like would only beep).
    return Tag() == kLineInputBox && ctrl && ch < 0x20;
}

void CommandBox::HistoryList() {
    ++busy_;
    const BoxText before = Read();
    BoxText box = before;
    const BoxEnv env = Env();
    logic_.Browser().Observe(box.text);
    logic_.HistoryBack(box, env, true);
    --busy_;
    if (doomed_) {
        if (busy_ == 0) delete this;
        return;
    }
    Apply(before, box);
}

LRESULT CALLBACK CommandBox::SubclassProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<CommandBox*>(data);
    switch (msg) {
    case WM_NCDESTROY: {
        RemoveWindowSubclass(wnd, &CommandBox::SubclassProc, kSubclassId);
        auto& boxes = Boxes();
        auto it = boxes.find(wnd);
        if (self->busy_ > 0) {
            // The line being run closed the window: the handler frees the
            // box when it returns.
            self->doomed_ = true;
            self->edit_ = nullptr;
            if (it != boxes.end()) {
                static_cast<void>(it->second.release());
                boxes.erase(it);
            }
        } else if (it != boxes.end()) {
            boxes.erase(it);
        }
        return DefSubclassProc(wnd, msg, wp, lp);
    }
    case WM_GETDLGCODE:
        if (self->ownKeys_) {
            // Escape stays with the dialog (Cancel).
            const auto* m = reinterpret_cast<const MSG*>(lp);
            if (m && m->message == WM_KEYDOWN && m->wParam == VK_ESCAPE) break;
            return DLGC_WANTALLKEYS | DefSubclassProc(wnd, msg, wp, lp);
        }
        break;
    case WM_KEYDOWN:
        if (self->ownKeys_) {
            try {
                self->KeyDown(wp);
            } catch (const std::exception& e) {
                ShowErrorBox(e.what());
                return 0;
            }
            if (wp == 0) return 0;
        }
        break;
    case WM_CHAR:
        if (self->ownKeys_ && self->KeyPress(wp, Down(VK_CONTROL))) return 0;
        break;
    case WM_SETFOCUS:
        App().activeEdit = wnd;
        App().activeEditTag = self->Tag();
        break;
    default: break;
    }
    return DefSubclassProc(wnd, msg, wp, lp);
}

}  // namespace kestrum
