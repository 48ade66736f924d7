// WinConfigQuestions: the settings' questions answered by the platform's
// colour picker and font dialog, owned by the window active at the call.
// The filtered line stays the prompter's plain one unless a derived set
// answers it with a line-input window of its own.
#pragma once

#include "config/config_questions.h"

namespace kestrum {

class WinConfigQuestions : public ConfigQuestions {
public:
    bool AskColor(ColorValue& color) override;
    bool AskFont(FontSpec& font, FontPitch pitch = FontPitch::Any) override;
};

}  // namespace kestrum
