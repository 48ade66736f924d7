// The command boxes without windows: history browsing, file-name completion,
// the list picker's row rules, and the key handler acting on a text-and-caret
// model. The window layer (command_box_win) feeds it keys and copies the
// model back into the edit control.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/file_system.h"
#include "common/prompter.h"
#include "shell/drop_text.h"

namespace kestrum {

struct Settings;

// Virtual-key codes the handler looks at (the platform's values).
enum BoxKey : int {
    kKeyBack = 8, kKeyTab = 9, kKeyReturn = 13, kKeyEscape = 27, kKeySpace = 32, kKeyHome = 36, kKeyLeft = 37,
    kKeyUp = 38, kKeyRight = 39, kKeyDown = 40, kKeyDelete = 46, kKeyNumpad0 = 96, kKeyNumpad9 = 105,
    kKeyF6 = 117, kKeyF7 = 118, kKeyF8 = 119,
};

// Tags of the command boxes.
enum BoxTag : int { kShellBox = 0, kFilerBox = 1, kLineInputBox = 2 };

// ---- history ---------------------------------------------------------------

// An entry matches a typed prefix when it matches prefix + "*" (WildMatch).
bool HistoryMatches(std::string_view entry, std::string_view prefix);

// Decides whether an entry matches the prefix being browsed.
using HistoryMatcher = std::function<bool(const std::string& entry, const std::string& prefix)>;

// Browsing state of one box. While browsing, entry 0 of the history holds
// the text the user typed.
class HistoryBrowser {
public:
    int historyIndex = -1;        // -1: not browsing; else the entry shown
    bool typedSlotFresh = false;  // entry 0 holds the typed text
    std::string lastBoxText;      // the box text when last looked at or set
    bool edited = false;          // the text changed since Reset

    bool Browsing() const { return historyIndex >= 0; }
    void Reset(std::string_view boxText = {});
    // Before each key: an edit since the last look restarts browsing at 0.
    void Observe(std::string_view boxText);
    // First step of going back: entry 0 becomes the typed text. Returns it
    // (the prefix).
    std::string BeginBack(std::vector<std::string>& history, std::string_view boxText);
    // The older entry to show next, or nullopt (nothing changes then).
    std::optional<std::string> StepBack(const std::vector<std::string>& history, const std::string& prefix,
                                        const HistoryMatcher& match);
    // The newer entry to show next; entry 0 (the typed text) always counts
    // as a match, so going forward ends at what was typed.
    std::optional<std::string> StepForward(const std::vector<std::string>& history, const std::string& prefix,
                                           const HistoryMatcher& match);
    // Enter: the typed entry 0 goes when browsing, and browsing ends.
    void EndBrowsing(std::vector<std::string>& history);
};

// Entries 1 to the end that match the prefix, in order (the history list).
std::vector<std::string> MatchingEntries(const std::vector<std::string>& history, const std::string& prefix,
                                         const HistoryMatcher& match);

// ---- completion -------------------------------------------------------------

enum class CompleteMode { FilesAndDirs = 1, DirsOnly = 2, FilesOnly = 3 };

// The completion mode of a key (F6, F7, F8), and the key of an AUTONAME
// value (1, 2, 3; any other value means 1).
CompleteMode ModeOfKey(int key);
int CompletionKeyFor(int autoName);

struct CompletionRequest {
    CompleteMode mode = CompleteMode::FilesAndDirs;
    bool shift = false;          // only names with Japanese characters
    bool wholeTextIsPath = false;  // line-input questions without free text
    bool anyKeyListsAll = false;   // free-text line input: the key's mode is ignored
    std::string cdName = "CD";     // name of command 0
    std::string mask = "*";
};

// Where the word to complete starts and what it is.
struct CompletionWord {
    bool found = false;
    std::string head;  // kept in front of the path
    std::string path;  // slashes turned
    CompleteMode mode = CompleteMode::FilesAndDirs;
};
CompletionWord FindCompletionWord(const std::string& before, const CompletionRequest& req, FileSystem& fs);

// Candidates for a path (directories end in "\", files in a blank).
// Each candidate carries prefix in front of its name.
std::vector<std::string> ListCandidates(const std::string& path, const std::string& prefix, CompleteMode mode,
                                        bool shift, const std::string& mask, FileSystem& fs);

// Common prefix of the candidates' upper-case forms, up to the length of the
// first one and never ending inside a double-byte character.
std::string CommonPrefix(const std::vector<std::string>& candidates);

// What completion leaves for the window layer to do.
struct CompletionOutcome {
    bool changed = false;
    int postKey = 0;  // an editing key typed in the picker, for the box
    std::vector<std::string> shown;  // last candidate list shown in the picker
};

// Completes at the caret of box; several candidates are offered through the
// prompter's list picker in completion mode.
CompletionOutcome Complete(BoxText& box, const CompletionRequest& req, FileSystem& fs, Prompter& prompter);

// ---- list picker rows ------------------------------------------------------

// "0 entry" ... "9 entry", then "  entry".
std::vector<std::string> NumberRows(const std::vector<std::string>& entries);

// What a typed character does in the picker.
struct PickerTyped {
    enum Kind { Ignore, HandOver, Choose, Narrow } kind = Ignore;
    int row = -1;                   // Choose: the row in the current list
    std::vector<int> rows;          // Narrow: the rows kept, in order
};
PickerTyped PickerChar(const std::vector<std::string>& rows, char c, bool completionMode);

// ---- editing actions on the text-and-caret model ---------------------------

// Text after the caret removed; caret to the end.
void DeleteAfterCaret(BoxText& box);
// The whole character before the caret removed (a double-byte character
// counts as one); caret one character left.
void DeleteCharBeforeCaret(BoxText& box);
// Caret one character left / right, never inside a double-byte character.
void CaretLeft(BoxText& box);
void CaretRight(BoxText& box);

// ---- the key handler ---------------------------------------------------------

// What the handler needs from the rest of the program.
struct BoxEnv {
    std::vector<std::string>* history = nullptr;  // ExeHistory, or the line-input window's copy
    const Settings* settings = nullptr;
    FileSystem* fs = nullptr;                     // searched for completion
    Prompter* prompter = nullptr;                 // nullptr: CurrentPrompter()
    std::function<int(const std::string&)> run;   // runs a line (Execute_t)
    std::function<void()> focusFiler;             // Ctrl+Up; Enter on the filer's empty box
    std::function<std::string(const std::string&)> fullPath;  // line input outside free text
    std::function<void()> accept;                 // line input: Enter closes with OK
    std::function<void()> browse;                 // line input: Enter on an empty line with RETTREE
    std::string cdName = "CD";
    std::string completionMask = "*";             // file candidates must match it
};

// Keys as the handler receives them.
struct KeyInput {
    int key = 0;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

class CommandBoxLogic {
public:
    explicit CommandBoxLogic(int tag = kShellBox) : tag_(tag) {}
    int Tag() const { return tag_; }
    HistoryBrowser& Browser() { return browser_; }
    const HistoryBrowser& Browser() const { return browser_; }
    // Line input: the mode flags of the current question.
    void SetLineMode(int mode) { lineMode_ = mode; }

    // Handles one key-down on box; returns true when the key was swallowed.
    // postKey receives an editing key to hand back to the control.
    bool KeyDown(KeyInput in, BoxText& box, const BoxEnv& env, int* postKey = nullptr);

    void HistoryBack(BoxText& box, const BoxEnv& env, bool forceList = false);
    void HistoryForward(BoxText& box, const BoxEnv& env);
    CompletionOutcome Completion(int key, bool shift, BoxText& box, const BoxEnv& env);

private:
    HistoryMatcher Matcher(const BoxEnv& env) const;
    void Show(BoxText& box, const std::string& text);

    int tag_;
    int lineMode_ = 0;
    HistoryBrowser browser_;
};

}  // namespace kestrum
