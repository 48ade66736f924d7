// Line-level file handling shared by the settings, key and colour files.
#include "config/text_file.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "common/prompter.h"
#include "common/sjis.h"
#include "config/file_commit.h"
#include "config/settings.h"

namespace kestrum {

std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::string cur;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(cur));
            cur.clear();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) lines.push_back(std::move(cur));
    return lines;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

namespace {
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;
}  // namespace

FileContents ReadWholeFile(const std::string& path) {
    errno = 0;
    FilePtr f(std::fopen(path.c_str(), "rb"));
    if (!f) return {errno == ENOENT ? FileState::Missing : FileState::Unreadable, std::string()};
    FileContents out{FileState::Read, std::string()};
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) out.bytes.append(buf, n);
    if (std::ferror(f.get())) return {FileState::Unreadable, std::string()};
    return out;
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
    FileContents c = ReadWholeFile(path);
    if (c.state != FileState::Read) return std::nullopt;
    return std::move(c.bytes);
}

std::string SaveTempPath(const std::string& path) { return path + ".tmp~"; }

SaveResult SaveFileBytes(const std::string& path, std::string_view bytes) {
    if (path.empty()) return SaveResult::Failed;
    if (ReadWholeFile(path).state == FileState::Unreadable) return SaveResult::Unreadable;
    return CommitFile(SaveTempPath(path), path, bytes) ? SaveResult::Saved : SaveResult::Failed;
}

std::string SaveFailureText(SaveResult result, std::string_view what, const std::string& path) {
    switch (result) {
    case SaveResult::Saved: return std::string();
    case SaveResult::Unreadable: return std::string(what) + "を読み込めないため、書き込みませんでした。\r\n" + path;
    case SaveResult::Failed: return std::string(what) + "に書き込めません。\r\n" + path;
    }
    return std::string();
}

bool ReportSave(SaveResult result, std::string_view what, const std::string& path) {
    if (result == SaveResult::Saved) return true;
    CurrentPrompter().MessageDlg(SaveFailureText(result, what, path), MsgType::Error, MsgButtons::Ok);
    return false;
}

std::string CutComment(std::string_view line, bool semicolonMode) {
    if (semicolonMode) return std::string(line);
    const std::size_t p = FindChar(line, ';');
    return std::string(p == std::string_view::npos ? line : line.substr(0, p));
}

std::string NormalizeLine(std::string_view line, bool semicolonMode) {
    return UpperAscii(Trim(CutComment(line, semicolonMode)));
}

bool IsKnownSectionHeader(std::string_view n) {
    static constexpr std::string_view kHeaders[] = {
        "[DIRHISTORY]", "[EXEHISTORY]", "[ALIAS]",       "[EXT]",         "[内部コマンド]",
        "[環境変数]",   "[LOGDISKLIST]", "[COPYDIRLIST]", "[FINDLIST]",    "[FUNCTION]",
        "[FORM_LS]",    "[LVIEW]",      "[TVIEW]",
    };
    for (std::string_view h : kHeaders) {
        if (n == h) return true;
    }
    return false;
}

bool LooksLikeSectionHeader(std::string_view n) {
    if (n.size() < 3 || n.front() != '[' || n.back() != ']') return false;
    const std::string_view name = n.substr(1, n.size() - 2);
    if (FindChar(name, '[') != std::string_view::npos || FindChar(name, ']') != std::string_view::npos) return false;
    // The closing bracket must be a character of its own, not a trail byte.
    return IsCharBoundary(n, n.size() - 1);
}

bool ReadsAsSectionHeader(std::string_view entry) {
    return LooksLikeSectionHeader(NormalizeLine(entry, false)) || LooksLikeSectionHeader(NormalizeLine(entry, true));
}

namespace {
// The marker line as NormalizeLine gives it.
constexpr std::string_view kCfgMarkerNormalized = "[CFG VER1.1]";

// The walk of FindSectionExtent over count lines given in normalised form.
template <typename Normalized>
SectionExtent ExtentOf(std::size_t count, std::size_t header, Normalized normalized) {
    const bool functions = header < count && normalized(header) == "[FUNCTION]";
    int entries = 0;
    for (std::size_t j = header + 1; j < count; ++j) {
        const std::string& n = normalized(j);
        if (n.empty()) continue;
        ++entries;
        if (n[0] != '[') continue;
        if (n == "[END]") return {j, true};
        if (IsKnownSectionHeader(n)) return {j, false};
        // The marker is no function key's title: read as one, it would be
        // written back upper-cased and no longer be the marker.
        if (n == kCfgMarkerNormalized) return {j, false};
        if (LooksLikeSectionHeader(n) && !(functions && entries <= kFunctionKeyCount)) return {j, false};
    }
    return {count, false};
}
}  // namespace

SectionExtent FindSectionExtent(const std::vector<std::string>& lines, std::size_t header, bool semicolonMode) {
    std::string n;
    return ExtentOf(lines.size(), header, [&](std::size_t i) -> const std::string& {
        n = NormalizeLine(lines[i], semicolonMode);
        return n;
    });
}

SectionExtent FindSectionExtentNormalized(const std::vector<std::string>& normalized, std::size_t header) {
    return ExtentOf(normalized.size(), header, [&](std::size_t i) -> const std::string& { return normalized[i]; });
}

}  // namespace kestrum
