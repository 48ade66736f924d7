// Every filer action reached through both of its routes, a key bound in the
// key map and its menu item, with the effect it must have (or what it waits
// for that is not built yet); and the key file a fresh installation gets.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/app_win.h"
#include "app/forms_win.h"
#include "common/prompter.h"
#include "common/sjis.h"
#include "config/action_table.h"
#include "config/cfg_form_win.h"
#include "config/key_files_win.h"
#include "config/profile.h"
#include "config/session.h"
#include "fileops/change_dir_win.h"
#include "filer/frm_fm_win.h"
#include "shell/frm_main_win.h"
#include "tests/fakes/scripted_file_op_questions.h"
#include "tests/fakes/scripted_filer_questions.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/fileops/file_op_fake_win.h"
#include "tests/test_util.h"
#include "viewers/text_viewer_win.h"

namespace kestrum {
namespace {

using Code = FilerActionCode;

// The program folder of the build (build/bin) holds the shipped files.
std::string ProgramFolder() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string dir(self);
    dir.resize(dir.find_last_of('\\'));      // tests
    dir.resize(dir.find_last_of('\\') + 1);  // the build folder
    return dir + "bin\\";
}

// The shipped key file binds every letter action to its own letter (with
// Shift where the action is the Shift one), Shift+Return included.
TEST(ShippedKeyFileTest, BindsEveryLetterActionToItsLetter) {
    TKeyX keyx;
    SetUpFilerKeyX(keyx, [](char) { return 0; }, [] {});
    ScriptedPrompter p;
    const Subscription scope = InstallPrompter(p);
    ASSERT_EQ(LoadKeyFile(keyx, ProgramFolder() + "Kestrum.Key", kFilerKeyHeader, true), KeyFileResult::Loaded);
    int letters = 0;
    for (const FilerAction& a : FilerActions()) {
        const LetterRoute* route = LetterRouteForCode(a.code);
        if (!route) continue;
        ++letters;
        const int key = route->letter ? route->letter : VK_RETURN;
        const int r = keyx.KeyXUserKey.Find(key, route->shift ? kModShift : 0);
        ASSERT_GE(r, 0) << a.name;
        EXPECT_EQ(keyx.KeyXUserKey.Get(r).action, a.code) << a.name;
    }
    EXPECT_EQ(letters, 24);
    EXPECT_TRUE(p.Questions().empty());
}

// The visible top-level windows of this thread.
BOOL CALLBACK AddVisible(HWND w, LPARAM lp) {
    if (IsWindowVisible(w)) reinterpret_cast<std::set<HWND>*>(lp)->insert(w);
    return TRUE;
}
std::set<HWND> VisibleWindows() {
    std::set<HWND> out;
    EnumThreadWindows(GetCurrentThreadId(), &AddVisible, reinterpret_cast<LPARAM>(&out));
    return out;
}

// Closes the windows an action opens with a modal loop of its own, noting
// their captions: a timer of the thread, dispatched by those loops.
class ModalCloser {
public:
    ModalCloser() : timer_(SetTimer(nullptr, 0, 20, &Tick)) { self_ = this; }
    ~ModalCloser() {
        KillTimer(nullptr, timer_);
        self_ = nullptr;
    }
    ModalCloser(const ModalCloser&) = delete;
    ModalCloser& operator=(const ModalCloser&) = delete;
    void Arm() {
        known_ = VisibleWindows();
        seen.clear();
    }
    std::vector<std::string> seen;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (!self_) return;
        for (HWND w : VisibleWindows()) {
            if (!self_->known_.insert(w).second) continue;
            self_->seen.push_back(GetText(w));
            PostMessageA(w, WM_CLOSE, 0, 0);
        }
    }
    static inline ModalCloser* self_ = nullptr;
    UINT_PTR timer_;
    std::set<HWND> known_;
};

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return "<no clipboard>";
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            text = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return text;
}

// The shortcut places 0 to 3 come from these values of the user's shell
// folders; missing ones are made for the test and removed after it.
constexpr const char* kShellFolders = "software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kPlaces[] = {"Desktop", "Startup", "programs", "Start Menu"};

std::string ShellFolder(const char* value) {
    char buf[MAX_PATH] = {};
    DWORD len = sizeof buf;
    if (RegGetValueA(HKEY_CURRENT_USER, kShellFolders, value, RRF_RT_REG_SZ, nullptr, buf, &len) != ERROR_SUCCESS) {
        return {};
    }
    return buf;
}

class FilerRoutesTest : public testing::Test {
protected:
    void SetUp() override {
        char cwd[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, cwd);
        saved_ = cwd;
        savedKeys_.Assign(FilerKeyX().KeyXUserKey);
        TheSession() = Session();
        TheSession().settingsPath = dir_.File("k.cfg");
        WriteSettings();
        for (const char* d : {"home", "home\\ソフト", "to", "many"}) CreateDirectoryA(dir_.File(d).c_str(), nullptr);
        test::WriteFile(dir_.File("home\\a.txt"), "hello");
        test::WriteFile(dir_.File("home\\b.doc"), std::string(5000, 'x'));
        for (int i = 0; i < 300; ++i) test::WriteFile(dir_.File("many\\f" + std::to_string(1000 + i)), "");
        for (const char* place : kPlaces) {
            if (!ShellFolder(place).empty()) continue;
            const std::string dir = dir_.File(place);
            RegSetKeyValueA(HKEY_CURRENT_USER, kShellFolders, place, REG_SZ, dir.c_str(),
                            static_cast<DWORD>(dir.size() + 1));
            madePlaces_.push_back(place);
        }

        main_ = std::make_unique<TfrmMain>();
        App().main = main_.get();
        ASSERT_TRUE(main_->Create(nullptr));
        const ProfileReader profile = ProfileReader::FromFile(TheSession().settingsPath);
        imageViewer_ = std::make_unique<TPlaceholderForm>("TfrmView", "画像ビューワー", TPlaceholderForm::Keys{});
        textViewer_ = std::make_unique<TwttForm>();
        ASSERT_TRUE(imageViewer_->Create(nullptr, profile));
        ASSERT_TRUE(textViewer_->Create(nullptr));
        App().imageViewer = imageViewer_.get();
        App().textViewer = textViewer_.get();
        filer_ = std::make_unique<TfrmFM>();
        App().filer = filer_.get();
        services_ = InstallAppServices();
        ASSERT_TRUE(filer_->Create(nullptr));
        MakeFilerCommandLine(*filer_);
        cfgRunner_ = InstallCfgFormRunner([this](TcfgForm& form) {
            settingsPages_.push_back(form.Page());
            return static_cast<int>(mrCancel);
        });
    }
    void TearDown() override {
        cfgRunner_.Reset();
        services_.clear();
        App() = AppState();
        filer_.reset();
        main_.reset();
        FilerKeyX().KeyXUserKey.Assign(savedKeys_);
        TheSession() = Session();
        for (const char* place : madePlaces_) RegDeleteKeyValueA(HKEY_CURRENT_USER, kShellFolders, place);
        SetCurrentDirectoryA(saved_.c_str());
    }

    void WriteSettings() {
        test::WriteFile(TheSession().settingsPath,
                        "[環境変数]\r\nFILERAUTO, 0\r\nHOMEDIR, " + dir_.File("home") + "\r\n[END]\r\n");
    }
    // The same start for every run: the home directory listed with the
    // cursor on a.txt, nothing marked, the shell window and viewers hidden.
    void Reset() {
        WriteSettings();
        Settings& s = TheSession().settings;
        s.editer = "CD";  // harmless: these name files, not directories
        s.viewer = "CD";
        s.filerAuto = false;
        s.subDirSize = true;
        TheSession().maskText = "*.*";
        TheSession().masks = {"0*.*"};
        TheSession().setExt.clear();
        TheSession().lists.logList = {"1 " + dir_.File("home")};
        TheSession().lists.copyList = {"1 " + dir_.File("to")};
        TheSession().lists.findList = {"*.TXT"};
        ShowWindow(main_->Handle(), SW_HIDE);
        ShowWindow(imageViewer_->Handle(), SW_HIDE);
        ShowWindow(textViewer_->Handle(), SW_HIDE);
        SetWindowTextA(filer_->CommandLine(), "");
        ASSERT_TRUE(ChangeDirectory(dir_.File("home")));
        filer_->ShowFiler();
        filer_->SetDisplayMode(0);
        PlaceOn("a.txt");
        if (OpenClipboard(nullptr)) {
            EmptyClipboard();
            CloseClipboard();
        }
    }
    void GoTo(const std::string& rel) {
        ASSERT_TRUE(ChangeDirectory(dir_.File(rel)));
        filer_->ShowList();
    }
    FileListModel& Model() { return filer_->Model(); }
    void PlaceOn(const std::string& name) {
        for (std::size_t i = 0; i < Model().Count(); ++i) {
            if (Model().Entry(i).find.name == name) {
                Model().PlaceCursor(static_cast<long long>(i));
                return;
            }
        }
        ADD_FAILURE() << "no entry " << name;
    }
    long long IndexOf(const std::string& name) {
        for (std::size_t i = 0; i < Model().Count(); ++i) {
            if (Model().Entry(i).find.name == name) return static_cast<long long>(i);
        }
        return -1;
    }
    std::string CursorName() {
        return Model().Entry(static_cast<std::size_t>(Model().CursorIndex())).find.name;
    }
    std::string EntryText(const std::string& name) {
        for (std::size_t i = 0; i < Model().Count(); ++i) {
            if (Model().Entry(i).find.name == name) return Model().Entry(i).text;
        }
        return "<none>";
    }

    // The key and colour files are missing here: their messages are answered.
    ScriptedPrompter prompter_;
    const Subscription scope_ = InstallPrompter(prompter_);
    test::TempDir dir_;
    std::string saved_;
    TUserKey savedKeys_;
    std::vector<const char*> madePlaces_;
    std::unique_ptr<TfrmMain> main_;
    std::unique_ptr<TPlaceholderForm> imageViewer_;
    std::unique_ptr<TwttForm> textViewer_;
    std::unique_ptr<TfrmFM> filer_;
    std::vector<Subscription> services_;
    Subscription cfgRunner_;
    std::vector<int> settingsPages_;
};

// What one run of an action left behind.
struct Outcome {
    ScriptedPrompter& asked;
    ScriptedFileOpQuestions& fileQuestions;
    ScriptedFilerQuestions& filerQuestions;
    test::RecordingFileOp& ops;
    const std::vector<std::string>& windows;  // captions of windows opened modally
};

// An action: how to prepare for it and what it must have done; or, when it
// does nothing yet, what it waits for.
struct Row {
    int code;
    const char* waitsFor = nullptr;
    std::function<void(ScriptedPrompter&)> setup;
    std::function<void(const Outcome&)> check;
};

TEST_F(FilerRoutesTest, EveryActionThroughItsKeyAndItsMenuItem) {
    const std::string home = dir_.File("home\\");
    auto lastTitle = [](const Outcome& r) {
        return r.asked.LineQuestions().empty() ? std::string("<none>") : r.asked.LineQuestions().back().title;
    };
    auto lastText = [](const Outcome& r) {
        return r.asked.LineQuestions().empty() ? std::string("<none>") : r.asked.LineQuestions().back().text;
    };
    auto lastMessage = [](const Outcome& r) {
        return r.asked.Questions().empty() ? std::string("<none>") : r.asked.Questions().back().text;
    };
    auto titled = [&](const char* title) {
        return [&, title](const Outcome& r) { EXPECT_EQ(lastTitle(r), title); };
    };
    auto listShown = [&](const std::vector<std::string>* rows) {
        return [rows](const Outcome& r) {
            ASSERT_EQ(r.asked.ListsShown().size(), 1u);
            EXPECT_EQ(r.asked.ListsShown()[0], *rows);
        };
    };
    auto menuShown = [](const Outcome& r) { EXPECT_EQ(r.asked.PopupMenusShown(), 1); };
    auto opened = [](const char* caption) {
        return [caption](const Outcome& r) { EXPECT_EQ(r.windows, std::vector<std::string>{caption}); };
    };
    auto platformCall = [](UINT func, bool undo) {
        return [func, undo](const Outcome& r) {
            ASSERT_EQ(r.ops.requests.size(), 1u);
            EXPECT_EQ(r.ops.requests[0].func, func);
            EXPECT_EQ((r.ops.requests[0].flags & FOF_ALLOWUNDO) != 0, undo);
            EXPECT_NE(r.ops.requests[0].from.find("a.txt"), std::string::npos);
        };
    };
    auto marked = [&](std::size_t n) { return [&, n](const Outcome&) { EXPECT_EQ(Model().MarkedCount(), n); }; };
    // The cursor starts on a.txt; entries are in the platform's order.
    auto cursorMoved = [&](long long by) {
        return [&, by](const Outcome&) { EXPECT_EQ(Model().CursorIndex(), IndexOf("a.txt") + by); };
    };
    auto failedMkdir = [&](const Outcome& r) { EXPECT_EQ(lastMessage(r), "ディレクトリの作成に失敗しました。"); };
    auto clip = [&](std::function<std::string()> expected) {
        return [expected](const Outcome&) { EXPECT_EQ(ClipboardText(), expected()); };
    };
    // The name may be cut to leave room for the directory; size and date stay.
    auto clipStarts = [&](std::function<std::string()> expected) {
        return [expected](const Outcome&) {
            const std::string text = ClipboardText();
            EXPECT_EQ(text.substr(0, expected().size()), expected());
            EXPECT_NE(text.find("        5 "), std::string::npos) << text;
        };
    };
    auto inMany = [&](long long cursor) {
        return [&, cursor](ScriptedPrompter&) {
            GoTo("many");
            Model().PlaceCursor(cursor);
        };
    };
    auto on = [&](const char* name) { return [&, name](ScriptedPrompter&) { PlaceOn(name); }; };
    auto shortcutFolder = [&](int place) {
        return [&, place](const Outcome& r) {
            EXPECT_EQ(lastTitle(r), "ショートカット作成 " + IncludeTrailingBackslash(ShellFolder(kPlaces[place])));
        };
    };
    const std::vector<Row> rows = {
        {Code::Copy, nullptr, nullptr, titled("a.txtをコピーします。")},
        {Code::Delete, nullptr, nullptr, platformCall(FO_DELETE, true)},
        {Code::Move, nullptr, nullptr, titled("a.txtを移動します。")},
        {Code::Rename, nullptr, nullptr, titled("Rename")},
        {Code::Unpack, nullptr, nullptr, titled("a.txtを解凍します")},
        {Code::Pack, nullptr, nullptr, titled("a.txtをＰａｃｋします")},
        {Code::ChangeDirectory, nullptr, nullptr, titled("Logdisk カレントディレクトリの変更")},
        {Code::MakeDirectory, nullptr, nullptr, titled("mKdir")},
        {Code::Run, nullptr, nullptr,
         [&](const Outcome& r) {
             EXPECT_EQ(lastTitle(r), "eXecute");
             EXPECT_EQ(lastText(r), TheSession().currentDir + "a.txt");
         }},
        {Code::View, nullptr, [](ScriptedPrompter&) { TheSession().settings.viewer = "MKDIR"; }, failedMkdir},
        {Code::Edit, nullptr, [](ScriptedPrompter&) { TheSession().settings.editer = "MKDIR"; }, failedMkdir},
        {Code::CloseViewers, nullptr,
         [&](ScriptedPrompter&) {
             ShowWindow(imageViewer_->Handle(), SW_SHOW);
             ShowWindow(textViewer_->Handle(), SW_SHOW);
         },
         [&](const Outcome&) {
             EXPECT_FALSE(imageViewer_->Visible());
             EXPECT_FALSE(textViewer_->Visible());
         }},
        {Code::Mask, nullptr, nullptr, titled("Find")},
        {Code::Sort, nullptr, nullptr, [](const Outcome& r) { EXPECT_EQ(r.filerQuestions.SortsAsked().size(), 1u); }},
        {Code::Duplicate, nullptr, nullptr, titled("a.txtをバックアップします")},
        {Code::NamesOnly, nullptr, [&](ScriptedPrompter&) { filer_->SetDisplayMode(1); },
         [&](const Outcome&) { EXPECT_EQ(EntryText("b.doc").find("5000"), std::string::npos); }},
        {Code::NamesSizesDates, nullptr, nullptr,
         [&](const Outcome&) { EXPECT_NE(EntryText("b.doc").find("5000"), std::string::npos); }},
        {Code::ToShellWindow, nullptr, nullptr,
         [&](const Outcome&) {
             EXPECT_TRUE(main_->Visible());
             EXPECT_EQ(GetFocus(), main_->Edit1());
         }},
        {Code::ParentDirectory, nullptr, [&](ScriptedPrompter&) { GoTo("home\\ソフト"); },
         [&](const Outcome&) {
             EXPECT_TRUE(SameText(TheSession().currentDir, home));
             EXPECT_EQ(CursorName(), "ソフト");
         }},
        {Code::NextPage, nullptr, inMany(0), [&](const Outcome&) { EXPECT_EQ(Model().PageTop(), Model().PageSize()); }},
        {Code::PreviousPage, nullptr, [&](ScriptedPrompter& p) { inMany(Model().PageSize())(p); },
         [&](const Outcome&) { EXPECT_EQ(Model().PageTop(), 0); }},
        {Code::Mark, nullptr, nullptr,
         [&](const Outcome& r) {
             EXPECT_TRUE(Model().Entry(static_cast<std::size_t>(IndexOf("a.txt"))).marked);
             EXPECT_EQ(Model().MarkedCount(), 1u);
             cursorMoved(1)(r);
         }},
        {Code::MarkAll, nullptr, nullptr, marked(2)},
        {Code::OpenFirst, nullptr, on("ソフト"),
         [&](const Outcome&) { EXPECT_TRUE(SameText(TheSession().currentDir, home + "ソフト\\")); }},
        {Code::CloseFiler, nullptr, nullptr, [&](const Outcome&) { EXPECT_FALSE(filer_->Visible()); }},
        {Code::ChangeDirectoryListed, nullptr, nullptr, listShown(&TheSession().lists.logList)},
        {Code::CopyListed, nullptr, [&](ScriptedPrompter& p) { p.AnswerList(ListPick{ListResult::Ok, dir_.File("to"), 0}); },
         [](const Outcome& r) {
             ASSERT_EQ(r.ops.requests.size(), 1u);
             EXPECT_EQ(r.ops.requests[0].func, static_cast<UINT>(FO_COPY));
         }},
        {Code::MoveListed, nullptr, [&](ScriptedPrompter& p) { p.AnswerList(ListPick{ListResult::Ok, dir_.File("to"), 0}); },
         [](const Outcome& r) {
             ASSERT_EQ(r.ops.requests.size(), 1u);
             EXPECT_EQ(r.ops.requests[0].func, static_cast<UINT>(FO_MOVE));
         }},
        {Code::MaskListed, nullptr, nullptr, listShown(&TheSession().lists.findList)},
        {Code::Erase, nullptr, nullptr, platformCall(FO_DELETE, false)},
        {Code::OpenSecond, nullptr, on("b.doc"), menuShown},  // no association: the list
        {Code::RunEmpty, nullptr, nullptr,
         [&](const Outcome& r) {
             EXPECT_EQ(lastTitle(r), "eXecute");
             EXPECT_EQ(lastText(r), "");
         }},
        {Code::Format, nullptr, nullptr, opened("Format")},
        {Code::ShortcutOnDesktop, nullptr, nullptr, shortcutFolder(0)},
        {Code::ShortcutInStartup, nullptr, nullptr, shortcutFolder(1)},
        {Code::ShortcutInPrograms, nullptr, nullptr, shortcutFolder(2)},
        {Code::ShortcutInStartMenu, nullptr, nullptr, shortcutFolder(3)},
        {Code::ShortcutHere, nullptr, nullptr,
         [&](const Outcome& r) { EXPECT_EQ(lastTitle(r), "ショートカット作成 " + TheSession().currentDir); }},
        {Code::ShortcutTyped, nullptr, nullptr, titled("a.txtショートカットの作成")},
        {Code::ShortcutListed, nullptr, nullptr, listShown(&TheSession().lists.copyList)},
        {Code::ClipNames, nullptr, nullptr, clip([] { return std::string("a.txt"); })},
        {Code::ClipNamesSizesDates, nullptr, nullptr, clipStarts([] { return std::string("a.txt"); })},
        {Code::ClipFullNames, nullptr, nullptr, clip([] { return TheSession().currentDir + "a.txt"; })},
        {Code::ClipFullNamesSizesDates, nullptr, nullptr, clipStarts([] { return TheSession().currentDir + "a"; })},
        {Code::ClipDirectory, nullptr, nullptr, clip([] { return TheSession().currentDir; })},
        {Code::SettingsDialog, nullptr, nullptr,
         [&](const Outcome&) { EXPECT_EQ(settingsPages_, std::vector<int>{kPageFiler}); }},
        {Code::NewAssociation, "the associations of the desktop"},
        {Code::EditAssociation, "the associations of the desktop"},
        {Code::RegisterInLogList, nullptr, nullptr, titled("Kestrum  呼び出しキー")},
        {Code::RegisterInCopyList, nullptr, nullptr, titled("Kestrum  呼び出しキー")},
        {Code::MakeHomeDirectory, nullptr, [&](ScriptedPrompter&) { GoTo("home\\ソフト"); },
         [&](const Outcome&) {
             EXPECT_NE(test::ReadFile(TheSession().settingsPath).find("HomeDir, " + TheSession().currentDir), std::string::npos);
         }},
        {Code::RegisterAlias, nullptr, nullptr,
         [&](const Outcome& r) {
             EXPECT_EQ(lastTitle(r), "エイリアス元のファイル");
             EXPECT_EQ(lastText(r), TheSession().currentDir + "a.txt");
         }},
        {Code::EditSettingsFile, nullptr, [](ScriptedPrompter&) { TheSession().settings.editer = "MKDIR"; }, failedMkdir},
        {Code::ReloadSettings, nullptr, [](ScriptedPrompter&) { TheSession().settings.filerAuto = true; },
         [](const Outcome&) { EXPECT_FALSE(TheSession().settings.filerAuto); }},  // as the file says
        {Code::FilerAtStart, nullptr, nullptr,
         [&](const Outcome&) {
             EXPECT_TRUE(TheSession().settings.filerAuto);
             EXPECT_NE(test::ReadFile(TheSession().settingsPath).find("FilerAuto, 1"), std::string::npos);
         }},
        {Code::OpenList, nullptr, nullptr, menuShown},
        {Code::Attributes, nullptr, nullptr,
         [](const Outcome& r) {
             ASSERT_EQ(r.fileQuestions.AttributesAsked().size(), 1u);
             EXPECT_EQ(r.fileQuestions.AttributesAsked()[0].fileName, "a.txt");
         }},
        {Code::FirstEntry, nullptr, nullptr, [&](const Outcome&) { EXPECT_EQ(Model().CursorIndex(), 0); }},
        {Code::LastEntry, nullptr, nullptr,
         [&](const Outcome&) { EXPECT_EQ(Model().CursorIndex(), static_cast<long long>(Model().Count()) - 1); }},
        {Code::Dates, nullptr, nullptr,
         [](const Outcome& r) {
             ASSERT_EQ(r.fileQuestions.DatesAsked().size(), 1u);
             EXPECT_EQ(r.fileQuestions.DatesAsked()[0].fileName, "a.txt");
         }},
        {Code::SendToWindow, "dragging to other windows"},
        {Code::SendToWindowAndFocus, "dragging to other windows"},
        {Code::ToCommandLineWithName, nullptr, nullptr,
         [&](const Outcome&) {
             EXPECT_EQ(GetText(filer_->CommandLine()), TheSession().currentDir + "a.txt");
             EXPECT_EQ(GetFocus(), filer_->CommandLine());
         }},
        {Code::ToCommandLine, nullptr, nullptr,
         [&](const Outcome&) { EXPECT_EQ(GetFocus(), filer_->CommandLine()); }},
        {Code::RegisterAliasEmpty, nullptr, nullptr,
         [&](const Outcome& r) {
             EXPECT_EQ(lastTitle(r), "エイリアス元のファイル");
             EXPECT_EQ(lastText(r), "");
         }},
        {Code::Join, nullptr, nullptr,
         [&](const Outcome& r) {
             EXPECT_EQ(lastTitle(r), "結合");
             EXPECT_EQ(lastText(r), "a.LZH");
         }},
        {Code::InvertMarksFiles, nullptr, nullptr, marked(2)},
        {Code::InvertMarksAll, nullptr, nullptr, marked(3)},
        {Code::PopupMenu, nullptr, nullptr, menuShown},
        {Code::ContextMenu, "the shell's context menus"},
        {Code::MarkFromCursorFiles, nullptr, [&](ScriptedPrompter&) { Model().PlaceCursor(0); }, marked(2)},
        {Code::MarkFromCursorAll, nullptr, [&](ScriptedPrompter&) { Model().PlaceCursor(0); }, marked(3)},
        {Code::MapNetworkDrive, nullptr, nullptr,
         [](const Outcome& r) { EXPECT_EQ(r.asked.NetworkDriveDialogs(), std::vector<bool>{true}); }},
        {Code::DisconnectNetworkDrive, nullptr, nullptr,
         [](const Outcome& r) { EXPECT_EQ(r.asked.NetworkDriveDialogs(), std::vector<bool>{false}); }},
        {Code::CursorDown, nullptr, nullptr, cursorMoved(1)},
        {Code::CursorUp, nullptr, nullptr, cursorMoved(-1)},
        {Code::CursorRight, nullptr, inMany(0), [&](const Outcome&) { EXPECT_EQ(Model().CursorIndex(), Model().Rows()); }},
        {Code::CursorLeft, nullptr, [&](ScriptedPrompter& p) { inMany(Model().Rows())(p); },
         [&](const Outcome&) { EXPECT_EQ(Model().CursorIndex(), 0); }},
        {Code::WriteSortOrder, nullptr, [](ScriptedPrompter& p) { p.Answer(mrNo); },
         [&](const Outcome& r) {
             ASSERT_EQ(r.asked.Questions().size(), 1u);
             EXPECT_EQ(r.asked.Questions()[0].type, MsgType::Warning);
             EXPECT_EQ(test::ReadFile(home + "a.txt"), "hello");
         }},
        {Code::Properties, "the shell's context menus"},
        {Code::EditUserDefinitions, "the user-defined menus"},
        {Code::EditAliases, nullptr, nullptr, opened("エイリアス編集")},
        {Code::EditLogList, nullptr, nullptr, opened("ディレクトリ変更先リスト")},
        {Code::EditCopyList, nullptr, nullptr, opened("コピー先ディレクトリリスト")},
        {Code::EditFunctionKeys, nullptr, nullptr, opened("ファンクションのカスタマイズ")},
        {Code::EditAssociations, "the association editor"},
    };

    std::set<int> covered;
    ModalCloser closer;
    for (const Row& row : rows) {
        covered.insert(row.code);
        ASSERT_NE(FindFilerAction(row.code), nullptr) << row.code;
        ASSERT_NE(GetMenuState(filer_->Menus().Bar(), kFilerMenuBase + row.code, MF_BYCOMMAND), static_cast<UINT>(-1))
            << row.code;
        for (const bool byKey : {true, false}) {
            SCOPED_TRACE(std::string(FindFilerAction(row.code)->name) + (byKey ? " by its key" : " by its menu item"));
            ScriptedPrompter asked;
            const Subscription scope = InstallPrompter(asked);
            ScriptedFileOpQuestions fileQuestions;
            ScriptedFilerQuestions filerQuestions;
            test::RecordingFileOp ops;
            ops.perform = false;
            const Subscription scopedOps = InstallShellFileOp(ops);
            Reset();
            if (row.setup) row.setup(asked);
            settingsPages_.clear();
            const long long cursor = Model().CursorIndex();
            const std::string dir = TheSession().currentDir;
            closer.Arm();
            if (byKey) {
                TUserKey& keys = FilerKeyX().KeyXUserKey;
                keys.Clear();
                KeyBinding& b = keys.Add();
                b.key = VK_F24;
                b.name = "F24";
                b.action = row.code;
                SendMessageA(filer_->Handle(), WM_KEYDOWN, VK_F24, 0);
            } else {
                SendMessageA(filer_->Handle(), WM_COMMAND, kFilerMenuBase + row.code, 0);
            }
            const Outcome run{asked, fileQuestions, filerQuestions, ops, closer.seen};
            if (row.waitsFor) {
                // Nothing happens until that is built.
                EXPECT_TRUE(asked.Questions().empty());
                EXPECT_TRUE(asked.LineQuestions().empty());
                EXPECT_TRUE(asked.ListsShown().empty());
                EXPECT_EQ(asked.PopupMenusShown(), 0);
                EXPECT_TRUE(ops.requests.empty());
                EXPECT_TRUE(closer.seen.empty());
                EXPECT_EQ(Model().CursorIndex(), cursor);
                EXPECT_EQ(TheSession().currentDir, dir);
                EXPECT_TRUE(filer_->Visible());
            } else {
                row.check(run);
                const bool opensWindow = row.code == Code::Format || row.code >= Code::EditAliases;
                if (!opensWindow) {
                    EXPECT_TRUE(closer.seen.empty());
                }
            }
        }
    }
    EXPECT_EQ(covered.size(), kFilerActionCount);
}

// With the built-in viewer chosen, V shows the cursor file in it.
TEST_F(FilerRoutesTest, ViewShowsTheFileInTheBuiltInViewer) {
    Reset();
    TheSession().settings.viewMode = true;
    ASSERT_TRUE(filer_->RunAction(static_cast<int>(Code::View)));
    EXPECT_TRUE(textViewer_->Visible());
    EXPECT_EQ(textViewer_->CurrentFile(), dir_.File("home\\a.txt"));
    EXPECT_EQ(textViewer_->View().GetText(), "hello\r\n");
}

}  // namespace
}  // namespace kestrum
