// The questions the settings ask of their own: a program's file name (a line
// whose browse step offers only matching files), a colour and a font.
// Answered by config/config_questions_win.h in the program and by scripted
// fakes in tests.
#pragma once

#include <string_view>

#include "common/prompter.h"
#include "common/questions.h"
#include "config/colors.h"
#include "config/window_state.h"

namespace kestrum {

// Which fonts the font dialog offers.
enum class FontPitch { Any, Fixed };

class ConfigQuestions {
public:
    virtual ~ConfigQuestions() = default;

    // A line question whose browse step offers only the files that match
    // filter ("*.EXE"); by default the prompter's plain line question.
    virtual bool AskLineFiltered(LineQuestion& q, std::string_view /*filter*/) { return CurrentPrompter().AskLine(q); }
    // The colour picker preset with color (0x00BBGGRR, or a system colour);
    // true with color the choice.
    virtual bool AskColor(ColorValue& /*color*/) { return false; }
    // The font dialog preset with font, offering only fixed-pitch fonts
    // when asked; true with font the choice.
    virtual bool AskFont(FontSpec& /*font*/, FontPitch /*pitch*/ = FontPitch::Any) { return false; }
};

// The settings' questions in force.
inline ConfigQuestions& ConfigAsk() { return CurrentQuestions<ConfigQuestions>(); }

}  // namespace kestrum
