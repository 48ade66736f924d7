// longrun.exe: drives Kestrum for a long run of random steps from a fixed
// seed over a scratch tree, and checks that it never crashed or hung, that
// its settings file still loads, and that every file of the tree is still
// there, byte for byte (at its place or wherever a copy or move put it).
//
//   longrun [--steps N] [--seed S] [--dir FOLDER] [--settle MS] [--keep 0|1]
//
// Every file is made with contents of its own (a header naming it and
// bytes from the seed), and the names never repeat: a rename always takes a
// fresh name, so a copy or move that replaces a file of the same name
// replaces it with the same bytes. Nothing is ever deleted, so at the end
// each original must be found whole somewhere in the tree, and each file of
// the tree must be one of the originals. The driver writes the commands it
// ran to FOLDER\longrun.log, to replay a failure; FOLDER is removed after
// a run that passed, unless --keep 1 is given.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tools/kdrive/kdrive.h"

namespace {

// A small generator of our own, so that a seed means the same run everywhere.
class Random {
public:
    explicit Random(unsigned seed) : s_(seed * 2654435761u + 1) {}
    unsigned Next() {
        s_ ^= s_ << 13;
        s_ ^= s_ >> 17;
        s_ ^= s_ << 5;
        return s_;
    }
    std::size_t Below(std::size_t n) { return n ? Next() % n : 0; }
    bool Chance(unsigned percent) { return Next() % 100 < percent; }
    template <class T>
    const T& Pick(const std::vector<T>& v) {
        return v[Below(v.size())];
    }

private:
    unsigned s_;
};

struct Entry {
    std::string path;
    bool folder;
};

void Walk(const std::string& dir, std::vector<Entry>& out) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        const bool folder = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        out.push_back({dir + "\\" + name, folder});
        if (folder) Walk(dir + "\\" + name, out);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}

std::string ReadAll(const std::string& path, bool& ok) {
    std::ifstream f(path, std::ios::binary);
    ok = static_cast<bool>(f);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

bool WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}

// Removes a folder and everything in it.
void RemoveTree(const std::string& dir) {
    std::vector<Entry> all;
    Walk(dir, all);
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        if (it->folder) {
            RemoveDirectoryA(it->path.c_str());
        } else {
            SetFileAttributesA(it->path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(it->path.c_str());
        }
    }
    RemoveDirectoryA(dir.c_str());
}

// Where the last character of a Shift-JIS text starts.
std::size_t LastCharAt(const std::string& s) {
    std::size_t last = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        last = i;
        if (IsDBCSLeadByteEx(932, static_cast<BYTE>(s[i])) && i + 1 < s.size()) ++i;
    }
    return last;
}

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

std::string Quote(const std::string& s) { return "\"" + s + "\""; }

// Folders that end in the byte of "\" (ソ, 表, 能) or hold "[" (ー).
const std::vector<std::string> kFolderNames = {"資料", "表示ソフト", "ソース", "予定表", "能力", "データ", "work"};
const std::vector<std::string> kFileStems = {"表", "ソ", "能", "kf", "ドキュメント", "暗号"};
const std::vector<std::string> kExts = {".txt", ".dat", ".ini", ".lzh", ""};
const std::vector<std::string> kMasks = {"*.txt", "*.dat", "*.*", "[*.txt,*.ini]", "表*", "*"};

class LongRun {
public:
    LongRun(unsigned seed, const std::string& dir) : rnd_(seed), dir_(dir), root_(dir + "\\tree") {}

    bool Prepare() {
        CreateDirectoryA(dir_.c_str(), nullptr);
        std::vector<Entry> old;
        Walk(dir_, old);
        if (!old.empty()) {
            std::fprintf(stderr, "longrun: %s is not empty\n", dir_.c_str());
            return false;
        }
        CreateDirectoryA(root_.c_str(), nullptr);
        std::vector<std::string> folders = {root_};
        for (int i = 0; i < 12; ++i) {
            const std::string parent = rnd_.Pick(folders);
            const std::string path = parent + "\\" + rnd_.Pick(kFolderNames) + std::to_string(i);
            if (!CreateDirectoryA(path.c_str(), nullptr)) return false;
            folders.push_back(path);
        }
        for (int i = 0; i < 80; ++i) {
            const std::string name = rnd_.Pick(kFileStems) + Fresh() + rnd_.Pick(kExts);
            std::string bytes = "KESTRUM-LONGRUN " + name + "\r\n";
            const std::size_t size = rnd_.Chance(10) ? 200000 + rnd_.Below(300000) : rnd_.Below(6000);
            for (std::size_t k = 0; k < size; ++k) bytes += static_cast<char>(rnd_.Next() >> 11);
            if (!WriteAll(rnd_.Pick(folders) + "\\" + name, bytes)) return false;
            originals_[bytes] = name;
        }
        cfg_ = dir_ + "\\longrun.cfg";
        WriteAll(dir_ + "\\longrun.WK", "#ＫＥＳＴＲＵＭ Ｗキー設定ファイル\r\n");
        WriteAll(dir_ + "\\longrun.TVK", "#ＫＥＳＴＲＵＭ TVキー設定ファイル\r\n");
        WriteAll(cfg_, "[環境変数]\r\nFILERAUTO, 0\r\nHOMEDIR, " + root_ + "\r\n[END]\r\n");
        log_.open(dir_ + "\\longrun.log", std::ios::binary);
        return true;
    }

    // Runs one driver command; false when it failed.
    bool Do(const std::string& line, DWORD* elapsed = nullptr) {
        log_ << line << "\r\n";
        std::string out;
        const DWORD t0 = GetTickCount();
        last_ = driver_.Run(line, out);
        const DWORD took = GetTickCount() - t0;
        if (elapsed) *elapsed = took;
        if (took > 300) log_ << "# " << took << " ms\r\n";
        if (!out.empty()) log_ << "# " << out << "\r\n";
        if (!last_.empty()) log_ << "# -> " << last_ << "\r\n";
        return last_.empty();
    }

    bool Start() {
        driver_.SetSettleMs(settle_);
        return Do("start Kestrum.exe " + Quote(cfg_)) && Do("wait-window TfrmMain");
    }

    void SetSettle(DWORD ms) { settle_ = ms; }

    // One random step, then the checks every step gets: whatever it left
    // open is answered and closed, and every window answers in time.
    std::string Step(int n) {
        step_ = n;
        log_ << "# step " << n << "\r\n";
        Scan();
        const std::size_t what = rnd_.Below(100);
        if (what < 45) {
            ShellStep();
        } else {
            FilerStep();
        }
        if (!fault_.empty()) return fault_;
        DismissAll();
        if (!Do("ping 10000")) return last_;
        return {};
    }

    std::string Finish() {
        if (!Do("close 30000")) return "the program did not close: " + last_;
        // The settings file it wrote must load again: a second start shows
        // no message and closes cleanly.
        kdrive::Driver again;
        again.SetSettleMs(settle_);
        std::string out;
        std::string err = again.Run("start Kestrum.exe " + Quote(cfg_), out);
        if (err.empty()) err = again.Run("wait-window TfrmMain", out);
        if (err.empty()) err = again.Run("sleep 500", out);
        if (err.empty()) err = again.Run("dismiss", out);
        if (err.empty() && !out.empty()) err = "the settings file does not load: " + out;
        std::string ignored;
        if (err.empty()) err = again.Run("close 30000", ignored);
        if (!err.empty()) return "restart: " + err;
        return Account();
    }

    void Close() { log_.close(); }
    int Dismissed() const { return dismissed_; }
    int Refused() const { return refused_; }
    int TypedInBox() const { return typedInBox_; }
    int Late() const { return late_; }
    std::size_t Files() const { return files_.size(); }

private:
    std::string Fresh() {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%04d", counter_++);
        return buf;
    }

    void Scan() {
        files_.clear();
        folders_ = {root_};
        std::vector<Entry> all;
        Walk(root_, all);
        for (const Entry& e : all) {
            if (e.folder) {
                // Deep folders stay out of reach, so that paths stay short.
                if (std::count(e.path.begin() + static_cast<long>(root_.size()), e.path.end(), '\\') <= 4) {
                    folders_.push_back(e.path);
                }
            } else {
                files_.push_back(e.path);
            }
        }
    }

    // A driver command that reads something; empty when it failed.
    std::string Query(const std::string& line) {
        log_ << line << "\r\n";
        std::string out;
        last_ = driver_.Run(line, out);
        log_ << "# " << (last_.empty() ? out : "-> " + last_) << "\r\n";
        return last_.empty() ? out : std::string();
    }

    // Answers what is open; the messages answered, blank-separated.
    std::string DismissAll() {
        std::string shown;
        std::string out;
        for (int i = 0; i < 3; ++i) {
            log_ << "dismiss\r\n";
            out.clear();
            if (!driver_.Run("dismiss", out).empty() || out.empty()) break;
            log_ << "# " << out << "\r\n";
            ++dismissed_;
            shown += (shown.empty() ? "" : " ") + out;
        }
        return shown;
    }

    // Ends the run at this step: what went wrong, where the focus was, and
    // a picture of the screen next to the log.
    void Fault(const std::string& what) {
        if (!fault_.empty()) return;
        const std::string shot = dir_ + "\\step" + std::to_string(step_) + ".bmp";
        const std::string focus = Query("focused");
        Query("windows");
        Do("shot " + Quote(shot));
        fault_ = what + "; the focus is on " + (focus.empty() ? "nothing" : focus) + " (screen: " + shot + ")";
        log_ << "# FAULT " << fault_ << "\r\n";
    }

    // Before a line is typed, the shell's box has the focus. A question of
    // the step before may come late (a slow copy asks after the step's
    // answers): it is answered, and the shell brought back, once.
    bool BoxFocused(const std::string& what) {
        if (Query("focused") == "Edit in TfrmMain") return true;
        Query("windows");
        if (!DismissAll().empty()) ++late_;
        Do("focus TfrmMain");
        if (Query("focused") == "Edit in TfrmMain") return true;
        Fault("the shell's box does not have the focus before " + what);
        return false;
    }

    // Enter in the shell's box. Afterwards the box is empty again, or the
    // line showed that it ran: a message (a failure leaves the line in the
    // box with one), or a start that failed, which is told in the status
    // line only. Anything else means the box no longer runs what is typed.
    // A line may take a moment (a large copy): the box is read again for a
    // few seconds before that counts.
    void Enter(const std::string& what) {
        Do("key RETURN");
        std::string shown;
        std::string box;
        for (int i = 0; i < 15; ++i) {
            shown += DismissAll();
            box = Query("box TfrmMain");
            if (!last_.empty()) {
                Fault("the shell's box cannot be read after " + what + ": " + last_);
                return;
            }
            if (box.empty() || !shown.empty() || FailedStart(box)) return;
            Sleep(200);
        }
        Fault("Enter did not run " + what + ": the shell's box still holds \"" + box + "\"");
    }

    // The status line tells that the line's program or document did not
    // start (a line that failed stays in the box).
    bool FailedStart(const std::string& line) {
        const std::string status = Query("text TfrmMain Static 0");
        const std::string head = line.substr(0, line.find(' '));
        auto ends = [&](const std::string& tail) {
            return status.size() >= tail.size() && status.compare(status.size() - tail.size(), tail.size(), tail) == 0;
        };
        return !head.empty() && status.compare(0, head.size(), head) == 0 &&
               (ends(" を開けません") || ends(" を起動できません"));
    }

    void Shell(const std::string& text) {
        if (!Do("focus TfrmMain")) return;
        Do("key HOME");
        Do("key SHIFT+END");
        Do("key DEL");
        if (!BoxFocused("\"" + text + "\" is typed")) return;
        Do("type " + Quote(text));
        Enter("\"" + text + "\"");
    }

    void ShellStep() {
        const bool growing = files_.size() > 1500;
        const std::string folder = rnd_.Pick(folders_);
        switch (rnd_.Below(12)) {
        case 0: Shell("cd " + folder); break;
        case 1: Shell(rnd_.Chance(50) ? "ls" : "dir"); break;
        case 2: Shell((rnd_.Chance(50) ? "ls " : "mask ") + rnd_.Pick(kMasks)); break;
        case 3: Shell("alias lr" + std::to_string(rnd_.Below(4)) + ",ls"); break;
        case 4: Shell("unalias lr" + std::to_string(rnd_.Below(4))); break;
        case 5:
            if (!files_.empty() && !growing) Shell("cp " + rnd_.Pick(files_) + " " + folder);
            break;
        case 6:
            if (!files_.empty()) Shell("mv " + rnd_.Pick(files_) + " " + folder);
            break;
        case 7:
            if (!files_.empty()) {
                const std::string f = rnd_.Pick(files_);
                Shell("cd " + f.substr(0, f.find_last_of('\\')));
                Shell("ren " + NameOf(f) + " rn" + Fresh() + rnd_.Pick(kExts));
            }
            break;
        case 8: Shell("mkdir " + folder + "\\" + rnd_.Pick(kFolderNames) + Fresh()); break;
        case 9: {
            // The history: back a few lines and run one again.
            if (!Do("focus TfrmMain")) return;
            const std::size_t n = 1 + rnd_.Below(4);
            if (!BoxFocused("the history is browsed")) return;
            for (std::size_t i = 0; i < n; ++i) Do(rnd_.Chance(80) ? "key UP" : "key DOWN");
            Enter("a line of the history");
            break;
        }
        case 10: {
            // Completion of a folder name from its first characters.
            std::string stem = folder;
            if (folder.size() > root_.size()) stem.resize(LastCharAt(folder));
            if (!Do("focus TfrmMain")) return;
            Do("key HOME");
            Do("key SHIFT+END");
            Do("key DEL");
            if (!BoxFocused("a name is completed")) return;
            Do("type " + Quote("cd " + stem));
            Do("key TAB");
            Do("dismiss");
            Enter("a completed CD");
            break;
        }
        default: Shell("cd " + root_); break;
        }
    }

    // Asks for a text in the line-input window; false when none came. The
    // filer may refuse the key with a message (a copy of ".." and the
    // like); a key that neither opens the window nor says why is a fault.
    bool Answer(const std::string& key, const std::string& text) {
        if (!Do("key " + key)) return false;
        if (!Do("wait-window TfrmEdit \"\" 1500")) {
            const std::string shown = DismissAll();
            if (!shown.empty()) {
                ++refused_;
            } else if (Query("focused") == "Edit in TfrmFM") {
                // DIR leaves the focus in the filer's own box: the key was typed there.
                ++typedInBox_;
            } else {
                Fault("the filer's " + key + " opened no line input and showed no message");
            }
            return false;
        }
        Do("type " + Quote(text));
        Do("key RETURN");
        // A rename of several marked entries asks again for each one: the
        // next question is answered by the dismissal that ends the step.
        return Do("wait-gone TfrmEdit 3000");
    }

    void FilerStep() {
        if (!Do("wait-window TfrmFM \"\" 1")) {
            Shell("ls");
            if (!Do("wait-window TfrmFM \"\" 5000")) return;
        }
        if (!Do("focus TfrmFM")) return;
        // Every change starts in a folder of the tree, named in full: the
        // filer never leaves the tree, since no step goes up or opens an entry.
        if (!Answer("L", rnd_.Pick(folders_))) return;
        const std::size_t moves = rnd_.Below(6);
        static const std::vector<std::string> kMoves = {"UP",   "DOWN", "LEFT", "RIGHT", "PGUP",
                                                       "PGDN", "SPACE", "SPACE", "HOME", "CTRL+K"};
        for (std::size_t i = 0; i < moves; ++i) Do("key " + rnd_.Pick(kMoves));
        const bool growing = files_.size() > 1500;
        switch (rnd_.Below(9)) {
        case 0:
            if (!growing) Answer("C", rnd_.Pick(folders_));
            break;
        case 1: Answer("M", rnd_.Pick(folders_)); break;
        case 2: Answer("R", "rn" + Fresh() + rnd_.Pick(kExts)); break;
        case 3: Answer("K", rnd_.Pick(kFolderNames) + Fresh()); break;
        case 4: Answer("F", rnd_.Pick(kMasks)); break;
        case 5:
            if (Do("key S") && Do("wait-window TfrmSort \"\" 1500")) {
                for (std::size_t i = rnd_.Below(3); i > 0; --i) Do("key " + std::string(rnd_.Chance(50) ? "DOWN" : "UP"));
                Do(rnd_.Chance(50) ? "key RETURN" : "key ESC");
                Do("wait-gone TfrmSort 5000");
            }
            break;
        case 6: Do("key ESC"); break;
        default: break;  // the cursor moves and marks alone
        }
    }

    std::string Account() {
        std::vector<Entry> all;
        Walk(root_, all);
        std::set<std::string> found;
        std::string problems;
        std::size_t files = 0;
        for (const Entry& e : all) {
            if (e.folder) continue;
            ++files;
            bool ok = false;
            const std::string bytes = ReadAll(e.path, ok);
            const auto it = originals_.find(bytes);
            if (!ok || it == originals_.end()) {
                problems += "  not one of the files made: " + e.path + " (" + std::to_string(bytes.size()) +
                            " bytes)\n";
            } else {
                found.insert(it->second);
            }
        }
        for (const auto& [bytes, name] : originals_) {
            if (!found.count(name)) problems += "  lost: " + name + "\n";
        }
        std::printf("longrun: %u files in %u entries at the end; %u of %u originals found\n",
                    static_cast<unsigned>(files), static_cast<unsigned>(all.size()),
                    static_cast<unsigned>(found.size()), static_cast<unsigned>(originals_.size()));
        return problems;
    }

    Random rnd_;
    std::string dir_;
    std::string root_;
    std::string cfg_;
    std::map<std::string, std::string> originals_;  // bytes -> name made
    std::vector<std::string> files_;
    std::vector<std::string> folders_;
    kdrive::Driver driver_;
    std::ofstream log_;
    std::string last_;
    int counter_ = 0;
    int dismissed_ = 0;
    int refused_ = 0;     // filer keys refused with a message
    int typedInBox_ = 0;  // filer keys that went to the filer's box
    int late_ = 0;        // questions answered only at the next step
    int step_ = 0;
    std::string fault_;   // what ends the run at this step
    DWORD settle_ = 15;
};

}  // namespace

int main(int argc, char** argv) {
    int steps = 10000;
    unsigned seed = 1;
    std::string dir;
    DWORD settle = 15;
    bool keep = false;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--steps") {
            steps = std::atoi(argv[i + 1]);
        } else if (a == "--seed") {
            seed = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
        } else if (a == "--dir") {
            dir = argv[i + 1];
        } else if (a == "--keep") {
            keep = std::atoi(argv[i + 1]) != 0;
        } else if (a == "--settle") {
            settle = static_cast<DWORD>(std::atoi(argv[i + 1]));
        } else {
            std::fprintf(stderr, "usage: longrun [--steps N] [--seed S] [--dir FOLDER] [--settle MS] [--keep 0|1]\n");
            return 2;
        }
    }
    if (dir.empty()) {
        char tmp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, tmp);
        dir = std::string(tmp) + "kestrum-longrun-" + std::to_string(seed) + "-" + std::to_string(GetTickCount());
    }
    LongRun run(seed, dir);
    run.SetSettle(settle);
    if (!run.Prepare()) {
        std::fprintf(stderr, "longrun: cannot make the tree in %s\n", dir.c_str());
        return 2;
    }
    std::printf("longrun: seed %u, %d steps in %s\n", seed, steps, dir.c_str());
    std::fflush(stdout);
    const DWORD t0 = GetTickCount();
    if (!run.Start()) {
        std::fprintf(stderr, "longrun: Kestrum did not start\n");
        return 1;
    }
    for (int i = 1; i <= steps; ++i) {
        const std::string err = run.Step(i);
        if (!err.empty()) {
            std::fprintf(stderr, "longrun: step %d: %s (see %s\\longrun.log)\n", i, err.c_str(), dir.c_str());
            return 1;
        }
        if (i % 500 == 0) {
            std::printf("longrun: %d steps, %u s, %u files\n", i, static_cast<unsigned>((GetTickCount() - t0) / 1000),
                        static_cast<unsigned>(run.Files()));
            std::fflush(stdout);
        }
    }
    const std::string problems = run.Finish();
    std::printf("longrun: %d steps in %u s, %d messages answered; of the filer's keys, %d refused with a message, "
                "%d typed into its box; %d questions came late\n",
                steps, static_cast<unsigned>((GetTickCount() - t0) / 1000), run.Dismissed(), run.Refused(),
                run.TypedInBox(), run.Late());
    if (!problems.empty()) {
        std::fprintf(stderr, "longrun: FAILED\n%s", problems.c_str());
        return 1;
    }
    run.Close();
    if (!keep) RemoveTree(dir);
    std::printf("longrun: passed\n");
    return 0;
}
