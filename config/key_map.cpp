// Key maps: binding records, action tables, key files and the three maps.
#include "config/key_map.h"

#include <climits>
#include <cstdio>

#include "common/prompter.h"
#include "common/sjis.h"
#include "common/split.h"
#include "config/action_table.h"
#include "config/text_file.h"

namespace kestrum {

namespace {

const char* const kEditNames[kEditKeyActionCount] = {
    "ファイル名自動補充",
    "ヒストリー",
    "ヒストリー(戻る)",
    "カーソルを文字列の先頭に移動",
    "カーソルを文字列の最後に移動",
    "参照",
    "登録リストから選択",
    "カーソル位置以降削除",
    "コピー",
    "貼りつけ",
    "切り取り",
    "カーソル前の文字削除",
    "UNDO",
    "カーソルを左に移動",
    "カーソルを右に移動",
};

const char* const kViewerNames[kViewerKeyActionCount] = {
    "開く(&O)",
    "保存(&S)",
    "閉じる(&X)",
    "クリップボードへコピー",
    "SJISに変換",
    "エデッタの起動",
    "TAGジャンプ",
    "１つ前のファイル",
    "[カーソル移動]上へ",
    "[カーソル移動]下へ",
    "前方検索",
    "次を検索",
    "後方検索",
    "指定行へジャンプ",
    "検索のとき大文字小文字区別しない",
    "[キャレット]表示する",
    "[キャレット]表示しない",
    "動作設定(&E)",
};

constexpr std::string_view kFullWidthComma = "，";

// A whole trimmed field as a decimal number (an optional sign, digits).
std::optional<int> ToInt(std::string_view field) {
    const std::string s = Trim(field);
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    if (i == s.size()) return std::nullopt;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return std::nullopt;
        v = v * 10 + (s[i] - '0');
        if (v > INT_MAX) return std::nullopt;
    }
    return static_cast<int>(negative ? -v : v);
}

bool IsOne(const std::vector<std::string>& fields, std::size_t n) {
    return n < fields.size() && ToInt(fields[n]) == 1;
}

// The name as written: every "," becomes "，" so that the line keeps its
// fields, and a name that would not read back as itself (a quote) is quoted.
std::string NameForFile(std::string_view name) {
    std::string out;
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t len = CharLen(name, i);
        if (len == 1 && name[i] == ',') {
            out += kFullWidthComma;
        } else {
            out.append(name.substr(i, len));
        }
        i += len;
    }
    return QuoteField(out);
}

}  // namespace

std::string BindingLine(const KeyBinding& b) {
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "%d, %d, ", b.action, b.key);
    char flags[64];
    std::snprintf(flags, sizeof flags, ", %d, %d, %d, %d", (b.modifiers & kModShift) ? 1 : 0,
                  (b.modifiers & kModCtrl) ? 1 : 0, b.reserved ? 1 : 0, (b.modifiers & kModAlt) ? 1 : 0);
    return numbers + NameForFile(b.name) + flags;
}

std::optional<KeyBinding> ParseBindingLine(std::string_view line) {
    const std::size_t comma = FindChar(line, ',');
    if (comma == std::string_view::npos || comma == 0) return std::nullopt;
    const std::vector<std::string> fields = SplitFields(',', line);
    const std::optional<int> id = ToInt(fields[0]);
    if (!id) return std::nullopt;
    KeyBinding b;
    b.action = *id;
    b.key = fields.size() > 1 ? MainRowKey(ToInt(fields[1]).value_or(0)) : 0;
    b.name = fields.size() > 2 ? Trim(fields[2]) : std::string();
    b.modifiers = ModifierBits(IsOne(fields, 3), IsOne(fields, 4), fields.size() > 6 && Trim(fields[6]) == "1");
    b.reserved = IsOne(fields, 5);
    return b;
}

// ---- TUserKey ----

KeyBinding& TUserKey::Add() { return records_.emplace_back(); }

void TUserKey::Delete(int i) {
    if (i >= 0 && i < Count()) records_.erase(records_.begin() + i);
}

void TUserKey::Assign(const TUserKey& other) {
    if (&other == this) return;
    Clear();
    for (const KeyBinding& b : other.records_) Add() = b;
}

int TUserKey::Find(int key, unsigned char modifiers) const {
    for (int i = 0; i < Count(); ++i) {
        if (records_[static_cast<std::size_t>(i)].key == key && records_[static_cast<std::size_t>(i)].modifiers == modifiers)
            return i;
    }
    return -1;
}

int TUserKey::FindAction(int id) const {
    for (int i = 0; i < Count(); ++i) {
        if (records_[static_cast<std::size_t>(i)].action == id) return i;
    }
    return -1;
}

std::string TUserKey::FileText(std::string_view header) const {
    std::string text(header);
    text += "\r\n";
    for (const KeyBinding& b : records_) {
        if (Trim(b.name).empty()) continue;
        text += BindingLine(b);
        text += "\r\n";
    }
    return text;
}

bool TUserKey::Save(const std::string& path, std::string_view header) const {
    return SaveFileBytes(path, FileText(header)) == SaveResult::Saved;
}

bool SaveKeyFile(const TUserKey& map, std::string_view header, const std::string& path) {
    return map.Save(path, header);
}

SaveResult SaveKeyFile(const TKeyX& keyx, std::string_view header, const std::string& path) {
    if (!keyx.unreadableFile.empty() && SameText(keyx.unreadableFile, path)) return SaveResult::Unreadable;
    return SaveFileBytes(path, keyx.KeyXUserKey.FileText(header));
}

// ---- TKeyX ----

void TKeyX::AddAction(std::string name, int command, int id) {
    actions_.push_back(KeyAction{std::move(name), command, id});
}

void TKeyX::RenameAction(int n, std::string name) {
    if (n < 0 || n >= Count()) return;
    actions_[static_cast<std::size_t>(n)].name = std::move(name);
    if (setCaption) setCaption(Command(n), MenuCaption(n));
}

int TKeyX::IndexOfId(int id) const {
    for (int n = 0; n < Count(); ++n) {
        if (actions_[static_cast<std::size_t>(n)].id == id) return n;
    }
    return -1;
}

void TKeyX::DeleteAction(int n) {
    if (n >= 0 && n < Count()) actions_.erase(actions_.begin() + n);
}

std::string TKeyX::MenuCaption(int n) const {
    const std::string& name = Name(n);
    const std::size_t bracket = FindChar(name, ']');
    std::string caption = bracket == std::string::npos ? name : name.substr(bracket + 1);
    caption += '\t';
    const int r = KeyXUserKey.FindAction(Id(n));
    if (r >= 0) {
        const KeyBinding& b = KeyXUserKey.Get(r);
        if (b.modifiers & kModShift) caption += "SHIFT+";
        if (b.modifiers & kModCtrl) caption += "CTRL+";
        if (b.modifiers & kModAlt) caption += "ALT+";
        caption += b.name;
    }
    return caption;
}

void TKeyX::RefreshCaptions() const {
    if (!setCaption) return;
    refreshingCaptions_ = true;
    try {
        for (int n = 0; n < Count(); ++n) setCaption(Command(n), MenuCaption(n));
    } catch (...) {
        refreshingCaptions_ = false;
        throw;
    }
    refreshingCaptions_ = false;
    captionsRefreshed();
}

void TKeyX::LookUp(int& key, unsigned char modifiers) {
    const int r = KeyXUserKey.Find(key, modifiers);
    if (r < 0) {
        handled = 0;
        return;
    }
    const KeyBinding b = KeyXUserKey.Get(r);  // the command may reload the map
    key = 0;
    handled = 1;
    if ((b.modifiers & kModAlt) && OnAltKey) OnAltKey();
    const int n = IndexOfId(b.action);
    if (n >= 0 && runCommand) runCommand(Command(n));
}

// ---- key files ----

KeyFileResult LoadKeyFile(TKeyX& keyx, const std::string& path, std::string_view header, bool preview) {
    const FileContents file = ReadWholeFile(path);
    if (file.state != FileState::Read || file.bytes.empty()) {
        const bool unreadable = file.state == FileState::Unreadable;
        if (unreadable) keyx.unreadableFile = path;
        if (keyx.OnNotFound) keyx.OnNotFound();
        return unreadable ? KeyFileResult::Unreadable : KeyFileResult::NotFound;
    }
    const std::vector<std::string> lines = SplitLines(file.bytes);
    // The map is about to come from the file: it may be saved there again.
    if (!lines.empty() && lines[0] == header) keyx.unreadableFile.clear();
    return LoadKeyLines(keyx, lines, header, preview);
}

KeyFileResult LoadKeyLines(TKeyX& keyx, const std::vector<std::string>& lines, std::string_view header, bool preview) {
    if (lines.empty() || lines[0] != header) {
        CurrentPrompter().ShowMessage(kKeyFileInvalid);
        return KeyFileResult::Invalid;
    }
    TUserKey& map = keyx.KeyXUserKey;
    map.Clear();
    bool saveAgain = false;
    auto append = [&](const KeyBinding& b) {
        int added = 0;
        for (const KeyAction& a : keyx.Actions()) {
            if (a.id != b.action) continue;
            map.Add() = b;
            ++added;
        }
        return added;
    };
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::optional<KeyBinding> b = ParseBindingLine(lines[i]);
        if (!b) continue;
        if (append(*b) > 0) continue;
        if (keyx.OnUnknownAction) {
            keyx.OnUnknownAction(b->action, saveAgain);
            if (append(*b) > 0) continue;
        }
        if (keyx.KeepUnknownId && keyx.KeepUnknownId(b->action)) map.Add() = *b;
    }
    keyx.RefreshCaptions();
    if (saveAgain && !preview && keyx.OnSaveNeeded) keyx.OnSaveNeeded();
    return KeyFileResult::Loaded;
}

// ---- the dialog's rules ----

std::string CapturedKeyName(int key, unsigned layoutChar) {
    switch (key) {
    case 8: return "BS";
    case 13: return "RETURN";
    case 27: return "";
    case 32: return "[SPACE]";
    case 35: return "END";
    case 36: return "HOME";
    case 38: return "↑";
    case 40: return "↓";
    case 45: return "INS";
    case 46: return "DEL";
    default: break;
    }
    if (key >= 112 && key <= 126) return "F" + std::to_string(key - 111);
    if (layoutChar == ',') return std::string(kFullWidthComma);
    // The layout gives one byte for a key (a half-width kana at most).
    if (layoutChar > 0x20 && layoutChar < 0x100 && layoutChar != 0x7F) return std::string(1, static_cast<char>(layoutChar));
    return "";
}

void UpdateBinding(TUserKey& map, int key, const std::string& name, unsigned char modifiers,
                   std::optional<int> actionId) {
    const int r = map.Find(key, modifiers);
    if (r >= 0) {
        if (!actionId) {
            map.Delete(r);
            return;
        }
        KeyBinding b = map.Get(r);
        b.key = key;
        b.name = name;
        b.action = *actionId;
        b.modifiers = modifiers;
        map.Set(r, b);
    } else if (actionId) {
        KeyBinding& b = map.Add();
        b.key = key;
        b.name = name;
        b.modifiers = modifiers;
        b.action = *actionId;
    }
}

// ---- the three maps ----

const char* EditKeyActionName(int id) { return id >= 0 && id < kEditKeyActionCount ? kEditNames[id] : ""; }
const char* ViewerKeyActionName(int id) { return id >= 0 && id < kViewerKeyActionCount ? kViewerNames[id] : ""; }

std::string FilerKeyFilePath(std::string_view keyCustomFile, std::string_view programDir) {
    return ResolveConfigPath(keyCustomFile, programDir);
}

std::string EditKeyFilePath(std::string_view settingsPath, std::string_view programDir) {
    return ChangeFileExt(ResolveConfigPath(settingsPath, programDir), ".WK");
}

std::string ViewerKeyFilePath(std::string_view settingsPath, std::string_view programDir) {
    return ChangeFileExt(ResolveConfigPath(settingsPath, programDir), ".TVK");
}

std::string EditKeyNotFoundText(std::string_view settingsPath, std::string_view programDir) {
    return ChangeFileExt(ResolveConfigPath(settingsPath, programDir), ".WK") + "ファイルが見つかりません。";
}

std::string ViewerKeyNotFoundText(std::string_view settingsPath, std::string_view programDir) {
    return ChangeFileExt(ResolveConfigPath(settingsPath, programDir), ".tvk") + "ファイルが見つかりません。";
}

void SetUpFilerKeyX(TKeyX& keyx, std::function<int(char letter)> driveType, std::function<void()> save) {
    for (const FilerAction& a : FilerActions()) keyx.AddAction(a.name, a.code, a.code);
    keyx.OnNotFound = [] { CurrentPrompter().ShowMessage(kFilerKeyNotFound); };
    TKeyX* self = &keyx;
    keyx.OnUnknownAction = [self, driveType = std::move(driveType)](int id, bool& saveAgain) {
        if (IsDriveActionCode(id)) {
            // A drive absent at start: its action runs the same drive change.
            const char letter = static_cast<char>('A' + (id - kDriveActionFirst));
            self->AddAction(DriveActionName(letter, driveType ? driveType(letter) : kDriveUnknown), id, id);
        } else if (!IsUserFunctionCode(id)) {
            saveAgain = true;
        }
    };
    // Bindings of user functions stay while the functions are not loaded
    // (a missing or damaged user-definition file must not erase them).
    keyx.KeepUnknownId = [](int id) { return IsUserFunctionCode(id); };
    keyx.OnSaveNeeded = std::move(save);
}

void SetUpEditKeyX(TKeyX& keyx, int commandBase) {
    for (int id = 0; id < kEditKeyActionCount; ++id) keyx.AddAction(kEditNames[id], commandBase + id, id);
}

void SetUpViewerKeyX(TKeyX& keyx, int commandBase) {
    for (int id = 0; id < kViewerKeyActionCount; ++id) keyx.AddAction(kViewerNames[id], commandBase + id, id);
    keyx.OnUnknownAction = [](int, bool& saveAgain) { saveAgain = false; };
}

}  // namespace kestrum
