// The filer's listing of one directory: entries with their marks and list
// texts, the page and cursor arithmetic, the marked-size total and the
// status texts. No windows: the display and the platform's directory
// search feed it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "config/mask.h"

namespace kestrum {

inline constexpr std::uint32_t kAttrReadOnly = 0x01;
inline constexpr std::uint32_t kAttrHidden = 0x02;
inline constexpr std::uint32_t kAttrSystem = 0x04;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrReparsePoint = 0x400;

// One directory-search result. Times are the platform's 64-bit file times
// (100 ns units since 1601, UTC); the size is the full 64-bit size.
struct FindRecord {
    std::uint32_t attributes = 0;
    std::uint64_t creationTime = 0;
    std::uint64_t lastAccessTime = 0;
    std::uint64_t lastWriteTime = 0;
    std::uint64_t size = 0;
    std::string name;
    std::string altName;

    bool IsDirectory() const { return (attributes & kAttrDirectory) != 0; }
    bool IsDots() const { return name == "." || name == ".."; }
};

struct FileEntry {
    bool marked = false;
    FindRecord find;
    std::string text;  // list text; its first character is the mark ("*" or " ")
};

// How entries are turned into texts.
struct DisplayOptions {
    int mode = 0;            // 0 names only, 1 name, size and date
    int columnChars = 18;    // W: characters of the list text
    bool folderStyle = true; // directories as <name>
    int fileNameStyle = 0;   // 0 as is, 1 upper case, 2 lower case
    // Local time of a file time (the platform converts).
    std::function<LocalDate(std::uint64_t, int*)> localTime;  // second out: minute
};

std::string NameText(const FindRecord& f, const DisplayOptions& o);
// Size (files only, "%9d " widened for larger sizes) and "yy/mm/dd hh:mm".
std::string SizeDateText(const FindRecord& f, const DisplayOptions& o);
std::string ListText(const FindRecord& f, const DisplayOptions& o);

// "#,##": thousands separators, and nothing at all for 0.
std::string FormatThousands(long long value);

class FileListModel {
public:
    // What the add rule needs besides the search result.
    struct AddRules {
        bool hiddenFiles = true;
        const std::vector<std::string>* masks = nullptr;
    };

    void Clear();
    // Offers one search result: hidden entries only with hiddenFiles, every
    // directory, and files that a mask accepts. True when it was added.
    bool Offer(const FindRecord& f, const AddRules& rules, const DisplayOptions& o);
    void RebuildTexts(const DisplayOptions& o);

    std::size_t Count() const { return entries_.size(); }
    const FileEntry& Entry(std::size_t i) const { return entries_[i]; }
    std::vector<FileEntry>& Entries() { return entries_; }

    // Grid geometry: both at least 1 (a tiny window must not divide by zero).
    void SetGrid(int rows, int cols);
    int Rows() const { return rows_; }
    int Cols() const { return cols_; }
    long long PageSize() const { return static_cast<long long>(rows_) * cols_; }
    long long PageTop() const { return pageTop_; }
    long long PageBottom() const { return pageBottom_; }
    int CursorCol() const { return cursorCol_; }
    int CursorRow() const { return cursorRow_; }
    long long CursorIndex() const;
    long long Anchor() const { return anchor_; }
    void SetAnchor(long long a) { anchor_ = a; }

    void PlaceCursor(long long index);
    bool PageBack();
    bool PageForward();
    // Moves the cursor cell within the page; a cell past the last entry
    // snaps to cell 0 of the page.
    void SetCursorCell(int col, int row);
    // The scroll-bar position of the current page (10 units a page).
    long long ScrollPosition() const { return PageSize() > 0 ? pageTop_ / PageSize() * 10 : 0; }

    // The entry where the cursor starts after a listing: the directory just
    // left (by name, the last match, consumed), else ".." at index 1, else 0.
    long long StartingCursor(std::string& returningFrom) const;

    // Marks or unmarks entry i ("." and ".." never). A directory counts the
    // size of its contents (contentSize), a file its size rounded up to
    // whole clusters. Returns the size delta applied.
    long long SetMark(std::size_t i, bool marked, const std::function<long long(const FindRecord&)>& contentSize);
    std::size_t MarkedCount() const;
    long long MarkedTotal() const { return markedTotal_; }
    void SetClusterSize(long long bytes) { clusterSize_ = bytes > 0 ? bytes : 1; }
    long long ClusterSize() const { return clusterSize_; }
    long long RoundToCluster(long long size) const;

    // Marked-size label text: "Size" + "%15s" of the total + " ".
    std::string MarkedSizeText() const;
    // "marked/count " for the count box.
    std::string CountText() const;

private:
    void RecomputeBottom();

    std::vector<FileEntry> entries_;
    int rows_ = 1;
    int cols_ = 1;
    long long pageTop_ = 0;
    long long pageBottom_ = -1;
    int cursorCol_ = 0;
    int cursorRow_ = 0;
    long long anchor_ = 0;
    long long markedTotal_ = 0;
    long long clusterSize_ = 1;
};

// Does a date condition ("1"/"2" + packed date) accept the record?
bool MaskAccepts(const std::string& mask, const FindRecord& f,
                 const std::function<LocalDate(std::uint64_t, int*)>& localTime);

}  // namespace kestrum
