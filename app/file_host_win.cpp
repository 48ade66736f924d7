// The platform side of the shell's file commands.
#include <windows.h>

#include "app/app_win.h"
#include "common/file_system_win.h"
#include "common/handles_win.h"
#include "common/sjis.h"
#include "config/session.h"
#include "fileops/copy_list_win.h"
#include "fileops/delete_win.h"
#include "fileops/eject_win.h"
#include "fileops/path_utils.h"
#include "fileops/remove_tree_win.h"
#include "fileops/split_join_win.h"
#include "filer/frm_fm_win.h"
#include "shell/file_commands.h"
#include "shell/frm_main_win.h"

namespace kestrum {

namespace {

HWND Owner() { return App().main ? App().main->Handle() : nullptr; }

class WinFileCommandHost : public FileCommandHost {
public:
    bool AnyMatch(const std::string& pattern) override {
        WIN32_FIND_DATAA fd{};
        FindHandle find(FindFirstFileA(pattern.c_str(), &fd));
        return static_cast<bool>(find);
    }
    std::vector<FoundEntry> FindAll(const std::string& pattern) override {
        std::vector<FoundEntry> out;
        WIN32_FIND_DATAA fd{};
        FindHandle find(FindFirstFileA(pattern.c_str(), &fd));
        if (!find) return out;
        do {
            const std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            out.push_back({name, (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
        } while (FindNextFileA(find.Get(), &fd));
        return out;
    }
    int CopyListTo(const std::string& sources, const std::string& dir, bool move) override {
        return move ? kestrum::MoveListTo(sources, dir, Owner()) : kestrum::CopyListTo(sources, dir, Owner());
    }
    int CopyPath(const std::string& from, const std::string& to) override {
        return kestrum::CopyPath(from, to, Owner());
    }
    int DeleteFiles(const std::string& list, bool erase) override {
        std::vector<std::string> files;
        for (std::size_t i = 0; i < list.size();) {
            const std::size_t end = list.find('\0', i);
            const std::string item = list.substr(i, end == std::string::npos ? std::string::npos : end - i);
            if (!item.empty()) files.push_back(item);
            if (end == std::string::npos) break;
            i = end + 1;
        }
        const bool byContent = TheSession().settings.dirDelMode;
        return erase ? EraseFiles(files, Owner(), byContent) : DeleteToRecycleBin(files, Owner(), byContent);
    }
    bool Rename(const std::string& from, const std::string& to) override {
        return RenameNoReplace(CurrentFileSystem(), from, to);
    }
    bool MakeDirectory(const std::string& path) override { return CreateDirectoryA(path.c_str(), nullptr) != 0; }
    bool RemoveTree(const std::string& dir) override { return kestrum::RemoveTree(dir, true); }
    void SplitFile(const std::string& file, long long size, const std::string& dir) override {
        kestrum::SplitFile(file, size, dir);
    }
    void EjectMedia(const std::string& drive) override { kestrum::EjectMedia(drive); }
    std::vector<std::string> MarkedNames() override {
        std::vector<std::string> out;
        TfrmFM* filer = App().filer;
        if (!filer || !IsWindowVisible(filer->Handle())) return out;
        const FileListModel& m = filer->Model();
        for (std::size_t i = 0; i < m.Count(); ++i) {
            if (m.Marked(i)) out.emplace_back(m.Name(i));
        }
        return out;
    }
    int DriveType(const std::string& root) override {
        return static_cast<int>(GetDriveTypeA(root.empty() ? nullptr : root.c_str()));
    }
    bool PictureToBitmap(const std::string&, const std::string&) override {
        // Pictures of other formats need the image viewer's plug-ins.
        return false;
    }
    bool SetWallpaper(const std::string& bitmap) override {
        std::string path = bitmap;
        return SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, path.data(), SPIF_UPDATEINIFILE | SPIF_SENDCHANGE) != 0;
    }
};

}  // namespace

FileCommandHost& TheFileCommandHost() {
    static WinFileCommandHost host;
    return host;
}

}  // namespace kestrum
