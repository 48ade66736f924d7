// The one way the program asks the user anything. Windows ask through the
// current Prompter; tests install a ScriptedPrompter so that nothing ever
// waits on a modal window.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
    Numbered,             // "0 entry" ... "9 entry", then "  entry"; empty list: result 2, no window
    NumberedWithMessage,  // the same, but an empty list shows "登録されていません" first
    Keyed,                // rows shown as stored (key, blank, entry); empty list: the message, then 2
};

// Result of the list picker: 1 OK, 2 cancel, 6 a character or editing key
// typed in completion mode that the caller handles.
struct ListPick {
    int result = 2;
    std::string text;  // OK: the chosen row from its third character on
    int index = -1;    // OK: the chosen row
    char typed = 0;    // result 6 with a character
    int key = 0;       // result 6 with Backspace, Left, Right or Delete (virtual-key code)
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

    // -- copy engine dialogs --
    // The collision dialog of the copy engine: prefix starts the caption,
    // state 1 means moving (else copying). Returns the chosen policy 1..4,
    // 0 on cancel. Without a window system: cancelled.
    virtual int AskCopyMode(std::string_view /*prefix*/, int /*state*/) { return 0; }

    // -- other file operation dialogs --
    // Results of the date and attribute dialogs.
    enum FileDialogResult : int { fdOk = 1, fdCancel = 2, fdAll = 8 };
    struct DateAnswer {
        int result = fdCancel;
        std::string text;  // the "新" field on OK and ALL
    };
    // The date dialog for one file: its name (no directory), its stamp as
    // "yyyy/mm/dd hh:nn:ss" for "旧" and the preset of "新". Without a file
    // OK and ALL are disabled. Without a window system: cancelled.
    virtual DateAnswer AskDate(std::string_view /*caption*/, std::string_view /*fileName*/,
                               std::string_view /*oldText*/, std::string_view /*newText*/, bool /*hasFile*/) {
        return {};
    }
    struct AttribAnswer {
        int result = fdCancel;
        unsigned attributes = 0;  // read-only, hidden, system, archive bits only
    };
    // The attribute dialog for one file, its boxes set from attributes.
    // Without a window system: cancelled.
    virtual AttribAnswer AskAttributes(std::string_view /*fileName*/, unsigned /*attributes*/) { return {}; }

    // -- sort dialog --
    // The sort dialog's state: the key as SORT stores it (0 name, 1 size,
    // 2 date, 3 extension), always sort, reverse.
    struct SortChoice {
        int key = 0;
        bool autoSort = false;
        bool reverse = false;
    };
    // The sort dialog shown with choice; true on OK with choice the answer.
    // Without a window system: cancelled.
    virtual bool AskSort(SortChoice& /*choice*/) { return false; }

    // -- settings dialog --
    // A line question whose browse step offers only the files that match
    // filter ("*.EXE"); by default the plain question.
    virtual bool AskLineFiltered(LineQuestion& q, std::string_view /*filter*/) { return AskLine(q); }
    // The colour picker preset with color (0x00BBGGRR, or a system colour);
    // true with color the choice. Without a window system: cancelled.
    virtual bool AskColor(int& /*color*/) { return false; }
    // The font dialog preset with font; true with font the choice. Without
    // a window system: cancelled.
    struct FontChoice {
        std::string name;
        int size = 9;   // points
        int style = 0;  // bit 0 bold, 1 italic, 2 underline, 3 strike-out
    };
    virtual bool AskFont(FontChoice& /*font*/) { return false; }

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

// The prompter in force: the one installed last, else the platform's.
Prompter& CurrentPrompter();
// Installs p (nullptr: back to the platform's); returns the previous one.
Prompter* SetPrompter(Prompter* p);

// Answers from a script, in order; when the script runs out, the first
// button of the set (OK or Yes), a cancelled line question and a cancelled
// list. Every question is recorded.
class ScriptedPrompter : public Prompter {
public:
    struct Asked {
        std::string text;
        std::string caption;
        MsgType type;
        MsgButtons buttons;
    };
    void Answer(int result) { answers_.push_back(result); }
    // The next line question is answered with text (nullopt: cancelled).
    void AnswerLine(std::optional<std::string> text) { lineAnswers_.push_back(std::move(text)); }
    // The next list is answered with this pick.
    void AnswerList(ListPick pick) { listAnswers_.push_back(std::move(pick)); }

    int MessageDlg(std::string_view text, MsgType type, MsgButtons buttons) override;
    int MessageDlgCaption(std::string_view caption, std::string_view text, MsgType type, MsgButtons buttons) override;
    bool AskLine(LineQuestion& q) override;
    ListPick ShowList(const std::vector<std::string>& rows, ListStyle style, bool completionMode) override;

    // -- copy engine dialogs --
    // The collision dialog answers from its own queue (0, cancel, when it
    // runs out); each question's prefix and state are recorded.
    struct CopyModeAsked {
        std::string prefix;
        int state;
    };
    void AnswerCopyMode(int mode) { copyModeAnswers_.push_back(mode); }
    int AskCopyMode(std::string_view prefix, int state) override {
        copyModesAsked_.push_back({std::string(prefix), state});
        if (copyModeAnswers_.empty()) return 0;
        const int a = copyModeAnswers_.front();
        copyModeAnswers_.pop_front();
        return a;
    }
    const std::vector<CopyModeAsked>& CopyModesAsked() const { return copyModesAsked_; }

private:
    std::deque<int> copyModeAnswers_;
    std::vector<CopyModeAsked> copyModesAsked_;

public:

    // -- other file operation dialogs --
    // Date and attribute dialogs answer from their own queues; when a queue
    // runs out the dialog is cancelled.
    struct DateAsked {
        std::string caption, fileName, oldText, newText;
        bool hasFile;
    };
    struct AttribAsked {
        std::string fileName;
        unsigned attributes;
    };
    void AnswerDate(int result, std::string text = {}) { dateAnswers_.push_back({result, std::move(text)}); }
    void AnswerAttributes(int result, unsigned attributes = 0) { attribAnswers_.push_back({result, attributes}); }
    DateAnswer AskDate(std::string_view caption, std::string_view fileName, std::string_view oldText,
                       std::string_view newText, bool hasFile) override {
        datesAsked_.push_back({std::string(caption), std::string(fileName), std::string(oldText),
                               std::string(newText), hasFile});
        return Next(dateAnswers_);
    }
    AttribAnswer AskAttributes(std::string_view fileName, unsigned attributes) override {
        attribAsked_.push_back({std::string(fileName), attributes});
        return Next(attribAnswers_);
    }
    const std::vector<DateAsked>& DatesAsked() const { return datesAsked_; }
    const std::vector<AttribAsked>& AttributesAsked() const { return attribAsked_; }

private:
    std::deque<DateAnswer> dateAnswers_;
    std::deque<AttribAnswer> attribAnswers_;
    std::vector<DateAsked> datesAsked_;
    std::vector<AttribAsked> attribAsked_;
    template <typename T>
    static T Next(std::deque<T>& q) {
        if (q.empty()) return T{};
        T a = std::move(q.front());
        q.pop_front();
        return a;
    }

public:
    // -- sort dialog --
    // The next sort dialog is answered with choice (nullopt: Cancel); when
    // the queue runs out it is cancelled. Each dialog's preset is recorded.
    void AnswerSort(std::optional<SortChoice> choice) { sortAnswers_.push_back(choice); }
    bool AskSort(SortChoice& choice) override {
        sortsAsked_.push_back(choice);
        if (sortAnswers_.empty()) return false;
        const std::optional<SortChoice> a = sortAnswers_.front();
        sortAnswers_.pop_front();
        if (!a) return false;
        choice = *a;
        return true;
    }
    const std::vector<SortChoice>& SortsAsked() const { return sortsAsked_; }

private:
    std::deque<std::optional<SortChoice>> sortAnswers_;
    std::vector<SortChoice> sortsAsked_;

public:
    // -- settings dialog --
    // Filtered line questions take their answers from the line queue and
    // record their filter; colours and fonts answer from their own queues
    // (cancelled when a queue runs out) and record each preset.
    bool AskLineFiltered(LineQuestion& q, std::string_view filter) override {
        lineFilters_.emplace_back(filter);
        return AskLine(q);
    }
    const std::vector<std::string>& LineFilters() const { return lineFilters_; }
    void AnswerColor(std::optional<int> color) { colorAnswers_.push_back(color); }
    bool AskColor(int& color) override {
        colorsAsked_.push_back(color);
        if (colorAnswers_.empty()) return false;
        const std::optional<int> a = colorAnswers_.front();
        colorAnswers_.pop_front();
        if (a) color = *a;
        return a.has_value();
    }
    const std::vector<int>& ColorsAsked() const { return colorsAsked_; }
    void AnswerFont(std::optional<FontChoice> font) { fontAnswers_.push_back(std::move(font)); }
    bool AskFont(FontChoice& font) override {
        fontsAsked_.push_back(font);
        if (fontAnswers_.empty()) return false;
        std::optional<FontChoice> a = std::move(fontAnswers_.front());
        fontAnswers_.pop_front();
        if (a) font = *a;
        return a.has_value();
    }
    const std::vector<FontChoice>& FontsAsked() const { return fontsAsked_; }

private:
    std::vector<std::string> lineFilters_;
    std::deque<std::optional<int>> colorAnswers_;
    std::vector<int> colorsAsked_;
    std::deque<std::optional<FontChoice>> fontAnswers_;
    std::vector<FontChoice> fontsAsked_;

public:
    // -- pop-up menus --
    // Menus answer from their own queue (0, nothing chosen, when it runs
    // out); each one is counted and handed to onPopupMenu while it is shown.
    void AnswerPopupMenu(int id) { menuAnswers_.push_back(id); }
    std::function<void(void* menu)> onPopupMenu;
    int AskPopupMenu(void* menu, int /*x*/, int /*y*/, void* /*owner*/) override {
        ++popupMenusShown_;
        if (onPopupMenu) onPopupMenu(menu);
        return Next(menuAnswers_);
    }
    int PopupMenusShown() const { return popupMenusShown_; }

    // Network drive dialogs are recorded (true: connect).
    void ShowNetworkDriveDialog(bool connect, void* /*owner*/) override { networkDialogs_.push_back(connect); }
    const std::vector<bool>& NetworkDriveDialogs() const { return networkDialogs_; }

private:
    std::deque<int> menuAnswers_;
    int popupMenusShown_ = 0;
    std::vector<bool> networkDialogs_;

public:

    const std::vector<Asked>& Questions() const { return asked_; }
    const std::vector<LineQuestion>& LineQuestions() const { return lineAsked_; }
    const std::vector<std::vector<std::string>>& ListsShown() const { return listsShown_; }
    void Clear();

private:
    std::deque<int> answers_;
    std::deque<std::optional<std::string>> lineAnswers_;
    std::deque<ListPick> listAnswers_;
    std::vector<Asked> asked_;
    std::vector<LineQuestion> lineAsked_;
    std::vector<std::vector<std::string>> listsShown_;
};

// Installs a prompter for a scope.
class ScopedPrompter {
public:
    explicit ScopedPrompter(Prompter& p) : prev_(SetPrompter(&p)) {}
    ~ScopedPrompter() { SetPrompter(prev_); }
    ScopedPrompter(const ScopedPrompter&) = delete;
    ScopedPrompter& operator=(const ScopedPrompter&) = delete;

private:
    Prompter* prev_;
};

}  // namespace kestrum
