// The filer's key routes, Escape, associations and the names it hands on.
#include "filer/filer_routes.h"

#include <algorithm>

#include "common/sjis.h"
#include "common/split.h"
#include "filer/filer_commands.h"

namespace kestrum {

int NormalisedKey(int key) { return key >= kFilerKeyNumpad0 && key <= kFilerKeyNumpad9 ? '0' + (key - kFilerKeyNumpad0) : key; }

BuiltInKey RouteBuiltInKey(int key, bool ctrl, bool alt) {
    using Kind = BuiltInKey::Kind;
    if (ctrl && key >= 'A' && key <= 'Z') return {Kind::FindInitial, key};
    switch (key) {
    case kFilerKeyPrior: return {Kind::PreviousPage};
    case kFilerKeyNext: return {Kind::NextPage};
    case kFilerKeyLeft: return {Kind::Left};
    case kFilerKeyRight: return {Kind::Right};
    case kFilerKeyUp: return {Kind::Up};
    case kFilerKeyDown: return {ctrl ? Kind::ToCommandLine : Kind::Down};
    case kFilerKeyEscape: return {Kind::Escape};
    default: break;
    }
    if (key >= kFilerKeyF1 && key <= kFilerKeyF1 + 14 && !(key == kFilerKeyF4 && alt)) return {Kind::FunctionKey, key - kFilerKeyF1};
    return {};
}

EscapeOutcome EscapeFor(const Settings& settings, bool inCommandLine, bool shellPresent) {
    if (settings.filerEscMode != 1 && inCommandLine) return EscapeOutcome::ClearCommandLine;
    if (settings.fescHide) return settings.taskTray && shellPresent ? EscapeOutcome::HotKeyToggle : EscapeOutcome::Hide;
    return settings.fmEscMode ? EscapeOutcome::AskThenClose : EscapeOutcome::Close;
}

DropPlace DropPlaceFor(int y, int commandLineTop, int gridTop) {
    if (y >= commandLineTop) return DropPlace::CommandLine;
    return y >= gridTop ? DropPlace::Grid : DropPlace::Bars;
}

std::string DroppedText(const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& p : paths) text += " " + p + " ";
    return text;
}

namespace {

// The extension of a name without its dot.
std::string BareExt(const std::string& name) {
    std::string ext = ExtractFileExt(name);
    if (!ext.empty()) ext.erase(0, 1);
    return ext;
}

// The association entry for an extension (without dot) in a table.
const ExtEntry* FindExt(const std::vector<ExtEntry>& table, const std::string& ext) {
    for (const ExtEntry& e : table) {
        const std::string key = !e.ext.empty() && e.ext[0] == '.' ? e.ext.substr(1) : e.ext;
        if (SameText(key, ext)) return &e;
    }
    return nullptr;
}

std::vector<std::string> CommandsOf(const std::vector<ExtEntry>& table, const std::string& ext) {
    std::vector<std::string> out;
    const ExtEntry* e = FindExt(table, ext);
    if (!e) return out;
    for (int i = 0;; ++i) {
        const std::optional<std::string> c = SplitField(',', e->command, i);
        if (!c) break;
        if (!Trim(*c).empty()) out.push_back(Trim(*c));
    }
    return out;
}

}  // namespace

bool HasAssociation(const Session& session, const std::string& file) {
    const std::string ext = BareExt(file);
    return FindExt(session.setExt, ext) || FindExt(session.lists.ext, ext);
}

Candidates AssociationCandidates(const Session& session, const std::string& file) {
    const std::string ext = BareExt(file);
    return Candidates{CommandsOf(session.setExt, ext), CommandsOf(session.lists.ext, ext)};
}

std::string SelectionClipboardText(const FileListModel& model, const std::string& dir, bool full, bool withSizes,
                                   DisplayOptions options) {
    if (model.Count() == 0) return std::string();
    options.mode = 1;
    options.columnChars = full ? std::max<int>(80 - static_cast<int>(dir.size()), 1) : 80;
    std::string text;
    for (std::size_t i : Selection(model)) {
        std::string line = withSizes ? ListText(model.Record(i), options) : std::string(model.Name(i));
        // The list text starts with the mark position.
        if (withSizes && !line.empty()) line.erase(0, 1);
        text += (full ? dir : std::string()) + line + "\r\n";
    }
    if (model.MarkedCount() == 0 && text.size() >= 2) text.resize(text.size() - 2);
    return text;
}

std::vector<std::string> SelectionPaths(const FileListModel& model, const std::string& dir) {
    std::vector<std::string> paths;
    for (std::size_t i : Selection(model)) paths.push_back(dir + std::string(model.Name(i)));
    return paths;
}

std::vector<std::string> DateChangePaths(const FileListModel& model, const std::string& dir, bool& hadDirectory) {
    std::vector<std::string> paths;
    hadDirectory = false;
    for (std::size_t i : Selection(model)) {
        if (model.IsDirectory(i)) {
            hadDirectory = true;
        } else {
            paths.push_back(dir + std::string(model.Name(i)));
        }
    }
    return paths;
}

std::string DuplicateProposal(const Session& session, const std::string& name, bool marked) {
    if (!marked && !session.settings.backupName.empty()) return session.settings.backupName;
    return ChangeFileExt(name, ".BAK");
}

std::string InDirectory(const std::string& dir, const std::string& name) {
    return name.size() > 1 && name[1] == ':' ? name : dir + name;
}

}  // namespace kestrum
