// The round trip of the settings file and the key files (see the header).
#include "tests/config/settings_round_trip.h"

#include <algorithm>
#include <cstdio>

#include "common/sjis.h"
#include "config/cfg_pages.h"
#include "config/settings_file.h"
#include "config/settings_loader.h"
#include "config/text_file.h"
#include "config/window_state.h"
#include "config/list_editor.h"

namespace kestrum::test {

using Lines = std::vector<std::string>;

LoadedSettings LoadLines(const Lines& lines) {
    LoadedSettings r;
    LoadSettingsLines(lines, r.s, r.l);
    return r;
}

Lines WriteBack(const Lines& original, const LoadedSettings& r) {
    TSettingsFile f = TSettingsFile::FromLines(original);
    WriteCfgDialog(f, r.s, r.l.commandTable);
    CloseState close;
    close.menuBarShown = r.s.menuBar;
    close.dirHistory = r.l.dirHistory;  // no current directory: nothing added
    close.exeHistory = r.l.exeHistory;
    WriteCloseState(f, close);
    Lines aliases;
    for (const AliasEntry& a : r.l.aliases) aliases.push_back(FormatAliasLine(a));
    f.WriteListSection("ALIAS", aliases);
    Lines logs;
    for (const std::string& e : r.l.logList) logs.push_back(TDirListEditor::SectionLine(e));
    f.WriteListSection("LOGDISKLIST", logs);
    Lines copies;
    for (const std::string& e : r.l.copyList) copies.push_back(TDirListEditor::SectionLine(e));
    f.WriteListSection("COPYDIRLIST", copies);
    Lines functions;
    for (const FunctionKey& k : r.l.functions) functions.push_back(FormatFunctionLine(k));
    f.WriteListSection("FUNCTION", functions);
    return f.Lines();
}

Lines UnknownSections(const Lines& lines) {
    const bool semicolon = std::find(lines.begin(), lines.end(), std::string(kCfgMarker)) != lines.end();
    Lines out;
    for (std::size_t i = 0; i < lines.size();) {
        const std::string n = NormalizeLine(lines[i], semicolon);
        if (!LooksLikeSectionHeader(n)) {
            ++i;
            continue;
        }
        const SectionExtent e = FindSectionExtent(lines, i, semicolon);
        const std::size_t end = e.hasEnd ? e.end + 1 : e.end;
        if (!IsKnownSectionHeader(n) && n != "[CFG VER1.1]") {
            for (std::size_t k = i; k < end; ++k) {
                if (!Trim(lines[k]).empty()) out.push_back(lines[k]);
            }
        }
        i = std::max(end, i + 1);
    }
    return out;
}

std::vector<std::string> LoadDifferences(const LoadedSettings& a, const LoadedSettings& b) {
    std::vector<std::string> out;
    if (!(a.l == b.l)) out.push_back("the lists");
    for (const EnvKey& k : EnvKeys()) {
        // With the built-in viewer chosen the dialog writes the TVIEW name as
        // the viewer, which then reads back as "NOTEPAD".
        if (k.text == &Settings::viewer && a.s.viewMode) continue;
        const std::string va = EnvValueText(a.s, k), vb = EnvValueText(b.s, k);
        if (k.kind == EnvKey::Kind::Text ? !SameText(va, vb) : va != vb) {
            out.push_back(std::string(k.name) + ": " + va + " / " + vb);
        }
    }
    if (a.s.semicolonMode != b.s.semicolonMode) out.push_back("semicolon mode");
    if (a.s.effectiveViewer != b.s.effectiveViewer) {
        out.push_back("effective viewer: " + a.s.effectiveViewer + " / " + b.s.effectiveViewer);
    }
    return out;
}

std::string ShowLines(const Lines& lines) {
    std::string out;
    for (const std::string& l : lines) {
        for (unsigned char c : l) {
            if (c < 0x20 || c >= 0x7F) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", c);
                out += hex;
            } else {
                out += static_cast<char>(c);
            }
        }
        out += " | ";
    }
    return out;
}

TUserKey AsWritten(const TUserKey& map) {
    TUserKey out;
    for (const KeyBinding& b : map.Records()) {
        if (Trim(b.name).empty()) continue;
        KeyBinding w = b;
        w.name.clear();
        for (std::size_t p = 0; p < b.name.size(); p += CharLen(b.name, p)) {
            w.name += CharLen(b.name, p) == 1 && b.name[p] == ',' ? std::string("，") : b.name.substr(p, CharLen(b.name, p));
        }
        out.Add() = w;
    }
    return out;
}

}  // namespace kestrum::test
