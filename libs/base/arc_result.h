// Result codes of the archiver-library interface: 0 success, the 0x8000
// range for warnings (0x8005-0x8011, the operation went on) and errors.
#pragma once

namespace kestrum::arc {

enum ArcResult : int {
    kOk = 0,
    // Warnings: the member was skipped, the rest went on.
    kErrDiskSpace = 0x8005,
    kErrReadOnly = 0x8006,
    kErrUserSkip = 0x8007,
    kErrUnknownType = 0x8008,
    kErrMethod = 0x8009,
    kErrPasswordFile = 0x800A,
    kErrVersion = 0x800B,
    kErrFileCrc = 0x800C,
    kErrFileOpen = 0x800D,
    kErrMoreFresh = 0x800E,
    kErrNotExist = 0x800F,
    kErrAlreadyExist = 0x8010,
    kErrTooManyFiles = 0x8011,
    // Errors.
    kErrMakeDirectory = 0x8012,
    kErrCannotWrite = 0x8013,
    kErrHuffmanCode = 0x8014,
    kErrCommentHeader = 0x8015,
    kErrHeaderCrc = 0x8016,
    kErrHeaderBroken = 0x8017,
    kErrArcFileOpen = 0x8018,
    kErrNotArcFile = 0x8019,
    kErrCannotRead = 0x801A,
    kErrFileStyle = 0x801B,
    kErrCommandName = 0x801C,
    kErrMoreHeapMemory = 0x801D,
    kErrEnoughMemory = 0x801E,
    kErrAlreadyRunning = 0x801F,
    kErrUserCancel = 0x8020,
    kErrHarcIsNotOpened = 0x8021,
    kErrNotSearchMode = 0x8022,
    kErrNotSupport = 0x8023,
    kErrTimeStamp = 0x8024,
    kErrTmpOpen = 0x8025,
    kErrLongFileName = 0x8026,
    kErrArcReadOnly = 0x8027,
    kErrSameNameFile = 0x8028,
    kErrNotFindArcFile = 0x8029,
    kErrResponseRead = 0x802A,
    kErrNotFileName = 0x802B,
    kErrNotFindFile = 0x8031,
};

inline bool IsWarning(int r) { return r >= 0x8005 && r <= 0x8011; }

// Keeps the most serious result of an operation that goes on after a
// problem: any error outranks a warning, any other warning outranks a file
// kept because it was there (the caller asked for that, and must still hear
// of a member that failed), and the first of each kind stays.
class ResultKeeper {
public:
    void Note(int r) {
        if (r == kOk) return;
        if (Rank(r) > Rank(result_)) result_ = r;
    }
    int Get() const { return result_; }

private:
    static int Rank(int r) {
        if (r == kOk) return 0;
        if (r == kErrAlreadyExist) return 1;
        return IsWarning(r) ? 2 : 3;
    }
    int result_ = kOk;
};

}  // namespace kestrum::arc
