// TfrmFM: what keys, the mouse and the menu commands do on the grid: the
// key map first, then the built-in keys; the actions that need no file
// operation; marking, opening and Escape.
#include <windows.h>

#include <algorithm>
#include <utility>

#include "common/history.h"
#include "common/prompter.h"
#include "common/sjis.h"
#include "config/action_table.h"
#include "config/key_files_win.h"
#include "config/list_editor_win.h"
#include "config/services.h"
#include "config/session.h"
#include "fileops/change_dir_win.h"
#include "filer/filer_commands.h"
#include "filer/filer_routes.h"
#include "filer/frm_fm_win.h"

namespace kestrum {

using Code = FilerActionCode;

void TfrmFM::ToggleMark() {
    if (model_.Count() == 0) return;
    const std::size_t idx = static_cast<std::size_t>(model_.CursorIndex());
    model_.SetMark(idx, !model_.Marked(idx), MarkSize());
    AfterMove(MoveDown(model_, Cursor()));
}

void TfrmFM::AfterMarks() {
    UpdateStatus();
    InvalidateGrid();
}

void TfrmFM::OpenCursorEntry(int candidate) {
    if (model_.Count() == 0) return;
    const FileEntry& e = model_.Entry(static_cast<std::size_t>(model_.CursorIndex()));
    if (e.find.IsDirectory()) {
        ChangeDirectory(e.find.name);
        ShowList();
        return;
    }
    const std::string file = TheSession().currentDir + e.find.name;
    // A second candidate of an extension no association names: the list.
    if (candidate == 1 && !HasAssociation(TheSession(), file)) {
        ShowCandidates();
        return;
    }
    TheCommands().OpenByAssociation(file, candidate);
}

void TfrmFM::EscapeKey() {
    switch (EscapeFor(TheSession().settings, GetFocus() == cmdLine_, TheShellWindow().Present())) {
    case EscapeOutcome::ClearCommandLine:
        SetWindowTextA(cmdLine_, "");
        FocusGrid();
        return;
    case EscapeOutcome::HotKeyToggle: TheShellWindow().HotKeyToggle(); return;
    case EscapeOutcome::Hide: ShowWindow(Handle(), SW_HIDE); return;
    case EscapeOutcome::AskThenClose:
        if (CurrentPrompter().MessageDlg("ファイラーを閉じます。\r\nよろしいですか？", MsgType::Confirmation,
                                         MsgButtons::YesNo) != mrYes) {
            return;
        }
        [[fallthrough]];
    case EscapeOutcome::Close: CloseFiler(); return;
    }
}

void TfrmFM::RunCode(int code) {
    if (IsDriveActionCode(code)) {
        ChangeDirectory(std::string(1, static_cast<char>('A' + code - kDriveActionFirst)) + ":");
        ShowList();
        return;
    }
    RunAction(code);
}

bool TfrmFM::RunAction(int code) {
    if (const int vk = NavigationKeyForCode(code)) {
        // Navigation items run the built-in key, then remember the anchor.
        RunBuiltInKey(vk);
        model_.SetAnchor(model_.CursorIndex());
        return true;
    }
    if (const LetterRoute* route = LetterRouteForCode(code)) {
        shiftDown_ = route->shift;
        if (route->letter == 0) {
            OpenCursorEntry(route->shift ? 1 : 0);
        } else {
            RunLetter(route->letter);
        }
        return true;
    }
    return RunListAction(code) || RunWindowAction(code) || RunFileAction(code);
}

bool TfrmFM::RunListAction(int code) {
    const CursorSettings cs = Cursor();
    switch (code) {
    case Code::FirstEntry: model_.PlaceCursor(0); AfterMove(true); return true;
    case Code::LastEntry: model_.PlaceCursor(static_cast<long long>(model_.Count()) - 1); AfterMove(true); return true;
    case Code::CursorDown: AfterMove(MoveDown(model_, cs)); return true;
    case Code::CursorUp: AfterMove(MoveUp(model_, cs)); return true;
    case Code::CursorRight: AfterMove(MoveRight(model_, cs)); return true;
    case Code::CursorLeft: AfterMove(MoveLeft(model_, cs)); return true;
    case Code::MarkFromCursorFiles:
    case Code::MarkFromCursorAll:  // mark from the cursor to the end
        MarkFromCursor(model_, code == Code::MarkFromCursorFiles, MarkSize());
        AfterMarks();
        return true;
    case Code::InvertMarksFiles:
    case Code::InvertMarksAll:
        InvertMarks(model_, code == Code::InvertMarksFiles, MarkSize());
        AfterMarks();
        return true;
    default: return false;
    }
}

bool TfrmFM::RunWindowAction(int code) {
    switch (code) {
    case Code::ToShellWindow: {  // to the shell window
        ShellWindowService& shell = TheShellWindow();
        if (shell.Present()) {
            shell.Show();
            if (TheSession().settings.haitaHyoji) CloseFiler();
            shell.FocusCommandBox();
        }
        return true;
    }
    case Code::ToCommandLine: FocusCommandLine(); return true;
    case Code::ToCommandLineWithName:
        SetWindowTextA(cmdLine_, CurrentFile().c_str());
        FocusCommandLine();
        return true;
    case Code::ReloadSettings:  // reload the settings, then the display style and the list
        Execute_t(CommandName(cmdCFGLOAD));
        SetDisplayMode(TheSession().settings.style & 1);
        UpdateMenuChecks();
        return true;
    case Code::FilerAtStart: {  // start the filer with the program: toggled and written at once
        bool& on = TheSession().settings.filerAuto;
        on = !on;
        WriteSwitch("FilerAuto", on);
        UpdateMenuChecks();
        return true;
    }
    case Code::PopupMenu: {  // the pop-up menu at the mouse
        POINT pt{};
        GetCursorPos(&pt);
        UpdateMenuChecks();
        const int id = CurrentPrompter().AskPopupMenu(menus_.Popup(), pt.x, pt.y, Handle());
        if (id != 0) SendMessageA(Handle(), WM_COMMAND, static_cast<WPARAM>(id), 0);
        return true;
    }
    case Code::MapNetworkDrive: CurrentPrompter().ShowNetworkDriveDialog(true, Handle()); return true;
    case Code::DisconnectNetworkDrive: CurrentPrompter().ShowNetworkDriveDialog(false, Handle()); return true;
    case Code::EditAliases: ShowAliasEditor(Handle()); return true;
    case Code::EditLogList: ShowDirListEditor(Handle(), TDirListEditor::Which::LogList); return true;
    case Code::EditCopyList: ShowDirListEditor(Handle(), TDirListEditor::Which::CopyList); return true;
    case Code::EditFunctionKeys:
        ShowFunctionEditor(Handle());
        InvalidateRect(Handle(), nullptr, FALSE);
        return true;
    default: return false;
    }
}

void TfrmFM::RunBuiltInKey(int vk) {
    switch (vk) {
    case VK_BACK:
        ChangeDirectory("..");
        ShowList();
        break;
    case VK_NEXT: AfterMove(PageDownKey(model_)); break;
    case VK_PRIOR: AfterMove(PageUpKey(model_)); break;
    case VK_SPACE: ToggleMark(); break;
    case VK_HOME:
        MarkAllOrNone(model_, MarkSize());
        AfterMarks();
        break;
    case VK_RETURN: OpenCursorEntry(0); break;
    case VK_ESCAPE: EscapeKey(); break;
    default: break;
    }
}

void TfrmFM::OnKeyDown(WPARAM key) {
    if (key == VK_TAB) {
        PostMessageA(cmdLine_, WM_KEYDOWN, VK_F6, 0);
        FocusCommandLine();
        return;
    }
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool alt = GetKeyState(VK_MENU) < 0;
    shiftDown_ = GetKeyState(VK_SHIFT) < 0;
    TheSession().shiftFlag = shiftDown_;
    ctrlDown_ = ctrl;
    key = static_cast<WPARAM>(NormalisedKey(static_cast<int>(key)));
    if (key == 0 || (key >= VK_SHIFT && key <= VK_MENU)) return;
    // The filer key map first: a bound key runs its action and is consumed.
    {
        int k = static_cast<int>(key);
        const bool shift = GetKeyState(VK_SHIFT) < 0;
        FilerKeyX().LookUp(k, ModifierBits(shift, ctrl, alt));
        if (k == 0) return;
    }
    RunGridKey(RouteBuiltInKey(static_cast<int>(key), ctrl, alt));
}

void TfrmFM::RunGridKey(const BuiltInKey& k) {
    using Kind = BuiltInKey::Kind;
    const CursorSettings cs = Cursor();
    switch (k.kind) {
    case Kind::None: return;
    case Kind::FindInitial: {
        const long long i = FindByInitial(model_, static_cast<char>(k.value));
        if (i < 0) return;
        const long long top = model_.PageTop();
        model_.PlaceCursor(i);
        AfterMove(model_.PageTop() != top);
        return;
    }
    case Kind::PreviousPage: RunAction(Code::PreviousPage); return;  // through the navigation items
    case Kind::NextPage: RunAction(Code::NextPage); return;
    case Kind::Left: AfterMove(MoveLeft(model_, cs)); return;
    case Kind::Right: AfterMove(MoveRight(model_, cs)); return;
    case Kind::Up: AfterMove(MoveUp(model_, cs)); return;
    case Kind::Down: AfterMove(MoveDown(model_, cs)); return;
    case Kind::ToCommandLine: FocusCommandLine(); return;
    case Kind::Escape: EscapeKey(); return;  // the hidden cancel button
    case Kind::FunctionKey: {
        const auto& f = TheSession().lists.functions;
        if (static_cast<std::size_t>(k.value) >= f.size()) return;
        const long long index = model_.CursorIndex();
        Execute_t(f[static_cast<std::size_t>(k.value)].command);
        if (Visible()) Relist(index);
        return;
    }
    }
}

void TfrmFM::OnChar(WPARAM ch) {
    // The character of a key whose key-down ran a binding is not acted on.
    if (std::exchange(FilerKeyX().handled, 0)) return;
    // A double-byte character typed on the grid comes as two bytes; its
    // second byte may be "\\" (ソ is 83 5C) and is not a key of its own.
    if (std::exchange(trailPending_, false)) return;
    if (IsLeadByte(static_cast<unsigned char>(ch))) {
        trailPending_ = true;
        return;
    }
    if (ch != '\\') return;
    const std::string old = TheSession().currentDir;
    if (old.size() >= 3 && ChangeDirectory(old.substr(0, 3))) {
        AddToHistory(TheSession().lists.dirHistory, old);
        ShowList();
    }
}

void TfrmFM::OnMouseDown(int x, int y, bool shift, bool ctrl) {
    shiftDown_ = shift;
    ctrlDown_ = ctrl;
    const Rect& line = layout_.directoryLine;
    if (!TheSession().settings.fileInfo1 && x >= line.left && x < line.left + layout_.directoryLeftWidth && y >= line.top &&
        y < line.Bottom()) {
        // The directory text (hidden in info-line mode) is copied as shown.
        CopyDirectoryLine();
        return;
    }
    FocusGrid();
    if (model_.Count() == 0) return;
    const std::optional<GridCell> cell = CellAt(layout_, model_.Cols(), model_.Rows(), x, y);
    if (!cell) return;
    const long long index = CellIndex(model_, cell->col, cell->row);
    if (index >= static_cast<long long>(model_.Count())) return;
    model_.SetCursorCell(cell->col, cell->row);
    MarkByClick(model_, index, shift, ctrl, MarkSize());
    AfterMarks();
}

}  // namespace kestrum
