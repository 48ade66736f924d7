// Piece names and limits of file splitting.
#include "fileops/split_join.h"

#include "common/sjis.h"

namespace kestrum {

std::string SplitPieceName(std::string_view dir, std::string_view source, int n) {
    std::string out = dir.empty() ? std::string() : IncludeTrailingBackslash(dir);
    out += ChangeFileExt(ExtractFileName(source), "");
    const std::string number = "00" + std::to_string(n);
    out += "." + number.substr(number.size() - 3);
    return out;
}

bool SplitFits(std::int64_t fileSize, std::int64_t pieceSize) {
    if (pieceSize <= 0) return false;
    if (fileSize <= 0) return true;
    return (fileSize - 1) / pieceSize < kMaxSplitPieces;
}

}  // namespace kestrum
