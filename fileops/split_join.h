// Splitting a file into numbered pieces and joining files into one, over a
// file system and a source of block-by-block file streams: the piece names,
// the limit on the number of pieces, and the operations themselves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/file_system.h"
#include "common/prompter.h"

namespace kestrum {

inline constexpr int kMaxSplitPieces = 1000;

// dir (a "\" added when missing; empty: the current directory) + the
// source's name without its extension + "." + n in three digits
// ("005", "123").
std::string SplitPieceName(std::string_view dir, std::string_view source, int n);

// True when fileSize bytes fit into kMaxSplitPieces pieces of pieceSize
// (a positive size): the pieces that carry data are 000 to 999.
bool SplitFits(std::int64_t fileSize, std::int64_t pieceSize);

// Files read and written a block at a time (the platform's handles in the
// program, memory in tests).
class BlockFiles {
public:
    class Reader {
    public:
        virtual ~Reader() = default;
        // The file's length; nullopt when it cannot be told.
        virtual std::optional<std::uint64_t> Size() = 0;
        // Up to size bytes into buf: how many (0 at the end), -1 on failure.
        virtual std::int64_t Read(char* buf, std::size_t size) = 0;
    };
    class Writer {
    public:
        virtual ~Writer() = default;
        // False unless every byte was written.
        virtual bool Write(const char* data, std::size_t size) = 0;
        // Cuts the file back to size bytes.
        virtual bool Truncate(std::uint64_t size) = 0;
    };
    virtual ~BlockFiles() = default;
    virtual std::unique_ptr<Reader> OpenRead(const std::string& path) = 0;
    // A new empty file; with replace an existing one is emptied, without
    // it an existing file makes this fail. Null on failure.
    virtual std::unique_ptr<Writer> Create(const std::string& path, bool replace) = 0;
    // An existing file, written at its end; null on failure.
    virtual std::unique_ptr<Writer> OpenAppend(const std::string& path) = 0;
    // Bytes moved at a time.
    virtual std::size_t BlockSize() const { return 64 * 1024; }
};

enum class FileOpOutcome {
    Done,
    Refused,      // nothing written: the request itself was refused
    Interrupted,  // the user said no to an overwrite
    Failed,       // a file could not be opened, read or written (reported)
};

// Writes source in pieces of size bytes into dir (empty: the current
// directory) as name.000, name.001, ... A source whose length is a
// multiple of size ends with an empty piece. An existing piece is only
// overwritten after a Yes / No / All question (All stops the questions).
// Refused with a message when size is not positive or more than 1000
// pieces would be needed. The source is only read; a piece whose writing
// failed is removed, or kept as it was when it was to be replaced (the
// pieces before it are whole).
FileOpOutcome SplitFile(FileSystem& fs, BlockFiles& files, Prompter& prompter, const std::string& source,
                        std::int64_t size, const std::string& dir);

// Writes files one after another into target (replacing it after a
// question when it exists). An empty list does nothing; a target that is
// one of the files is refused. The files are joined into a temporary file
// beside target that replaces it once whole: after a failure target is as
// it was.
FileOpOutcome JoinFiles(FileSystem& fs, BlockFiles& files, Prompter& prompter, const std::string& target,
                        const std::vector<std::string>& list);

// Appends file to the end of the existing target; after a failure target
// is cut back to its old length.
FileOpOutcome AppendFile(FileSystem& fs, BlockFiles& files, Prompter& prompter, const std::string& target,
                         const std::string& file);

}  // namespace kestrum
