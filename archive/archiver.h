// Packing and unpacking through the archiver libraries: the order of the
// calls, the command lines and every message, against the libraries and the
// file system as ArchiverHost gives them.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/archive_text.h"

namespace kestrum {

// How loading a library by name went.
enum class LibraryLoad { Loaded, Missing, EntryMissing };

// The LHA library (UNLHA32.DLL).
class LhaLibrary {
public:
    virtual ~LhaLibrary() = default;
    // Nonzero while another caller uses it.
    virtual int GetRunning() = 0;
    // False when the mode could not be set.
    virtual bool SetBackGroundMode(bool on) = 0;
    // Runs a command line; output (when not null) receives at most
    // outputSize bytes of the library's text. 0 or an error code.
    virtual int Run(const std::string& command, std::string* output, std::size_t outputSize) = 0;
    // The listing: open (false when the library refuses), then first/next
    // fill a listing record and answer 0, -1 at the end, or an error code.
    virtual bool OpenArchive(const std::string& path, unsigned mode) = 0;
    virtual int FindFirst(const std::string& pattern, unsigned char* record) = 0;
    virtual int FindNext(unsigned char* record) = 0;
    virtual void CloseArchive() = 0;
};

// The tar library (TAR32.DLL): the same calls as the LHA library.
using TarLibrary = LhaLibrary;

// The ISH library (ISH32.DLL).
class IshLibrary {
public:
    virtual ~IshLibrary() = default;
    virtual int GetRunning() = 0;
    virtual int Run(const std::string& command) = 0;
};

// The archive plug-in (AXZIP.SPI).
class ZipPlugin {
public:
    virtual ~ZipPlugin() = default;
    // GetArchiveInfo on a file at offset: 0 with block the bytes of the
    // returned memory block, else the plug-in's error.
    virtual int GetArchiveInfo(const std::string& path, long offset, std::vector<unsigned char>& block) = 0;
    // GetFile of the entry at position into the directory dest.
    virtual int GetFile(const std::string& path, long position, const std::string& dest) = 0;
};

// What the plug-in lists of a ZIP: asked from the file's start, and again
// past a 128-byte header when that fails or lists nothing. A plug-in that
// could read only part of a damaged archive answers with an error and the
// records it could read: those are used, and damaged says so.
struct ZipListing {
    bool ok = false;
    bool damaged = false;
    std::vector<PluginEntry> entries;
};
ZipListing ListZip(ZipPlugin& zip, const std::string& path);

// The text said when a ZIP could be read only in part.
extern const char* const kZipDamaged;

// What the archive operations need from the platform. A library handed out
// is freed when its owner goes.
class ArchiverHost {
public:
    virtual ~ArchiverHost() = default;
    // The LHA library stays loaded for the run: null when it is missing
    // (or an entry point is), with what went wrong in load.
    virtual LhaLibrary* Lha(LibraryLoad& load) = 0;
    // These are loaded for one use; for the plug-in the entry point that
    // is missing comes back in missingEntry.
    virtual std::unique_ptr<TarLibrary> LoadTar(LibraryLoad& load) = 0;
    virtual std::unique_ptr<IshLibrary> LoadIsh(LibraryLoad& load) = 0;
    virtual std::unique_ptr<ZipPlugin> LoadZip(LibraryLoad& load, std::string& missingEntry) = 0;
    // Makes path a full directory path ending in "\", asking to create it
    // when missing; false when the user declined or it could not be made.
    virtual bool EnsureDirectory(std::string& path) = 0;
    // Writes text to a new temporary file whose name starts with prefix;
    // its path, or empty when none could be made.
    virtual std::string WriteTempFile(const std::string& prefix, const std::string& text) = 0;
    virtual void RemoveFile(const std::string& path) = 0;
    // A file or directory of that name exists.
    virtual bool Exists(const std::string& path) = 0;
};

// The operations. Results: 0 success, anything else a failure that has
// already been reported.
class Archiver {
public:
    explicit Archiver(ArchiverHost& host) : host_(host) {}

    // Packs files (one name in double quotes, or "@" and a response file)
    // into archive: 1 when the library is busy or cannot be set up.
    int PackLzh(const std::string& archive, const std::string& files);
    // Packs the names (relative to the current directory): one is passed
    // quoted, several through a response file.
    int PackNames(const std::string& archive, const std::vector<std::string>& names);
    // Unpacks an LHA archive specification into dir (1 when dir is refused);
    // without overwrite the files that are there stay.
    int UnpackLzh(const std::string& spec, std::string dir, bool overwrite = true);
    // Unpacks archive into dir with the library its extension names. When
    // members would replace files that are there, asks first: Yes replaces
    // them, No keeps them (a tar archive, which cannot leave some out, is
    // then not unpacked), Cancel unpacks nothing (result 2).
    int ExtractArchive(const std::string& archive, const std::string& dir);
    int ExtractZip(const std::string& archive, std::string dir, bool overwrite = true);
    // A tar command line; output as for LhaLibrary::Run. ran (when given)
    // tells whether the library was called.
    int RunTar(const std::string& command, std::string* output, std::size_t outputSize, bool* ran = nullptr);
    int RunIsh(const std::string& command);
    // The shell's DLHA: the library's output text, or nothing when it
    // cannot run. result is the library's.
    std::optional<std::string> RunLhaCommand(const std::string& command, int& result);
    // LZH2EXE: a self-extracting archive; the result is the library's.
    int MakeSelfExtracting(const std::string& text);

    // How big an output buffer the pass-through commands offer.
    static constexpr std::size_t kOutputSize = 65534;

    // The members of an archive that are already there under dir.
    std::vector<std::string> ExistingMembers(const std::string& archive, const std::string& dir);

private:
    // The LHA library, or null with its message shown.
    LhaLibrary* Lha();
    // The member names of archive, quietly; empty when it cannot be listed.
    std::vector<std::string> MemberNames(const std::string& archive);

    ArchiverHost& host_;
};

// The shell's DLHA, DTAR, DISH and LZH2EXE (by command number) with the
// text after the command word; the text DLHA and DTAR give goes to
// show(title, text). False for any other command.
using ShowOutput = std::function<void(const std::string& title, const std::string& text)>;
bool RunLibraryCommand(Archiver& archiver, int command, const std::string& text, const ShowOutput& show);

}  // namespace kestrum
