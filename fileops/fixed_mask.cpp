// Fixed-format edit mask.
#include "fileops/fixed_mask.h"

#include <utility>

namespace kestrum {

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

std::string FixedMask::Blank() const { return Fit({}); }

std::string FixedMask::Fit(std::string_view value) const {
    std::string out(pattern_.size(), ' ');
    for (std::size_t i = 0; i < pattern_.size(); ++i) {
        if (!Editable(i)) out[i] = pattern_[i];
        else if (i < value.size() && IsDigit(value[i])) out[i] = value[i];
    }
    return out;
}

bool FixedMask::Complete(std::string_view text) const {
    for (std::size_t i = 0; i < pattern_.size(); ++i) {
        if (pattern_[i] == '0' && (i >= text.size() || !IsDigit(text[i]))) return false;
    }
    return true;
}

void FixedMask::BlankSelection(State& s) const {
    for (std::size_t i = s.selStart; i < s.selEnd && i < s.text.size(); ++i) {
        if (Editable(i)) s.text[i] = ' ';
    }
    s.selEnd = s.selStart;
}

bool FixedMask::Type(State& s, char c) const {
    if (s.text.size() != pattern_.size()) s.text = Fit(s.text);
    if (s.selStart > s.selEnd) std::swap(s.selStart, s.selEnd);
    if (IsDigit(c) || c == ' ') {
        std::size_t p = s.selStart;
        while (p < pattern_.size() && !Editable(p)) ++p;
        if (p >= pattern_.size()) return false;
        BlankSelection(s);
        s.text[p] = c;
        ++p;
        while (p < pattern_.size() && !Editable(p)) ++p;
        s.selStart = s.selEnd = p;
        return true;
    }
    for (std::size_t p = s.selStart; p < pattern_.size(); ++p) {
        if (!Editable(p) && pattern_[p] == c) {
            s.selStart = s.selEnd = p + 1;
            return true;
        }
    }
    return false;
}

void FixedMask::Backspace(State& s) const {
    if (s.text.size() != pattern_.size()) s.text = Fit(s.text);
    if (s.selStart > s.selEnd) std::swap(s.selStart, s.selEnd);
    if (s.selStart != s.selEnd) {
        BlankSelection(s);
        return;
    }
    std::size_t p = s.selStart;
    while (p > 0) {
        --p;
        if (Editable(p)) {
            s.text[p] = ' ';
            s.selStart = s.selEnd = p;
            return;
        }
    }
}

void FixedMask::Delete(State& s) const {
    if (s.text.size() != pattern_.size()) s.text = Fit(s.text);
    if (s.selStart > s.selEnd) std::swap(s.selStart, s.selEnd);
    if (s.selStart != s.selEnd) {
        BlankSelection(s);
        return;
    }
    for (std::size_t p = s.selStart; p < pattern_.size(); ++p) {
        if (Editable(p)) {
            s.text[p] = ' ';
            return;
        }
    }
}

}  // namespace kestrum
