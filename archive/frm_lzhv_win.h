// TfrmLZHV: the archive viewer window ("Kestrum LVIEW"): the list of the
// current level, its keys and menus, working directories on the disk, the
// [LVIEW] placement and font.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "archive/archive_browser.h"
#include "archive/tlg_win.h"
#include "common/handles_win.h"
#include "common/signal.h"
#include "common/window_win.h"
#include "config/profile.h"
#include "config/window_state.h"

namespace kestrum {

class TfrmLZHV : public Window, private ArchiveBrowserHost {
public:
    explicit TfrmLZHV(ArchiverHost& libraries);
    ~TfrmLZHV() override;

    // Creates the hidden window with its placement and font from [LVIEW].
    bool Create(HWND owner, const ProfileReader& profile);
    Geometry NormalGeometry() const;
    const FontSpec& Font() const { return font_; }
    // A new font for the window and its list, applied at once.
    void SetFont(const FontSpec& font);

    // LVIEW: shows the archive modally until the viewer closes.
    void ShowModal(const std::string& arg);
    // The same without the modal loop (tests drive it with messages); the
    // showing ends when Finished() is true.
    void Begin(const std::string& arg);
    bool Finished() const { return finished_; }
    // Closes the viewer: every working directory goes.
    void CloseViewer();

    TLg& List() { return list_; }
    TArchiveBrowser& Browser() { return browser_; }
    // The archive shown while showing, else empty.
    std::string CurrentFile() const { return finished_ ? std::string() : browser_.ArchivePath(); }

    // Menu item ids.
    enum : int {
        kOpen = 101,
        kOpenSecond,
        kView,
        kExtract,
        kBack,
        kClose,
        kSystemMenu,
        kFont,
        kSettings,
    };

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // ArchiveBrowserHost.
    std::string TempDirectory() override;
    std::string MakeTempDir(const std::string& prefix) override;
    void RemoveTree(const std::string& dir) override;
    int Launch(const std::string& path) override;
    void RunCommand(const std::string& line) override;
    bool EnsureDirectory(std::string& dir) override;
    void CopyListTo(const std::string& list, const std::string& dir) override;
    CivilTime LocalTime(std::int64_t utcSeconds) override;
    void PostAutoStep() override;

    void FormCreate();
    void Layout();
    void Refill();
    void ApplyFont();
    void ApplyColors();
    bool ListKeyDown(WPARAM key);
    void Command(int id);
    void ItemSelected(int mode);
    void AutoShow();

    TArchiveBrowser browser_;
    TLg list_;
    HMENU actionMenu_ = nullptr;
    FontSpec font_;
    GdiObject<HFONT> fontHandle_;
    bool finished_ = true;
    bool shift_ = false;
    bool secondCandidate_ = false;
    int autoDepth_ = 0;
    AutoStepGate autoStep_;
    Subscription colorsChanged_;
    Subscription fontAccess_;
};

}  // namespace kestrum
