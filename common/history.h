// The history list operation shared by the command box, the line-input
// window and the shell's close.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

inline constexpr std::size_t kHistoryLimit = 24;

// True for "", "C", "C:" and "C:\" (a drive only).
bool IsDriveOnly(std::string_view text);

// Inserts text first, removes later entries equal to it without regard to
// case and cuts the list to limit. Empty and drive-only texts are not added
// unless plain is set.
void AddToHistory(std::vector<std::string>& list, std::string_view text, bool plain = false,
                  std::size_t limit = kHistoryLimit);

}  // namespace kestrum
