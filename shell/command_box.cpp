// History browsing, completion and the key handler of the command boxes.
#include "shell/command_box.h"

#include <algorithm>

#include "common/history.h"
#include "common/sjis.h"
#include "common/wildmatch.h"
#include "config/settings.h"

namespace kestrum {

// ---- history ---------------------------------------------------------------

bool HistoryMatches(std::string_view entry, std::string_view prefix) {
    std::string pattern(prefix);
    pattern += '*';
    return WildMatch(entry, pattern);
}

void HistoryBrowser::Reset(std::string_view boxText) {
    historyIndex = -1;
    typedSlotFresh = false;
    lastBoxText = boxText;
    edited = false;
}

void HistoryBrowser::Observe(std::string_view boxText) {
    if (boxText == lastBoxText) return;
    lastBoxText = boxText;
    typedSlotFresh = false;
    edited = true;
    if (Browsing()) historyIndex = 0;
}

std::string HistoryBrowser::BeginBack(std::vector<std::string>& history, std::string_view boxText) {
    if (!Browsing()) {
        history.insert(history.begin(), std::string(boxText));
        typedSlotFresh = true;
        historyIndex = 0;
    } else if (!typedSlotFresh) {
        if (history.empty()) {
            history.emplace_back(boxText);
        } else {
            history[0] = std::string(boxText);
        }
        typedSlotFresh = true;
    }
    return history.empty() ? std::string() : history[0];
}

std::optional<std::string> HistoryBrowser::StepBack(const std::vector<std::string>& history,
                                                    const std::string& prefix, const HistoryMatcher& match) {
    for (std::size_t i = static_cast<std::size_t>(historyIndex + 1); i < history.size(); ++i) {
        if (match(history[i], prefix)) {
            historyIndex = static_cast<int>(i);
            lastBoxText = history[i];
            return history[i];
        }
    }
    return std::nullopt;
}

std::optional<std::string> HistoryBrowser::StepForward(const std::vector<std::string>& history,
                                                       const std::string& prefix, const HistoryMatcher& match) {
    if (historyIndex < 1) return std::nullopt;
    const int top = std::min(historyIndex - 1, static_cast<int>(history.size()) - 1);
    for (int i = top; i >= 0; --i) {
        const std::string& e = history[static_cast<std::size_t>(i)];
        // The typed text is where going forward ends, even when it is empty
        // (an empty name matches no pattern).
        if (i == 0 || match(e, prefix)) {
            historyIndex = i;
            lastBoxText = e;
            return e;
        }
    }
    return std::nullopt;
}

void HistoryBrowser::EndBrowsing(std::vector<std::string>& history) {
    if (Browsing() && !history.empty()) history.erase(history.begin());
    historyIndex = -1;
    typedSlotFresh = false;
}

std::vector<std::string> MatchingEntries(const std::vector<std::string>& history, const std::string& prefix,
                                         const HistoryMatcher& match) {
    std::vector<std::string> out;
    for (std::size_t i = 1; i < history.size(); ++i) {
        if (match(history[i], prefix)) out.push_back(history[i]);
    }
    return out;
}

// ---- completion -------------------------------------------------------------

CompleteMode ModeOfKey(int key) {
    switch (key) {
    case kKeyF7: return CompleteMode::DirsOnly;
    case kKeyF8: return CompleteMode::FilesOnly;
    default: return CompleteMode::FilesAndDirs;
    }
}

int CompletionKeyFor(int autoName) {
    switch (autoName) {
    case 2: return kKeyF7;
    case 3: return kKeyF8;
    default: return kKeyF6;
    }
}

namespace {

// Names the Shift filter keeps: a double-byte character anywhere, or a
// half-width katakana first byte.
bool JapaneseName(std::string_view name) {
    if (!name.empty()) {
        const auto b = static_cast<unsigned char>(name[0]);
        if (b >= 0xA6 && b <= 0xDD) return true;
    }
    for (std::size_t i = 0; i < name.size(); i = NextChar(name, i)) {
        if (CharLen(name, i) == 2) return true;
    }
    return false;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

std::size_t ClampCaret(const BoxText& box) {
    std::size_t caret = static_cast<std::size_t>(std::clamp(box.caret, 0, static_cast<int>(box.text.size())));
    while (caret > 0 && !IsCharBoundary(box.text, caret)) --caret;
    return caret;
}

void Write(BoxText& box, const std::string& front, const std::string& after) {
    box.text = front + after;
    box.caret = static_cast<int>(front.size());
}

}  // namespace

CompletionWord FindCompletionWord(const std::string& before, const CompletionRequest& req,
                                  FileSystem& fs) {
    CompletionWord w;
    w.mode = req.anyKeyListsAll ? CompleteMode::FilesAndDirs : req.mode;
    const std::string turned = SlashesToBackslashes(before);
    if (!fs.Find(turned + "*").empty()) {
        w.found = true;
        w.path = turned;
        return w;
    }
    int start = -1;
    for (std::size_t i = 0; i < before.size(); i = NextChar(before, i)) {
        if (before[i] != ' ') continue;
        if (!fs.Find(turned.substr(i + 1) + "*").empty()) {
            start = static_cast<int>(i + 1);
            break;
        }
    }
    // The change-directory command followed by "\" or a blank completes
    // directories only, whatever the search found.
    const std::string upper = UpperAscii(turned);
    const std::string cd = UpperAscii(req.cdName);
    if (!cd.empty() && StartsWith(upper, cd + "\\")) {
        start = static_cast<int>(cd.size());
        w.mode = CompleteMode::DirsOnly;
    } else if (!cd.empty() && StartsWith(upper, cd + " ")) {
        start = static_cast<int>(cd.size() + 1);
        w.mode = CompleteMode::DirsOnly;
    }
    if (start < 0) return w;
    w.found = true;
    w.head = before.substr(0, static_cast<std::size_t>(start));
    w.path = turned.substr(static_cast<std::size_t>(start));
    return w;
}

std::vector<std::string> ListCandidates(const std::string& path, const std::string& prefix, CompleteMode mode,
                                        bool shift, const std::string& mask, FileSystem& fs) {
    std::vector<std::string> out;
    for (const FindRecord& f : fs.Find(path + "*")) {
        if (shift && !JapaneseName(f.name)) continue;
        if (f.IsDirectory()) {
            if (f.name == "." || f.name == ".." || mode == CompleteMode::FilesOnly) continue;
            out.push_back(prefix + f.name + "\\");
        } else {
            if (mode == CompleteMode::DirsOnly || !WildMatch(f.name, mask.empty() ? "*" : mask)) continue;
            out.push_back(prefix + f.name + " ");
        }
    }
    return out;
}

std::string CommonPrefix(const std::vector<std::string>& candidates) {
    if (candidates.empty()) return {};
    const std::string first = UpperAscii(candidates[0]);
    std::size_t len = first.size();
    for (std::size_t k = 1; k < candidates.size(); ++k) {
        const std::string u = UpperAscii(candidates[k]);
        std::size_t i = 0;
        while (i < len) {
            const std::size_t n = CharLen(first, i);
            if (i + n > u.size() || first.compare(i, n, u, i, n) != 0) break;
            i += n;
        }
        len = i;
    }
    return first.substr(0, len);
}

CompletionOutcome Complete(BoxText& box, const CompletionRequest& req, FileSystem& fs,
                           Prompter& prompter) {
    CompletionOutcome out;
    const std::size_t caret = ClampCaret(box);
    const std::string before = Trim(std::string_view(box.text).substr(0, caret));
    const std::string after = box.text.substr(caret);

    CompletionWord w;
    if (req.wholeTextIsPath) {
        w.found = true;
        w.path = SlashesToBackslashes(before);
        w.mode = req.mode;
    } else {
        w = FindCompletionWord(before, req, fs);
    }
    if (!w.found) return out;

    std::vector<std::string> list;
    std::string dir;
    if (w.path.size() > 1 && w.path[0] == '?' && w.path[1] == ':') {
        const std::string dirPart = ExtractFilePath(w.path);
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            if (fs.DriveTypeOf(letter) != kDriveFixed) continue;
            std::string p = w.path;
            std::string d = dirPart;
            p[0] = letter;
            d[0] = letter;
            const std::vector<std::string> found = ListCandidates(p, d, w.mode, req.shift, req.mask, fs);
            list.insert(list.end(), found.begin(), found.end());
        }
    } else {
        list = ListCandidates(w.path, "", w.mode, req.shift, req.mask, fs);
        dir = ExtractFilePath(w.path);
    }
    if (list.empty()) return out;

    const std::string front = w.head + dir;
    out.changed = true;
    if (list.size() == 1) {
        Write(box, front + list[0], after);
        return out;
    }
    while (true) {
        const std::string prefix = CommonPrefix(list);
        Write(box, front + prefix, after);
        out.shown = list;
        const ListPick pick = prompter.ShowList(list, ListStyle::Numbered, true);
        if (pick.result == ListResult::Ok) {
            const bool indexed = pick.index >= 0 && static_cast<std::size_t>(pick.index) < list.size();
            Write(box, front + (indexed ? list[static_cast<std::size_t>(pick.index)] : pick.text), after);
            return out;
        }
        if (pick.result != ListResult::Typed) return out;  // cancelled: the common prefix stays
        if (pick.typed == 0) {
            out.postKey = pick.key;
            return out;
        }
        const char c = UpperAscii(std::string(1, pick.typed))[0];
        std::vector<std::string> keep;
        for (const std::string& cand : list) {
            const std::string u = UpperAscii(cand);
            if (u.size() > prefix.size() + 1 && u[prefix.size()] == c) keep.push_back(cand);
        }
        if (keep.size() == 1) {
            Write(box, front + keep[0], after);
            return out;
        }
        if (keep.empty()) {
            box.text.insert(static_cast<std::size_t>(box.caret), 1, pick.typed);
            ++box.caret;
            return out;
        }
        list = std::move(keep);
    }
}

// ---- list picker rows ------------------------------------------------------

std::vector<std::string> NumberRows(const std::vector<std::string>& entries) {
    std::vector<std::string> rows;
    rows.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        rows.push_back(i < 10 ? std::string(1, static_cast<char>('0' + i)) + " " + entries[i] : "  " + entries[i]);
    }
    return rows;
}

PickerTyped PickerChar(const std::vector<std::string>& rows, char c, bool completionMode) {
    PickerTyped t;
    const auto b = static_cast<unsigned char>(c);
    if (b <= 0x20 || b == 0x7F) return t;  // blanks and control characters
    if (completionMode) {
        const bool numbersRow = c >= '0' && c <= '9' && static_cast<std::size_t>(c - '0') < rows.size();
        if (!numbersRow) {
            t.kind = PickerTyped::HandOver;
            return t;
        }
    }
    const std::string key = UpperAscii(std::string(1, c));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].empty() && UpperAscii(rows[i].substr(0, 1)) == key) t.rows.push_back(static_cast<int>(i));
    }
    if (t.rows.size() == 1) {
        t.kind = PickerTyped::Choose;
        t.row = t.rows[0];
        t.rows.clear();
    } else if (t.rows.size() > 1) {
        t.kind = PickerTyped::Narrow;
    }
    return t;
}

// ---- editing actions ---------------------------------------------------------

namespace {
// Start of the character that ends right before pos.
std::size_t PrevChar(std::string_view s, std::size_t pos) {
    std::size_t prev = 0;
    for (std::size_t i = 0; i < pos && i < s.size(); i = NextChar(s, i)) prev = i;
    return prev;
}
}  // namespace

void DeleteAfterCaret(BoxText& box) {
    box.text.resize(ClampCaret(box));
    box.caret = static_cast<int>(box.text.size());
}

void DeleteCharBeforeCaret(BoxText& box) {
    const std::size_t caret = ClampCaret(box);
    if (caret == 0) return;
    const std::size_t prev = PrevChar(box.text, caret);
    box.text.erase(prev, caret - prev);
    box.caret = static_cast<int>(prev);
}

void CaretLeft(BoxText& box) {
    const std::size_t caret = ClampCaret(box);
    box.caret = static_cast<int>(caret == 0 ? 0 : PrevChar(box.text, caret));
}

void CaretRight(BoxText& box) {
    const std::size_t caret = ClampCaret(box);
    box.caret = static_cast<int>(caret >= box.text.size() ? box.text.size() : NextChar(box.text, caret));
}

// ---- the key handler ---------------------------------------------------------

HistoryMatcher CommandBoxLogic::Matcher(const BoxEnv& env) const {
    if (tag_ == kLineInputBox && !(lineMode_ & amFreeText) && env.fullPath) {
        auto full = env.fullPath;
        return [full](const std::string& entry, const std::string& prefix) {
            if (HistoryMatches(entry, prefix)) return true;
            return !prefix.empty() && HistoryMatches(entry, full(prefix));
        };
    }
    return [](const std::string& entry, const std::string& prefix) { return HistoryMatches(entry, prefix); };
}

void CommandBoxLogic::Show(BoxText& box, const std::string& text) {
    box.text = text;
    box.caret = static_cast<int>(text.size());
    browser_.lastBoxText = text;
}

void CommandBoxLogic::HistoryBack(BoxText& box, const BoxEnv& env, bool forceList) {
    std::vector<std::string>& history = *env.history;
    const std::string prefix = browser_.BeginBack(history, box.text);
    const HistoryMatcher match = Matcher(env);
    if (forceList || (env.settings && env.settings->menuHistory)) {
        Prompter& prompter = env.prompter ? *env.prompter : CurrentPrompter();
        const ListPick pick = prompter.ShowList(MatchingEntries(history, prefix, match), ListStyle::Numbered);
        if (pick.result == ListResult::Ok) Show(box, pick.text);
        return;
    }
    if (const auto text = browser_.StepBack(history, prefix, match)) Show(box, *text);
}

void CommandBoxLogic::HistoryForward(BoxText& box, const BoxEnv& env) {
    const std::vector<std::string>& history = *env.history;
    if (browser_.historyIndex < 1 || history.empty()) return;
    // The line-input window compares with an empty prefix until the text is
    // edited in this question, so every entry counts then.
    const bool typed = tag_ != kLineInputBox || browser_.edited;
    const std::string prefix = typed ? history[0] : std::string();
    if (const auto text = browser_.StepForward(history, prefix, Matcher(env))) Show(box, *text);
}

CompletionOutcome CommandBoxLogic::Completion(int key, bool shift, BoxText& box, const BoxEnv& env) {
    CompletionRequest req;
    req.mode = ModeOfKey(key);
    req.shift = shift;
    req.cdName = env.cdName;
    req.mask = env.completionMask;
    if (tag_ == kLineInputBox) {
        if (lineMode_ & amFreeText) {
            req.anyKeyListsAll = true;
        } else {
            req.wholeTextIsPath = true;
        }
    }
    if (!env.fs) return {};
    Prompter& prompter = env.prompter ? *env.prompter : CurrentPrompter();
    return Complete(box, req, *env.fs, prompter);
}

bool CommandBoxLogic::KeyDown(KeyInput in, BoxText& box, const BoxEnv& env, int* postKey) {
    if (in.key == 0) return false;
    browser_.Observe(box.text);
    if (in.alt) return false;
    int key = in.key;
    if (key >= kKeyNumpad0 && key <= kKeyNumpad9) key -= kKeyNumpad0 - '0';
    const int homeShiftMode = env.settings ? env.settings->homeShiftMode : 1;
    switch (key) {
    case kKeyReturn: {
        if (tag_ == kLineInputBox) {
            const bool retTree = env.settings && env.settings->retTree;
            if (!Trim(box.text).empty() || !retTree) {
                if (env.accept) env.accept();
            } else if (env.browse) {
                env.browse();
            }
            return true;
        }
        if (box.text.empty() && tag_ == kFilerBox) {
            if (env.focusFiler) env.focusFiler();
            return true;
        }
        browser_.EndBrowsing(*env.history);
        const std::string line = box.text;
        const int result = env.run ? env.run(line) : 0;
        if (result != 0) {
            AddToHistory(*env.history, line);
            box.text.clear();
            box.caret = 0;
        }
        return true;
    }
    case kKeyHome:
        if (homeShiftMode != 0) return false;
        env.history->insert(env.history->begin(), box.text);
        box.text.clear();
        box.caret = 0;
        return true;
    case kKeyLeft:
        if (!in.shift || homeShiftMode != 0) return false;
        box.caret = 0;
        return true;
    case kKeyRight:
        if (!in.shift || homeShiftMode != 0) return false;
        box.caret = static_cast<int>(box.text.size());
        return true;
    case kKeyUp:
        if (in.ctrl && tag_ != kLineInputBox) {
            if (env.focusFiler) env.focusFiler();
            return true;
        }
        HistoryBack(box, env);
        return true;
    case kKeyDown: HistoryForward(box, env); return true;
    case kKeyTab:
    case kKeyF6:
    case kKeyF7:
    case kKeyF8: {
        int completionKey = key;
        if (key == kKeyTab) {
            // The shell's boxes always complete files and directories; the
            // line-input window follows AUTONAME.
            completionKey = tag_ == kLineInputBox ? CompletionKeyFor(env.settings ? env.settings->autoName : 2)
                                                  : kKeyF6;
        }
        const CompletionOutcome o = Completion(completionKey, in.shift, box, env);
        if (postKey) *postKey = o.postKey;
        return true;
    }
    default: return false;
    }
}

}  // namespace kestrum
