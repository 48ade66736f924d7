// The one way the program asks the user anything. Windows ask through the
// current Prompter; tests install a ScriptedPrompter so that nothing ever
// waits on a modal window.
#pragma once

#include <deque>
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

class Prompter {
public:
    virtual ~Prompter() = default;
    // A modal message with a type and a button set; returns the button.
    virtual int MessageDlg(std::string_view text, MsgType type, MsgButtons buttons) = 0;
    // Shows a plain message with an OK button.
    void ShowMessage(std::string_view text) { MessageDlg(text, MsgType::Plain, MsgButtons::Ok); }
};

// The prompter in force: the one installed last, else the platform's.
Prompter& CurrentPrompter();
// Installs p (nullptr: back to the platform's); returns the previous one.
Prompter* SetPrompter(Prompter* p);

// Answers from a script, in order; when the script runs out, the first
// button of the set (OK or Yes). Every question is recorded.
class ScriptedPrompter : public Prompter {
public:
    struct Asked {
        std::string text;
        MsgType type;
        MsgButtons buttons;
    };
    void Answer(int result) { answers_.push_back(result); }
    int MessageDlg(std::string_view text, MsgType type, MsgButtons buttons) override;
    const std::vector<Asked>& Questions() const { return asked_; }
    void Clear() {
        asked_.clear();
        answers_.clear();
    }

private:
    std::deque<int> answers_;
    std::vector<Asked> asked_;
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
