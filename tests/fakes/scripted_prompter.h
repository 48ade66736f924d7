// ScriptedPrompter: answers the general questions from a script, in order,
// and records every one; tests install it with InstallPrompter.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/prompter.h"

namespace kestrum {

// When the script runs out: the first button of the set (OK or Yes), a
// cancelled line question, a cancelled list and no menu item.
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

    // -- pop-up menus --
    // Menus answer from their own queue (0, nothing chosen, when it runs
    // out); each one is counted and handed to onPopupMenu while it is shown.
    void AnswerPopupMenu(int id) { menuAnswers_.push_back(id); }
    std::function<void(void* menu)> onPopupMenu;
    int AskPopupMenu(void* menu, int x, int y, void* owner) override;
    int PopupMenusShown() const { return popupMenusShown_; }

    // Network drive dialogs are recorded (true: connect).
    void ShowNetworkDriveDialog(bool connect, void* /*owner*/) override { networkDialogs_.push_back(connect); }
    const std::vector<bool>& NetworkDriveDialogs() const { return networkDialogs_; }

    const std::vector<Asked>& Questions() const { return asked_; }
    const std::vector<LineQuestion>& LineQuestions() const { return lineAsked_; }
    const std::vector<std::vector<std::string>>& ListsShown() const { return listsShown_; }
    void Clear();

private:
    std::deque<int> answers_;
    std::deque<std::optional<std::string>> lineAnswers_;
    std::deque<ListPick> listAnswers_;
    std::deque<int> menuAnswers_;
    std::vector<Asked> asked_;
    std::vector<LineQuestion> lineAsked_;
    std::vector<std::vector<std::string>> listsShown_;
    int popupMenusShown_ = 0;
    std::vector<bool> networkDialogs_;
};

// The next answer of a queue, or a default one (cancelled) when it is empty.
template <typename T>
T NextAnswer(std::deque<T>& queue) {
    if (queue.empty()) return T{};
    T a = std::move(queue.front());
    queue.pop_front();
    return a;
}

}  // namespace kestrum
