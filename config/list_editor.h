// The editors of the shell's settings menu without their windows: the shared
// list editor's selection and moves, the alias list, the two directory lists
// and the function-key titles. Each works on copies of the running lists and
// writes them back (and saves the settings file) only on OK.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "config/session.h"

namespace kestrum {

// What TFormEdit shows and does. Rows are what the list box shows; every move
// is reported as Move(from, to) so that an editor moves its parallel data
// the same way. The selection (-1: none) follows the shared list editor's
// rules: the first row when shown, kept on a moved row, kept in range after
// a delete.
class TListEditorModel {
public:
    virtual ~TListEditorModel() = default;

    virtual std::string Caption() const = 0;
    virtual std::size_t Count() const = 0;
    virtual std::string Row(std::size_t i) const = 0;
    std::vector<std::string> Rows() const;

    // Removes entry from and puts it back at position to; the rows between
    // shift by one. Out-of-range positions are ignored.
    virtual void Move(std::size_t from, std::size_t to) = 0;
    // Removes entry i (ignored out of range).
    virtual void Remove(std::size_t i) = 0;
    // False when no further entry may be added (the twelve function keys).
    virtual bool CanAdd() const { return true; }
    // Copies the lists back into the running state and writes the settings
    // file; false (after a message) when the file could not be written.
    virtual bool Commit() = 0;

    int Selected() const { return selected_; }
    void Select(int i);
    // The first row, or none on an empty list (the window being shown).
    void SelectFirst() { Select(0); }
    // Delete, Edit, Up and Down work only while the list has entries.
    bool HasEntries() const { return Count() > 0; }

    // The buttons: false when nothing changed.
    bool Up();
    bool Down();
    bool DeleteSelected();
    // A drag from one row to another; the dragged row stays selected.
    bool Drag(std::size_t from, std::size_t to);

protected:
    int selected_ = -1;
};

// The alias list editor: rows are the alias names.
class TAliasEditor : public TListEditorModel {
public:
    explicit TAliasEditor(Session& state);

    std::string Caption() const override;
    std::size_t Count() const override { return aliases_.size(); }
    std::string Row(std::size_t i) const override { return aliases_.at(i).name; }
    void Move(std::size_t from, std::size_t to) override;
    void Remove(std::size_t i) override;
    bool Commit() override;

    // The values the entry window starts with: empty for New, else entry i.
    AliasEntry Draft(int index) const;
    // The entry window's change buttons: ask through the line-input window,
    // starting from the present text; true with text replaced on OK.
    bool AskExpansion(std::string& text) const;
    bool AskDirectory(std::string& text) const;
    // The entry window's OK: trims the three values and checks name and
    // expansion (the message is shown here); false keeps the window open.
    static bool Validate(AliasEntry& entry);
    // New (index < 0) appends; Edit replaces entry index. The entry must have
    // passed Validate. The new or edited entry becomes selected.
    void Store(int index, const AliasEntry& entry);

    const std::vector<AliasEntry>& Entries() const { return aliases_; }

private:
    Session& state_;
    std::vector<AliasEntry> aliases_;
};

// An entry of a directory list as its entry window edits it.
struct DirListEntry {
    std::string directory;
    std::string key;  // one single-byte character
};

// The directory list editor over LOGLIST or COPYLIST: rows are the entries as
// kept (key, blank, directory).
class TDirListEditor : public TListEditorModel {
public:
    enum class Which { LogList, CopyList };
    TDirListEditor(Session& state, Which which);

    std::string Caption() const override;
    std::size_t Count() const override { return entries_.size(); }
    std::string Row(std::size_t i) const override { return entries_.at(i); }
    void Move(std::size_t from, std::size_t to) override;
    void Remove(std::size_t i) override;
    bool Commit() override;

    // Section name of the list, without brackets.
    const char* Section() const;
    // New: no directory and the key "1"; Edit: entry index split up.
    DirListEntry Draft(int index) const;
    // The change button of the directory field.
    bool AskDirectory(std::string& text) const;
    // The key field keeps one character: the one typed last. Only single-byte
    // characters are keys (a row's text starts after key and blank).
    static std::string KeyFromTyped(unsigned char typed);
    // Trims and checks directory and key (messages shown here).
    static bool Validate(DirListEntry& entry);
    void Store(int index, const DirListEntry& entry);

    // An entry as kept in memory, and one line of its settings section.
    static std::string EntryText(const DirListEntry& e);
    static DirListEntry SplitEntry(const std::string& kept);
    static std::string SectionLine(const std::string& kept);

    const std::vector<std::string>& Entries() const { return entries_; }

private:
    Session& state_;
    Which which_;
    std::vector<std::string> entries_;
};

// The function-key title editor: rows are the titles without brackets; the
// commands move with their titles and are never edited here.
class TFunctionEditor : public TListEditorModel {
public:
    explicit TFunctionEditor(Session& state);

    std::string Caption() const override;
    std::size_t Count() const override { return titles_.size(); }
    std::string Row(std::size_t i) const override { return titles_.at(i); }
    void Move(std::size_t from, std::size_t to) override;
    void Remove(std::size_t i) override;
    bool CanAdd() const override;
    bool Commit() override;

    // "[F1]" gives "F1"; a title without its brackets stays as it is.
    static std::string BareTitle(const std::string& title);
    // Caption of the entry window for entry index (New: the next key).
    std::string EntryCaption(int index) const;
    std::string Draft(int index) const;
    static bool Validate(std::string& title);
    // New appends a key with no command.
    void Store(int index, const std::string& title);

    const std::vector<std::string>& Titles() const { return titles_; }
    const std::vector<std::string>& Commands() const { return commands_; }

private:
    Session& state_;
    std::vector<std::string> titles_;
    std::vector<std::string> commands_;
    std::vector<std::string> kept_;  // each title as read, brackets and all
};

// Moves v[from] to position to, shifting the rest (the helper the editors
// share for their parallel lists). False when a position is out of range.
template <class T>
bool MoveItem(std::vector<T>& v, std::size_t from, std::size_t to) {
    if (from >= v.size() || to >= v.size()) return false;
    if (from == to) return true;
    T item = std::move(v[from]);
    v.erase(v.begin() + static_cast<std::ptrdiff_t>(from));
    v.insert(v.begin() + static_cast<std::ptrdiff_t>(to), std::move(item));
    return true;
}

}  // namespace kestrum
