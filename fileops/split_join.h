// Splitting a file into numbered pieces: the piece names and the limit on
// the number of pieces.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrum {

inline constexpr int kMaxSplitPieces = 1000;

// dir (a "\" added when missing; empty: the current directory) + the
// source's name without its extension + "." + n in three digits
// ("005", "123").
std::string SplitPieceName(std::string_view dir, std::string_view source, int n);

// True when fileSize bytes fit into kMaxSplitPieces pieces of pieceSize
// (a positive size): the pieces that carry data are 000 to 999.
bool SplitFits(std::int64_t fileSize, std::int64_t pieceSize);

}  // namespace kestrum
