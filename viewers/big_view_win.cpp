// TBigView: properties, the list, keys, mouse and scroll messages.
#include "viewers/big_view_win.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <istream>
#include <iterator>
#include <ostream>

#include "common/clipboard_win.h"
#include "common/prompter.h"
#include "config/file_commit.h"
#include "config/text_file.h"

namespace kestrum {

namespace {

constexpr UINT_PTR kAutoScrollTimer = 1;
// Pause between two auto-scroll steps while the mouse is held outside.
constexpr UINT kAutoScrollPace = 30;
constexpr UINT kWheelLines = 3;  // when the system cannot tell

UINT WheelScrollLines() {
    UINT lines = kWheelLines;
    if (!SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) lines = kWheelLines;
    return lines;
}

bool ViewKeyOf(UINT vk, ViewKey& key) {
    switch (vk) {
    case VK_UP: key = ViewKey::Up; return true;
    case VK_DOWN: key = ViewKey::Down; return true;
    case VK_LEFT: key = ViewKey::Left; return true;
    case VK_RIGHT: key = ViewKey::Right; return true;
    case VK_HOME: key = ViewKey::Home; return true;
    case VK_END: key = ViewKey::End; return true;
    case VK_PRIOR: key = ViewKey::PageUp; return true;
    case VK_NEXT: key = ViewKey::PageDown; return true;
    default: return false;
    }
}

bool Down(int vk) { return GetKeyState(vk) < 0; }

bool IsModifier(UINT vk) {
    return vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU || vk == VK_LSHIFT || vk == VK_RSHIFT ||
           vk == VK_LCONTROL || vk == VK_RCONTROL || vk == VK_LMENU || vk == VK_RMENU;
}

}  // namespace

std::optional<TextBuffer> ReadTextFile(const std::string& path, DWORD* error) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    const auto fail = [&](DWORD code) -> std::optional<TextBuffer> {
        if (error) *error = code;
        return std::nullopt;
    };
    if (!file) return fail(GetLastError());
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size)) return fail(GetLastError());
    if (size.QuadPart > 0x7FFFFFFF) return fail(ERROR_NOT_ENOUGH_MEMORY);
    TextBuffer text;
    try {
        text = TextBuffer::Allocate(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    std::size_t got = 0;
    while (got < text.Size()) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(text.Size() - got, 1u << 24));
        DWORD read = 0;
        if (!ReadFile(file.Get(), text.Data() + got, want, &read, nullptr)) return fail(GetLastError());
        if (read == 0) break;  // the file got shorter while it was read
        got += read;
    }
    text.Truncate(got);
    return text;
}

// ---- creation and properties --------------------------------------------------------

TBigView::TBigView() {
    RegisterWindowClass(kClassName, nullptr, nullptr);
    SetFont(FontSpec{"ＭＳ ゴシック", 10, 0});
}

TBigView::~TBigView() {
    if (Handle()) {
        KillTimer(Handle(), kAutoScrollTimer);
        DestroySystemCaret();
    }
}

DWORD TBigView::FrameStyle() const {
    return ((bvStyle_ & bvBorder) ? WS_BORDER : 0) | ((bvStyle_ & bvCaption) ? WS_CAPTION : 0) |
           ((bvStyle_ & bvSizeable) ? WS_THICKFRAME : 0);
}

DWORD TBigView::FrameExStyle() const { return (bvStyle_ & bvClientEdge) ? WS_EX_CLIENTEDGE : 0; }

bool TBigView::Create(HWND parent, int x, int y, int width, int height, int id) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | FrameStyle() |
                        ((ScrollBar() & sbVertical) ? WS_VSCROLL : 0) | ((ScrollBar() & sbHorizontal) ? WS_HSCROLL : 0);
    if (!CreateWin(kClassName, FrameExStyle(), style, "", x, y, width, height, parent,
                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)))) {
        return false;
    }
    Relayout();
    return true;
}

void TBigView::SetBvStyle(unsigned style) {
    if (onBvStyleChanging) onBvStyleChanging(style);
    bvStyle_ = style;
    if (Handle()) {
        const LONG_PTR frame = WS_BORDER | WS_CAPTION | WS_THICKFRAME;
        SetWindowLongPtrA(Handle(), GWL_STYLE, (GetWindowLongPtrA(Handle(), GWL_STYLE) & ~frame) | FrameStyle());
        SetWindowLongPtrA(Handle(), GWL_EXSTYLE,
                          (GetWindowLongPtrA(Handle(), GWL_EXSTYLE) & ~LONG_PTR{WS_EX_CLIENTEDGE}) | FrameExStyle());
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Relayout();
    }
    if (onBvStyleChanged) onBvStyleChanged();
}

void TBigView::SetCaret(bool on) {
    model_.SetCaretOn(on);
    if (on) {
        CreateSystemCaret();
    } else {
        DestroySystemCaret();
    }
}

void TBigView::SetMaxChar(int chars) {
    model_.SetMaxChar(chars);
    Relayout();
}

void TBigView::SetScrollBar(int bars) {
    model_.SetScrollBar(bars);
    if (Handle()) {
        ShowScrollBar(Handle(), SB_VERT, (bars & sbVertical) ? TRUE : FALSE);
        ShowScrollBar(Handle(), SB_HORZ, (bars & sbHorizontal) ? TRUE : FALSE);
        Relayout();
    }
}

bool TBigView::SetScrollSense(int lines) {
    if (model_.SetScrollSense(lines)) return true;
    ShowErrorBox(kScrollSenseError);
    return false;
}

void TBigView::SetViewTabStop(int chars) {
    if (!model_.SetViewTabStop(chars)) return;
    Metrics();
    DrawAll();
    PlaceSystemCaret();
    Refresh();
}

void TBigView::SetTurnRight(bool on) {
    const int top = TopLine();
    if (!model_.SetTurnRight(on)) return;
    Changed(top);
}

void TBigView::SetFont(const FontSpec& font) {
    FontHandle created = CreateFontFromSpec(font);
    if (!created) return;
    measure_.SetFont(created.Get());
    font_ = std::move(created);
    Metrics();
    Relayout();
}

void TBigView::SetColors(COLORREF text, COLORREF back) {
    textColor_ = text;
    backColor_ = back;
    DrawAll();
    Refresh();
}

unsigned TBigView::Now() const { return clock ? clock() : GetTickCount(); }

// ---- the list and whole texts ---------------------------------------------------------

void TBigView::Changed(int oldTop) {
    model_.ListChanged();
    UpdateScrollBars();
    DrawAll();
    PlaceSystemCaret();
    Refresh();
    if (model_.TopLine() != oldTop && OnViewLineChanged) OnViewLineChanged();
}

int TBigView::Add(std::string_view line) {
    const int top = TopLine();
    const int index = model_.AddLine(line);
    Changed(top);
    return index;
}

void TBigView::AddStrings(const std::vector<std::string>& lines) {
    const int top = TopLine();
    for (const std::string& l : lines) model_.AddLine(l);
    Changed(top);
}

void TBigView::Assign(const std::vector<std::string>& lines) {
    const int top = TopLine();
    model_.Assign(lines);
    Changed(top);
}

void TBigView::Clear() {
    const int top = TopLine();
    model_.Assign({});
    Changed(top);
}

void TBigView::Delete(int i) {
    model_.Lines().Delete(static_cast<std::size_t>(i));
    Changed(TopLine());
}

void TBigView::Exchange(int i, int j) {
    model_.Lines().Exchange(static_cast<std::size_t>(i), static_cast<std::size_t>(j));
    Changed(TopLine());
}

void TBigView::Insert(int i, std::string_view line) {
    model_.Lines().Insert(static_cast<std::size_t>(i), line);
    Changed(TopLine());
}

void TBigView::Set(int i, std::string_view line) {
    model_.Lines().Set(static_cast<std::size_t>(i), line);
    Changed(TopLine());
}

bool TBigView::LoadFromFile(const std::string& path) {
    std::optional<TextBuffer> text = ReadTextFile(path);
    if (!text) return false;
    SetText(std::move(*text));
    return true;
}

bool TBigView::SaveToFile(const std::string& path) const {
    return CommitFile(SaveTempPath(path), path, GetText());
}

void TBigView::LoadFromStream(std::istream& in) {
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SetText(TextBuffer::Adopt(std::move(text)));
}

void TBigView::SaveToStream(std::ostream& out) const {
    const std::string text = GetText();
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void TBigView::SetText(std::string_view text) { SetText(TextBuffer::Copy(text)); }

void TBigView::SetText(TextBuffer text) {
    model_.SetText(std::move(text));
    Changed(-1);
}

void TBigView::BeginText(TextBuffer text) {
    model_.BeginText(std::move(text));
    UpdateScrollBars();
    DrawAll();
    PlaceSystemCaret();
    Refresh();
    if (OnViewLineChanged) OnViewLineChanged();
}

bool TBigView::WrapSome(std::size_t budget) {
    const int before = Count();
    const bool done = model_.WrapSome(budget);
    UpdateScrollBars();
    // Only lines that land in the window need drawing now.
    if (done || before < TopLine() + VisibleLines()) {
        DrawAll();
        Refresh();
    }
    return done;
}

// ---- navigation and selection -----------------------------------------------------------

void TBigView::SetTopLine(int line) {
    ViewChange ch;
    ch.scrolled = model_.SetTopLine(line);
    Apply(ch);
}

void TBigView::SetBottomLine(int line) {
    ViewChange ch;
    ch.scrolled = model_.SetBottomLine(line);
    Apply(ch);
}

void TBigView::GoToParagraph(std::size_t p) {
    ViewChange ch;
    ch.scrolled = model_.GoToParagraph(p);
    Apply(ch);
}

void TBigView::SetCaretPos(TextPos pos) { Apply(model_.PlaceCaret(pos)); }

void TBigView::SetSelection(TextPos start, TextPos end) { Apply(model_.SetSelection(start, end)); }

int TBigView::SelectedTextInto(char* buffer, int size) const {
    const std::optional<std::string> text = model_.SelectedText();
    if (!text) return -1;
    if (!buffer || size <= 0) return 0;
    const int n = std::min<int>(static_cast<int>(text->size()), size - 1);
    std::memcpy(buffer, text->data(), static_cast<std::size_t>(n));
    buffer[n] = '\0';
    return n;
}

bool TBigView::CopyToClipboard() {
    const std::optional<std::string> text = model_.SelectedText();
    return text && SetClipboardText(Handle(), *text);
}

// ---- messages ---------------------------------------------------------------------------

void TBigView::Apply(const ViewChange& ch) {
    if (!ch.Any()) return;
    if (Handle()) {
        if (ch.horizontal || ch.selection) {
            DrawAll();
        } else if (ch.scrolled != 0) {
            ScrollBand(ch.scrolled);
        }
        if (ch.scrolled != 0 || ch.horizontal) UpdateScrollBars();
        PlaceSystemCaret();
        Refresh();
    }
    if (ch.scrolled != 0 && OnViewLineChanged) OnViewLineChanged();
    if (ch.caret && OnSelEndChanged) OnSelEndChanged();
}

void TBigView::OnKeyDown(UINT vk) {
    if (!IsModifier(vk) && onKeyDown && onKeyDown(vk)) return;
    PressKey(vk);
}

void TBigView::PressKey(UINT vk) {
    ViewKey key;
    if (!ViewKeyOf(vk, key)) return;
    Apply(model_.KeyDown(key, Down(VK_SHIFT), Down(VK_CONTROL), Now()));
}

void TBigView::OnScroll(int bar, int code) {
    ViewChange ch;
    const unsigned now = Now();
    if (bar == SB_VERT) {
        const int top = model_.TopLine();
        switch (code) {
        case SB_LINEUP: ch = model_.ScrollBarLine(-1, now); break;
        case SB_LINEDOWN: ch = model_.ScrollBarLine(1, now); break;
        case SB_PAGEUP: ch.scrolled = model_.SetTopLine(top - model_.Page()); break;
        case SB_PAGEDOWN: ch.scrolled = model_.SetTopLine(top + model_.Page()); break;
        case SB_TOP: ch.scrolled = model_.SetTopLine(0); break;
        case SB_BOTTOM: ch.scrolled = model_.SetTopLine(model_.MaxTop()); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO si{sizeof si, SIF_TRACKPOS};
            GetScrollInfo(Handle(), SB_VERT, &si);
            ch.scrolled = model_.SetTopLine(model_.TopLineOfScrollPos(si.nTrackPos));
            break;
        }
        default: break;
        }
    } else {
        const int h = model_.HOffset();
        switch (code) {
        case SB_LINELEFT: ch.horizontal = model_.SetHOffset(h - model_.AcceleratedStep(now, kScrollBarThreshold)); break;
        case SB_LINERIGHT: ch.horizontal = model_.SetHOffset(h + model_.AcceleratedStep(now, kScrollBarThreshold)); break;
        case SB_PAGELEFT: ch.horizontal = model_.SetHOffset(h - model_.VisibleChars()); break;
        case SB_PAGERIGHT: ch.horizontal = model_.SetHOffset(h + model_.VisibleChars()); break;
        case SB_LEFT: ch.horizontal = model_.SetHOffset(0); break;
        case SB_RIGHT: ch.horizontal = model_.SetHOffset(model_.MaxHOffset()); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO si{sizeof si, SIF_TRACKPOS};
            GetScrollInfo(Handle(), SB_HORZ, &si);
            ch.horizontal = model_.SetHOffset(si.nTrackPos);
            break;
        }
        default: break;
        }
    }
    Apply(ch);
}

void TBigView::OnContextMenu(int x, int y) {
    if (!popup_) return;
    if (x == -1 && y == -1) {  // from the keyboard: at the caret
        POINT pt{model_.CaretX(), (model_.Caret().line - model_.TopLine() + 1) * model_.LineHeight()};
        ClientToScreen(Handle(), &pt);
        x = pt.x;
        y = pt.y;
    }
    const int id = CurrentPrompter().AskPopupMenu(popup_, x, y, Handle());
    if (id != 0) SendMessageA(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

LRESULT TBigView::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE:
        Relayout();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SETFOCUS:
        CreateSystemCaret();
        return 0;
    case WM_KILLFOCUS:
        DestroySystemCaret();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_KEYDOWN:
        swallowSysChar_ = false;
        OnKeyDown(static_cast<UINT>(wp));
        return 0;
    case WM_SYSKEYDOWN:
        // F10 and keys with Alt: the owner's key map may take them; else the
        // window menu gets them as usual. A taken Alt key must not beep; F10
        // makes no character, so the next key's is left alone.
        swallowSysChar_ = false;
        if (!IsModifier(static_cast<UINT>(wp)) && onKeyDown && onKeyDown(static_cast<UINT>(wp))) {
            swallowSysChar_ = true;
            return 0;
        }
        break;
    case WM_SYSCHAR:
        if (swallowSysChar_) {
            swallowSysChar_ = false;
            return 0;
        }
        break;
    case WM_VSCROLL:
        OnScroll(SB_VERT, LOWORD(wp));
        return 0;
    case WM_HSCROLL:
        OnScroll(SB_HORZ, LOWORD(wp));
        return 0;
    case WM_MOUSEWHEEL:
        if (!(ScrollBar() & sbVertical)) return 0;
        Apply(model_.Wheel(GET_WHEEL_DELTA_WPARAM(wp), WheelScrollLines()));
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(Handle());
        SetCapture(Handle());
        Apply(model_.MouseDown(GET_X_LPARAM(lp), GET_Y_LPARAM(lp)));
        return 0;
    case WM_MOUSEMOVE:
        // Each move while dragging asks for an auto-scroll step, unless one
        // is on its way.
        if (model_.MouseMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp)) && !autoScrollArmed_) {
            autoScrollArmed_ = true;
            PostMessageA(Handle(), kAutoScrollMessage, 0, 0);
        }
        return 0;
    case WM_LBUTTONUP:
        KillTimer(Handle(), kAutoScrollTimer);
        // The selection end first: giving the capture back ends the drag.
        Apply(model_.MouseUp(GET_X_LPARAM(lp), GET_Y_LPARAM(lp)));
        if (GetCapture() == Handle()) ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        // Another window took the mouse (a menu, a message box, a task
        // switch): the button-up will not come here.
        if (reinterpret_cast<HWND>(lp) != Handle()) {
            KillTimer(Handle(), kAutoScrollTimer);
            model_.EndDrag();
        }
        return 0;
    case WM_LBUTTONDBLCLK: {
        const int y = GET_Y_LPARAM(lp);
        const int line = model_.TopLine() + (y < 0 ? -1 : y / model_.LineHeight());
        if (line >= 0 && line < Count()) Apply(model_.SelectWordAt(line, model_.ByteAt(line, GET_X_LPARAM(lp))));
        return 0;
    }
    case kAutoScrollMessage: {
        autoScrollArmed_ = false;
        const ViewChange ch = model_.AutoScrollStep(Now());
        Apply(ch);
        // While it still scrolls, the next step comes after a short pause in
        // which the queue (the mouse, the button going up) is served.
        if (model_.Dragging() && (ch.scrolled != 0 || ch.horizontal)) {
            autoScrollArmed_ = true;
            SetTimer(Handle(), kAutoScrollTimer, kAutoScrollPace, nullptr);
        }
        return 0;
    }
    case WM_TIMER:
        if (wp == kAutoScrollTimer) {
            KillTimer(Handle(), kAutoScrollTimer);
            PostMessageA(Handle(), kAutoScrollMessage, 0, 0);
            return 0;
        }
        break;
    case WM_CONTEXTMENU:
        OnContextMenu(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
    default:
        break;
    }
    return Default(msg, wp, lp);
}

}  // namespace kestrum
