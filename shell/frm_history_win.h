// TfrmHistory: the list picker that shows histories, completion candidates
// and registered lists.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/dialog_win.h"
#include "common/prompter.h"
#include "common/subclass_win.h"
#include "config/profile.h"
#include "config/window_state.h"

namespace kestrum {

class TfrmHistory : public Dialog {
public:
    // Creates the hidden window with its hh* placement from [FORM_LS].
    bool Create(HWND owner, const ProfileReader& profile);
    Geometry NormalGeometry() const;

    // ShowNumberedList / ShowKeyedList: the empty-list rules, then the
    // window modally.
    ListPick ShowList(const std::vector<std::string>& entries, ListStyle style, bool completionMode);
    ListPick ShowNumberedList(const std::vector<std::string>& entries) {
        return ShowList(entries, ListStyle::Numbered, false);
    }
    ListPick ShowKeyedList(const std::vector<std::string>& entries) {
        return ShowList(entries, ListStyle::Keyed, false);
    }

    // The same without the modal loop: fills and shows the window; the
    // question ends when Finished() is true (tests drive it with messages).
    void Begin(const std::vector<std::string>& entries, ListStyle style, bool completionMode);
    const ListPick& Result() const { return result_; }
    // Rows as shown now.
    std::vector<std::string> Rows() const { return rows_; }
    HWND HistoryList() const { return list_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void FormCreate();
    void Layout();
    void Fill(int selected);
    void End(ListResult result);
    void EndWithRow(int row);
    bool ListKeyDown(WPARAM key);
    bool ListChar(WPARAM ch);
    LRESULT ListProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

    HWND list_ = nullptr;
    HWND ok_ = nullptr;
    HWND cancel_ = nullptr;
    std::vector<std::string> entries_;  // the entries behind the rows shown
    std::vector<int> origin_;           // their indices in the list given
    std::vector<std::string> rows_;
    ListStyle style_ = ListStyle::Numbered;
    bool completion_ = false;
    ListPick result_;
    Subclass listSubclass_;  // the list's keys
};

}  // namespace kestrum
