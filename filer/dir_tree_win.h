// The directory picker window: TDirTreeView (a tree-view control filled
// level by level from TDirTreeModel), TfrmDirDir (drive selector, tree,
// divider and file list) and the modal entry point the line-input window's
// browse button calls.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "common/dialog_win.h"
#include "common/file_system_win.h"
#include "common/handles_win.h"
#include "common/panels_win.h"
#include "common/subclass_win.h"
#include "common/window_win.h"
#include "filer/dir_tree.h"
#include "config/key_map.h"
#include "config/window_state.h"

namespace kestrum {

class TDirTreeView;
using TDirTreeEvent = std::function<void(TDirTreeView& sender, const std::string& path)>;

// A read-only tree view of one drive's directories. Its parent must pass
// the control's WM_NOTIFY messages to Notify.
class TDirTreeView {
public:
    explicit TDirTreeView(FileSystem& fs) : model_(fs) {}
    ~TDirTreeView();
    TDirTreeView(const TDirTreeView&) = delete;
    TDirTreeView& operator=(const TDirTreeView&) = delete;

    bool Create(HWND parent, int x, int y, int w, int h);
    HWND Handle() const { return wnd_; }

    // Loads drive (upper-case letter) unless it is already loaded.
    void SetDrive(char drive);
    char Drive() const { return drive_; }
    // A root node for the drive itself; reloads when it changes.
    void SetShowDrive(bool show);
    bool ShowDrive() const { return showDrive_; }
    // After loading, select the drive's current directory.
    bool ShowCurrentDir = true;
    // Gets the path of the newly selected node (not while loading).
    TDirTreeEvent OnChange;
    // Current directory of a drive ("C:\WORK"); the platform's by default.
    std::function<std::string(char drive)> DriveCurrentDir;

    // Path of the selected node ("X:" for the drive node); empty for none.
    std::string SelectedPath() const;
    // Expands the way to dir and selects it (or its deepest existing
    // directory); loads dir's drive first. False when nothing was selected.
    bool SelectPath(const std::string& dir);
    // Selects the drive's current directory as loading does.
    void SelectCurrentDir();
    void ExpandSelected();
    void CollapseSelected();

    // Handles a notification of the control; true when it was one of ours.
    bool Notify(const NMHDR* hdr, LRESULT& result);

    const TDirTreeModel& Model() const { return model_; }
    // The control's item of a node (nullptr when it is not shown).
    HTREEITEM ItemOf(int node) const;
    // The item of dir, reading and showing (not expanding) the levels above
    // it; nullptr when dir is not in the tree.
    HTREEITEM ItemOfPath(const std::string& dir);
    // Node of a control item: -1 for the placeholder.
    int NodeOf(HTREEITEM item) const;

private:
    void Reload();
    void InsertChildren(HTREEITEM parentItem, int node);
    // Makes the control's children of node match the model's.
    void SyncChildren(int node);
    // Shows in the control the levels Locate read above loc.node.
    void SyncChain(const DirLocation& loc);

    TDirTreeModel model_;
    HWND wnd_ = nullptr;
    ImageListHandle images_;  // shown by the control, not owned by it
    char drive_ = 0;
    bool showDrive_ = false;
    bool loading_ = false;
    std::vector<HTREEITEM> items_;  // by node id
};

// Looks a key up in a key map with exactly these modifiers (bits as in the
// key maps: Shift 1, Alt 2, Ctrl 4, config/key_map.h) and gives the bound
// action id, or -1 when the key is not bound.
using DirTreeKeyLookup = std::function<int(int vk, unsigned modifiers)>;
// The lookup in the filer's key map.
int FilerKeyLookup(int vk, unsigned modifiers);

class TfrmDirDir : public Dialog {
public:
    // fs: nullptr lists the platform's disks.
    explicit TfrmDirDir(FileSystem* fs = nullptr);

    // Creates the hidden window with the given placement.
    bool Create(HWND owner, const DirDirGeometry& g);
    // The placement to keep: the normal position and the tree's width.
    DirDirGeometry GeometryToKeep() const;

    // Without the modal loop: loads the drive of startDir (the current
    // directory when it has none), selects startDir and shows the window.
    // The question ends when Finished() is true.
    void Begin(const std::string& startDir);
    // ModalResult(): 1 OK (Result() holds the directory), 2 Cancel.
    const std::string& Result() const { return result_; }
    // Begin, then the modal loop; the result code.
    int ShowModal(const std::string& startDir);

    TDirTreeView& Tree() { return tree_; }
    TSplitPanel& Splitter() { return split_; }
    HWND DriveBox() const { return driveBox_; }
    HWND FileList() const { return fileList_; }
    HWND Panel() const { return panel_.Handle(); }
    // Names shown in the file list.
    std::vector<std::string> Files() const;

    // The key map the tree's keys are looked up in (unset: no key is bound).
    DirTreeKeyLookup keyLookup;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void FormCreate(int treeWidth);
    void FormResize();
    void FillDrives();
    void ShowDriveInBox(char drive);
    void SelectDrive(char drive);
    void TreeChange(const std::string& path);
    // True when the key was taken (the tree never sees it).
    bool TreeKeyDown(WPARAM vk);
    void End(int result);

    // The disks, searched without the platform's "no disk" boxes.
    Win32FileSystem disks_{true};
    FileSystem& fs_;  // the disks, or the one the creator gave
    TDirTreeView tree_;
    TAlignPanel panel_;
    TSplitPanel split_;
    HWND driveBox_ = nullptr;
    HWND fileList_ = nullptr;
    HWND ok_ = nullptr;
    HWND cancel_ = nullptr;
    std::vector<char> drives_;  // letters in the drive box, in order
    std::string result_;
    Subclass treeSubclass_;  // the tree's keys: drives and the filer's bindings
};

// Shows the picker modally. dir in: the start directory; out, on OK: the
// chosen directory. The placement is taken from and kept in
// DirPickerGeometry().
bool ShowDirectoryPicker(HWND owner, std::string& dir);

}  // namespace kestrum
