// The one way the program asks the user its general questions (messages, a
// line, a list, a directory, a pop-up menu). Windows ask through the current
// Prompter; tests install a scripted one so that nothing ever waits on a
// modal window. A subsystem's own questions are its question set
// (common/questions.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/signal.h"

namespace kestrum {

enum class MsgType { Warning, Error, Information, Confirmation, Plain };
enum class MsgButtons { Ok, OkCancel, YesNo, YesCancel, YesNoCancel, YesNoAll };
// Results use the platform's button ids; All has no id of its own there.
enum MsgResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7, mrAll = 100 };

// Caption of a message box of the given type ("警告", "確認" ...).
std::string_view MsgCaption(MsgType type);

// Mode flags of a line question (bit set).
enum AskLineMode : int {
    amFreeText = 1,         // not made a path; completion on the last word
    amReplaceOnBrowse = 2,  // a file chosen by browsing replaces the text
    amNoBrowse = 4,         // no browse step: browsing just confirms
    amPlainHistory = 16,    // added to the history without the drive-only check
    amSelectAll = 32,       // the initial text starts selected
};

// One question for the line-input window.
struct LineQuestion {
    std::string title;
    std::string prompt;
    std::string text;  // initial text; the answer on OK
    int mode = 0;
    std::vector<std::string>* history = nullptr;            // the caller's, added to on OK
    const std::vector<std::string>* registered = nullptr;  // optional list to pick from
    int registeredKind = 2;                                 // 3: a plain list shown numbered; else keyed
};

// How the list picker shows its rows.
enum class ListStyle {
    Numbered,             // "0 entry" ... "9 entry", then "  entry"; empty list: Cancel, no window
    NumberedWithMessage,  // the same, but an empty list shows "登録されていません" first
    Keyed,                // rows shown as stored (key, blank, entry); empty list: the message, then Cancel
};

// How the list picker was left; the values are the platform's button ids.
enum class ListResult : int {
    Ok = 1,      // a row was chosen
    Cancel = 2,  // cancelled, or nothing to choose from
    Typed = 6,   // completion mode: a character or editing key the caller handles
};

// The answer of the list picker.
struct ListPick {
    ListResult result = ListResult::Cancel;
    std::string text;  // OK: the chosen row from its third character on
    int index = -1;    // OK: the chosen row
    char typed = 0;    // Typed with a character
    int key = 0;       // Typed with Backspace, Left, Right or Delete (virtual-key code)
};

class Prompter {
public:
    virtual ~Prompter() = default;
    // A modal message with a type and a button set; returns the button.
    virtual int MessageDlg(std::string_view text, MsgType type, MsgButtons buttons) = 0;
    // Shows a plain message with an OK button.
    void ShowMessage(std::string_view text) { MessageDlg(text, MsgType::Plain, MsgButtons::Ok); }
    // A message window with a caption of its own ("Kestrum Alias").
    virtual int MessageDlgCaption(std::string_view caption, std::string_view text, MsgType type, MsgButtons buttons);
    // The line-input window; true with q.text the answer, false on cancel.
    // Without a window system the question is cancelled.
    virtual bool AskLine(LineQuestion& q);
    // The list picker over rows; completionMode hands typed characters back.
    virtual ListPick ShowList(const std::vector<std::string>& rows, ListStyle style, bool completionMode = false);

    // -- pop-up menus --
    // Shows a pop-up menu (a platform menu handle) for the window owner at
    // the screen point (x, y); returns the id of the item chosen, 0 for
    // none. Without a window system: none.
    virtual int AskPopupMenu(void* /*menu*/, int /*x*/, int /*y*/, void* /*owner*/) { return 0; }

    // -- directories --
    // A directory picked starting at dir, for the window owner; true with
    // dir the choice. Without a window system: cancelled.
    virtual bool AskDirectory(std::string& /*dir*/, void* /*owner*/) { return false; }

    // -- network drives --
    // The platform's dialog that maps a network drive (connect) or
    // disconnects one, for the window owner. Without a window system: none.
    virtual void ShowNetworkDriveDialog(bool /*connect*/, void* /*owner*/) {}
};

// The prompter in force: the one installed last and still installed, else
// a silent one (every message gets its first button, every other question
// is cancelled). The application installs the platform's at start-up.
Prompter& CurrentPrompter();
// Installs p until the subscription goes.
[[nodiscard]] Subscription InstallPrompter(Prompter& p);
// The answer of a message whose user just confirmed it: the first button of
// the set (OK or Yes).
MsgResult FirstButton(MsgButtons buttons);

}  // namespace kestrum
