// The lead-byte rule against the platform's own, for every byte value.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/sjis.h"

namespace kestrum {
namespace {

TEST(SjisWinTest, RunsUnderCodePage932) { EXPECT_EQ(GetACP(), 932u); }

TEST(SjisWinTest, LeadBytesAgreeWithThePlatform) {
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(b)), IsDBCSLeadByteEx(932, static_cast<BYTE>(b)) != 0)
            << "byte " << b;
    }
}

TEST(SjisWinTest, PlatformAgreesOnCharacterBoundaries) {
    // CharNextExA walks the same characters as our scanner.
    const std::string text = "C:\\表\\ソフト\\a\x83\x61.txt";
    std::size_t ours = 0;
    const char* theirs = text.c_str();
    while (ours < text.size()) {
        ASSERT_EQ(theirs - text.c_str(), static_cast<std::ptrdiff_t>(ours));
        ours = NextChar(text, ours);
        theirs = CharNextExA(932, theirs, 0);
    }
}

}  // namespace
}  // namespace kestrum
