// The command box bound to an EDIT control: reads the text and caret, runs
// the key handler and writes the result back.
#include "shell/command_box_win.h"

#include <algorithm>
#include <map>
#include <string_view>

#include "common/file_system_win.h"
#include "common/sjis.h"
#include "common/window_win.h"
#include "config/action_table.h"
#include "config/key_files_win.h"
#include "config/key_map.h"
#include "config/services.h"
#include "config/session.h"

namespace kestrum {

namespace {

bool Down(int vk) { return GetKeyState(vk) < 0; }

std::wstring Wide(std::string_view s) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::string Narrow(std::wstring_view w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::wstring WideText(HWND edit) {
    const int n = GetWindowTextLengthW(edit);
    std::wstring w(static_cast<std::size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(edit, w.data(), n + 1);
    w.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
    return w;
}

// UTF-16 position in the text of the character that starts at byte pos of
// its Shift-JIS form.
int WidePosition(const std::string& text, int bytePos) {
    std::size_t pos = static_cast<std::size_t>(std::clamp(bytePos, 0, static_cast<int>(text.size())));
    while (pos > 0 && !IsCharBoundary(text, pos)) --pos;
    return static_cast<int>(Wide(std::string_view(text).substr(0, pos)).size());
}

}  // namespace

HWND CreateCommandEdit(HWND parent, DWORD style, DWORD exStyle, int id) {
    return CreateWindowExW(exStyle, L"EDIT", L"", WS_CHILD | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

BoxText ReadBoxText(HWND edit) {
    const std::wstring w = WideText(edit);
    DWORD start = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    const std::size_t caret = std::min<std::size_t>(start, w.size());
    return BoxText{Narrow(w), static_cast<int>(Narrow(std::wstring_view(w).substr(0, caret)).size())};
}

void WriteBoxText(HWND edit, const BoxText& box) {
    SetWindowTextW(edit, Wide(box.text).c_str());
    const int caret = WidePosition(box.text, box.caret);
    SendMessageW(edit, EM_SETSEL, caret, caret);
}

void SetBoxCaret(HWND edit, int byteCaret) {
    const int caret = WidePosition(Narrow(WideText(edit)), byteCaret);
    SendMessageW(edit, EM_SETSEL, caret, caret);
}

void SetBoxCaretToEnd(HWND edit) {
    const int n = GetWindowTextLengthW(edit);
    SendMessageW(edit, EM_SETSEL, n, n);
}

EditBoxes& TheEditBoxes() {
    static EditBoxes boxes;
    return boxes;
}

HWND ActiveEdit() { return TheEditBoxes().active; }

void SetActiveEdit(HWND edit, int tag) {
    TheEditBoxes().active = edit;
    TheSession().activeEditTag = tag;
}

std::string FullPathFromCurrentDir(const std::string& path) {
    if (path.empty()) return path;
    std::string base = TheSession().currentDir;
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
    auto& boxes = TheEditBoxes().byEdit;
    auto it = boxes.find(edit);
    if (it != boxes.end()) return *it->second;
    std::unique_ptr<CommandBox> box(new CommandBox(edit, tag));
    CommandBox& ref = *box;
    boxes[edit] = std::move(box);
    return ref;
}

CommandBox::CommandBox(HWND edit, int tag) : edit_(edit), logic_(tag) {
    subclass_.Attach(edit_, this, &CommandBox::EditProc);
    logic_.Browser().Reset(GetText(edit_));
}

CommandBox::~CommandBox() = default;

BoxText CommandBox::Read() const { return ReadBoxText(edit_); }

void CommandBox::Write(const BoxText& box) { WriteBoxText(edit_, box); }

void CommandBox::Apply(const BoxText& before, const BoxText& after) {
    if (!IsWindow(edit_)) return;
    if (after.text != before.text) {
        Write(after);
    } else if (after.caret != before.caret) {
        SetBoxCaret(edit_, after.caret);
    }
}

BoxEnv CommandBox::Env() {
    Session& session = TheSession();
    BoxEnv env;
    env.history = history_ ? history_ : &session.lists.exeHistory;
    env.settings = &session.settings;
    env.completionMask = session.completionMask;
    env.fs = &CurrentFileSystem();  // completion searches it
    const int tag = Tag();
    Runner run = runner_;
    env.run = [tag, run](const std::string& line) {
        TheSession().lineOrigin = tag;
        return run ? run(line) : Execute_t(line);
    };
    env.focusFiler = onFocusFiler ? onFocusFiler : [] { Execute_t(CommandName(cmdLS)); };
    if (tag == kLineInputBox) env.fullPath = &FullPathFromCurrentDir;
    env.accept = onAccept;
    env.browse = onBrowse;
    env.cdName = CommandName(cmdCD);
    return env;
}

void CommandBox::KeyDown(WPARAM& key) { KeyDown(key, Down(VK_SHIFT), Down(VK_CONTROL), Down(VK_MENU)); }

void CommandBox::KeyDown(WPARAM& key, bool shift, bool ctrl, bool alt) {
    if (key == 0) return;
    swallowChar_ = false;
    // The key map of the command boxes: a bound key runs the line-input
    // window's action for it and is consumed, with the character it makes.
    if (EditKeyLookUp(key, shift, ctrl, alt)) {
        swallowChar_ = true;
        return;
    }
    // A key the filer binds to its next or previous page turns the filer's
    // page from the command box too.
    if (!alt && TheFiler().Present()) {
        const int vk = MainRowKey(static_cast<int>(key));
        const unsigned char mods = ModifierBits(shift, ctrl, alt);
        const TUserKey& map = FilerKeyX().KeyXUserKey;
        for (int i = 0; i < map.Count(); ++i) {
            const KeyBinding& b = map.Get(i);
            const bool turnsPage = b.action == FilerActionCode::NextPage || b.action == FilerActionCode::PreviousPage;
            if (b.key == vk && b.modifiers == mods && turnsPage) {
                TheFiler().RunAction(b.action);
                key = 0;
                swallowChar_ = true;
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

bool CommandBox::KeyPress(WPARAM ch, bool ctrl) {
    if (swallowChar_) {
        swallowChar_ = false;
        return true;
    }
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

LRESULT CommandBox::EditProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NCDESTROY: {
        auto& boxes = TheEditBoxes().byEdit;
        auto it = boxes.find(wnd);
        if (busy_ > 0) {
            // The line being run closed the window: the handler frees the
            // box when it returns.
            doomed_ = true;
            edit_ = nullptr;
            if (it != boxes.end()) {
                static_cast<void>(it->second.release());
                boxes.erase(it);
            }
        } else if (it != boxes.end()) {
            boxes.erase(it);  // this box goes here: nothing of it is used after
        }
        return Subclass::CallNext(wnd, msg, wp, lp);
    }
    case WM_GETDLGCODE:
        if (ownKeys_) {
            // Escape stays with the dialog (Cancel).
            const auto* m = reinterpret_cast<const MSG*>(lp);
            if (m && m->message == WM_KEYDOWN && m->wParam == VK_ESCAPE) break;
            return DLGC_WANTALLKEYS | Subclass::CallNext(wnd, msg, wp, lp);
        }
        break;
    case WM_KEYDOWN:
        if (ownKeys_) {
            KeyDown(wp);
            if (wp == 0) return 0;
        }
        break;
    case WM_CHAR:
        if (ownKeys_ && KeyPress(wp, Down(VK_CONTROL))) return 0;
        break;
    case WM_SETFOCUS:
        SetActiveEdit(wnd, Tag());
        break;
    default: break;
    }
    return Subclass::CallNext(wnd, msg, wp, lp);
}

}  // namespace kestrum
