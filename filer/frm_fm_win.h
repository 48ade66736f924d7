// TfrmFM: the filer window: the listing of the current directory drawn as a
// grid of cells, the drive bar, the function-key bar, the directory and
// full-name lines, the scroll bar and the filer's own command line.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "common/file_system_win.h"
#include "common/signal.h"
#include "common/window_win.h"
#include "config/font_win.h"
#include "config/services.h"
#include "config/window_state.h"
#include "fileops/file_copy_win.h"
#include "fileops/format_dialog_win.h"
#include "filer/cursor_moves.h"
#include "filer/file_list.h"
#include "filer/filer_commands.h"
#include "filer/filer_routes.h"
#include "filer/filer_geometry.h"
#include "filer/filer_menu_win.h"
#include "filer/layout.h"

namespace kestrum {

class TfrmFM : public Window, public FilerService {
public:
    // Creates the window and runs FormCreate: the settings, the home
    // directory, the key and colour files. Its command line is a plain edit
    // control until the application makes it a command box.
    bool Create(HWND owner);

    void ShowFiler();   // LS: show, list, focus the grid
    void CloseFiler();  // CLOSE, ESC
    void UpdateCaption();
    // Re-reads the directory; cursor -1 keeps the cursor cell.
    void Relist(long long cursor);
    // Relist and put the cursor on its starting entry.
    void ShowList();
    void FocusGrid();
    void FocusCommandLine() override;
    HWND CommandLine() const { return cmdLine_; }

    FileListModel& Model() { return model_; }
    // Full path of the cursor entry, or empty.
    std::string CurrentFile() const override;
    // Display mode 0 (names) or 1 (name, size, date).
    void SetDisplayMode(int mode);
    // Runs a filer action by its code; false when the code has no action here.
    bool RunAction(int code) override;
    // Runs a key-map or menu command: an action code, or 400 + drive.
    void RunCode(int code);
    const FilerMenus& Menus() const { return menus_; }
    const FilerLayout& Layout() const { return layout_; }
    // The cursor cell in client coordinates.
    RECT CursorCellRect() const;
    void ShowMenuBar(bool show);

    Geometry NormalGeometry() const;
    bool Maximised() const;
    FontSpec Font(int i) const override { return fonts_[i]; }
    // 0 file-name area, 1 drive bar, 2 function-key bar, 3 command line;
    // the layout and the list texts follow.
    void SetFont(int which, const FontSpec& spec) override;
    // Escape in the grid or the command line: empties the command line,
    // hides or closes the filer as the settings say.
    void EscapeKey();

    // The filer as the other windows reach it.
    bool Present() const override { return true; }
    bool Showing() const override { return Visible(); }
    void Show() override { ShowFiler(); }
    void Hide() override { ShowWindow(Handle(), SW_HIDE); }
    void Close() override { CloseFiler(); }
    void RefreshListing() override {
        if (Visible()) RelistKeepingCursor();
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void FormCreate();
    // After the settings dialog's OK: the menu bar, the layout and the list.
    void SettingsApplied();
    // The check marks of the menus' switches (FilerAuto, SubDirSize).
    void UpdateMenuChecks();
    // A switch of [環境変数] written at once as "key, 1" or "key, 0".
    void WriteSwitch(const char* key, bool on);
    void DoLayout();
    DisplayOptions Options() const;
    CursorSettings Cursor() const;
    void UpdateStatus();
    void SyncScrollBar();
    void Paint(HDC dc);
    void PaintDriveBar(HDC dc);
    void PaintFunctionBar(HDC dc);
    void PaintLines(HDC dc);
    void DrawCell(HDC dc, int col, int row);
    void DrawCellText(HDC dc, const RECT& cell, const FindRecord& f, bool marked, COLORREF bg);
    void DrawCursor(HDC dc, const CursorShape& shape, COLORREF fg, COLORREF bg);
    void InvalidateGrid();
    // The window's messages.
    void OnActivate(bool active);
    void OnSize();
    void OnPaint();
    void OnDoubleClick(int x, int y, WPARAM keys);
    void OnVScroll(int code);
    // A menu command; false when the id is none of the filer's.
    bool OnCommand(UINT id);
    // Tab to the command line, the key map, then the built-in keys.
    void OnKeyDown(WPARAM key);
    // The actions on the listing's cursor and marks, and those of the
    // window itself; false when the code is none of them.
    bool RunListAction(int code);
    bool RunWindowAction(int code);
    // A key the key map left to the grid.
    void RunGridKey(const BuiltInKey& key);
    // Backspace, PageUp/PageDown, Space, Home, Return and Escape.
    void RunBuiltInKey(int vk);
    // The letter actions ("C", "M", "2" ...); Shift comes from shiftDown_.
    void RunLetter(char letter);
    void ChangeFont(int which);

    // The file actions.
    // The filer's commands on this window's listing, the disk and the user.
    FilerContext Context();
    // Everything the filer reads or changes on disk goes through this.
    FileSystem& Files() const { return CurrentFileSystem(); }
    void RelistKeepingCursor();
    TFileCopy& Copier();
    bool RunFileAction(int code);
    void Duplicate();
    void CopyOrMove(bool move);
    void DeleteAction();
    void RenameAction();
    void MaskAction();
    void ChangeDirectoryAction();
    void MakeDirectoryAction();
    void RunCommandAction();
    void SortAction();
    bool RunSortDialog();
    void CopyNamesToClipboard(int code);
    void MakeShortcut(int code);
    void ChangeDates();
    void JoinAction();
    // P and U: pack the selection into an LHA archive, unpack archives.
    void PackAction();
    void UnpackAction();
    void ShowCandidates();
    // The directory text (directory and mask) to the clipboard.
    void CopyDirectoryLine();
    void OnDropFiles(HDROP drop);
    void OnChar(WPARAM ch);
    void OnMouseDown(int x, int y, bool shift, bool ctrl);
    void AfterMove(bool pageChanged);
    void OpenCursorEntry(int candidate);
    void ToggleMark();
    // After marks changed: the counts and the grid.
    void AfterMarks();
    // The size a marked directory counts: its content with SubDirSize on.
    ContentSize MarkSize();

    FontSpec fonts_[4];
    FontHandle fontHandles_[4];
    FilerMenus menus_;
    bool startMaximised_ = false;
    FileListModel model_;
    FilerLayout layout_;
    int displayMode_ = 0;
    HWND cmdLine_ = nullptr;
    HWND scroll_ = nullptr;
    bool gridFocused_ = true;
    bool shiftDown_ = false;  // from the last key-down, mouse press or letter item
    bool ctrlDown_ = false;
    bool trailPending_ = false;  // the next WM_CHAR is the second byte of a character
    TFileCopy copier_;  // the filer's copy and move engine
    bool copierReady_ = false;
    TfrmFormat format_;  // the format dialog, one window for the run
    std::string driveCount_;
    std::string driveTotal_;
    std::string driveUsed_;
    std::string driveFree_;
    // Registrations with the process-wide lists; they go with the window.
    std::vector<Subscription> subscriptions_;
};

}  // namespace kestrum
