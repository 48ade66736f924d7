// The colour table and the colour file.
#include "config/colors.h"

#include <charconv>
#include <optional>

#include "common/sjis.h"
#include "common/split.h"
#include "config/text_file.h"

namespace kestrum {

namespace {

// System colour numbers as the window system writes them (top bit set).
constexpr ColorValue Sys(int index) { return static_cast<ColorValue>(0x80000000u | static_cast<unsigned>(index)); }
constexpr int kBtnFace = 15, kWindow = 5, kWindowText = 8, kBtnText = 18, kBtnShadow = 16;

// Slots 2-6 are the file list's own drawing colours; the rest are the colours
// the windows are designed with.
constexpr ColorSlots kDefaults = {
    Sys(kBtnFace),   Sys(kWindow),     0x000000,         0x008000,       0x0000FF,        0x800000,
    0xFF0000,        Sys(kBtnFace),    Sys(kWindowText), Sys(kBtnFace),  Sys(kBtnText),   Sys(kBtnFace),
    Sys(kWindowText), Sys(kBtnFace),   Sys(kWindowText), Sys(kBtnFace),  Sys(kWindowText), Sys(kBtnShadow),
    Sys(kWindowText), Sys(kWindowText), Sys(kWindow),    Sys(kWindow),   Sys(kBtnFace),   Sys(kBtnFace),
    Sys(kWindowText), Sys(kWindow),    Sys(kWindowText), Sys(kBtnFace),  Sys(kWindowText), Sys(kWindow),
    Sys(kWindowText),
};

// A whole decimal number in the range of int32, with an optional sign.
std::optional<std::int32_t> ParseInt32(const std::optional<std::string>& field) {
    if (!field || field->empty()) return std::nullopt;
    const char* first = field->data();
    const char* last = first + field->size();
    if (*first == '+' && last - first > 1 && first[1] != '-') ++first;
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last || first == last) return std::nullopt;
    return value;
}

}  // namespace

const ColorSlots& DefaultColors() { return kDefaults; }

bool ParseColorFile(std::string_view bytes, ColorSlots& colors) {
    const std::vector<std::string> lines = SplitLines(bytes);
    if (lines.empty() || lines[0] != kColorFileHeader) return false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto slot = ParseInt32(SplitField(',', lines[i], 0));
        const auto value = ParseInt32(SplitField(',', lines[i], 1));
        if (!slot || !value || *slot < 0 || *slot >= kColorSlotCount) continue;
        colors[static_cast<std::size_t>(*slot)] = *value;
    }
    return true;
}

std::string FormatColorFile(const ColorSlots& colors) {
    std::vector<std::string> lines;
    lines.reserve(kColorSlotCount + 1);
    lines.emplace_back(kColorFileHeader);
    for (int i = 0; i < kColorSlotCount; ++i) {
        lines.push_back(std::to_string(i) + "," + std::to_string(colors[static_cast<std::size_t>(i)]));
    }
    return JoinLinesCrLf(lines);
}

std::string ColorFilePath(std::string_view setting, std::string_view programDir) {
    return ResolveConfigPath(setting, programDir);
}

ColorValue ColorTable::Get(int slot) const {
    if (slot < 0 || slot >= kColorSlotCount) return 0;
    return colors_[static_cast<std::size_t>(slot)];
}

void ColorTable::Set(int slot, ColorValue value) {
    if (slot < 0 || slot >= kColorSlotCount) return;
    colors_[static_cast<std::size_t>(slot)] = value;
    saveAtClose_ = true;
}

bool ColorTable::LoadFile(const std::string& path) {
    const FileContents file = ReadWholeFile(path);
    ColorSlots loaded = colors_;
    if (file.state == FileState::Unreadable) unreadable_ = path;
    if (file.state != FileState::Read || !ParseColorFile(file.bytes, loaded)) {
        saveAtClose_ = false;
        return false;
    }
    colors_ = loaded;
    saveAtClose_ = true;
    unreadable_.clear();
    return true;
}

SaveResult ColorTable::Save(const std::string& path) const {
    if (!unreadable_.empty() && SameText(unreadable_, path)) return SaveResult::Unreadable;
    return SaveFileBytes(path, FormatColorFile(colors_));
}

}  // namespace kestrum
