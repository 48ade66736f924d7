// A command box: the key handler of the shell's, the filer's and the
// line-input window's one-line edits, bound to an EDIT control.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/subclass_win.h"
#include "shell/command_box.h"

namespace kestrum {

// ActiveEdit: the command box that last had the focus (the shell's, the
// filer's or the line-input window's); its tag goes into the session.
HWND ActiveEdit();
void SetActiveEdit(HWND edit, int tag);

// A path made full relative to CurrentDir (the process's current directory
// when CurrentDir is not set); empty stays empty.
std::string FullPathFromCurrentDir(const std::string& path);

// A command box is a Unicode EDIT control, so that a character typed through
// an input method arrives whole. Its text and caret cross into the program
// here: Shift-JIS text with the caret as a byte position, the control's own
// UTF-16 text and positions on the other side.
HWND CreateCommandEdit(HWND parent, DWORD style, DWORD exStyle, int id);
BoxText ReadBoxText(HWND edit);
void WriteBoxText(HWND edit, const BoxText& box);
// The caret to a byte position of the text the box holds (a position inside
// a double-byte character goes to the character's start).
void SetBoxCaret(HWND edit, int byteCaret);
void SetBoxCaretToEnd(HWND edit);

class CommandBox {
public:
    using Runner = std::function<int(const std::string&)>;

    // The box bound to edit, made on first use and freed with the control.
    static CommandBox& For(HWND edit, int tag);

    HWND Edit() const { return edit_; }
    int Tag() const { return logic_.Tag(); }
    CommandBoxLogic& Logic() { return logic_; }

    // Handles the keys itself (key-down and key-press) instead of leaving
    // that to a window procedure of its owner.
    void HandleOwnKeys(bool on) { ownKeys_ = on; }
    // Runs Enter's line; Execute_t when not set.
    void SetRunner(Runner r) { runner_ = std::move(r); }
    // The history browsed; ExeHistory when not set.
    void SetHistory(std::vector<std::string>* h) { history_ = h; }
    std::function<void()> onAccept;      // line input: Enter closes with OK
    std::function<void()> onBrowse;      // line input: Enter on an empty line with RETTREE
    std::function<void()> onFocusFiler;  // Ctrl+Up; the LS command when not set
    std::function<void()> onEscape;      // the filer's box: the filer's Escape handling

    // Edit1KeyDown: handles one key-down; sets key to 0 when swallowed.
    // The shift state is read from the keyboard unless given.
    void KeyDown(WPARAM& key);
    void KeyDown(WPARAM& key, bool shift, bool ctrl, bool alt);
    // Edit1KeyPress: true when the character is swallowed (also the one
    // character of a key whose key-down ran a binding).
    bool KeyPress(WPARAM ch, bool ctrl);
    // History back with the list picker forced (the history button).
    void HistoryList();

    BoxText Read() const;
    void Write(const BoxText& box);

    ~CommandBox();
    CommandBox(const CommandBox&) = delete;
    CommandBox& operator=(const CommandBox&) = delete;

private:
    CommandBox(HWND edit, int tag);
    BoxEnv Env();
    void Apply(const BoxText& before, const BoxText& after);
    LRESULT EditProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

    HWND edit_;
    CommandBoxLogic logic_;
    bool ownKeys_ = false;
    Runner runner_;
    std::vector<std::string>* history_ = nullptr;
    bool swallowChar_ = false;  // the key-down ran a binding: its character is not typed
    int busy_ = 0;        // inside a handler: freeing waits
    bool doomed_ = false;  // the control went while busy
    Subclass subclass_;    // the box's handling in front of the control's
};

// What the shell keeps about its edit boxes for the whole program: the
// command box bound to each EDIT control (made by CommandBox::For, freed
// with its control), the box that last had the focus and the window last
// activated (the shell or the line-input window, focused again when the
// hot key brings the program back).
struct EditBoxes {
    std::map<HWND, std::unique_ptr<CommandBox>> byEdit;
    HWND active = nullptr;
    HWND lastActiveForm = nullptr;
};
EditBoxes& TheEditBoxes();

}  // namespace kestrum
