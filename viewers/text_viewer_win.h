// TwttForm: the text viewer window. One TBigView filled with a whole file
// (or a text that is no file), the open history, the recent-file menu with
// the top line each file was left at, searches, jump to line, tag jump,
// conversion to Shift-JIS, saving and the hand-over to the editor. Every
// command is a menu command that the text viewer key map can bind.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/handles_win.h"
#include "common/signal.h"
#include "common/window_win.h"
#include "config/file_commit.h"
#include "config/window_state.h"
#include "viewers/big_view_win.h"
#include "viewers/progress_win.h"
#include "viewers/recent_files.h"
#include "viewers/text_viewer.h"

namespace kestrum {

class TwttForm : public Window {
public:
    // The key-map actions (ids 0-17) run as menu commands kCmdAction0 + id.
    static constexpr UINT kCmdAction0 = 100;
    static constexpr UINT kCmdTop = 130;
    static constexpr UINT kCmdEnd = 131;
    static constexpr UINT kCmdKeyCustom = 132;
    static constexpr UINT kCmdFont = 133;
    static constexpr UINT kCmdSystemMenu = 134;
    static constexpr UINT kCmdRecent0 = 140;  // + entry 0..7
    // The entries added to the system menu.
    static constexpr UINT kSysMain = 256;
    static constexpr UINT kSysImage = 512;
    static constexpr UINT kSysFiler = 768;
    enum ActionId : int {
        aOpen = 0, aSave, aClose, aCopy, aToSjis, aEditor, aTagJump, aPrevious, aLineUp, aLineDown,
        aSearch, aSearchNext, aSearchPrevious, aJump, aIgnoreCase, aShowCaret, aHideCaret, aSettings,
    };
    // Files up to this size are wrapped at once; larger ones in slices with
    // the progress window, so that the window goes on answering.
    static constexpr std::size_t kSliceThreshold = 4u << 20;

    TwttForm();
    ~TwttForm() override;

    // Creates the hidden window from [TVIEW] of the settings file.
    bool Create(HWND owner);

    // Loads a file into the view: a directory is refused, a file that
    // cannot be read is told; false then, and the view keeps its text.
    bool LoadFile(const std::string& path);
    // Loads and shows (TVIEW, the filer's view action).
    bool ViewFile(const std::string& path);
    // Shows a text that is no file under title.
    void ShowText(const std::string& title, const std::string& text);
    void Show();
    // Hides the window (close, ESC).
    void Close();

    // Runs a menu command as the menu or a bound key does.
    void RunCommand(UINT id);
    void RunAction(int id) { RunCommand(kCmdAction0 + static_cast<UINT>(id)); }
    void RunActionId(int id);

    TBigView& View() { return view_; }
    const TBigView& View() const { return view_; }
    const std::string& CurrentFile() const { return current_; }
    const std::string& PreviousFile() const { return previous_; }
    const std::vector<std::string>& OpenHistory() const { return openHistory_; }
    const TRecentFiles& Recent() const { return recent_; }
    ViewerSearch& Search() { return search_; }
    HMENU MenuBar() const { return bar_; }
    HMENU Popup() const { return popup_.Get(); }
    HMENU FileMenu() const { return fileMenu_; }

    // Close state: the window's normal geometry, font and maximised state.
    Geometry NormalGeometry() const;
    const FontSpec& Font() const { return font_; }
    void SetFont(const FontSpec& font);
    bool Maximised() const;

    // The settings of the session applied to the view: tab stop, scroll
    // speed (after the settings loader, CFGLOAD and the settings dialog).
    void ApplySettings();

    // Called after each step of the Shift-JIS conversion (tests cancel here).
    std::function<void(TprogForm&)> onConvertStep;
    // Called after each slice of a big file is wrapped (tests fail here).
    std::function<void()> onLoadStep;
    // The steps a save is made of; the platform's when null (tests put
    // faults in).
    CommitSteps* commitSteps = nullptr;
    const TprogForm& Progress() const { return progress_; }
    bool Busy() const { return busy_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void BuildMenus();
    void UpdateRecentMenu();
    void UpdateCaption();
    void ApplyColors();
    // A load or conversion failed after the view's text was given up: the
    // view is emptied and the window shows no file.
    void TextLost();
    bool OnViewKey(UINT vk);
    void SetActionCaption(int command, const std::string& caption);
    bool ReadIntoView(const std::string& path);

    void Open();
    void Save();
    void ToSjis();
    void Editor();
    void TagJump();
    void AskSearch();
    void SearchNext();
    void SearchPrevious();
    void JumpToLine();
    void ToggleIgnoreCase();
    void ShowCaret();
    void HideCaret();
    void ChangeFont();
    void OpenRecent(int n);
    void EnableSearchAgain();

    TBigView view_;
    FontSpec font_;
    bool startMaximised_ = false;
    HMENU bar_ = nullptr;
    HMENU fileMenu_ = nullptr;
    int fixedFileItems_ = 0;  // the file menu's entries before the recent files
    MenuHandle popup_;  // the menu bar goes with the window
    std::string current_;
    std::string previous_;
    std::string title_;  // what the caption shows: the file, or the title of a text
    std::vector<std::string> openHistory_;
    TRecentFiles recent_;
    ViewerSearch search_;
    TprogForm progress_;
    bool busy_ = false;
    // Busy while it lives, the progress window hidden when it goes, however
    // the work ends.
    class BusyScope;
    std::vector<Subscription> subscriptions_;
};

}  // namespace kestrum
