#include "viewers/text_viewer.h"

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

void ViewerSearch::Start(std::string pattern) {
    pattern_ = std::move(pattern);
    backwards_ = false;
}

std::optional<std::size_t> ViewerSearch::Next(const TLightStrings& lines, std::size_t top) {
    if (backwards_) return Previous(lines, top);
    if (pattern_.empty()) return std::nullopt;
    return SearchForward(lines, top, TextFinder(pattern_, ignoreCase));
}

std::optional<std::size_t> ViewerSearch::Previous(const TLightStrings& lines, std::size_t top) {
    backwards_ = true;
    if (pattern_.empty()) return std::nullopt;
    return SearchBackward(lines, top, TextFinder(pattern_, ignoreCase));
}

std::size_t TagParagraph(const TViewModel& view) {
    if (view.LineCount() == 0) return 0;
    const int line = view.CaretOn() ? view.Caret().line : view.TopLine();
    return view.Lines().Paragraph(static_cast<std::size_t>(line));
}

}  // namespace kestrum
