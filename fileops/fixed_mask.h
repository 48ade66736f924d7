// A fixed-format edit mask: digit places and fixed separators, typed over
// in place (the date fields' "0000/90/90 90:90:90" with blanks as fill).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrum {

class FixedMask {
public:
    // "0" a digit that must be given, "9" a digit that may stay blank; any
    // other character is a separator that stays where it is.
    explicit FixedMask(std::string_view pattern) : pattern_(pattern) {}

    std::size_t Size() const { return pattern_.size(); }
    bool Editable(std::size_t pos) const {
        return pos < pattern_.size() && (pattern_[pos] == '0' || pattern_[pos] == '9');
    }
    // The separators with blanks at every digit place.
    std::string Blank() const;
    // A text in the mask's shape: value's digits at the digit places, the
    // separators in place, blanks for the rest.
    std::string Fit(std::string_view value) const;
    // True when every "0" place holds a digit.
    bool Complete(std::string_view text) const;

    // An edit in progress: the text and the selection [selStart, selEnd);
    // the caret is at selEnd after every operation (an empty selection).
    struct State {
        std::string text;
        std::size_t selStart = 0;
        std::size_t selEnd = 0;
    };
    // Types c: a digit or blank goes on the next digit place from the
    // selection (a selection is blanked first) and the caret moves past it;
    // a separator character moves the caret past the next such separator.
    // False (nothing changed) for anything else or at the end.
    bool Type(State& s, char c) const;
    // Backspace: blanks the selection, or the digit place before the caret.
    void Backspace(State& s) const;
    // Delete: blanks the selection, or the digit place at the caret.
    void Delete(State& s) const;

private:
    void BlankSelection(State& s) const;
    std::string pattern_;
};

}  // namespace kestrum
