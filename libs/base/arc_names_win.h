// The platform's UTF-8 to Shift-JIS conversion for member names.
#pragma once

#include <string>

namespace kestrum::arc {

// UTF-8 to code page 932 without best-fit characters (U+00A5 would become
// a backslash); false when a character has no form there.
bool PlatformUtf8ToSjis(const std::string& utf8, std::string& sjis);

// Installs it for the cores (SetUtf8Conversion).
void UsePlatformNames();

}  // namespace kestrum::arc
