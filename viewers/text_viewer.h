// What the text viewer window decides without a window: its caption, the
// texts it shows, and the direction and case rule of its searches.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "viewers/light_strings.h"
#include "viewers/view_model.h"

namespace kestrum {

inline constexpr std::string_view kViewerCaptionTail = " - Kestrum ﾃｷｽﾄﾋﾞｭｰﾜｰ";
inline constexpr std::string_view kViewerCaretCaptionTail = "- Kestrum ﾃｷｽﾄﾋﾞｭｰﾜｰ";
inline constexpr const char* kDirectoryRefused = "ディレクトリは表示できません";
inline constexpr const char* kSearchNotFound = "見つかりませんでした";
inline constexpr const char* kConvertAborted = "処理を中断しました";
inline constexpr const char* kConvertTitle = "ＳＪＩＳに変換中";
inline constexpr const char* kOverwriteQuestion = "同名のファイルが存在します。上書きしますか？";
inline constexpr const char* kSaveFailed = "保存できませんでした。";
inline constexpr const char* kSaveFailedKept = "元のファイルはそのままです。";

// The message of a save that failed: the path, and that the file there (when
// there was one) is as it was.
std::string SaveFailedText(std::string_view path, bool existed);

// The caption: without the caret, the top display line (from 0), a blank and
// the path; with it, the caret's display line, ": ", its column, a blank and
// the path. Each ends in the program's name.
std::string ViewerCaption(std::string_view path, int topLine);
std::string ViewerCaretCaption(std::string_view path, TextPos caret);

// The searches of one viewer: the strings asked for, the last one, whether
// the last search went backwards (then "next", and a new string too, goes
// on backwards) and the ignore-case switch.
class ViewerSearch {
public:
    std::vector<std::string> history;
    bool ignoreCase = false;

    // A new string from the search question; the direction stays.
    void Start(std::string pattern);
    bool HasPattern() const { return !pattern_.empty(); }
    const std::string& Pattern() const { return pattern_; }
    bool Backwards() const { return backwards_; }

    // The display line of the match after / before the top line, which the
    // window makes its top line; nullopt when nothing is found. Next follows
    // the direction of the last search. maxTop is the last top line the
    // window can show: a match further down is shown there, and while the
    // top line stays where the last match was shown, the search goes on
    // from that match rather than from the top line (else a match near the
    // end would be found again and again).
    std::optional<std::size_t> Next(const TLightStrings& lines, std::size_t top,
                                    std::size_t maxTop = static_cast<std::size_t>(-1));
    std::optional<std::size_t> Previous(const TLightStrings& lines, std::size_t top,
                                        std::size_t maxTop = static_cast<std::size_t>(-1));
    // The text changed: the last match means nothing any more.
    void Forget() { match_.reset(); }

private:
    std::size_t From(const TLightStrings& lines, std::size_t top) const;
    std::optional<std::size_t> Found(std::optional<std::size_t> line, std::size_t maxTop);

    std::string pattern_;
    bool backwards_ = false;
    std::optional<std::size_t> match_;  // the line of the last match
    std::size_t shownAt_ = 0;           // the top line it was shown at
};

// The text of a tag-jump line: the caret's paragraph when the caret shows,
// else the top line's.
std::size_t TagParagraph(const TViewModel& view);

}  // namespace kestrum
