// The windows of the settings-menu editors: TFormEdit (the shared list
// window) and the entry windows of the alias, directory-list and
// function-key editors. The editing rules live in config/list_editor.h; these
// windows only show them and pass the clicks on.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "common/dialog_win.h"
#include "common/handles_win.h"
#include "common/subclass_win.h"
#include "config/list_editor.h"

namespace kestrum {

// Control ids of the editor windows (OK and Cancel are IDOK and IDCANCEL).
enum EditorControlId : int {
    kEditList = 200,
    kEditNew,
    kEditDelete,
    kEditEdit,
    kEditUp,
    kEditDown,
    kEntryField1 = 300,  // alias name, directory, title
    kEntryField2,        // expansion, key
    kEntryField3,        // start directory
    kEntryChange1,       // "変更" of the expansion or the directory
    kEntryChange2,       // "変更" of the start directory
};

// The shared list window. The entry window is opened through the opener
// (index < 0: New), which returns true when the model took an entry; OK
// commits the model (writing the settings file) and ends, Cancel ends.
class TFormEdit : public Dialog {
public:
    using EntryOpener = std::function<bool(HWND owner, int index)>;
    TFormEdit(TListEditorModel& model, EntryOpener opener);

    // Creates the window hidden, filled from the model, first row selected;
    // the question is open from here (ModalResult() mrNone, then mrOk or
    // mrCancel).
    bool Create(HWND owner);
    // Shows it modally; true when it ended with OK.
    bool ShowModal();

    HWND ListBox() const { return list_; }
    HWND Control(int id) const { return GetDlgItem(Handle(), id); }
    // The message the drag list sends to this window.
    static UINT DragMessage();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Refresh();
    void OnCommand(int id, int code);
    LRESULT OnDrag(const DRAGLISTINFO& info);
    void Finish(int result);

    TListEditorModel& model_;
    EntryOpener opener_;
    HWND owner_ = nullptr;
    HWND list_ = nullptr;
    GdiObject<HFONT> font_;
    int dragFrom_ = -1;
};

// Base of the entry windows: OK asks Accept (which validates and stores in
// the model), Cancel and closing leave the model alone. The question is
// open from the window's creation.
class TEntryForm : public Dialog {
public:
    bool ShowModal();
    HWND Control(int id) const { return GetDlgItem(Handle(), id); }

protected:
    bool CreateForm(HWND owner, const std::string& caption, int clientWidth, int clientHeight);
    HWND AddLabel(const char* text, int x, int y, int w);
    HWND AddEdit(int id, int x, int y, int w, bool readOnly);
    HWND AddButton(int id, const char* text, int x, int y, int w, bool isDefault = false);
    // OK: true when the entry was valid and stored.
    virtual bool Accept() = 0;
    // Buttons other than OK and Cancel.
    virtual void OnButton(int) {}
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    std::string FieldText(int id) const { return GetText(Control(id)); }
    void SetField(int id, const std::string& text) { SetWindowTextA(Control(id), text.c_str()); }

private:
    void Finish(int result);
    HWND owner_ = nullptr;
    GdiObject<HFONT> font_;
};

// "エイリアスの設定": name (editable), expansion and start directory (each
// read-only with its "変更" button).
class TAliasEntryForm : public TEntryForm {
public:
    TAliasEntryForm(TAliasEditor& editor, int index) : editor_(editor), index_(index) {}
    bool Create(HWND owner);

protected:
    bool Accept() override;
    void OnButton(int id) override;

private:
    TAliasEditor& editor_;
    int index_;
};

// A directory with its "変更" button and the one-character call key.
class TDirEntryForm : public TEntryForm {
public:
    TDirEntryForm(TDirListEditor& editor, int index) : editor_(editor), index_(index) {}
    bool Create(HWND owner);

protected:
    bool Accept() override;
    void OnButton(int id) override;

private:
    LRESULT KeyProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    TDirListEditor& editor_;
    int index_;
    bool swallowTrail_ = false;  // the next WM_CHAR is the second byte of a double-byte character
    Subclass keySubclass_;       // each key typed replaces the call key
};

// "ファンクション" + n + "の設定": the title of one function key.
class TFunctionEntryForm : public TEntryForm {
public:
    TFunctionEntryForm(TFunctionEditor& editor, int index) : editor_(editor), index_(index) {}
    bool Create(HWND owner);

protected:
    bool Accept() override;

private:
    TFunctionEditor& editor_;
    int index_;
};

// The settings menu's editors over the running state, shown modally.
void ShowAliasEditor(HWND owner);
void ShowDirListEditor(HWND owner, TDirListEditor::Which which);
void ShowFunctionEditor(HWND owner);

}  // namespace kestrum
