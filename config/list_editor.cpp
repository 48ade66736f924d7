// The settings-menu editors: selection rules, moves, validation, the line
// questions of the change buttons and writing the sections back.
#include "config/list_editor.h"

#include "common/prompter.h"
#include "common/sjis.h"
#include "config/aliases.h"
#include "config/settings_file.h"

namespace kestrum {

namespace {

bool SaveSection(const Session& state, const char* section, const std::vector<std::string>& lines) {
    TSettingsFile file(state.settingsPath, state.settings.semicolonMode);
    file.WriteListSection(section, lines);
    return file.SaveOrSay();
}

// The first character of a trimmed text, when it is a single byte.
std::string SingleByteKey(const std::string& text) {
    const std::string t = Trim(text);
    if (t.empty() || CharLen(t, 0) != 1) return std::string();
    return t.substr(0, 1);
}

template <class T>
void EraseAt(std::vector<T>& v, std::size_t i) {
    if (i < v.size()) v.erase(v.begin() + static_cast<std::ptrdiff_t>(i));
}

}  // namespace

// ---- shared list editor -------------------------------------------------

std::vector<std::string> TListEditorModel::Rows() const {
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < Count(); ++i) rows.push_back(Row(i));
    return rows;
}

void TListEditorModel::Select(int i) {
    selected_ = (i >= 0 && static_cast<std::size_t>(i) < Count()) ? i : -1;
}

bool TListEditorModel::Up() {
    if (selected_ <= 0 || static_cast<std::size_t>(selected_) >= Count()) return false;
    return Drag(static_cast<std::size_t>(selected_), static_cast<std::size_t>(selected_ - 1));
}

bool TListEditorModel::Down() {
    if (selected_ < 0 || static_cast<std::size_t>(selected_) + 1 >= Count()) return false;
    return Drag(static_cast<std::size_t>(selected_), static_cast<std::size_t>(selected_ + 1));
}

bool TListEditorModel::DeleteSelected() {
    if (selected_ < 0 || static_cast<std::size_t>(selected_) >= Count()) return false;
    Remove(static_cast<std::size_t>(selected_));
    const int count = static_cast<int>(Count());
    Select(selected_ < count ? selected_ : count - 1);
    return true;
}

bool TListEditorModel::Drag(std::size_t from, std::size_t to) {
    if (from >= Count() || to >= Count() || from == to) return false;
    Move(from, to);
    selected_ = static_cast<int>(to);
    return true;
}

// ---- aliases --------------------------------------------------------------

TAliasEditor::TAliasEditor(Session& state) : state_(state), aliases_(state.lists.aliases) {}

std::string TAliasEditor::Caption() const { return "エイリアス編集"; }

void TAliasEditor::Move(std::size_t from, std::size_t to) { MoveItem(aliases_, from, to); }

void TAliasEditor::Remove(std::size_t i) { EraseAt(aliases_, i); }

bool TAliasEditor::Commit() {
    state_.lists.aliases = aliases_;
    return SaveAliases(state_);
}

AliasEntry TAliasEditor::Draft(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= aliases_.size()) return AliasEntry{};
    return aliases_[static_cast<std::size_t>(index)];
}

bool TAliasEditor::AskExpansion(std::string& text) const {
    LineQuestion q;
    q.title = "エイリアス::ファイル名";
    q.prompt = "ファイル名を入れてください\r\nオプションも同時に指定出来ます";
    q.text = text;
    q.mode = amFreeText;
    q.history = &state_.lists.exeHistory;
    if (!CurrentPrompter().AskLine(q)) return false;
    text = q.text;
    return true;
}

bool TAliasEditor::AskDirectory(std::string& text) const {
    LineQuestion q;
    q.title = "エイリアス::起動ディレクトリ";
    q.prompt = "起動ディレクトリを入力してください";
    q.text = text;
    q.history = &state_.lists.dirHistory;
    if (!CurrentPrompter().AskLine(q)) return false;
    text = q.text;
    return true;
}

bool TAliasEditor::Validate(AliasEntry& entry) {
    entry.name = Trim(entry.name);
    entry.expansion = Trim(entry.expansion);
    entry.directory = Trim(entry.directory);
    if (entry.name.empty()) {
        CurrentPrompter().ShowMessage("エイリアス名が入力されていません");
        return false;
    }
    if (entry.expansion.empty()) {
        CurrentPrompter().ShowMessage("ファイル名が入力されていません");
        return false;
    }
    return true;
}

void TAliasEditor::Store(int index, const AliasEntry& entry) {
    if (index >= 0 && static_cast<std::size_t>(index) < aliases_.size()) {
        aliases_[static_cast<std::size_t>(index)] = entry;
        Select(index);
    } else {
        aliases_.push_back(entry);
        Select(static_cast<int>(aliases_.size()) - 1);
    }
}

// ---- directory lists --------------------------------------------------------

TDirListEditor::TDirListEditor(Session& state, Which which)
    : state_(state),
      which_(which),
      entries_(which == Which::LogList ? state.lists.logList : state.lists.copyList) {}

std::string TDirListEditor::Caption() const {
    return which_ == Which::LogList ? "ディレクトリ変更先リスト" : "コピー先ディレクトリリスト";
}

const char* TDirListEditor::Section() const { return which_ == Which::LogList ? "LOGDISKLIST" : "COPYDIRLIST"; }

void TDirListEditor::Move(std::size_t from, std::size_t to) { MoveItem(entries_, from, to); }

void TDirListEditor::Remove(std::size_t i) { EraseAt(entries_, i); }

bool TDirListEditor::Commit() {
    (which_ == Which::LogList ? state_.lists.logList : state_.lists.copyList) = entries_;
    std::vector<std::string> lines;
    for (const std::string& e : entries_) lines.push_back(SectionLine(e));
    return SaveSection(state_, Section(), lines);
}

DirListEntry TDirListEditor::Draft(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return DirListEntry{std::string(), "1"};
    return SplitEntry(entries_[static_cast<std::size_t>(index)]);
}

bool TDirListEditor::AskDirectory(std::string& text) const {
    LineQuestion q;
    q.title = "変更するディレクトリリスト";
    q.prompt = "ディレクトリ名を入力してください";
    q.text = text;
    q.history = &state_.lists.dirHistory;
    if (!CurrentPrompter().AskLine(q)) return false;
    text = q.text;
    return true;
}

std::string TDirListEditor::KeyFromTyped(unsigned char typed) {
    // Control characters, the blank and lead bytes are no keys.
    if (typed <= 0x20 || typed == 0x7F || IsLeadByte(typed)) return std::string();
    return std::string(1, static_cast<char>(typed));
}

bool TDirListEditor::Validate(DirListEntry& entry) {
    entry.directory = Trim(entry.directory);
    entry.key = SingleByteKey(entry.key);
    if (entry.directory.empty()) {
        CurrentPrompter().ShowMessage("ディレクトリ名が入力されていません");
        return false;
    }
    if (entry.key.empty()) {
        CurrentPrompter().ShowMessage("呼び出しキーが入力されていません");
        return false;
    }
    return true;
}

void TDirListEditor::Store(int index, const DirListEntry& entry) {
    const std::string kept = EntryText(entry);
    if (index >= 0 && static_cast<std::size_t>(index) < entries_.size()) {
        entries_[static_cast<std::size_t>(index)] = kept;
        Select(index);
    } else {
        entries_.push_back(kept);
        Select(static_cast<int>(entries_.size()) - 1);
    }
}

std::string TDirListEditor::EntryText(const DirListEntry& e) { return UpperAscii(e.key) + " " + e.directory; }

DirListEntry TDirListEditor::SplitEntry(const std::string& kept) {
    DirListEntry e;
    if (kept.empty()) return e;
    const std::size_t keyLen = CharLen(kept, 0);
    e.key = kept.substr(0, keyLen);
    std::size_t dir = keyLen;
    if (dir < kept.size() && kept[dir] == ' ') ++dir;
    e.directory = kept.substr(dir);
    return e;
}

std::string TDirListEditor::SectionLine(const std::string& kept) {
    const DirListEntry e = SplitEntry(kept);
    return e.directory + "," + UpperAscii(e.key);
}

// ---- function keys ------------------------------------------------------------

TFunctionEditor::TFunctionEditor(Session& state) : state_(state) {
    for (const FunctionKey& k : state.lists.functions) {
        titles_.push_back(BareTitle(k.title));
        commands_.push_back(k.command);
        kept_.push_back(k.title);
    }
}

std::string TFunctionEditor::Caption() const { return "ファンクションのカスタマイズ"; }

void TFunctionEditor::Move(std::size_t from, std::size_t to) {
    if (MoveItem(titles_, from, to)) {
        MoveItem(commands_, from, to);
        MoveItem(kept_, from, to);
    }
}

void TFunctionEditor::Remove(std::size_t i) {
    EraseAt(titles_, i);
    EraseAt(commands_, i);
    EraseAt(kept_, i);
}

bool TFunctionEditor::CanAdd() const { return titles_.size() < static_cast<std::size_t>(kFunctionKeyCount); }

bool TFunctionEditor::Commit() {
    std::vector<FunctionKey> keys;
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < titles_.size(); ++i) {
        // A title not edited here is written as it was read (one without
        // brackets, or none at all, stays so).
        const bool same = BareTitle(kept_[i]) == titles_[i];
        keys.push_back({same ? kept_[i] : "[" + titles_[i] + "]", commands_[i]});
        lines.push_back(FormatFunctionLine(keys.back()));
    }
    state_.lists.functions = keys;
    return SaveSection(state_, "FUNCTION", lines);
}

std::string TFunctionEditor::BareTitle(const std::string& title) {
    const std::size_t last = title.size() - 1;
    if (title.size() < 2 || title.front() != '[' || title[last] != ']' || !IsCharBoundary(title, last)) return title;
    return title.substr(1, last - 1);
}

std::string TFunctionEditor::EntryCaption(int index) const {
    const std::size_t n =
        (index >= 0 && static_cast<std::size_t>(index) < titles_.size()) ? static_cast<std::size_t>(index) : titles_.size();
    return "ファンクション" + std::to_string(n + 1) + "の設定";
}

std::string TFunctionEditor::Draft(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= titles_.size()) return std::string();
    return titles_[static_cast<std::size_t>(index)];
}

bool TFunctionEditor::Validate(std::string& title) {
    title = Trim(title);
    if (title.empty()) {
        CurrentPrompter().ShowMessage("タイトルが入力されていません");
        return false;
    }
    return true;
}

void TFunctionEditor::Store(int index, const std::string& title) {
    if (index >= 0 && static_cast<std::size_t>(index) < titles_.size()) {
        titles_[static_cast<std::size_t>(index)] = title;
        Select(index);
    } else if (CanAdd()) {
        titles_.push_back(title);
        commands_.emplace_back();
        kept_.emplace_back();
        Select(static_cast<int>(titles_.size()) - 1);
    }
}

}  // namespace kestrum
