// TfrmFM: the filer window. For now it holds what start-up and closing need:
// its geometry and fonts, the settings load it runs when created, the
// change to the home directory, and showing and closing.
#pragma once

#include <string>

#include "common/window_win.h"
#include "config/window_state.h"

namespace kestrum {

class TfrmFM : public Window {
public:
    bool Create(HWND owner);

    void ShowFiler();   // LS
    void CloseFiler();  // CLOSE, ESC
    void UpdateCaption();

    Geometry NormalGeometry() const;
    bool Maximised() const;
    const FontSpec& Font(int i) const { return fonts_[i]; }
    int ddTop = 153, ddLeft = 269, ddHeight = 300, ddWidth = 470, dsLeft = 297;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void FormCreate();
    FontSpec fonts_[4];
    bool startMaximised_ = false;
};

// Changes the process's current directory as the shell and the filer do:
// per-drive memory with FLAGDCD, the drive root as a fallback for paths that
// start with a drive letter, CurrentDir and every caption that shows it.
bool ChangeDirectory(const std::string& path);

}  // namespace kestrum
