// The archiver libraries loaded by name (UNLHA32.DLL, TAR32.DLL, AXZIP.SPI,
// ISH32.DLL) and the file system, as the archive operations use them.
#pragma once

#include <memory>
#include <string>

#include "archive/archiver.h"

namespace kestrum {

class WinArchiverHost : public ArchiverHost {
public:
    WinArchiverHost();
    ~WinArchiverHost() override;
    LhaLibrary* Lha(LibraryLoad& load) override;
    std::unique_ptr<TarLibrary> LoadTar(LibraryLoad& load) override;
    std::unique_ptr<IshLibrary> LoadIsh(LibraryLoad& load) override;
    std::unique_ptr<ZipPlugin> LoadZip(LibraryLoad& load, std::string& missingEntry) override;
    bool EnsureDirectory(std::string& path) override;
    std::string WriteTempFile(const std::string& prefix, const std::string& text) override;
    void RemoveFile(const std::string& path) override;
    bool Exists(const std::string& path) override;

private:
    std::unique_ptr<LhaLibrary> lha_;  // loaded on first use, kept for the run
    LibraryLoad lhaLoad_ = LibraryLoad::Missing;
};

// The host the program uses.
WinArchiverHost& TheArchiverHost();

}  // namespace kestrum
