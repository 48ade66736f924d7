// The ISH32 command line.
#include "libs/ish/ish_command.h"

#include "libs/base/arc_command.h"
#include "libs/base/arc_path.h"
#include "libs/base/arc_result.h"

namespace kestrum::ish {

namespace {
std::string TrimBlanks(std::string s) {
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.pop_back();
    std::size_t i = 0;
    while (i < s.size() && static_cast<unsigned char>(s[i]) <= ' ') ++i;
    return s.substr(i);
}
}  // namespace

int ParseIshCommand(std::string_view line, IshCommand& cmd, std::string& error) {
    for (const std::string& w : arc::SplitArgs(line)) {
        if (w.size() >= 3 && w[0] == '/' && (w[1] == 'f' || w[1] == 'F') && w[2] == '=') {
            cmd.outDir = TrimBlanks(w.substr(3));
            continue;
        }
        if (w.size() > 1 && (w[0] == '-' || (w[0] == '/' && arc::NameStart(w) == 1))) continue;
        cmd.files.push_back(w);
    }
    if (cmd.files.empty()) {
        error = "ISH ファイルが指定されていません";
        return arc::kErrNotFileName;
    }
    return 0;
}

int RunIsh(arc::ArcFs& fs, std::string_view line, std::string& text) {
    arc::TextOut out;
    IshCommand cmd;
    std::string error;
    int r = ParseIshCommand(line, cmd, error);
    if (r != 0) {
        out.Line(error);
    } else {
        r = arc::kErrNotSupport;
        for (const std::string& f : cmd.files) {
            if (!fs.Stat(f).exists) {
                out.Line("ファイルが見つかりません: " + f);
                r = arc::kErrNotFindArcFile;
            }
        }
        if (r == arc::kErrNotSupport) {
            out.Line("ISH 形式の復元には対応していません (jis7, jis8, sjis, non-kana sjis のどれも)");
        }
    }
    text = out.Text();
    return r;
}

}  // namespace kestrum::ish
