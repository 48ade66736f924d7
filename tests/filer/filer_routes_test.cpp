// What the filer's keys, Escape and its name-handing actions come to:
// the built-in key routes, the Escape rule, association candidates, the
// clipboard names and the paths handed to the file operations.
#include "filer/filer_routes.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

using Kind = BuiltInKey::Kind;

TEST(FilerRoutesTest, KeysTheKeyMapLeftGoToTheGridsOwnKeys) {
    EXPECT_EQ(NormalisedKey(kFilerKeyNumpad0 + 7), '7');
    EXPECT_EQ(NormalisedKey('7'), '7');
    EXPECT_EQ(NormalisedKey(kFilerKeyNumpad9 + 1), kFilerKeyNumpad9 + 1);

    EXPECT_EQ(RouteBuiltInKey('K', true, false).kind, Kind::FindInitial);
    EXPECT_EQ(RouteBuiltInKey('K', true, false).value, 'K');
    EXPECT_EQ(RouteBuiltInKey('K', false, false).kind, Kind::None);
    EXPECT_EQ(RouteBuiltInKey(kFilerKeyPrior, false, false).kind, Kind::PreviousPage);
    EXPECT_EQ(RouteBuiltInKey(kFilerKeyNext, true, false).kind, Kind::NextPage);
    EXPECT_EQ(RouteBuiltInKey(kFilerKeyLeft, false, false).kind, Kind::Left);
    EXPECT_EQ(RouteBuiltInKey(kFilerKeyRight, false, false).kind, Kind::Right);
    EXPECT_EQ(RouteBuiltInKey(kFilerKeyUp, false, false).kind, Kind::Up);
    EXPECT_EQ(RouteBuiltInKey(kFilerKeyDown, false, false).kind, Kind::Down);
    EXPECT_EQ(RouteBuiltInKey(kFilerKeyDown, true, false).kind, Kind::ToCommandLine);
    EXPECT_EQ(RouteBuiltInKey(kFilerKeyEscape, false, false).kind, Kind::Escape);
    // F1 to F15 are the function keys; Alt+F4 is the window's.
    EXPECT_EQ(RouteBuiltInKey(kFilerKeyF1, false, true).value, 0);
    EXPECT_EQ(RouteBuiltInKey(kFilerKeyF1 + 14, false, false).value, 14);
    EXPECT_EQ(RouteBuiltInKey(kFilerKeyF1 + 15, false, false).kind, Kind::None);
    EXPECT_EQ(RouteBuiltInKey(kFilerKeyF4, false, false).kind, Kind::FunctionKey);
    EXPECT_EQ(RouteBuiltInKey(kFilerKeyF4, false, true).kind, Kind::None);
}

TEST(FilerRoutesTest, EscapeClearsTheCommandLineHidesOrCloses) {
    Settings s;
    s.filerEscMode = 0;
    s.fescHide = false;
    s.fmEscMode = false;
    EXPECT_EQ(EscapeFor(s, true, true), EscapeOutcome::ClearCommandLine);
    EXPECT_EQ(EscapeFor(s, false, true), EscapeOutcome::Close);
    s.filerEscMode = 1;  // the command line is no exception
    EXPECT_EQ(EscapeFor(s, true, true), EscapeOutcome::Close);
    s.fmEscMode = true;
    EXPECT_EQ(EscapeFor(s, false, true), EscapeOutcome::AskThenClose);
    s.fescHide = true;
    s.taskTray = true;
    EXPECT_EQ(EscapeFor(s, false, true), EscapeOutcome::HotKeyToggle);
    EXPECT_EQ(EscapeFor(s, false, false), EscapeOutcome::Hide);
    s.taskTray = false;
    EXPECT_EQ(EscapeFor(s, false, true), EscapeOutcome::Hide);
}

TEST(FilerRoutesTest, DroppedFilesAreTypedCopiedOrAskedAboutByWhereTheyLand) {
    EXPECT_EQ(DropPlaceFor(400, 400, 60), DropPlace::CommandLine);
    EXPECT_EQ(DropPlaceFor(399, 400, 60), DropPlace::Grid);
    EXPECT_EQ(DropPlaceFor(60, 400, 60), DropPlace::Grid);
    EXPECT_EQ(DropPlaceFor(59, 400, 60), DropPlace::Bars);
    EXPECT_EQ(DroppedText({"C:\\A B.TXT", "D:\\表"}), " C:\\A B.TXT  D:\\表 ");
    EXPECT_EQ(DroppedText({}), "");
}

TEST(FilerRoutesTest, CandidatesComeFromBothTablesWithoutEmptyFields) {
    Session s;
    s.setExt = {ExtEntry{"TXT", "VIEW"}};
    s.lists.ext = {ExtEntry{".txt", "NOTEPAD, ,\"A,B\",EDIT"}, ExtEntry{"DOC", "WORD"}};
    const Candidates c = AssociationCandidates(s, "C:\\DIR.X\\READ.ME.TXT");
    EXPECT_EQ(c.temporary, std::vector<std::string>{"VIEW"});
    EXPECT_EQ(c.configured, (std::vector<std::string>{"NOTEPAD", "A,B", "EDIT"}));
    EXPECT_TRUE(AssociationCandidates(s, "C:\\X.DOC").temporary.empty());
    EXPECT_EQ(AssociationCandidates(s, "C:\\X.doc").configured, std::vector<std::string>{"WORD"});
    EXPECT_TRUE(HasAssociation(s, "x.Txt"));
    EXPECT_TRUE(HasAssociation(s, "x.doc"));
    EXPECT_FALSE(HasAssociation(s, "x.c"));
    EXPECT_FALSE(HasAssociation(s, "noext"));
}

class FilerNamesTest : public testing::Test {
protected:
    FilerNamesTest() {
        static const std::vector<std::string> all{"0*.*"};
        const FileListModel::AddRules rules{true, &all};
        for (const auto& [name, attr] : {std::pair<const char*, std::uint32_t>{"..", kAttrDirectory}, {"A.TXT", 0},
                                         {"SUB", kAttrDirectory}, {"B.C", 0}}) {
            FindRecord f;
            f.name = name;
            f.attributes = attr;
            f.size = 1234;
            model_.Offer(f, rules, options_);
        }
        options_.localTime = [](std::uint64_t, int* minute) {
            if (minute) *minute = 5;
            return LocalDate{2026, 12, 9, 6};
        };
    }
    void Mark(std::size_t i) { model_.SetMark(i, true, nullptr); }
    FileListModel model_;
    DisplayOptions options_;
};

TEST_F(FilerNamesTest, ClipboardNamesEndEachLineButTheLastOfAnUnmarkedOne) {
    model_.PlaceCursor(1);
    EXPECT_EQ(SelectionClipboardText(model_, "D:\\W\\", false, false, options_), "A.TXT");
    EXPECT_EQ(SelectionClipboardText(model_, "D:\\W\\", true, false, options_), "D:\\W\\A.TXT");
    Mark(0);  // "..": never an operand
    Mark(1);
    Mark(3);
    EXPECT_EQ(SelectionClipboardText(model_, "D:\\W\\", true, false, options_), "D:\\W\\A.TXT\r\nD:\\W\\B.C\r\n");
    const std::string sized = SelectionClipboardText(model_, "", false, true, options_);
    ASSERT_EQ(sized.find("A.TXT"), 0u);  // the mark column is cut
    EXPECT_NE(sized.find("1234"), std::string::npos);
    EXPECT_NE(sized.find("26/12/09 06:05"), std::string::npos) << sized;
    EXPECT_EQ(SelectionClipboardText(FileListModel(), "D:\\", false, false, options_), "");
}

TEST_F(FilerNamesTest, PathsForTheFileOperationsAndDates) {
    model_.PlaceCursor(2);
    EXPECT_EQ(SelectionPaths(model_, "D:\\W\\"), std::vector<std::string>{"D:\\W\\SUB"});
    bool hadDirectory = false;
    EXPECT_TRUE(DateChangePaths(model_, "D:\\W\\", hadDirectory).empty());
    EXPECT_TRUE(hadDirectory);
    Mark(1);
    Mark(3);
    EXPECT_EQ(DateChangePaths(model_, "D:\\W\\", hadDirectory), (std::vector<std::string>{"D:\\W\\A.TXT", "D:\\W\\B.C"}));
    EXPECT_FALSE(hadDirectory);

    EXPECT_EQ(InDirectory("D:\\W\\", "X.LZH"), "D:\\W\\X.LZH");
    EXPECT_EQ(InDirectory("D:\\W\\", "E:X.LZH"), "E:X.LZH");
    EXPECT_EQ(InDirectory("D:\\W\\", "\\X.LZH"), "D:\\W\\\\X.LZH");

    Session s;
    EXPECT_EQ(DuplicateProposal(s, "READ.ME", false), "READ.BAK");
    s.settings.backupName = "/$N_OLD";
    EXPECT_EQ(DuplicateProposal(s, "READ.ME", false), "/$N_OLD");
    EXPECT_EQ(DuplicateProposal(s, "READ.ME", true), "READ.BAK");
}

}  // namespace
}  // namespace kestrum
