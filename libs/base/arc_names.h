// Member names written in UTF-8 (tar archives made on Linux or macOS, ZIP
// entries flagged UTF-8) turned into the Shift-JIS the program works in.
// The conversion itself is the platform's: the Windows layer installs it
// (UsePlatformNames); a core without one converts ASCII only.
#pragma once

#include <string>
#include <string_view>

namespace kestrum::arc {

// UTF-8 to Shift-JIS; false when the text is no UTF-8 or a character has
// no Shift-JIS form.
using Utf8ToSjisFn = bool (*)(const std::string& utf8, std::string& sjis);
void SetUtf8Conversion(Utf8ToSjisFn convert);
bool Utf8ToSjis(const std::string& utf8, std::string& sjis);

// True for a valid UTF-8 text (overlong forms and surrogates refused).
bool IsUtf8(std::string_view s);
// True when the text has a byte of 0x80 or more.
bool HasHighBytes(std::string_view s);
// True when every byte sequence is a Shift-JIS (code page 932) character.
bool IsCp932(std::string_view s);

// A UTF-8 name for a message when it has no Shift-JIS form: the
// characters that have one as they are, each other one as "<U+XXXX>".
std::string Utf8ForMessage(const std::string& utf8);

}  // namespace kestrum::arc
