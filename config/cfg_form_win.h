// TcfgForm: the settings dialog "Kestrum 設定". Its pages come from the
// control table of config/cfg_pages.h; OK copies the controls into the
// running settings, applies them to the windows and writes them in one save.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/dialog_win.h"
#include "common/handles_win.h"
#include "common/signal.h"
#include "config/cfg_pages.h"
#include "config/key_map.h"
#include "config/window_state.h"

namespace kestrum {

class TfrmColc;

class TcfgForm : public Dialog {
public:
    enum ControlId : int {
        kIdTabs = 100,
        kIdHelp = 101,
        kIdSemicolon = 102,
        kIdCommandGroup = 103,
        kIdCommand0 = 200,      // + row: the command name boxes of page 0
        kIdItem0 = 1000,        // + index into CfgItems: the item's own control
        kIdPick0 = 2000,        // + index: its "変更" button
        kIdPart0 = 3000,        // + index * 8 + n: radio buttons, hot-key boxes
        kIdSelectPage0 = 5000,  // + page: a command that turns to the page
    };
    // The parts of the hot-key item, for HotKeyPart.
    enum HotKeyPartIndex : int { kHotShift = 0, kHotCtrl, kHotAlt, kHotKeyBox };

    ~TcfgForm() override;

    // Creates the hidden window with every page.
    bool Create(HWND owner);
    // Fills the controls from the running program and shows the window on
    // the page without a modal loop (tests drive it from there).
    void Begin(int page);
    // Begin, then the modal loop; mrOk or mrCancel.
    int ShowModal(int page);

    // "OK": refuses invalid values with a message (the window stays);
    // otherwise copies, applies, writes and finishes. True when finished.
    bool OkClick();
    // "Cancel": discards, reloading a previewed key or colour file.
    void CancelClick();

    int Page() const { return page_; }
    void SelectPage(int page);

    // The controls, for tests and for kdrive.
    HWND Tabs() const { return tabs_; }
    HWND Item(std::string_view key) const;                // check box or edit box of a key
    HWND RadioButton(std::string_view key, int option) const;
    HWND PickButton(std::string_view key) const;          // "変更"
    HWND ActionButton(CfgAction action, int arg = 0) const;
    HWND HotKeyPart(int part) const;
    HWND CommandEdit(int row) const;
    HWND SemicolonBox() const { return semicolon_; }
    HWND HelpButton() const { return help_; }
    // The controls of a page (shown while it is the current one).
    const std::vector<HWND>& PageControls(int page) const { return pages_[static_cast<std::size_t>(page)]; }

    // The values the controls hold now.
    CfgValues ReadValues() const;

    // The colour dialog of the filer's slots; tests replace the modal run.
    std::function<void(TfrmColc&)> runFilerColors;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    struct ItemControls {
        HWND main = nullptr;
        HWND label = nullptr;
        HWND pick = nullptr;
        std::vector<HWND> parts;
    };
    void FormCreate();
    HWND Add(int page, const char* cls, const char* text, DWORD style, int id, const CfgRect& r, DWORD ex = 0);
    void BuildItem(std::size_t n, const CfgItem& item, const CfgRect& r);
    void Fill();
    void SelectRadio(std::size_t n, int option);
    void UpdateEnabled();
    void OnCommand(int id, int code);
    void OnButton(std::size_t n);
    void Pick(std::size_t n);
    void SemicolonClick();
    void Finish(int result);
    void FocusFirst();
    static LRESULT CALLBACK PageProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

    GdiObject<HFONT> font_;
    HWND owner_ = nullptr;
    HWND tabs_ = nullptr;
    HWND help_ = nullptr;
    HWND semicolon_ = nullptr;
    HWND focus_ = nullptr;
    POINT origin_{0, 0};
    std::vector<ItemControls> items_;
    std::vector<HWND> commandEdits_;
    std::vector<HWND> pageWnds_;             // one panel per page
    std::vector<std::vector<HWND>> pages_;  // the controls of each page
    int page_ = 0;
    // The key and colour files in force when the dialog opened and those
    // loaded now (a "変更" loads the chosen one at once for preview).
    std::string keyFileAtOpen_;
    std::string colorFileAtOpen_;
    std::string keyFileLoaded_;
    std::string colorFileLoaded_;
    // The filer's key map before the first preview, put back by Cancel.
    bool keysPreviewed_ = false;
    TUserKey keysBeforePreview_;
    std::string keysUnreadableBeforePreview_;
};

// Opens the dialog modally on a page (0 "Main" ... 9 "マクロ"); mrOk or
// mrCancel. While a runner is installed (tests) the dialog is begun on the
// page and handed to it instead of the modal loop.
int ShowSettingsDialog(HWND owner, int page);
using CfgFormRunner = std::function<int(TcfgForm&)>;
// Installs a runner until the subscription goes (the one installed before
// is in force again then).
[[nodiscard]] Subscription InstallCfgFormRunner(CfgFormRunner runner);

// How a font button reaches its window: the font now and a setter that
// applies a new one at once. The shell's and the filer's are known; other
// windows register theirs, for as long as they keep the subscription. A
// button without a setter is disabled.
struct CfgFontAccess {
    std::function<FontSpec()> get;
    std::function<void(const FontSpec&)> set;
};
[[nodiscard]] Subscription RegisterCfgFontAccess(CfgFont which, CfgFontAccess access);

// After the dialog's OK: the listeners run, in the order they came, with
// the settings as they were before (the shell window's menu bar and prompt,
// the hot key and tray icon, the task bar, the filer, the viewers). A
// listener is called until its subscription goes.
void ApplyDialogSettings(const Settings& before);
using CfgAppliedListener = std::function<void(const Settings& before)>;
[[nodiscard]] Subscription AddCfgAppliedListener(CfgAppliedListener listener);
std::size_t CfgAppliedListenerCount();

}  // namespace kestrum
