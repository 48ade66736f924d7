// Directory tree model over a fake disk: lazy levels and placeholders,
// paths with 表/ソ names, the path walk, and junctions left closed.
#include "filer/dir_tree.h"

#include <gtest/gtest.h>

#include "common/sjis.h"
#include "tests/common/mem_file_system.h"

namespace kestrum {
namespace {

// A disk held in memory that counts its searches.
class FakeDisk : public test::MemFileSystem {
public:
    void Dir(const std::string& path, std::uint32_t attributes = kAttrDirectory) { AddDir(path, attributes); }
    void File(const std::string& dir, const std::string& name) { AddFile(dir + "\\" + name); }
    int Searches(const std::string& pattern) const {
        int n = 0;
        for (const std::string& s : Log(Op::Find)) n += s == pattern ? 1 : 0;
        return n;
    }
};

std::vector<std::string> Texts(const TDirTreeModel& m, int parent) {
    std::vector<std::string> out;
    for (int c : m.Children(parent)) out.push_back(m.Node(c).text);
    return out;
}

int Child(const TDirTreeModel& m, int parent, const std::string& text) {
    for (int c : m.Children(parent)) {
        if (m.Node(c).text == text) return c;
    }
    return -1;
}

class DirTreeModelTest : public testing::Test {
protected:
    void SetUp() override {
        disk_.Dir("C:\\work");
        disk_.Dir("C:\\work\\src");
        disk_.Dir("C:\\work\\src\\deep");
        disk_.Dir("C:\\work\\doc");
        disk_.Dir("C:\\Apps");
        disk_.Dir("C:\\empty");
        disk_.File("C:\\empty", "readme.txt");
        disk_.Dir("C:\\zeta");
        disk_.File("C:", "boot.ini");
    }
    FakeDisk disk_;
    TDirTreeModel model_{disk_};
};

TEST_F(DirTreeModelTest, LoadsOneLevelSortedWithPlaceholders) {
    model_.Load('c', true);
    EXPECT_EQ(model_.Drive(), 'C');
    ASSERT_EQ(model_.TopLevel().size(), 1u);
    const int root = model_.Root();
    EXPECT_EQ(model_.Node(root).kind, DirNodeKind::Drive);
    EXPECT_EQ(model_.Node(root).text, "C:");
    // Files, "." and ".." never become nodes; names sort ignoring case.
    EXPECT_EQ(Texts(model_, root), (std::vector<std::string>{"Apps", "empty", "work", "zeta"}));
    // work has subdirectories: an expand button before it was ever opened.
    const int work = Child(model_, root, "work");
    EXPECT_TRUE(model_.HasPlaceholder(work));
    const DirNode& ph = model_.Node(model_.Children(work).front());
    EXPECT_EQ(ph.text, "???");
    EXPECT_EQ(ph.kind, DirNodeKind::Placeholder);
    // A directory with only files gets none.
    EXPECT_TRUE(model_.Children(Child(model_, root, "empty")).empty());
    // Only the first level and the check one below it were searched.
    EXPECT_EQ(disk_.Searches("C:\\*.*"), 1);
    EXPECT_EQ(disk_.Searches("C:\\work\\*.*"), 1);
    EXPECT_EQ(disk_.Searches("C:\\work\\src\\*.*"), 0);
}

TEST_F(DirTreeModelTest, ExpandingReplacesThePlaceholderOnce) {
    model_.Load('C', true);
    const int work = Child(model_, model_.Root(), "work");
    ASSERT_TRUE(model_.Expand(work));
    EXPECT_EQ(Texts(model_, work), (std::vector<std::string>{"doc", "src"}));
    EXPECT_TRUE(model_.HasPlaceholder(Child(model_, work, "src")));
    EXPECT_FALSE(model_.HasPlaceholder(Child(model_, work, "doc")));
    EXPECT_FALSE(model_.Expand(work));  // already read
    EXPECT_EQ(Texts(model_, work).size(), 2u);
    EXPECT_FALSE(model_.Expand(Child(model_, model_.Root(), "empty")));
    EXPECT_FALSE(model_.Expand(-1));
}

TEST_F(DirTreeModelTest, VanishedDirectoriesYieldFewerNodes) {
    model_.Load('C', true);
    const int work = Child(model_, model_.Root(), "work");
    disk_.Erase("C:\\work");  // gone before it is opened
    EXPECT_TRUE(model_.Expand(work));
    EXPECT_TRUE(model_.Children(work).empty());

    // A drive that cannot be read: only the root, or nothing at all.
    model_.Load('Q', true);
    EXPECT_EQ(model_.TopLevel().size(), 1u);
    EXPECT_TRUE(model_.Children(model_.Root()).empty());
    model_.Load('Q', false);
    EXPECT_TRUE(model_.TopLevel().empty());
}

TEST_F(DirTreeModelTest, PathsJoinTheLevelsUnderTheDrive) {
    model_.Load('C', true);
    const int work = Child(model_, model_.Root(), "work");
    model_.Expand(work);
    EXPECT_EQ(model_.PathOf(model_.Root()), "C:");
    EXPECT_EQ(model_.PathOf(work), "C:\\work");
    EXPECT_EQ(model_.PathOf(Child(model_, work, "src")), "C:\\work\\src");

    model_.Load('C', false);  // no drive node: the directories at top level
    EXPECT_EQ(model_.Root(), -1);
    EXPECT_EQ(Texts(model_, -1), (std::vector<std::string>{"Apps", "empty", "work", "zeta"}));
    EXPECT_EQ(model_.PathOf(Child(model_, -1, "zeta")), "C:\\zeta");
}

TEST_F(DirTreeModelTest, NamesEndingInBackslashTrailBytes) {
    // 表 is 0x95 0x5C and ソ 0x83 0x5C: neither may pass for a separator.
    disk_.Dir("C:\\表");
    disk_.Dir("C:\\表\\ソ");
    disk_.Dir("C:\\表\\ソ\\表");
    model_.Load('C', true);
    const int hyo = Child(model_, model_.Root(), "表");
    ASSERT_GE(hyo, 0);
    EXPECT_EQ(disk_.Searches("C:\\表\\*.*"), 1);
    EXPECT_EQ(disk_.Searches("C:\\表*.*"), 0);
    EXPECT_TRUE(model_.HasPlaceholder(hyo));

    const DirLocation loc = model_.Locate("c:\\表\\ソ\\表\\");
    ASSERT_GE(loc.node, 0);
    EXPECT_TRUE(loc.exact);
    EXPECT_EQ(model_.PathOf(loc.node), "C:\\表\\ソ\\表");
    EXPECT_EQ(loc.chain.size(), 4u);  // root, 表, ソ, 表
    EXPECT_EQ(model_.Locate(model_.PathOf(loc.node)).node, loc.node);
}

TEST_F(DirTreeModelTest, LocateMatchesWholeNamesIgnoringCase) {
    disk_.Dir("C:\\works");
    disk_.Dir("C:\\works\\x");
    model_.Load('C', true);
    // WORK must not be taken for the start of WORKS.
    DirLocation loc = model_.Locate("C:\\WORKS\\X");
    ASSERT_GE(loc.node, 0);
    EXPECT_EQ(model_.PathOf(loc.node), "C:\\works\\x");

    loc = model_.Locate("C:\\WORK\\SRC\\DEEP");
    ASSERT_GE(loc.node, 0);
    EXPECT_TRUE(loc.exact);
    EXPECT_EQ(model_.PathOf(loc.node), "C:\\work\\src\\deep");
    // The walk read the levels above it, and no more.
    EXPECT_FALSE(model_.HasPlaceholder(Child(model_, model_.Root(), "work")));
    EXPECT_EQ(disk_.Searches("C:\\work\\src\\deep\\*.*"), 1);  // the placeholder check only

    // A missing tail stops at the deepest directory that exists.
    loc = model_.Locate("C:\\work\\gone\\more");
    EXPECT_EQ(model_.PathOf(loc.node), "C:\\work");
    EXPECT_FALSE(loc.exact);
}

TEST_F(DirTreeModelTest, LocateTheRootAndOtherDrives) {
    model_.Load('C', true);
    DirLocation loc = model_.Locate("C:\\");
    EXPECT_TRUE(loc.driveRoot);
    EXPECT_EQ(loc.node, model_.Root());
    model_.Load('C', false);
    loc = model_.Locate("c:");
    EXPECT_TRUE(loc.driveRoot);
    EXPECT_EQ(loc.node, -1);
    loc = model_.Locate("D:\\work");
    EXPECT_FALSE(loc.driveRoot);
    EXPECT_EQ(loc.node, -1);
    EXPECT_EQ(model_.Locate("\\\\server\\share").node, -1);
    EXPECT_EQ(model_.Locate("C:\\nothing").node, -1);
    EXPECT_TRUE(model_.Locate("C:\\nothing").chain.empty());
}

TEST_F(DirTreeModelTest, ReparsePointsAreNeverSearched) {
    // A junction pointing back at its own parent would never end.
    disk_.Dir("C:\\work\\loop", kAttrDirectory | kAttrReparsePoint);
    disk_.Dir("C:\\work\\loop\\work");
    model_.Load('C', true);
    const int work = Child(model_, model_.Root(), "work");
    model_.Expand(work);
    const int loop = Child(model_, work, "loop");
    ASSERT_GE(loop, 0);  // offered, so that it can still be chosen
    EXPECT_TRUE(model_.Node(loop).reparsePoint);
    EXPECT_TRUE(model_.Children(loop).empty());
    EXPECT_FALSE(model_.Expand(loop));
    EXPECT_EQ(model_.Locate("C:\\work\\loop\\work").node, loop);
    EXPECT_EQ(disk_.Searches("C:\\work\\loop\\*.*"), 0);
}

TEST_F(DirTreeModelTest, TheFileListHoldsFilesOnlySortedIgnoringCase) {
    for (const char* f : {"b.txt", "ソ.txt", "A.txt", "a2.TXT"}) disk_.File("D:\\表", f);
    disk_.Dir("D:\\表\\sub");
    disk_.Dir("D:\\表\\link", kAttrDirectory | kAttrReparsePoint);
    disk_.File("D:", "root.txt");
    EXPECT_EQ(FilesShown(disk_, "D:\\表"), (std::vector<std::string>{"A.txt", "a2.TXT", "b.txt", "ソ.txt"}));
    EXPECT_EQ(FilesShown(disk_, "D:"), std::vector<std::string>{"root.txt"});  // the root, not D:'s current directory
    disk_.FailOn(test::MemFileSystem::Op::Find, "D:\\表\\*.*");
    EXPECT_TRUE(FilesShown(disk_, "D:\\表").empty());
}

TEST(DirTreeHelpers, PatternsAndPickedPaths) {
    EXPECT_EQ(SearchPattern("C:"), "C:\\*.*");
    EXPECT_EQ(SearchPattern("C:\\"), "C:\\*.*");
    EXPECT_EQ(SearchPattern("C:\\WORK"), "C:\\WORK\\*.*");
    EXPECT_EQ(SearchPattern("C:\\ソ"), "C:\\ソ\\*.*");
    EXPECT_EQ(ListingDir("D:"), "D:\\");
    EXPECT_EQ(ListingDir("D:\\表"), "D:\\表\\");
    EXPECT_EQ(PickedDir("D:"), "D:\\");
    EXPECT_EQ(PickedDir("D:\\WORK"), "D:\\WORK");
    EXPECT_EQ(DriveOfPath("e:\\x"), 'E');
    EXPECT_EQ(DriveOfPath("\\\\server\\share"), 0);
    EXPECT_EQ(DriveOfPath("1:"), 0);
}

TEST(DirTreeHelpers, KeysAndDriveActions) {
    EXPECT_EQ(KeypadToDigit(0x60), '0');
    EXPECT_EQ(KeypadToDigit(0x69), '9');
    EXPECT_EQ(KeypadToDigit(0x6A), 0x6A);  // keypad * stays
    EXPECT_EQ(KeypadToDigit('A'), 'A');
    EXPECT_EQ(DriveOfAction(kDriveActionFirst), 'A');
    EXPECT_EQ(DriveOfAction(kDriveActionFirst + 3), 'D');
    EXPECT_EQ(DriveOfAction(kDriveActionFirst + 25), 'Z');
    EXPECT_EQ(DriveOfAction(kDriveActionLast), 0);
    EXPECT_EQ(DriveOfAction(kDriveActionFirst - 1), 0);
    EXPECT_EQ(DriveOfAction(kActionAskDrive), 0);
    EXPECT_EQ(DriveOfAnswer("d:\\"), 'D');
    EXPECT_EQ(DriveOfAnswer("E"), 'E');
    EXPECT_EQ(DriveOfAnswer(""), 0);
    EXPECT_EQ(DriveOfAnswer("1"), 0);
    EXPECT_EQ(DriveOfAnswer("表"), 0);
}

}  // namespace
}  // namespace kestrum
