// TWinAttribForm, built in code, and the platform's attributes.
#include "fileops/attrib_dialog_win.h"

namespace kestrum {

namespace {

constexpr int kClientWidth = 260;
constexpr int kMargin = 10;
constexpr int kBoxHeight = 20;
constexpr int kButtonWidth = 70;
constexpr int kButtonHeight = 24;
constexpr int kBoxIdBase = 200;

struct BoxSpec {
    unsigned bit;
    const char* caption;
};
constexpr BoxSpec kBoxes[] = {
    {kAttribReadOnly, "Read Only"}, {kAttribHidden, "Hidden"}, {kAttribSystem, "System"}, {kAttribArchive, "Archive"}};

}  // namespace

bool TWinAttribForm::Create(HWND owner) {
    owner_ = owner;
    RegisterWindowClass("TWinAttribForm", LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    if (!CreateWin("TWinAttribForm", WS_EX_DLGMODALFRAME, style, "Kestrum Attribute", CW_USEDEFAULT, CW_USEDEFAULT,
                   100, 100, owner)) {
        return false;
    }
    FormCreate();
    return true;
}

void TWinAttribForm::FormCreate() {
    auto child = [this](const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id) {
        return AddChild(cls, text, style, x, y, w, h, id);
    };
    int y = kMargin;
    name_ = child("STATIC", "", SS_LEFT | SS_NOPREFIX, kMargin, y, kClientWidth - 2 * kMargin, 18, -1);
    y += 24;
    int id = kBoxIdBase;
    for (const BoxSpec& b : kBoxes) {
        HWND box = child("BUTTON", b.caption, WS_TABSTOP | BS_AUTOCHECKBOX, kMargin + 10, y, 150, kBoxHeight, id++);
        boxes_.push_back(BoxItem{b.bit, box});
        y += kBoxHeight + 2;
    }
    y += 10;
    const int gap = (kClientWidth - 2 * kMargin - 3 * kButtonWidth) / 2;
    ok_ = child("BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, kMargin, y, kButtonWidth, kButtonHeight, IDOK);
    child("BUTTON", "Cancel", WS_TABSTOP | BS_PUSHBUTTON, kMargin + kButtonWidth + gap, y, kButtonWidth,
          kButtonHeight, IDCANCEL);
    child("BUTTON", "ALL", WS_TABSTOP | BS_PUSHBUTTON, kMargin + 2 * (kButtonWidth + gap), y, kButtonWidth,
          kButtonHeight, kAllId);
    SetClientSize(kClientWidth, y + kButtonHeight + kMargin);
}

HWND TWinAttribForm::Box(unsigned bit) const {
    for (const BoxItem& b : boxes_) {
        if (b.bit == bit) return b.wnd;
    }
    return nullptr;
}

void TWinAttribForm::Begin(std::string_view fileName, unsigned attributes) {
    SetWindowTextA(name_, std::string(fileName).c_str());
    for (const BoxItem& b : boxes_) {
        SetChecked(b.wnd, (attributes & b.bit) != 0);
    }
    answer_ = FileOpQuestions::AttribAnswer{};
    BeginModal();
    ShowWindow(Handle(), SW_SHOWNA);
}

FileOpQuestions::AttribAnswer TWinAttribForm::ShowModal(std::string_view fileName, unsigned attributes) {
    Centre(owner_);
    Begin(fileName, attributes);
    HWND active = GetActiveWindow();
    SetForegroundWindow(Handle());
    SetFocus(ok_);
    if (!RunModal(active)) answer_ = FileOpQuestions::AttribAnswer{};
    return answer_;
}

void TWinAttribForm::Finish(int result) {
    if (Finished()) return;
    answer_.result = result;
    answer_.attributes = 0;
    if (result != FileOpQuestions::fdCancel) {
        for (const BoxItem& b : boxes_) {
            if (IsChecked(b.wnd)) answer_.attributes |= b.bit;
        }
    }
    EndModal(result);
    ShowWindow(Handle(), SW_HIDE);
}

LRESULT TWinAttribForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDOK: Finish(FileOpQuestions::fdOk); return 0;
        case kAllId: Finish(FileOpQuestions::fdAll); return 0;
        case IDCANCEL: Finish(FileOpQuestions::fdCancel); return 0;
        default: break;
        }
        break;
    case WM_CLOSE: Finish(FileOpQuestions::fdCancel); return 0;
    default: break;
    }
    return Default(msg, wp, lp);
}

std::optional<unsigned> WinAttribFiles::Get(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return a;
}

bool WinAttribFiles::Set(const std::string& path, unsigned attributes) {
    return SetFileAttributesA(path.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL) != 0;
}

int ChangeAttributes(const std::vector<std::string>& paths) {
    WinAttribFiles io;
    return RunAttribChange(paths, io);
}

}  // namespace kestrum
