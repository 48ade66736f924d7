// ArchiveService over the archiver libraries, and the output box.
#include "archive/archive_service_win.h"

#include <windows.h>

#include <memory>

#include "archive/archiver_win.h"
#include "archive/frm_lzhv_win.h"
#include "common/window_win.h"

namespace kestrum {

namespace {

// A plain window holding a read-only multi-line edit control.
class TOutputBox : public Window {
public:
    bool Make() {
        RegisterWindowClass("TKestrumOutputBox");
        if (!CreateWin("TKestrumOutputBox", 0, WS_OVERLAPPEDWINDOW, "", CW_USEDEFAULT, CW_USEDEFAULT, 560, 400,
                       nullptr)) {
            return false;
        }
        edit_ = AddChild("EDIT", "", WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0,
                         100, 100, 1, WS_EX_CLIENTEDGE);
        Fit();
        return edit_ != nullptr;
    }
    void Put(const std::string& title, const std::string& text) {
        SetWindowTextA(Handle(), title.c_str());
        SetWindowTextA(edit_, text.c_str());
        ShowWindow(Handle(), SW_SHOW);
        SetForegroundWindow(Handle());
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_SIZE: Fit(); return 0;
        case WM_CLOSE: ShowWindow(Handle(), SW_HIDE); return 0;
        default: return Default(msg, wp, lp);
        }
    }

private:
    void Fit() {
        if (!edit_) return;
        RECT rc{};
        GetClientRect(Handle(), &rc);
        MoveWindow(edit_, 0, 0, rc.right, rc.bottom, TRUE);
    }
    HWND edit_ = nullptr;
};

// The library output keeps LF-only lines readable in the edit control.
std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

class TArchiveService : public ArchiveService {
public:
    int Pack(const std::string& archive, const std::vector<std::string>& names) override {
        return archiver_.PackNames(archive, names);
    }
    int Extract(const std::string& archive, const std::string& dir) override {
        return archiver_.ExtractArchive(archive, dir);
    }
    bool RunLibraryCommand(int command, const std::string& text) override {
        return kestrum::RunLibraryCommand(archiver_, command, text, ShowLibraryOutput);
    }
    void ShowViewer(const std::string& arg) override {
        if (viewer) viewer->ShowModal(arg);
    }
    std::string ViewerFile() const override { return viewer ? viewer->CurrentFile() : std::string(); }

    TfrmLZHV* viewer = nullptr;
    // The window that shows a library's output when no text viewer can;
    // made on first use and kept (hidden when closed) for the run.
    std::unique_ptr<TOutputBox> outputBox;

private:
    Archiver archiver_{TheArchiverHost()};
};

TArchiveService& Service() {
    static TArchiveService service;
    return service;
}

}  // namespace

ArchiveService& TheArchiveService() { return Service(); }

void AttachArchiveViewer(TfrmLZHV* viewer) { Service().viewer = viewer; }


HWND ShowOutputBox(const std::string& title, const std::string& text) {
    std::unique_ptr<TOutputBox>& box = Service().outputBox;
    if (!box) {
        box = std::make_unique<TOutputBox>();
        if (!box->Make()) {
            box.reset();
            return nullptr;
        }
    }
    box->Put(title, WithCrLf(text));
    return box->Handle();
}

void ShowLibraryOutput(const std::string& title, const std::string& text) {
    if (!TheViewers().ShowText(title, text)) ShowOutputBox(title, text);
}

}  // namespace kestrum
