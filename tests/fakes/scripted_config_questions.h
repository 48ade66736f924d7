// ScriptedConfigQuestions: the settings' questions answered from queues,
// each recorded; in force while it lives.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "config/config_questions.h"
#include "tests/fakes/scripted_prompter.h"

namespace kestrum {

// A filtered line question records its filter and goes on as the prompter's
// plain line question (a ScriptedPrompter answers it from its line queue);
// colours and fonts are cancelled when their queue runs out.
class ScriptedConfigQuestions : public ConfigQuestions {
public:
    bool AskLineFiltered(LineQuestion& q, std::string_view filter) override {
        lineFilters_.emplace_back(filter);
        return CurrentPrompter().AskLine(q);
    }
    const std::vector<std::string>& LineFilters() const { return lineFilters_; }

    void AnswerColor(std::optional<ColorValue> color) { colorAnswers_.push_back(color); }
    bool AskColor(ColorValue& color) override {
        colorsAsked_.push_back(color);
        const std::optional<ColorValue> a = NextAnswer(colorAnswers_);
        if (a) color = *a;
        return a.has_value();
    }
    const std::vector<ColorValue>& ColorsAsked() const { return colorsAsked_; }

    void AnswerFont(std::optional<FontSpec> font) { fontAnswers_.push_back(std::move(font)); }
    bool AskFont(FontSpec& font, FontPitch pitch = FontPitch::Any) override {
        fontsAsked_.push_back(font);
        pitchesAsked_.push_back(pitch);
        const std::optional<FontSpec> a = NextAnswer(fontAnswers_);
        if (a) font = *a;
        return a.has_value();
    }
    const std::vector<FontSpec>& FontsAsked() const { return fontsAsked_; }
    const std::vector<FontPitch>& PitchesAsked() const { return pitchesAsked_; }

private:
    std::vector<std::string> lineFilters_;
    std::deque<std::optional<ColorValue>> colorAnswers_;
    std::vector<ColorValue> colorsAsked_;
    std::deque<std::optional<FontSpec>> fontAnswers_;
    std::vector<FontSpec> fontsAsked_;
    std::vector<FontPitch> pitchesAsked_;
    Subscription installed_ = InstallQuestions<ConfigQuestions>(*this);
};

}  // namespace kestrum
