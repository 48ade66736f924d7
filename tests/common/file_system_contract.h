// What the cores rely on from a FileSystem, checked the same way against the
// platform's (under Wine, in a temporary folder) and against the in-memory
// one the core tests use, so that the two cannot drift apart.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/file_system.h"
#include "common/sjis.h"

namespace kestrum::test {

inline std::vector<std::string> FoundNames(FileSystem& fs, const std::string& pattern) {
    std::vector<std::string> names;
    for (const FindRecord& r : fs.Find(pattern)) names.push_back(r.name);
    std::sort(names.begin(), names.end());
    return names;
}

// root: an existing, empty directory given as a full path without a
// trailing "\".
inline void CheckFileSystemContract(FileSystem& fs, const std::string& root) {
    const std::string d = root + "\\d";
    const std::string hyo = root + "\\表.txt";  // 表 ends in the byte of "\"

    // Directories are made one level at a time, once.
    EXPECT_TRUE(fs.MakeDir(d));
    EXPECT_FALSE(fs.MakeDir(d));
    EXPECT_NE(fs.LastError(), 0);
    EXPECT_FALSE(fs.MakeDir(root + "\\x\\y"));
    EXPECT_FALSE(fs.Exists(root + "\\x"));

    // Whole files, their attributes and sizes.
    EXPECT_TRUE(fs.WriteAll(hyo, "abc"));
    EXPECT_EQ(fs.ReadAll(hyo).value_or("<none>"), "abc");
    EXPECT_FALSE(fs.ReadAll(root + "\\none").has_value());
    ASSERT_TRUE(fs.Attributes(hyo).has_value());
    EXPECT_FALSE(*fs.Attributes(hyo) & kAttrDirectory);
    ASSERT_TRUE(fs.Attributes(d + "\\").has_value());  // a trailing "\" on a directory
    EXPECT_TRUE(*fs.Attributes(d + "\\") & kAttrDirectory);
    EXPECT_TRUE(fs.Exists(UpperAscii(d)));  // ASCII case is ignored
    EXPECT_FALSE(fs.Attributes(root + "\\none").has_value());
    const auto st = fs.Stat(hyo);
    ASSERT_TRUE(st.has_value());
    EXPECT_EQ(st->size, 3u);
    EXPECT_EQ(st->name, "表.txt");

    // Searches: the dots of a directory that is no root, wildcards, an
    // exact name in any case, nothing from a missing directory.
    EXPECT_EQ(FoundNames(fs, root + "\\*"), (std::vector<std::string>{".", "..", "d", "表.txt"}));
    EXPECT_EQ(FoundNames(fs, root + "\\*.*"), (std::vector<std::string>{".", "..", "d", "表.txt"}));
    EXPECT_EQ(FoundNames(fs, root + "\\表*"), std::vector<std::string>{"表.txt"});
    EXPECT_EQ(FoundNames(fs, root + "\\?.TXT"), std::vector<std::string>{"表.txt"});
    EXPECT_EQ(FoundNames(fs, root + "\\D"), std::vector<std::string>{"d"});
    // A search that cannot run says so; one that finds nothing does not.
    EXPECT_TRUE(fs.Find(root + "\\none\\*").empty());
    EXPECT_NE(fs.LastError(), 0);
    EXPECT_TRUE(fs.Find(root + "\\x*").empty());
    EXPECT_EQ(fs.LastError(), 0);

    // Copies keep or replace a destination as asked.
    EXPECT_TRUE(fs.Copy(hyo, d + "\\c.txt", false));
    EXPECT_EQ(fs.ReadAll(d + "\\c.txt").value_or(""), "abc");
    EXPECT_TRUE(fs.WriteAll(hyo, "new"));
    EXPECT_FALSE(fs.Copy(hyo, d + "\\c.txt", false));
    EXPECT_EQ(fs.ReadAll(d + "\\c.txt").value_or(""), "abc");
    EXPECT_TRUE(fs.Copy(hyo, d + "\\c.txt", true));
    EXPECT_EQ(fs.ReadAll(d + "\\c.txt").value_or(""), "new");

    // Moves rename, refuse an existing destination unless told to replace
    // it, and carry a directory with its content.
    EXPECT_TRUE(fs.Move(d + "\\c.txt", d + "\\m.txt", 0));
    EXPECT_FALSE(fs.Exists(d + "\\c.txt"));
    EXPECT_TRUE(fs.WriteAll(root + "\\other.txt", "other"));
    EXPECT_FALSE(fs.Move(root + "\\other.txt", d + "\\m.txt", 0));
    EXPECT_EQ(fs.ReadAll(d + "\\m.txt").value_or(""), "new");
    EXPECT_TRUE(fs.Move(root + "\\other.txt", d + "\\m.txt", kMoveReplace));
    EXPECT_EQ(fs.ReadAll(d + "\\m.txt").value_or(""), "other");
    EXPECT_TRUE(fs.Move(d, root + "\\e", 0));
    EXPECT_EQ(fs.ReadAll(root + "\\e\\m.txt").value_or(""), "other");
    EXPECT_FALSE(fs.Exists(d));

    // A directory goes only when empty; a file is no directory to remove.
    EXPECT_FALSE(fs.RemoveDir(root + "\\e"));
    EXPECT_FALSE(fs.RemoveDir(root + "\\e\\m.txt"));
    EXPECT_FALSE(fs.Remove(root + "\\e"));
    EXPECT_TRUE(fs.Remove(root + "\\e\\m.txt"));
    EXPECT_TRUE(fs.RemoveDir(root + "\\e"));
    EXPECT_FALSE(fs.Exists(root + "\\e"));

    // Full paths resolve the dots (a name's final dot goes) and keep a
    // trailing "\".
    EXPECT_EQ(fs.FullPath(root + "\\e\\..\\x."), root + "\\x");
    EXPECT_EQ(fs.FullPath(root + "\\.\\"), root + "\\");
    EXPECT_EQ(fs.FullPath(""), "");

    // One file is one identity, however it is spelt; two files are two.
    const auto id = fs.Identity(hyo);
    ASSERT_TRUE(id.has_value());
    EXPECT_EQ(fs.Identity(root + "\\.\\" + "表.TXT"), id);
    ASSERT_TRUE(fs.Identity(root).has_value());
    EXPECT_NE(fs.Identity(root), id);
    EXPECT_FALSE(fs.Identity(root + "\\none").has_value());
}

}  // namespace kestrum::test
