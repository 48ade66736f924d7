// Recording fakes of the interpreter's two platform interfaces (the shell
// host and the file-command host) and of the filer and the viewers it
// reaches through the services. Nothing they do touches a file or a window.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/sjis.h"
#include "config/services.h"
#include "shell/file_commands.h"
#include "shell/interpreter.h"

namespace kestrum::test {

struct Started {
    std::string verb, file, params, dir;
};

// The shell host, and while it lives the filer and the viewers in force.
class FakeHost : public ShellHost, public FilerService, public ViewerService {
public:
    FakeHost()
        : filerInstalled_(InstallService<FilerService>(*this)), viewersInstalled_(InstallService<ViewerService>(*this)) {}
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    std::set<std::string> files;  // upper-case full names that exist
    std::set<std::string> badDirs;  // upper-case paths ChangeDirectory cannot enter
    bool reloadReads = true;        // ReloadConfiguration finds a readable file
    std::vector<Started> started;
    std::vector<std::string> cds;
    std::vector<std::string> calls;
    std::vector<std::string> opened;
    std::string status;
    std::string filerFile;
    bool filerShowing = false;
    bool platformOpens = true;
    std::string cwd = "C:\\WORK\\";
    Session* state = nullptr;

    bool Exists(const std::string& p) override { return files.count(UpperAscii(FullPath(p))) > 0; }
    std::string FullPath(const std::string& p) override {
        if (p.size() >= 2 && p[1] == ':') return p;
        if (p == ".") return cwd;
        if (p == "..") return "C:\\";
        return cwd + p;
    }
    std::string ShortPath(const std::string& p) override { return "SHORT(" + p + ")"; }
    long long StartFile(const std::string& verb, const std::string& file, const std::string& params,
                           const std::string& dir) override {
        started.push_back({verb, file, params, dir});
        return file == "FAILS" ? 2 : 42;
    }
    bool OpenWithPlatform(const std::string& file) override {
        opened.push_back(file);
        return platformOpens;
    }
    void StartAndWait(const std::string& program, const std::string& params, const std::string& dir) override {
        calls.push_back("wait " + program + "|" + params + "|" + dir);
    }
    void Sleep(int ms) override { calls.push_back("sleep " + std::to_string(ms)); }
    LocalDate Today() override { return LocalDate{2026, 12, 8, 9}; }
    bool ChangeDirectory(const std::string& path) override {
        cds.push_back(path);
        return badDirs.count(UpperAscii(path)) == 0;
    }
    bool ShellShowing() override { return true; }
    void ShowVersion() override { calls.push_back("ver"); }
    void ShowHelp(int topic) override { calls.push_back("help " + std::to_string(topic)); }
    void SetStatus(const std::string& text) override { status = text; }
    void MenuOn() override { state->menuBarShown = true; }
    void MenuOff() override { state->menuBarShown = false; }
    void Exit() override { calls.push_back("exit"); }
    void HideAfterStart() override { calls.push_back("hide"); }
    bool ReloadConfiguration() override {
        calls.push_back("reload " + state->settingsPath);
        return reloadReads;
    }

    // -- the filer --
    bool Present() const override { return true; }
    bool Showing() const override { return filerShowing; }
    void Show() override {
        filerShowing = true;
        calls.push_back("filer list");
    }
    void FocusCommandLine() override { calls.push_back("filer box"); }
    std::string CurrentFile() const override { return filerFile; }
    void Close() override {
        filerShowing = false;
        calls.push_back("close filer");
    }
    // As the filer does: a hidden one is not listed.
    void RefreshListing() override {
        if (filerShowing) calls.push_back("refresh");
    }

    // -- the viewers --
    void ShowImage(const std::string& f) override { calls.push_back("pview " + f); }
    bool ViewFile(const std::string& f) override {
        calls.push_back("tview " + f);
        return true;
    }

private:
    Subscription filerInstalled_;
    Subscription viewersInstalled_;
};

class FakeFiles : public FileCommandHost {
public:
    std::map<std::string, bool> entries;  // upper-case name -> directory
    std::vector<std::string> calls;
    std::vector<std::string> marked;
    int driveType = 3;

    bool AnyMatch(const std::string& p) override { return entries.count(UpperAscii(p)) > 0; }
    std::vector<FoundEntry> FindAll(const std::string&) override {
        std::vector<FoundEntry> out;
        for (const auto& [name, dir] : entries) out.push_back({name, dir});
        return out;
    }
    int CopyListTo(const std::string& sources, const std::string& dir, bool move) override {
        calls.push_back(std::string(move ? "move " : "copy ") + Printable(sources) + " -> " + dir);
        return 0;
    }
    int CopyPath(const std::string& from, const std::string& to) override {
        calls.push_back("copypath " + from + " -> " + to);
        return 0;
    }
    int DeleteFiles(const std::string& list, bool erase) override {
        calls.push_back(std::string(erase ? "erase " : "recycle ") + Printable(list));
        return 0;
    }
    bool Rename(const std::string& from, const std::string& to) override {
        calls.push_back("ren " + from + " -> " + to);
        const std::string key = UpperAscii(ExtractFileName(to));
        if (entries.count(key)) return false;  // never over an existing name
        entries[key] = false;
        return true;
    }
    bool MakeDirectory(const std::string& p) override {
        calls.push_back("mkdir " + p);
        return p != "BAD";
    }
    bool RemoveTree(const std::string& d) override {
        calls.push_back("rmtree " + d);
        return true;
    }
    void SplitFile(const std::string& f, long long size, const std::string& d) override {
        calls.push_back("split " + f + "," + std::to_string(size) + "," + d);
    }
    void EjectMedia(const std::string& d) override { calls.push_back("eject " + d); }
    std::vector<std::string> MarkedNames() override { return marked; }
    int DriveType(const std::string&) override { return driveType; }
    bool PictureToBitmap(const std::string& p, const std::string& b) override {
        calls.push_back("convert " + p + " -> " + b);
        return true;
    }
    bool SetWallpaper(const std::string& b) override {
        calls.push_back("wallpaper " + b);
        return true;
    }

private:
    static std::string Printable(const std::string& list) {
        std::string out;
        for (char c : list) out += c == '\0' ? '|' : c;
        return out;
    }
};

}  // namespace kestrum::test
