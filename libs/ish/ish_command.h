// The ISH32 command line.
//
// Decoding (the default): "FILE... [/f=DIR]". Every ish file found in
// each text (a saved log may hold several, in any variant) is restored
// into DIR (the current directory when no /f= is given) under the name
// its header and title line give; the volumes of a multi-volume set may
// come in any order, from one text or several. DIR runs to the next "/"
// (as the program reads it), so it may hold blanks. An existing file is kept: the file is
// not restored and the result is 0x8010, as UNLHA32 does without -m1 and
// as the converters of the format do by default.
//
// Encoding: a switch "-s" (or "/s") chooses it and the variant: "-s" or
// "-s7" jis7, "-s8" jis8, "-ss" shift_jis, "-sn" non-kana. Each FILE is
// written as NAME.ish (its extension replaced) beside it, or into DIR with
// /f=; an existing file of that name is kept and the result is 0x8010.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "libs/base/arc_fs.h"
#include "libs/ish/ish_codec.h"
#include "libs/ish/ish_decode.h"

namespace kestrum::ish {

struct IshCommand {
    bool encode = false;
    Variant variant = Variant::kJis7;  // for encoding
    std::vector<std::string> files;
    std::string joined;  // the file words as one name, for a path with blanks given unquoted
    std::string outDir;  // from /f= (or /F=); empty = the current directory
};

int ParseIshCommand(std::string_view line, IshCommand& cmd, std::string& error);

// UTF-8 to Shift-JIS; false when a character has no Shift-JIS form.
using Utf8ToSjis = std::function<bool(const std::string& utf8, std::string& sjis)>;

// The name a restored file is written under: the title line's name when
// it agrees with the header's 8.3 name, else the header's. A name in
// UTF-8 (valid UTF-8 with non-ASCII bytes, from a header not written on
// MS-DOS or not valid Shift-JIS) is turned into Shift-JIS; one without a
// Shift-JIS form, one in neither code, and one with a path are refused.
struct OutputName {
    bool ok = false;
    std::string name;    // Shift-JIS
    std::string shown;   // for messages: the name, bytes outside ASCII as %XX where it was refused
    std::string reason;
};
OutputName ChooseName(const Found& f, const Utf8ToSjis& convert);

// Runs a command line; out gets the report text (Shift-JIS, CR LF).
int RunIsh(arc::ArcFs& fs, std::string_view line, std::string& out, const Utf8ToSjis& convert = {});

}  // namespace kestrum::ish
