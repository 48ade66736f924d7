// Date text, packed file dates and the stepping of the date dialog.
#include "fileops/date_change.h"

#include <cstdio>

#include "common/prompter.h"
#include "common/sjis.h"
#include "fileops/file_questions.h"

namespace kestrum {

namespace {

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

bool Valid(const DateTimeParts& t) {
    if (t.year < 1 || t.year > 9999 || t.month < 1 || t.month > 12) return false;
    if (t.day < 1 || t.day > DaysInMonth(t.year, t.month)) return false;
    return t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.second >= 0 && t.second < 60;
}

// A number or a separator of the date text.
struct Token {
    char sep = 0;  // '/' or ':'; 0 for a number
    int value = 0;
};

// Splits the text into numbers and separators; blanks only end a number.
std::optional<std::vector<Token>> Tokens(std::string_view text) {
    std::vector<Token> out;
    int digits = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            if (digits == 0) out.push_back(Token{0, 0});
            if (++digits > 4) return std::nullopt;
            out.back().value = out.back().value * 10 + (c - '0');
            continue;
        }
        digits = 0;
        if (c == ' ') continue;
        if (c != '/' && c != ':') return std::nullopt;
        out.push_back(Token{c, 0});
    }
    return out;
}

}  // namespace

std::string FormatDateText(const DateTimeParts& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return buf;
}

std::optional<DateTimeParts> ParseDateText(std::string_view text) {
    const std::optional<std::vector<Token>> tokens = Tokens(text);
    if (!tokens) return std::nullopt;
    const std::vector<Token>& tk = *tokens;
    // The expected shape, number by number: the separator that must come
    // before each one (none before the year and the hour).
    static const char before[] = {0, '/', '/', 0, ':', ':'};
    int values[6] = {};
    std::size_t pos = 0;
    int count = 0;
    for (; count < 6 && pos < tk.size(); ++count) {
        if (before[count] != 0) {
            if (tk[pos].sep != before[count]) return std::nullopt;
            if (++pos >= tk.size()) return std::nullopt;
        }
        if (tk[pos].sep != 0) return std::nullopt;
        values[count] = tk[pos++].value;
    }
    // A date, a date with hours and minutes, or all six.
    if (pos != tk.size() || !(count == 3 || count == 5 || count == 6)) return std::nullopt;
    DateTimeParts t{values[0], values[1], values[2], values[3], values[4], values[5]};
    if (!Valid(t)) return std::nullopt;
    return t;
}

std::uint32_t PackFileDate(const DateTimeParts& t) {
    if (t.year < 1980 || t.year > 2099) return 0;
    const std::uint32_t date = (static_cast<std::uint32_t>(t.year - 1980) << 9) |
                               (static_cast<std::uint32_t>(t.month) << 5) | static_cast<std::uint32_t>(t.day);
    const std::uint32_t time = (static_cast<std::uint32_t>(t.hour) << 11) |
                               (static_cast<std::uint32_t>(t.minute) << 5) |
                               static_cast<std::uint32_t>(t.second / 2);
    return date << 16 | time;
}

std::string DateConversionError(std::string_view text) {
    return "'" + std::string(text) + "' は正しい日付と時刻ではありません";
}

void RunDateChange(std::string_view caption, const std::vector<std::string>& files, DateStampFiles& io) {
    Prompter& p = CurrentPrompter();
    FileOpQuestions& ask = FileOpAsk();
    if (files.empty()) {
        ask.AskDate(caption, "", "", "", false);
        return;
    }
    auto apply = [&](const std::string& path, std::uint32_t packed) {
        switch (io.Write(path, packed)) {
        case DateStampFiles::WriteResult::Ok: break;
        case DateStampFiles::WriteResult::OpenFailed: p.ShowMessage(path + "のオープンに失敗しました"); break;
        case DateStampFiles::WriteResult::SetFailed: p.ShowMessage(path + "日付の変更に失敗しました"); break;
        }
    };
    std::optional<std::string> rejected;  // kept in the field after a conversion error
    for (std::size_t i = 0; i < files.size();) {
        const std::string& path = files[i];
        const std::optional<DateTimeParts> stamp = io.Read(path);
        const std::string oldText = stamp ? FormatDateText(*stamp) : std::string();
        const FileOpQuestions::DateAnswer a =
            ask.AskDate(caption, ExtractFileName(path), oldText, rejected ? *rejected : oldText, true);
        rejected.reset();
        if (a.result != FileOpQuestions::fdOk && a.result != FileOpQuestions::fdAll) return;
        const std::optional<DateTimeParts> t = ParseDateText(a.text);
        if (!t) {
            p.MessageDlg(DateConversionError(a.text), MsgType::Error, MsgButtons::Ok);
            rejected = a.text;
            continue;
        }
        const std::uint32_t packed = PackFileDate(*t);
        if (a.result == FileOpQuestions::fdOk) {
            apply(path, packed);
            ++i;
            continue;
        }
        for (; i < files.size(); ++i) apply(files[i], packed);
    }
}

}  // namespace kestrum
