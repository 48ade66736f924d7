// Cursor movement on the grid: cells fill a page column by column.
#include "filer/cursor_moves.h"

#include "common/sjis.h"

namespace kestrum {

namespace {

// The last used cell number of the page (PageBottom - PageTop).
long long Used(const FileListModel& m) { return m.PageBottom() - m.PageTop(); }
long long Cell(const FileListModel& m, int col, int row) { return static_cast<long long>(col) * m.Rows() + row; }
bool IsUsed(const FileListModel& m, long long cell) { return cell >= 0 && cell <= Used(m); }

void GoToCell(FileListModel& m, long long cell) {
    m.SetCursorCell(static_cast<int>(cell / m.Rows()), static_cast<int>(cell % m.Rows()));
}

bool GoToEntry(FileListModel& m, long long index) {
    const long long top = m.PageTop();
    m.PlaceCursor(index);
    return m.PageTop() != top;
}

}  // namespace

bool MoveDown(FileListModel& m, const CursorSettings& s) {
    if (m.Count() == 0) return false;
    const long long n = Cell(m, m.CursorCol(), m.CursorRow());
    if (IsUsed(m, n + 1)) {
        GoToCell(m, n + 1);
        return false;
    }
    if (!s.cursorMode) {
        GoToCell(m, 0);
        return false;
    }
    if (m.PageForward()) {
        GoToCell(m, 0);
        return true;
    }
    if (s.cursorLoop) return GoToEntry(m, 0) || true;
    return false;
}

bool MoveUp(FileListModel& m, const CursorSettings& s) {
    if (m.Count() == 0) return false;
    const int col = m.CursorCol();
    const int row = m.CursorRow();
    if (col == 0 && row == 0 && m.PageTop() == 0 && s.cursorMode) {
        if (s.cursorLoop) return GoToEntry(m, static_cast<long long>(m.Count()) - 1) || true;
        return false;
    }
    if (row > 0) {
        m.SetCursorCell(col, row - 1);
        return false;
    }
    if (col > 0) {
        m.SetCursorCell(col - 1, m.Rows() - 1);
        return false;
    }
    bool turned = false;
    if (!s.cursorMode || (turned = m.PageBack())) {
        GoToCell(m, Used(m));
    }
    return turned;
}

bool MoveLeft(FileListModel& m, const CursorSettings& s) {
    if (m.Count() == 0) return false;
    const int col = m.CursorCol();
    const int row = m.CursorRow();
    if (col >= 1) {
        m.SetCursorCell(col - 1, row);
        return false;
    }
    if (s.cursorKeyMode) {
        if (m.PageBack()) {
            const long long used = Used(m);
            m.SetCursorCell(static_cast<int>(used / m.Rows()),
                            s.cursorKeyMode2 ? row : static_cast<int>(used % m.Rows()));
            return true;
        }
        if (s.cursorLoop) return GoToEntry(m, static_cast<long long>(m.Count()) - 1);
        return false;
    }
    if (IsUsed(m, Cell(m, m.Cols() - 1, row))) m.SetCursorCell(m.Cols() - 1, row);
    return false;
}

bool MoveRight(FileListModel& m, const CursorSettings& s) {
    if (m.Count() == 0) return false;
    const int col = m.CursorCol();
    const int row = m.CursorRow();
    if (col + 1 < m.Cols() && IsUsed(m, Cell(m, col + 1, row))) {
        m.SetCursorCell(col + 1, row);
        return false;
    }
    if (s.cursorKeyMode) {
        if (m.PageForward()) {
            long long newRow = s.cursorKeyMode2 ? row : 0;
            if (newRow > Used(m)) newRow = Used(m);
            m.SetCursorCell(0, static_cast<int>(newRow));
            return true;
        }
        if (s.cursorLoop) return GoToEntry(m, 0);
        return false;
    }
    if (col == m.Cols() - 1) m.SetCursorCell(0, row);
    return false;
}

bool PageUpKey(FileListModel& m) {
    const bool turned = m.PageBack();
    GoToCell(m, 0);
    return turned;
}

bool PageDownKey(FileListModel& m) {
    if (m.PageForward()) {
        GoToCell(m, 0);
        return true;
    }
    if (m.Count() > 0) return GoToEntry(m, static_cast<long long>(m.Count()) - 1);
    return false;
}

long long FindByInitial(const FileListModel& m, char letter) {
    const long long count = static_cast<long long>(m.Count());
    if (count == 0) return -1;
    const char want = UpperAscii(std::string(1, letter))[0];
    const long long start = m.CursorIndex();
    for (long long k = 1; k <= count; ++k) {
        const long long i = (start + k) % count;
        const std::string_view name = m.Name(static_cast<std::size_t>(i));
        if (!name.empty() && CharLen(name, 0) == 1 && UpperAscii(name.substr(0, 1))[0] == want) return i;
    }
    return -1;
}

}  // namespace kestrum
