// Line-level file handling shared by the settings, key and colour files.
#include "config/text_file.h"

#include <cstdio>
#include <memory>

#include "common/sjis.h"

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

std::optional<std::string> ReadFileBytes(const std::string& path) {
    FilePtr f(std::fopen(path.c_str(), "rb"));
    if (!f) return std::nullopt;
    std::string data;
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) data.append(buf, n);
    if (std::ferror(f.get())) return std::nullopt;
    return data;
}

bool WriteFileBytes(const std::string& path, std::string_view bytes) {
    const std::string tmp = path + ".tmp~";
    {
        FilePtr f(std::fopen(tmp.c_str(), "wb"));
        if (!f) return false;
        if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) {
            f.reset();
            std::remove(tmp.c_str());
            return false;
        }
        if (std::fflush(f.get()) != 0) {
            f.reset();
            std::remove(tmp.c_str());
            return false;
        }
    }
#ifdef _WIN32
    // rename() does not replace an existing file on Windows. Should the
    // rename fail after the removal, the new text stays in the temporary file.
    std::remove(path.c_str());
    return std::rename(tmp.c_str(), path.c_str()) == 0;
#else
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        std::remove(tmp.c_str());
        return false;
    }
    return true;
#endif
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

}  // namespace kestrum
