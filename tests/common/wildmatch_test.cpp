// WildMatch: the name/extension wildcard rule, quirks included.
#include "common/wildmatch.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

struct Case {
    const char* name;
    const char* pattern;
    bool match;
};

TEST(WildMatchTest, Table) {
    const Case cases[] = {
        {"README", "*.*", true},
        {"A.TXT", "*.*", true},
        {"a.txt", "*.TXT", true},
        {"A.B.TXT", "*.TXT", false},
        {"AXXC.TXT", "A*B.TXT", true},  // characters after "*" before "." are ignored
        {"ABC.DOC", "A*", true},
        {"XBC.DOC", "A*", false},
        {"README", "*.", true},
        {"README.", "*.", true},
        {"READ.ME", "*.", false},
        {"README", "*.TXT", false},
        {"ABC", "A?C", true},
        {"A.C", "A?C", false},  // "?" never matches "."
        {"AB", "A?C", false},
        {"ABCD", "ABC", false},
        {"AB", "ABC", false},
        {"cd \\temp", "CD*", true},  // history prefixes
        {"表.TXT", "表.*", true},
        {"ソ.TXT", "?.TXT", true},  // "?" takes a whole double-byte character
        {"", "*", false},
        {"A", "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WildMatch(c.name, c.pattern), c.match) << c.name << " ~ " << c.pattern;
    }
}

}  // namespace
}  // namespace kestrum
