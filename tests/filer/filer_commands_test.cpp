// The filer's commands over an in-memory disk and a scripted user: the
// selection and its refusals, the mark loops, listing a directory with its
// disk's totals, copy and move of the selection, renames, new directories,
// the mask, the directory to change to, registrations, packing; with faults
// injected where a command changes the disk.
#include "filer/filer_commands.h"

#include <gtest/gtest.h>

#include "config/aliases.h"
#include "fileops/path_utils.h"
#include "tests/common/mem_file_system.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/fileops/fault_injection.h"
#include "tests/fileops/mem_transfer_batches.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

using test::FaultyFileSystem;
using test::MemFileSystem;
using test::MemTransferBatches;

constexpr const char* kDir = "D:\\WORK\\";

class FilerCommandsTest : public testing::Test {
protected:
    FilerCommandsTest() {
        session_.currentDir = kDir;
        session_.settings.flagDcd = false;
        session_.settingsPath = temp_.File("k.cfg");
        mem_.SetCurrentDir(kDir);
        mem_.AddDir("E:\\");
        mem_.AddFile("D:\\WORK\\A.TXT", "a");
        mem_.AddFile("D:\\WORK\\B.C", "bb");
        mem_.AddFile("D:\\WORK\\SUB\\IN.TXT", std::string(5000, 'x'));
        mem_.AddFile("D:\\WORK\\SUB\\DEEP\\X", std::string(10, 'x'));
        mem_.AddFile("D:\\WORK\\.HIDE", "h", 0, kAttrHidden);
        mem_.AddDirLink("D:\\WORK\\SUB\\LINK");
        mem_.AddFile("D:\\WORK\\SUB\\LINK\\ELSEWHERE", std::string(99999, 'x'));
        List();
    }
    // The listing of kDir: ".", "..", "A.TXT", "B.C", "SUB", ".HIDE" (hidden files shown).
    void List(bool hidden = true) {
        drive_ = ListDirectory(files_, kDir, model_, FileListModel::AddRules{hidden, &session_.masks}, DisplayOptions{});
        model_.SetGrid(10, 2);
    }
    long long IndexOf(const std::string& name) const {
        for (std::size_t i = 0; i < model_.Count(); ++i) {
            if (model_.Name(i) == name) return static_cast<long long>(i);
        }
        ADD_FAILURE() << name << " is not listed";
        return 0;
    }
    void Mark(const std::string& name) { model_.SetMark(static_cast<std::size_t>(IndexOf(name)), true, nullptr); }
    std::vector<std::string> Messages() const {
        std::vector<std::string> out;
        for (const auto& q : ask_.Questions()) out.push_back(q.text);
        return out;
    }
    ContentSize Size() {
        return [this](const FindRecord& f) { return DirectoryContentSize(files_, kDir + f.name + "\\", model_); };
    }

    test::TempDir temp_;
    Session session_;
    MemFileSystem mem_;
    FaultyFileSystem files_{mem_};
    ScriptedPrompter ask_;
    const Subscription scope_ = InstallPrompter(ask_);
    FileListModel model_;
    DriveTexts drive_;
    FilerContext c_{session_, files_, ask_, model_};
};

// ---- the selection ----------------------------------------------------------------

TEST_F(FilerCommandsTest, TheSelectionIsTheMarksWithoutDotsElseTheCursorEntry) {
    model_.PlaceCursor(IndexOf("B.C"));
    EXPECT_EQ(SelectionNames(model_), std::vector<std::string>{"B.C"});
    EXPECT_EQ(SubjectText(model_), "B.Cを");
    Mark("SUB");
    Mark("A.TXT");
    EXPECT_EQ(SelectionNames(model_), (std::vector<std::string>{"A.TXT", "SUB"}));
    EXPECT_EQ(SubjectText(model_), "マークファイルを");

    FileListModel empty;
    EXPECT_TRUE(Selection(empty).empty());
    EXPECT_EQ(CursorName(empty), "");
    EXPECT_EQ(SubjectText(empty), "");
}

TEST_F(FilerCommandsTest, DotsAloneAreRefusedWithTheirOwnNames) {
    model_.PlaceCursor(IndexOf("."));
    EXPECT_TRUE(RefuseDotEntry(model_, ask_, "を削除することは出来ません"));
    model_.PlaceCursor(IndexOf(".."));
    EXPECT_TRUE(RefuseDotEntry(model_, ask_, "をコピーすることは出来ません"));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"カレントディレクトリを削除することは出来ません",
                                                    "親ディレクトリをコピーすることは出来ません"}));
    // With marks the cursor is no operand, unless the action is on it alone.
    Mark("A.TXT");
    EXPECT_FALSE(RefuseDotEntry(model_, ask_, "x"));
    EXPECT_TRUE(RefuseDotEntry(model_, ask_, "x", true));
    model_.PlaceCursor(IndexOf("B.C"));
    EXPECT_FALSE(RefuseDotEntry(model_, ask_, "x", true));
}

// ---- marks ------------------------------------------------------------------------

TEST_F(FilerCommandsTest, MarkLoopsKeepToFilesWhereAskedAndCountDirectoryContents) {
    model_.SetClusterSize(4096);
    MarkAllOrNone(model_, Size());  // none marked: every file, no directory
    EXPECT_EQ(SelectionNames(model_), (std::vector<std::string>{"A.TXT", "B.C", ".HIDE"}));
    EXPECT_EQ(model_.MarkedTotal(), 3 * 4096);
    MarkAllOrNone(model_, Size());  // some marked: none
    EXPECT_EQ(model_.MarkedCount(), 0u);

    model_.PlaceCursor(IndexOf("B.C"));
    MarkFromCursor(model_, true, Size());
    EXPECT_EQ(SelectionNames(model_), (std::vector<std::string>{"B.C", ".HIDE"}));
    MarkFromCursor(model_, false, Size());
    EXPECT_EQ(SelectionNames(model_), (std::vector<std::string>{"B.C", "SUB", ".HIDE"}));
    // SUB counts IN.TXT (two clusters) and DEEP\X (one), never the link's file.
    EXPECT_EQ(model_.MarkedTotal(), 2 * 4096 + (2 + 1) * 4096);

    InvertMarks(model_, true, Size());
    EXPECT_EQ(SelectionNames(model_), (std::vector<std::string>{"A.TXT", "SUB"}));
    InvertMarks(model_, false, Size());
    EXPECT_EQ(SelectionNames(model_), (std::vector<std::string>{"B.C", ".HIDE"}));
}

TEST_F(FilerCommandsTest, ClicksSetTheAnchorMarkARangeAndToggle) {
    MarkByClick(model_, 2, false, false, Size());
    EXPECT_EQ(model_.Anchor(), 2);
    MarkByClick(model_, 4, true, false, Size());  // Shift: A.TXT to SUB
    EXPECT_EQ(SelectionNames(model_), (std::vector<std::string>{"A.TXT", "B.C", "SUB"}));
    MarkByClick(model_, 3, true, false, Size());  // a new range replaces the old
    EXPECT_EQ(SelectionNames(model_), (std::vector<std::string>{"A.TXT", "B.C"}));
    MarkByClick(model_, 5, true, true, Size());   // Shift+Ctrl adds the range, then toggles the entry
    EXPECT_EQ(SelectionNames(model_), (std::vector<std::string>{"A.TXT", "B.C", "SUB"}));
    MarkByClick(model_, 2, false, true, Size());  // Ctrl alone toggles
    EXPECT_EQ(SelectionNames(model_), (std::vector<std::string>{"B.C", "SUB"}));
}

// ---- listing ----------------------------------------------------------------------

TEST_F(FilerCommandsTest, AListingFollowsTheHiddenRuleAndTheMasks) {
    EXPECT_EQ(model_.Count(), 6u);
    List(false);
    EXPECT_EQ(model_.Count(), 5u);
    session_.masks = {"0*.TXT"};
    List();
    // Directories always; files the mask accepts.
    std::vector<std::string> names;
    for (std::size_t i = 0; i < model_.Count(); ++i) names.emplace_back(model_.Name(i));
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", "A.TXT", "SUB"}));
}

TEST_F(FilerCommandsTest, TheDrivesTotalsIn64BitsOrDashesWhenUnknown) {
    EXPECT_EQ(drive_.total, "Total   ---");
    EXPECT_EQ(drive_.used, "Used    ---");
    EXPECT_EQ(drive_.freeSpace, "Free    ---");
    EXPECT_EQ(model_.ClusterSize(), 1);

    DiskSpace big;
    big.known = true;
    big.total = 6'000'000'000'000ULL;  // 6 TB: past 32 bits
    big.free = 1'500'000'000'000ULL;
    big.clusterBytes = 32768;
    mem_.SetSpace(big);
    List();
    EXPECT_EQ(drive_.total, "Total 6,000,000,000,000");
    EXPECT_EQ(drive_.used, "Used 4,500,000,000,000");
    EXPECT_EQ(drive_.freeSpace, "Free 1,500,000,000,000");
    EXPECT_EQ(model_.ClusterSize(), 32768);
}

TEST_F(FilerCommandsTest, ADirectoryThatCannotBeReadListsNothing) {
    Mark("A.TXT");
    files_.failAt = files_.Calls() + 1;  // the search
    List();
    EXPECT_TRUE(files_.Reached());
    EXPECT_EQ(model_.Count(), 0u);
    EXPECT_EQ(model_.MarkedCount(), 0u);
}

// ---- copy and move ----------------------------------------------------------------

class FilerTransferTest : public FilerCommandsTest {
protected:
    MemTransferBatches batches_{mem_};
    FileCopyEngine engine_{files_, batches_};
};

TEST_F(FilerTransferTest, TheSelectionGoesToTheTypedDirectory) {
    mem_.AddDir("E:\\BACKUP");
    Mark("A.TXT");
    Mark("B.C");
    ask_.AnswerLine("  E:\\BACKUP  ");
    EXPECT_EQ(CopyOrMoveSelection(c_, engine_, false, false), TransferOutcome::Done);
    ASSERT_EQ(ask_.LineQuestions().size(), 1u);
    EXPECT_EQ(ask_.LineQuestions()[0].title, "マークファイルをコピーします。");
    EXPECT_EQ(ask_.LineQuestions()[0].prompt, "コピー先のディレクトリを入れて下さい");
    EXPECT_EQ(mem_.Content("E:\\BACKUP\\A.TXT"), "a");
    EXPECT_EQ(mem_.Content("E:\\BACKUP\\B.C"), "bb");
    EXPECT_TRUE(mem_.Has("D:\\WORK\\A.TXT"));

    mem_.AddDir("E:\\MOVED");
    ask_.AnswerLine("E:\\MOVED\\");
    EXPECT_EQ(CopyOrMoveSelection(c_, engine_, true, false), TransferOutcome::Done);
    EXPECT_EQ(ask_.LineQuestions()[1].title, "マークファイルを移動します。");
    EXPECT_FALSE(mem_.Has("D:\\WORK\\A.TXT"));
    EXPECT_EQ(mem_.Content("E:\\MOVED\\A.TXT"), "a");
}

TEST_F(FilerTransferTest, ALetterIsItsDrivesRootAndWithDcdADriveItsLastDirectory) {
    mem_.AddDir("E:\\LAST\\ONE");
    model_.PlaceCursor(IndexOf("A.TXT"));
    ask_.AnswerLine("e");
    EXPECT_EQ(CopyOrMoveSelection(c_, engine_, false, false), TransferOutcome::Done);
    EXPECT_TRUE(mem_.Has("E:\\A.TXT"));

    session_.driveDirs[4] = "LAST\\ONE";
    ask_.AnswerLine("E:");  // without DCD: the drive's current directory, its root here
    EXPECT_EQ(CopyOrMoveSelection(c_, engine_, false, false), TransferOutcome::Done);
    EXPECT_FALSE(mem_.Has("E:\\LAST\\ONE\\A.TXT"));
    session_.settings.flagDcd = true;
    ask_.AnswerLine("e:");
    EXPECT_EQ(CopyOrMoveSelection(c_, engine_, false, false), TransferOutcome::Done);
    EXPECT_TRUE(mem_.Has("E:\\LAST\\ONE\\A.TXT"));
}

TEST_F(FilerTransferTest, OntoTheCurrentDirectoryACopyDuplicatesAndAMoveRenames) {
    model_.PlaceCursor(IndexOf("A.TXT"));
    ask_.AnswerLine("d:\\work");
    EXPECT_EQ(CopyOrMoveSelection(c_, engine_, false, false), TransferOutcome::Duplicate);
    ask_.AnswerLine(".\\");
    EXPECT_EQ(CopyOrMoveSelection(c_, engine_, true, false), TransferOutcome::Rename);
    EXPECT_TRUE(batches_.Batches().empty());
}

TEST_F(FilerTransferTest, ListedDestinationsRefusalsAndCancels) {
    mem_.AddDir("E:\\LISTED");
    session_.lists.copyList = {"1 E:\\LISTED"};
    model_.PlaceCursor(IndexOf("B.C"));
    ask_.AnswerList(ListPick{ListResult::Ok, "E:\\LISTED ", 0});
    EXPECT_EQ(CopyOrMoveSelection(c_, engine_, false, true), TransferOutcome::Done);
    EXPECT_TRUE(mem_.Has("E:\\LISTED\\B.C"));
    EXPECT_EQ(session_.lists.dirHistory.front(), "E:\\LISTED");

    EXPECT_EQ(CopyOrMoveSelection(c_, engine_, false, true), TransferOutcome::Cancelled);  // list cancelled
    EXPECT_EQ(CopyOrMoveSelection(c_, engine_, false, false), TransferOutcome::Cancelled);  // line cancelled
    ask_.AnswerLine("   ");
    EXPECT_EQ(CopyOrMoveSelection(c_, engine_, false, false), TransferOutcome::Cancelled);
    model_.PlaceCursor(IndexOf(".."));
    EXPECT_EQ(CopyOrMoveSelection(c_, engine_, true, false), TransferOutcome::Cancelled);
    EXPECT_EQ(Messages(), std::vector<std::string>{"親ディレクトリを移動することは出来ません"});
    EXPECT_EQ(batches_.Batches().size(), 1u);
}

// ---- renames and new directories --------------------------------------------------

TEST_F(FilerCommandsTest, RenamesAskEachNameAndNeverReplace) {
    Mark("A.TXT");
    Mark("B.C");
    ask_.AnswerLine("BAD|NAME");  // refused, then the next name is asked
    ask_.AnswerLine("B.TXT");
    RenameSelection(c_);
    EXPECT_TRUE(mem_.Has("D:\\WORK\\A.TXT"));
    EXPECT_EQ(mem_.Content("D:\\WORK\\B.TXT"), "bb");
    EXPECT_EQ(Messages(), std::vector<std::string>{kBadNameMessage});

    List();
    Mark("A.TXT");
    ask_.AnswerLine("B.TXT");  // exists: refused, nothing replaced
    RenameSelection(c_);
    EXPECT_EQ(mem_.Content("D:\\WORK\\B.TXT"), "bb");
    EXPECT_EQ(Messages().back(), "リネームに失敗しました ->D:\\WORK\\A.TXT");
}

TEST_F(FilerCommandsTest, ARenameThatFailsAtAnyCallLosesNoFile) {
    for (std::size_t n = 1;; ++n) {
        MemFileSystem mem;
        mem.SetCurrentDir(kDir);
        mem.AddFile("D:\\WORK\\A.TXT", "a");
        FaultyFileSystem files(mem);
        files.failAt = n;
        FileListModel model;
        ListDirectory(mem, kDir, model, FileListModel::AddRules{true, &session_.masks}, DisplayOptions{});
        model.PlaceCursor(2);
        ScriptedPrompter ask;
        ask.AnswerLine("Z.TXT");
        FilerContext c{session_, files, ask, model};
        RenameSelection(c);
        EXPECT_NE(mem.Has("D:\\WORK\\A.TXT"), mem.Has("D:\\WORK\\Z.TXT")) << "fault at call " << n;
        if (!files.Reached()) break;
        ASSERT_LT(n, 50u);
    }
}

TEST_F(FilerCommandsTest, NewDirectoriesAreMadeWithEveryLevelOrSaySo) {
    ask_.AnswerLine(" NEW\\DEEPER ");
    EXPECT_TRUE(MakeDirectoryCommand(c_));
    EXPECT_TRUE(mem_.IsDir("D:\\WORK\\NEW\\DEEPER"));
    ask_.AnswerLine("E:\\ELSE");
    EXPECT_TRUE(MakeDirectoryCommand(c_));
    EXPECT_TRUE(mem_.IsDir("E:\\ELSE"));
    EXPECT_FALSE(MakeDirectoryCommand(c_));  // cancelled
    EXPECT_TRUE(Messages().empty());

    files_.failAt = files_.Calls() + 1;
    files_.fault = test::Fault::WriteProtected;
    ask_.AnswerLine("THIRD\\ONE");
    EXPECT_FALSE(MakeDirectoryCommand(c_));
    EXPECT_EQ(Messages(), std::vector<std::string>{"ディレクトリの作成に失敗しました。"});
}

// ---- mask and directory -------------------------------------------------------------

TEST_F(FilerCommandsTest, TheMaskProposedFollowsTheMaskMarksAndCursor) {
    model_.PlaceCursor(IndexOf("A.TXT"));
    EXPECT_EQ(ProposedMask(session_, model_), "*.TXT");
    Mark("B.C");
    Mark("SUB");
    EXPECT_EQ(ProposedMask(session_, model_), "[*.C,*]");
    session_.maskText = "*.C";
    EXPECT_EQ(ProposedMask(session_, model_), "*.*");

    ask_.AnswerLine(" *.TXT ");
    EXPECT_TRUE(AskAndSetMask(c_, false, LocalDate{2026, 12, 9, 6}));
    EXPECT_EQ(session_.masks, std::vector<std::string>{"0*.TXT"});
    ask_.AnswerLine("");
    EXPECT_TRUE(AskAndSetMask(c_, false, LocalDate{2026, 12, 9, 6}));
    EXPECT_EQ(session_.maskText, "*.*");
    EXPECT_FALSE(AskAndSetMask(c_, false, LocalDate{}));
    ask_.AnswerList(ListPick{ListResult::Ok, "*.C ", 0});
    EXPECT_TRUE(AskAndSetMask(c_, true, LocalDate{}));
    EXPECT_EQ(session_.maskHistory.front(), "*.C");
}

TEST_F(FilerCommandsTest, TheDirectoryToChangeToIsUpperCaseAndALetterADrive) {
    ask_.AnswerLine(" c ");
    EXPECT_EQ(AskDirectoryTarget(c_, false), "C:");
    ask_.AnswerLine("d:\\work\\sub");
    EXPECT_EQ(AskDirectoryTarget(c_, false), "D:\\WORK\\SUB");
    EXPECT_EQ(AskDirectoryTarget(c_, false), std::nullopt);
    ask_.AnswerList(ListPick{ListResult::Ok, "e:\\x", 0});
    EXPECT_EQ(AskDirectoryTarget(c_, true), "E:\\X");
}

// ---- shortcuts ---------------------------------------------------------------------

TEST_F(FilerCommandsTest, AShortcutsDirectoryAndNameAreAskedAndTheLinkNamed) {
    ask_.AnswerLine("E:\\LINKS");
    EXPECT_EQ(AskShortcutDirectory(c_, "A.TXT", false), "E:\\LINKS\\");
    EXPECT_EQ(ask_.LineQuestions()[0].title, "A.TXTショートカットの作成");
    ask_.AnswerLine("");
    EXPECT_EQ(AskShortcutDirectory(c_, "A.TXT", false), std::nullopt);
    session_.lists.copyList = {"1 E:\\L"};
    ask_.AnswerList(ListPick{ListResult::Ok, "E:\\L ", 0});
    EXPECT_EQ(AskShortcutDirectory(c_, "A.TXT", true), "E:\\L\\");
    EXPECT_EQ(session_.lists.dirHistory.front(), "E:\\L");

    ask_.AnswerLine(std::nullopt);
    EXPECT_EQ(AskShortcutName(c_, "E:\\L\\", "A.TXT"), std::nullopt);
    EXPECT_EQ(ask_.LineQuestions().back().text, "A.TXTへのｼｮｰﾄｶｯﾄ");
    EXPECT_EQ(ask_.LineQuestions().back().title, "ショートカット作成 E:\\L\\");
    ask_.AnswerLine("MINE");
    EXPECT_EQ(AskShortcutName(c_, "E:\\L\\", "A.TXT"), "MINE.LNK");
    ask_.AnswerLine("MINE.lnk");
    EXPECT_EQ(AskShortcutName(c_, "E:\\L\\", "A.TXT"), "MINE.lnk");
}

// ---- registrations ------------------------------------------------------------------

TEST_F(FilerCommandsTest, DirectoriesRegisterUnderAKeyOrTheNextDigit) {
    session_.lists.logList = {"3 C:\\OLD\\"};
    ask_.AnswerLine("ab");  // more than one character: asked again
    ask_.AnswerLine(" q ");
    RegisterDirectory(c_, true);
    ask_.AnswerLine("");
    RegisterDirectory(c_, true);
    EXPECT_EQ(session_.lists.logList, (std::vector<std::string>{"3 C:\\OLD\\", "Q D:\\WORK\\", "4 D:\\WORK\\"}));
    session_.lists.copyList = {"9 C:\\NINE\\"};
    ask_.AnswerLine("");
    RegisterDirectory(c_, false);
    EXPECT_EQ(session_.lists.copyList.back(), "  D:\\WORK\\");
    const std::string file = test::ReadFile(session_.settingsPath);
    EXPECT_NE(file.find("[LogDiskList]\r\nD:\\WORK\\,Q\r\nD:\\WORK\\,4\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("[CopyDirList]\r\nD:\\WORK\\\r\n"), std::string::npos) << file;
    EXPECT_EQ(ask_.LineQuestions().size(), 4u);
}

TEST_F(FilerCommandsTest, AliasesAreAddedOrReplacedAfterAYes) {
    model_.PlaceCursor(IndexOf("A.TXT"));
    ask_.AnswerLine(std::nullopt);
    RegisterAlias(c_, true, "D:\\WORK\\A.TXT");
    EXPECT_EQ(ask_.LineQuestions()[0].text, "D:\\WORK\\A.TXT");
    EXPECT_TRUE(session_.lists.aliases.empty());

    ask_.AnswerLine("NOTEPAD A.TXT");
    ask_.AnswerLine(" ED ");
    ask_.Answer(mrNo);  // no start directory
    RegisterAlias(c_, true, "D:\\WORK\\A.TXT");
    ASSERT_EQ(session_.lists.aliases.size(), 1u);
    EXPECT_EQ(session_.lists.aliases[0].name, "ED");
    EXPECT_EQ(session_.lists.aliases[0].directory, "");

    ask_.AnswerLine("VI");
    ask_.AnswerLine("ED");
    ask_.Answer(mrCancel);  // already there: kept, and nothing more asked
    RegisterAlias(c_, false, "");
    EXPECT_EQ(session_.lists.aliases[0].expansion, "NOTEPAD A.TXT");
    ASSERT_EQ(ask_.Questions().size(), 2u);
    EXPECT_EQ(ask_.Questions()[1].caption, "Kestrum Alias");
    EXPECT_EQ(ask_.Questions()[1].text, "EDは既に登録されてます\r\n指定されていません");

    ask_.AnswerLine("VI");
    ask_.AnswerLine("ED");
    ask_.Answer(mrYes);
    ask_.Answer(mrYes);
    ask_.AnswerLine("D:\\WORK\\SUB\\");
    RegisterAlias(c_, false, "");
    ASSERT_EQ(session_.lists.aliases.size(), 1u);
    EXPECT_EQ(session_.lists.aliases[0].expansion, "VI");
    EXPECT_EQ(session_.lists.aliases[0].directory, "D:\\WORK\\SUB\\");
    EXPECT_NE(test::ReadFile(session_.settingsPath).find("ED"), std::string::npos);
}

// ---- packing ------------------------------------------------------------------------

class RecordingArchives : public ArchiveService {
public:
    int Pack(const std::string& archive, const std::vector<std::string>& names) override {
        calls.push_back("pack " + archive + ":" + std::to_string(names.size()));
        return 0;
    }
    int Extract(const std::string& archive, const std::string& dir) override {
        calls.push_back("extract " + archive + " " + dir);
        return archive == failing ? 1 : 0;
    }
    std::vector<std::string> calls;
    std::string failing;
};

TEST_F(FilerCommandsTest, PackAndUnpackHandTheSelectionToTheArchives) {
    RecordingArchives archives;
    model_.PlaceCursor(IndexOf("A.TXT"));
    ask_.AnswerLine("OUT");
    EXPECT_TRUE(PackSelection(c_, archives));
    EXPECT_EQ(ask_.LineQuestions()[0].text, "A");
    Mark("A.TXT");
    Mark("B.C");
    Mark("SUB");
    ask_.AnswerLine("");
    archives.failing = "B.C";
    EXPECT_TRUE(UnpackSelection(c_, archives));  // the current directory; stops at the failure
    ask_.AnswerLine("E:");
    archives.failing.clear();
    EXPECT_TRUE(UnpackSelection(c_, archives));
    EXPECT_EQ(archives.calls, (std::vector<std::string>{"pack OUT:1", "extract A.TXT D:\\WORK\\", "extract B.C D:\\WORK\\",
                                                        "extract A.TXT E:", "extract B.C E:", "extract SUB E:"}));
    EXPECT_FALSE(PackSelection(c_, archives));  // cancelled
}

}  // namespace
}  // namespace kestrum
