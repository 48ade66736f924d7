// Directory tree model: lazy levels, placeholders, paths and the path walk.
#include "filer/dir_tree.h"

#include <algorithm>

#include "common/sjis.h"

namespace kestrum {

namespace {

bool IsSubdirectory(const FindRecord& r) { return r.IsDirectory() && !r.IsDots(); }

bool NameLess(const std::string& a, const std::string& b) {
    const std::string ua = UpperAscii(a);
    const std::string ub = UpperAscii(b);
    if (ua != ub) return ua < ub;  // byte order, as unsigned bytes
    return a < b;
}

// The components of a path after its drive, split at "\" character-wise.
std::vector<std::string> Components(std::string_view rest) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos <= rest.size()) {
        std::size_t next = FindChar(rest, '\\', pos);
        if (next == std::string_view::npos) next = rest.size();
        if (next > pos) out.emplace_back(rest.substr(pos, next - pos));
        pos = next + 1;
    }
    return out;
}

}  // namespace

void TDirTreeModel::Clear() {
    nodes_.clear();
    top_.clear();
    root_ = -1;
    drive_ = 0;
}

void TDirTreeModel::Load(char drive, bool showDrive) {
    Clear();
    drive_ = (drive >= 'a' && drive <= 'z') ? static_cast<char>(drive - 'a' + 'A') : drive;
    showDrive_ = showDrive;
    const std::string driveText = std::string(1, drive_) + ":";
    if (showDrive_) root_ = AddNode(DirNodeKind::Drive, driveText, -1);
    AddSubdirectories(root_, driveText);
}

const std::vector<int>& TDirTreeModel::Children(int id) const {
    return id < 0 ? top_ : Node(id).children;
}

int TDirTreeModel::AddNode(DirNodeKind kind, std::string text, int parent) {
    const int id = static_cast<int>(nodes_.size());
    DirNode n;
    n.kind = kind;
    n.text = std::move(text);
    n.parent = parent;
    nodes_.push_back(std::move(n));
    if (parent < 0) {
        top_.push_back(id);
    } else {
        nodes_[static_cast<std::size_t>(parent)].children.push_back(id);
    }
    return id;
}

bool TDirTreeModel::HasSubdirectory(const std::string& path) {
    const std::vector<FindRecord> found = fs_.Find(SearchPattern(path));
    return std::any_of(found.begin(), found.end(), IsSubdirectory);
}

int TDirTreeModel::AddSubdirectories(int parent, const std::string& path) {
    std::vector<FindRecord> dirs;
    for (FindRecord& r : fs_.Find(SearchPattern(path))) {
        if (IsSubdirectory(r)) dirs.push_back(std::move(r));
    }
    std::sort(dirs.begin(), dirs.end(), [](const FindRecord& a, const FindRecord& b) { return NameLess(a.name, b.name); });
    const std::string base = ExcludeTrailingBackslash(path) + "\\";
    for (const FindRecord& r : dirs) {
        const int id = AddNode(DirNodeKind::Directory, r.name, parent);
        // A junction or symbolic link may point anywhere, even above
        // itself: it is offered as it is and never searched.
        if ((r.attributes & kAttrReparsePoint) != 0) {
            nodes_[static_cast<std::size_t>(id)].reparsePoint = true;
            continue;
        }
        if (HasSubdirectory(base + r.name)) AddNode(DirNodeKind::Placeholder, kPlaceholderText, id);
    }
    return static_cast<int>(dirs.size());
}

bool TDirTreeModel::HasPlaceholder(int id) const {
    const std::vector<int>& c = Children(id);
    return !c.empty() && Node(c.front()).kind == DirNodeKind::Placeholder;
}

bool TDirTreeModel::Expand(int id) {
    if (id < 0 || !HasPlaceholder(id)) return false;
    DirNode& n = nodes_[static_cast<std::size_t>(id)];
    nodes_[static_cast<std::size_t>(n.children.front())].removed = true;
    n.children.erase(n.children.begin());
    AddSubdirectories(id, PathOf(id));
    return true;
}

std::string TDirTreeModel::PathOf(int id) const {
    std::vector<int> chain;
    for (int i = id; i >= 0; i = Node(i).parent) chain.push_back(i);
    std::string out(1, drive_);
    out += ':';
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const DirNode& n = Node(*it);
        if (n.kind == DirNodeKind::Drive) continue;
        out += '\\';
        out += n.text;
    }
    return out;
}

DirLocation TDirTreeModel::Locate(std::string_view dir) {
    DirLocation loc;
    if (drive_ == 0 || DriveOfPath(dir) != drive_) return loc;
    const std::vector<std::string> parts = Components(dir.substr(2));
    if (parts.empty()) {
        loc.driveRoot = true;
        if (root_ >= 0) {
            loc.node = root_;
            loc.exact = true;
            loc.chain.push_back(root_);
        }
        return loc;
    }
    // Each level is matched as a whole name, so that WORK is not taken for
    // the start of WORKS and a name is never cut inside a character.
    int parent = root_;
    if (root_ >= 0) loc.chain.push_back(root_);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) Expand(parent);
        int found = -1;
        for (int c : Children(parent)) {
            const DirNode& n = Node(c);
            if (n.kind == DirNodeKind::Directory && SameText(n.text, parts[i])) {
                found = c;
                break;
            }
        }
        if (found < 0) break;
        loc.chain.push_back(found);
        loc.node = found;
        loc.exact = i + 1 == parts.size();
        parent = found;
    }
    if (loc.node < 0) loc.chain.clear();
    return loc;
}

std::string SearchPattern(std::string_view dir) { return IncludeTrailingBackslash(dir) + "*.*"; }

std::string ListingDir(std::string_view path) { return IncludeTrailingBackslash(path); }

std::vector<std::string> FilesShown(FileSystem& fs, std::string_view path) {
    std::vector<std::string> names;
    for (FindRecord& r : fs.Find(SearchPattern(ListingDir(path)))) {
        if (!r.IsDirectory()) names.push_back(std::move(r.name));
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return UpperAscii(a) < UpperAscii(b);
    });
    return names;
}

std::string PickedDir(std::string_view path) {
    if (path.size() == 2 && path[1] == ':') return std::string(path) + "\\";
    return std::string(path);
}

char DriveOfPath(std::string_view path) {
    if (path.size() < 2 || path[1] != ':') return 0;
    const char c = path[0];
    if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z') return c;
    return 0;
}

int KeypadToDigit(int vk) {
    constexpr int kNumpad0 = 0x60;
    return vk >= kNumpad0 && vk <= kNumpad0 + 9 ? vk - kNumpad0 + '0' : vk;
}

char DriveOfAction(int action) {
    return action >= kActionDriveA && action <= kActionDriveZ ? static_cast<char>('A' + action - kActionDriveA) : 0;
}

char DriveOfAnswer(std::string_view answer) {
    if (answer.empty()) return 0;
    const char c = answer[0];
    if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z') return c;
    return 0;
}

}  // namespace kestrum
