// The filer's listing of one directory: entries with their marks and list
// texts, the page and cursor arithmetic, the marked-size total and the
// status texts. No windows: the display and the platform's directory
// search feed it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/file_system.h"
#include "config/mask.h"

namespace kestrum {

// One entry with everything about it; the listing model hands these out
// made on demand.
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

    FileListModel() = default;
    FileListModel(FileListModel&& other) noexcept;
    FileListModel& operator=(FileListModel&& other) noexcept;
    FileListModel(const FileListModel& other);
    FileListModel& operator=(const FileListModel& other);

    void Clear();
    // Offers one search result: hidden entries only with hiddenFiles, every
    // directory, and files that a mask accepts. True when it was added.
    // The model keeps the name, attributes, size and last-write time of an
    // entry, nothing else of the record, and allocates nothing per entry:
    // records live in blocks, names in a shared store. The first entry
    // offered after Clear sets the options the list texts are made with.
    bool Offer(const FindRecord& f, const AddRules& rules, const DisplayOptions& o);
    // The options the list texts are made with from now on. No text is
    // stored: a text is made when it is asked for.
    void RebuildTexts(const DisplayOptions& o);

    std::size_t Count() const { return count_; }
    // Entry i as a whole, made on each call: its record (the kept fields),
    // its mark and its list text. Loops over every entry use the accessors
    // below, which make nothing.
    FileEntry Entry(std::size_t i) const;
    FindRecord Record(std::size_t i) const;
    std::string Text(std::size_t i) const;
    std::string_view Name(std::size_t i) const;
    std::uint32_t Attributes(std::size_t i) const { return At(i).attributes; }
    std::uint64_t Size(std::size_t i) const { return At(i).size; }
    std::uint64_t LastWriteTime(std::size_t i) const { return At(i).lastWriteTime; }
    bool IsDirectory(std::size_t i) const { return (Attributes(i) & kAttrDirectory) != 0; }
    bool IsDots(std::size_t i) const;
    bool Marked(std::size_t i) const { return At(i).marked; }
    // Puts the entries in a new order: position i takes the entry that was
    // at from[i]. from must hold every index below Count() once.
    void Reorder(const std::vector<std::uint32_t>& from);

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
    std::size_t MarkedCount() const { return markedCount_; }
    long long MarkedTotal() const { return markedTotal_; }
    void SetClusterSize(long long bytes) { clusterSize_ = bytes > 0 ? bytes : 1; }
    long long ClusterSize() const { return clusterSize_; }
    long long RoundToCluster(long long size) const;

    // Marked-size label text: "Size" + "%15s" of the total + " ".
    std::string MarkedSizeText() const;
    // "marked/count " for the count box.
    std::string CountText() const;

private:
    // One entry as kept: no constructor, so that a fresh block of them is
    // not written (and its pages not touched) before entries fill it.
    struct Slot {
        std::uint64_t size;
        std::uint64_t lastWriteTime;
        const char* name;          // NUL-terminated, in the name store
        std::uint32_t attributes;
        std::uint16_t nameLength;  // kLongName: longer, measure it
        bool marked;
    };
    static constexpr std::size_t kSlotShift = 12;
    static constexpr std::size_t kSlotBlock = std::size_t{1} << kSlotShift;
    static constexpr std::size_t kNameBlock = 64 * 1024;
    static constexpr std::uint16_t kLongName = 0xFFFF;

    const Slot& At(std::size_t i) const { return slots_[i >> kSlotShift][i & (kSlotBlock - 1)]; }
    Slot& At(std::size_t i) { return slots_[i >> kSlotShift][i & (kSlotBlock - 1)]; }
    void Append(std::string_view name, std::uint32_t attributes, std::uint64_t size, std::uint64_t lastWriteTime);
    const char* StoreName(std::string_view name);
    void RecomputeBottom();

    std::vector<std::unique_ptr<Slot[]>> slots_;
    std::vector<std::unique_ptr<char[]>> names_;
    std::size_t count_ = 0;
    std::size_t nameFree_ = 0;  // bytes left in the last name block
    char* nameNext_ = nullptr;
    DisplayOptions options_;
    std::size_t markedCount_ = 0;
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
