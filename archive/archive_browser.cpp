// The archive viewer's levels, loaders, opening, going back, extraction and
// automatic walk.
#include "archive/archive_browser.h"

#include <algorithm>

#include "common/prompter.h"
#include "common/sjis.h"
#include "common/wildmatch.h"
#include "config/services.h"
#include "config/session.h"

namespace kestrum {

const char* const kBackRow = ">> 戻る";

namespace {

Prompter& Ask() { return CurrentPrompter(); }
void Say(const std::string& text) { Ask().ShowMessage(text); }

// The open modes the viewer lists with.
constexpr unsigned kLhaListMode = 0x400000;
constexpr unsigned kTarListMode = 0x401101;

// A member name as a path under its working directory: "/" made "\", one
// leading "\" dropped.
std::string MemberPath(const std::string& name) {
    std::string path = SlashesToBackslashes(name);
    if (!path.empty() && path[0] == '\\') path.erase(0, 1);
    return path;
}

// Lists through a library of the LHA kind with its messages.
std::optional<std::vector<MemberInfo>> ListWith(LhaLibrary& lib, const std::string& path, unsigned mode,
                                                const std::string& pattern) {
    if (!lib.OpenArchive(path, mode)) {
        Say("ファイルが開けません");
        return std::nullopt;
    }
    std::vector<MemberInfo> out;
    unsigned char record[kListingRecordSize] = {};
    int r = lib.FindFirst(pattern, record);
    if (r == -1) {
        Say("ファイルが見つかりません");
    } else {
        if (r == 0) {
            out.push_back(ParseListingRecord(record, sizeof record));
        } else {
            Say("エラーです;_;/");
        }
        for (;;) {
            r = lib.FindNext(record);
            if (r == -1) break;
            if (r != 0) {
                Say("エラーです;_;/");
                break;
            }
            out.push_back(ParseListingRecord(record, sizeof record));
        }
    }
    lib.CloseArchive();
    return out;
}

}  // namespace

// ---- the store -------------------------------------------------------------------

int TListingStore::AddLevel(const std::string& archive, ListingKind kind, const std::string& levelDir,
                            const std::vector<MemberInfo>& entries) {
    const int header = static_cast<int>(lines_.size());
    StoreRecord h;
    h.header = true;
    h.kind = kind;
    h.workDir = ExcludeTrailingBackslash(levelDir);
    h.count = static_cast<int>(entries.size());
    lines_.push_back(archive);
    records_.push_back(std::move(h));
    for (const MemberInfo& m : entries) {
        StoreRecord r;
        r.info = m;
        lines_.push_back(ListingLine(m));
        records_.push_back(std::move(r));
    }
    return header;
}

void TListingStore::Clear() {
    lines_.clear();
    records_.clear();
}

// ---- showing and closing -----------------------------------------------------------

TArchiveBrowser::~TArchiveBrowser() { Close(); }

bool TArchiveBrowser::Show(const std::string& arg, bool shift, bool lautoOn) {
    Close();
    fresh_ = true;
    stopped_ = false;
    lastShownInViewer_ = false;
    std::string path = Trim(arg);
    bool plain = shift;
    if (path.size() >= 2 && path[0] == '/' && (path[1] == 'V' || path[1] == 'v')) {
        plain = true;
        path = Trim(std::string_view(path).substr(2));
    }
    autoMode_ = lautoOn && !plain;
    archive_ = path;
    const std::string temp = host_.TempDirectory();
    if (temp.empty()) {
        Say("テンプディレクトリが作れません");
        return false;
    }
    if (LoadLevel(path, temp) < 0) {
        // Nothing could be listed: an empty top level, so the window shows.
        store_.AddLevel(path, KindForListing(path), temp, {});
    }
    start_ = 1;
    cursor_ = 0;
    return true;
}

void TArchiveBrowser::Close() {
    if (store_.Size() > 0 && store_.Record(0).workDirMade) host_.RemoveTree(store_.Record(0).workDir);
    store_.Clear();
    tar_.reset();
    zip_.reset();
    start_ = 1;
    cursor_ = 0;
}

// ---- levels ------------------------------------------------------------------------

std::vector<std::string> TArchiveBrowser::Rows() const {
    std::vector<std::string> rows;
    if (store_.Size() == 0) return rows;
    const int count = store_.Record(static_cast<std::size_t>(Header())).count;
    for (int i = 0; i < count; ++i) rows.push_back(store_.Line(static_cast<std::size_t>(start_ + i)));
    if (Nested()) rows.push_back(kBackRow);
    return rows;
}

void TArchiveBrowser::SetCursor(int row) {
    const int n = static_cast<int>(Rows().size());
    cursor_ = n == 0 ? 0 : std::max(0, std::min(row, n - 1));
}

bool TArchiveBrowser::Nested() const {
    return store_.Size() > 0 && store_.Record(static_cast<std::size_t>(Header())).parentStart >= 0;
}

bool TArchiveBrowser::IsBackRow(int row) const {
    return Nested() && row == store_.Record(static_cast<std::size_t>(Header())).count;
}

std::string TArchiveBrowser::WorkDir() const {
    if (store_.Size() == 0) return {};
    const StoreRecord& h = store_.Record(static_cast<std::size_t>(Header()));
    return h.workDirMade ? h.workDir : std::string();
}

std::string TArchiveBrowser::TopWorkDir() const {
    if (store_.Size() == 0 || !store_.Record(0).workDirMade) return {};
    return store_.Record(0).workDir;
}

int TArchiveBrowser::LoadLevel(const std::string& path, const std::string& levelDir) {
    const ListingKind kind = KindForListing(path);
    const std::optional<std::vector<MemberInfo>> entries = List(path, kind);
    if (!entries) return -1;
    return store_.AddLevel(path, kind, levelDir, *entries);
}

std::optional<std::vector<MemberInfo>> TArchiveBrowser::List(const std::string& path, ListingKind kind) {
    LibraryLoad load = LibraryLoad::Missing;
    switch (kind) {
    case ListingKind::Lha: {
        LhaLibrary* lha = libs_.Lha(load);
        if (!lha) {
            Say(load == LibraryLoad::Missing ? "UNLHA32.DLLがオープンできません"
                                             : "このバージョンのUNLHA32.DLLには対応してません");
            return std::nullopt;
        }
        return ListWith(*lha, path, kLhaListMode, "*.*");
    }
    case ListingKind::Tar: {
        if (!tar_) tar_ = libs_.LoadTar(load);
        if (!tar_) {
            Say(load == LibraryLoad::Missing ? "TAR32.DLLがオープンできません"
                                             : "このバージョンのTar32.DLLには対応してません");
            return std::nullopt;
        }
        if (tar_->GetRunning() != 0) {
            Say("他のアプリがTar32.DLLを使用中です");
            return std::nullopt;
        }
        std::optional<std::vector<MemberInfo>> entries = ListWith(*tar_, path, kTarListMode, "");
        if (entries) {
            // The tar library refuses absolute names: such a member could
            // not be opened, so it is not listed, and that is said.
            std::string left;
            std::erase_if(*entries, [&](const MemberInfo& m) {
                const bool absolute = !m.name.empty() && (m.name[0] == '/' || m.name[0] == '\\' ||
                                                           (m.name.size() >= 2 && m.name[1] == ':'));
                if (absolute) left += "\r\n" + m.name;
                return absolute;
            });
            if (!left.empty()) Say("絶対パスの名前は一覧に出しません:" + left);
        }
        return entries;
    }
    case ListingKind::Zip: {
        if (!zip_) {
            std::string missing;
            zip_ = libs_.LoadZip(load, missing);
            if (!zip_) {
                Say(load == LibraryLoad::Missing ? std::string("AXZIP.SPIがオープンできません")
                                                 : missing + "が見つかりません");
                return std::nullopt;
            }
        }
        const ZipListing listing = ListZip(*zip_, path);
        if (!listing.ok) {
            Say("無効なファイルです");
            return std::nullopt;
        }
        if (listing.damaged) Say(kZipDamaged);
        std::vector<MemberInfo> out;
        for (const PluginEntry& e : listing.entries) {
            if (e.fileName.empty()) continue;
            MemberInfo m;
            m.name = e.path.empty() || EndsWithBackslash(e.path) ? e.path + e.fileName : e.path + "\\" + e.fileName;
            m.compressedSize = e.compressedSize;
            m.uncompressedSize = e.uncompressedSize;
            m.position = e.position;
            m.ratio = RatioPerMille(e.compressedSize, e.uncompressedSize);
            const CivilTime t = host_.LocalTime(e.timestamp);
            m.year = t.year;
            m.month = t.month;
            m.day = t.day;
            m.hour = t.hour;
            m.minute = t.minute;
            out.push_back(std::move(m));
        }
        return out;
    }
    }
    return std::nullopt;
}

// ---- opening -----------------------------------------------------------------------

bool TArchiveBrowser::ExtractMember(int header, const StoreRecord& entry, const std::string& dir) {
    const StoreRecord& h = store_.Record(static_cast<std::size_t>(header));
    const std::string& archive = store_.Line(static_cast<std::size_t>(header));
    switch (h.kind) {
    case ListingKind::Lha: {
        // Whatever the LHA loader listed is extracted by the LHA library,
        // whatever the archive's extension.
        LibraryLoad load = LibraryLoad::Missing;
        LhaLibrary* lha = libs_.Lha(load);
        return lha && lha->Run(LhaMemberCommand(archive, dir, entry.info.name), nullptr, 0) == 0;
    }
    case ListingKind::Zip: {
        if (!zip_) return false;
        const std::string sub = ExtractFilePath(MemberPath(entry.info.name));
        return zip_->GetFile(archive, static_cast<long>(entry.info.position), dir + "\\" + sub) == 0;
    }
    case ListingKind::Tar:
        if (!tar_) return false;
        if (tar_->GetRunning() != 0) {
            Say("他のアプリケーションがTar32.DLLを使ってます");
            return false;
        }
        return tar_->Run(TarMemberCommand(archive, dir, entry.info.name), nullptr, 0) == 0;
    }
    return false;
}

bool TArchiveBrowser::Prepare(int entry, std::string& path, bool& closeViewer) {
    path.clear();
    StoreRecord& e = store_.Record(static_cast<std::size_t>(entry));
    const std::string name = MemberPath(e.info.name);
    if (name.empty() || EndsWithBackslash(name)) return false;  // a directory
    if (!SafeMemberPath(name)) {
        Say("展開先の外を指す名前です: " + e.info.name);
        return false;
    }
    StoreRecord& h = store_.Record(static_cast<std::size_t>(Header()));
    if (!h.workDirMade) {
        const std::string dir = host_.MakeTempDir(h.workDir + "\\kad");
        if (dir.empty()) {
            Say("テンプディレクトリが作れません");
            if (autoMode_) {
                stopped_ = true;
            } else {
                closeViewer = true;
            }
            return false;
        }
        h.workDir = dir;
        h.workDirMade = true;
    }
    if (!e.extracted && ExtractMember(Header(), e, h.workDir)) e.extracted = true;
    path = h.workDir + "\\" + name;
    return true;
}

bool TArchiveBrowser::OpenNested(int entry, const std::string& path) {
    StoreRecord& e = store_.Record(static_cast<std::size_t>(entry));
    int header = e.nestedLevel;
    if (header < 0) {
        const std::string levelDir = store_.Record(static_cast<std::size_t>(Header())).workDir;
        const int parentStart = start_;
        header = LoadLevel(path, levelDir);
        if (header < 0 || store_.Record(static_cast<std::size_t>(header)).count == 0) return false;
        StoreRecord& h = store_.Record(static_cast<std::size_t>(header));
        h.parentStart = parentStart;
        h.parentEntry = entry;
        store_.Record(static_cast<std::size_t>(entry)).nestedLevel = header;
    }
    start_ = header + 1;
    cursor_ = 0;
    fresh_ = true;
    if (autoMode_) host_.PostAutoStep();
    return true;
}

void TArchiveBrowser::Open(int row, bool& closeViewer) {
    if (IsBackRow(row)) {
        GoBack();
        return;
    }
    const int count = store_.Record(static_cast<std::size_t>(Header())).count;
    if (row < 0 || row >= count) return;
    const int entry = EntryIndex(row);
    std::string path;
    if (!Prepare(entry, path, closeViewer)) return;
    if (IsNestedArchiveName(path)) {
        OpenNested(entry, path);
        return;
    }
    const int result = host_.Launch(path);
    lastShownInViewer_ = result == 1 || result == 3;
}

bool TArchiveBrowser::ItemSelected(int row, int mode) {
    bool closeViewer = false;
    if (mode == 0) {
        Open(row, closeViewer);
        return !closeViewer;
    }
    if (IsBackRow(row) || row < 0 || row >= static_cast<int>(Rows().size())) return true;
    std::string path;
    if (Prepare(EntryIndex(row), path, closeViewer)) host_.RunCommand(TheSession().settings.viewer + " " + path);
    return !closeViewer;
}

bool TArchiveBrowser::GoBack() {
    if (!Nested()) return false;
    const StoreRecord& h = store_.Record(static_cast<std::size_t>(Header()));
    const int entry = h.parentEntry;
    start_ = h.parentStart;
    cursor_ = entry - start_;
    return true;
}

void TArchiveBrowser::ExtractRows(const std::vector<int>& rows) {
    LineQuestion q;
    q.title = "展開します";
    q.prompt = "展開先のディレクトリを入れて下さい";
    q.mode = amPlainHistory;
    q.history = &TheSession().lists.dirHistory;
    if (!Ask().AskLine(q)) return;
    std::string target = Unquoted(q.text);
    if (target.empty()) target = ".";
    if (!host_.EnsureDirectory(target)) return;
    std::vector<int> chosen = rows;
    if (chosen.empty()) chosen.push_back(cursor_);
    std::string list;
    const int count = store_.Record(static_cast<std::size_t>(Header())).count;
    for (int row : chosen) {
        if (row < 0 || row >= count) continue;
        std::string path;
        bool closeViewer = false;
        if (!Prepare(EntryIndex(row), path, closeViewer)) {
            if (closeViewer) return;
            continue;
        }
        list += path;
        list += '\0';
    }
    if (list.empty()) return;
    host_.CopyListTo(list, target);
    TheFiler().RefreshListing();
}

// ---- the automatic walk ---------------------------------------------------------

bool TArchiveBrowser::AutoStep(bool f8Down) {
    if (f8Down) {
        stopped_ = true;
        lastShownInViewer_ = true;
        return true;
    }
    if (stopped_) {
        lastShownInViewer_ = true;
        return true;
    }
    const std::vector<std::string>& patterns = TheSession().lautoList;
    for (;;) {
        const int rowCount = static_cast<int>(Rows().size());
        const int count = store_.Record(static_cast<std::size_t>(Header())).count;
        if (cursor_ >= rowCount - 1 && !fresh_) {
            stopped_ = true;
            break;
        }
        if (fresh_) {
            fresh_ = false;
        } else {
            ++cursor_;
        }
        int first = -1;
        for (int row = cursor_; row < count; ++row) {
            const std::string& name = store_.Record(static_cast<std::size_t>(EntryIndex(row))).info.name;
            bool match = false;
            for (const std::string& p : patterns) {
                if (WildMatch(name, p) || WildMatch(ExtractFileName(MemberPath(name)), p)) {
                    match = true;
                    break;
                }
            }
            if (!match) continue;
            if (first < 0) {
                first = row;
                cursor_ = row;
                continue;
            }
            // More matches remain: open the first and wait for the next step.
            bool closeViewer = false;
            Open(first, closeViewer);
            return stopped_ && lastShownInViewer_;
        }
        if (first >= 0) {
            const bool top = !Nested();
            bool closeViewer = false;
            Open(first, closeViewer);
            // The last match of the top level ends the walk, unless it
            // was an archive that the walk has just gone into.
            if (top && !Nested()) stopped_ = true;
            break;
        }
        if (!Nested()) {
            stopped_ = true;
            lastShownInViewer_ = true;
            break;
        }
        GoBack();
    }
    return stopped_ && lastShownInViewer_;
}

}  // namespace kestrum
