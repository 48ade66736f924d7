#include "viewers/text_viewer.h"

#include <algorithm>

#include "viewers/text_search.h"

namespace kestrum {

std::string ViewerCaption(std::string_view path, int topLine) {
    std::string s = std::to_string(topLine);
    s += ' ';
    s += path;
    s += kViewerCaptionTail;
    return s;
}

std::string ViewerCaretCaption(std::string_view path, TextPos caret) {
    std::string s = std::to_string(caret.line) + ": " + std::to_string(caret.col);
    s += ' ';
    s += path;
    s += kViewerCaretCaptionTail;
    return s;
}

std::string SaveFailedText(std::string_view path, bool existed) {
    std::string s(path);
    s += "\r\n";
    s += kSaveFailed;
    if (existed) s += kSaveFailedKept;
    return s;
}

void ViewerSearch::Start(std::string pattern) { pattern_ = std::move(pattern); }

std::size_t ViewerSearch::From(const TLightStrings& lines, std::size_t top) const {
    if (match_ && top == shownAt_ && *match_ < lines.Count()) return *match_;
    return top;
}

std::optional<std::size_t> ViewerSearch::Found(std::optional<std::size_t> line, std::size_t maxTop) {
    if (line) {
        match_ = line;
        shownAt_ = std::min(*line, maxTop);
    }
    return line;
}

std::optional<std::size_t> ViewerSearch::Next(const TLightStrings& lines, std::size_t top, std::size_t maxTop) {
    if (backwards_) return Previous(lines, top, maxTop);
    if (pattern_.empty()) return std::nullopt;
    return Found(SearchForward(lines, From(lines, top), TextFinder(pattern_, ignoreCase)), maxTop);
}

std::optional<std::size_t> ViewerSearch::Previous(const TLightStrings& lines, std::size_t top, std::size_t maxTop) {
    backwards_ = true;
    if (pattern_.empty()) return std::nullopt;
    return Found(SearchBackward(lines, From(lines, top), TextFinder(pattern_, ignoreCase)), maxTop);
}

std::size_t TagParagraph(const TViewModel& view) {
    if (view.LineCount() == 0) return 0;
    const int line = view.CaretOn() ? view.Caret().line : view.TopLine();
    return view.Lines().Paragraph(static_cast<std::size_t>(line));
}

}  // namespace kestrum
