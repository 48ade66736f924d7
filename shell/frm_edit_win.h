// TfrmEdit: the line-input window that asks for one line (AskLine), with
// the editing actions of the command boxes as its menu.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/dialog_win.h"
#include "common/handles_win.h"
#include "common/prompter.h"
#include "common/signal.h"
#include "config/key_map.h"
#include "config/profile.h"
#include "config/window_state.h"
#include "shell/shell_menus.h"

namespace kestrum {

inline constexpr int kEditActionCount = 15;
// Names of the editing actions, by number (the key file's numbers too).
const char* EditActionName(int n);

class TfrmEdit : public Dialog {
public:
    ~TfrmEdit() override;
    // Creates the hidden window; the newest one still there is the one the
    // line-input key map and the shell's "キーカスタマイズ" reach.
    bool Create(HWND owner, const ProfileReader& profile);
    static TfrmEdit* Current();
    Geometry NormalGeometry() const;

    // AskLine: the question modally; true with q.text the answer.
    bool AskLine(LineQuestion& q);
    // The same in two halves around the window's own run: BeginQuestion
    // fills and shows the window without a modal loop; EndQuestion turns
    // the edit text into the answer (ok) and resets the question state.
    void BeginQuestion(LineQuestion& q);
    bool EndQuestion(bool ok);
    // ModalResult(): 0 while the question runs; mrOk or mrCancel once it is
    // answered.

    // The editing actions 0 to 14 on ActiveEdit; 5 and 6 on this window.
    void RunEditAction(int n);
    void Browse();
    void PickRegistered();
    void HistoryList();
    // "キーカスタマイズ": the key customisation of the command boxes' map.
    void OpenKeyCustomize();
    // HOMESHIFTMODE captions of the caret-movement entries.
    void ApplyHomeShiftMode(int mode);

    HWND Edit1() const { return edit1_; }
    HWND Label1() const { return label1_; }
    HWND Button3() const { return button3_; }
    HWND SpeedButton1() const { return speed1_; }
    HMENU Menu() const { return menu_.Get(); }
    const std::vector<std::string>& PrivateHistory() const { return history_; }

    // The file-open dialog of the next question offers only files that
    // match filter ("*.EXE"); the question resets it.
    void SetFileFilter(std::string filter) { fileFilter_ = std::move(filter); }
    const std::string& FileFilter() const { return fileFilter_; }

    // Browsing dialogs; the platform's own unless replaced (tests).
    std::function<std::optional<std::string>()> pickFile;
    std::function<std::optional<std::string>()> pickFolder;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void FormCreate();
    void BuildMenu();
    void Layout();
    void Close(int result);
    std::optional<std::string> PlatformPickFile();
    std::optional<std::string> PlatformPickFolder();

    HWND label1_ = nullptr;
    HWND edit1_ = nullptr;
    HWND button1_ = nullptr;
    HWND button2_ = nullptr;
    HWND button3_ = nullptr;
    HWND speed1_ = nullptr;
    HWND speed2_ = nullptr;
    HWND speed3_ = nullptr;
    MenuBar menu_;
    HMENU basic_ = nullptr;  // a submenu: the menu bar owns it
    GdiObject<HFONT> labelFont_;

    LineQuestion* question_ = nullptr;
    int mode_ = 0;
    std::vector<std::string> history_;  // the private copy
    const std::vector<std::string>* registered_ = nullptr;
    int registeredKind_ = 2;
    std::string fileFilter_;
    Subscription current_;  // this window among the line-input windows, for Current()
};

}  // namespace kestrum
