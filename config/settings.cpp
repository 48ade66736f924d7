// The [環境変数] key table and the built-in command names.
#include "config/settings.h"

#include "common/sjis.h"
#include "common/split.h"
#include "config/text_file.h"

namespace kestrum {

const std::array<std::string_view, kCommandCount>& DefaultCommandNames() {
    static constexpr std::array<std::string_view, kCommandCount> kNames = {
        "CD",    "LS",      "EXIT",   "PVIEW",  "TVIEW",     "MASK",  "LVIEW",   "LAUTO", "CHWP",
        "CP",    "BP",      "MV",     "RM",     "REN",       "DISH",  "DLHA",    "DTAR",  "LSHELP",
        "EDIT",  "VIEW",    "CFGLOAD", "SETEXT", "UNSETEXT", "ALIAS", "UNALIAS", "DELETE", "MREN",
        "MKDIR", "DIR",     "CLOSE",  "MENU",   "VER",       "DROP",  "LZH2EXE", "REMOVEDIR", "SPLIT",
        "COMBINE", "DROP2", "WAIT",   "EJECT",  "SLEEP",     "SHEXE",
    };
    return kNames;
}

namespace {

using K = EnvKey::Kind;

EnvKey Text(std::string_view name, std::string Settings::*m) {
    EnvKey k{name, K::Text};
    k.text = m;
    return k;
}
EnvKey Flag(std::string_view name, bool Settings::*m) {
    EnvKey k{name, K::Bool};
    k.flag = m;
    return k;
}
EnvKey Number(std::string_view name, int Settings::*m, int min, int max) {
    EnvKey k{name, K::Int};
    k.number = m;
    k.min = min;
    k.max = max;
    return k;
}
// A number whose out-of-range values are read as a fixed value.
EnvKey NumberOr(std::string_view name, int Settings::*m, int min, int max, int fallback) {
    EnvKey k = Number(name, m, min, max);
    k.outOfRange = fallback;
    k.keepOnBad = false;
    return k;
}

}  // namespace

const std::vector<EnvKey>& EnvKeys() {
    static const std::vector<EnvKey> kKeys = {
        Text("Viewer", &Settings::viewer),
        Text("Editer", &Settings::editer),
        Flag("ViewMode", &Settings::viewMode),
        Text("WallPicturePath", &Settings::wallPicturePath),
        Text("HomeDir", &Settings::homeDir),
        Number("Style", &Settings::style, 0, 1),
        NumberOr("Sort", &Settings::sort, 0, 3, 0),
        Flag("AutoSort", &Settings::autoSort),
        Flag("RevSort", &Settings::revSort),
        Flag("SortDir", &Settings::sortDir),
        Flag("SortAttr", &Settings::sortAttr),
        Number("FILERESCMODE", &Settings::filerEscMode, 0, 1),
        Text("ColorCustomFile", &Settings::colorCustomFile),
        Text("KeyCustomFile", &Settings::keyCustomFile),
        Flag("PVCLOSERETURN", &Settings::pvCloseReturn),
        Flag("MENUHISTORY", &Settings::menuHistory),
        Flag("DirWindow", &Settings::dirWindow),
        Flag("tvCloseReturn", &Settings::tvCloseReturn),
        Flag("FESCHIDE", &Settings::fescHide),
        Number("PVMaxX", &Settings::pvMaxX, 1, 100000),
        Number("PVMaxY", &Settings::pvMaxY, 1, 100000),
        Number("HOMESHIFTMODE", &Settings::homeShiftMode, 0, 1),
        Flag("FilerAuto", &Settings::filerAuto),
        Flag("HAITAHYOJI", &Settings::haitaHyoji),
        Number("SCSP1", &Settings::scsp1, 1, 10000),
        Number("SCSP2", &Settings::scsp2, 1, 10000),
        Flag("EditOption", &Settings::editOption),
        Number("FUNCTIONKAZU", &Settings::functionKazu, 10, 12),
        Flag("SubDirSize", &Settings::subDirSize),
        Flag("CursorMode", &Settings::cursorMode),
        Flag("CursorLoop", &Settings::cursorLoop),
        Flag("lvCursorLoop", &Settings::lvCursorLoop),
        Number("TVSPSC", &Settings::tvspsc, 1, 10),
        Flag("FolderStyle", &Settings::folderStyle),
        Number("CURSORSTYLE", &Settings::cursorStyle, 0, 3),
        Number("CURSORSTYLE2", &Settings::cursorStyle2, 0, 3),
        Number("FILENAMESTYLE", &Settings::fileNameStyle, 0, 2),
        Flag("EDMCF", &Settings::edmcf),
        Text("FMC", &Settings::fmc),
        Flag("EDMMF", &Settings::edmmf),
        Text("FMM", &Settings::fmm),
        Flag("EDMDF", &Settings::edmdf),
        Text("FMD", &Settings::fmd),
        Flag("EDMSF", &Settings::edmsf),
        Text("FMS", &Settings::fms),
        Text("FMS2", &Settings::fms2),
        Flag("EDMPF", &Settings::edmpf),
        Flag("EDMXF", &Settings::edmxf),
        Flag("EDMEF", &Settings::edmef),
        Flag("EDMNF", &Settings::edmnf),
        Flag("EDMSNF", &Settings::edmsnf),
        Flag("MACROFLAG", &Settings::macroFlag),
        Text("BACKUPNAME", &Settings::backupName),
        Number("FilePitch", &Settings::filePitch, 0, 4),
        Flag("FGUIDE", &Settings::fguide),
        Flag("LSMENU", &Settings::lsMenu),
        Flag("FILEINFO1", &Settings::fileInfo1),
        Flag("DIRDELMODE", &Settings::dirDelMode),
        Flag("HIDDENFILE", &Settings::hiddenFile),
        Flag("HOTKEYFLAG", &Settings::hotKeyFlag),
        Text("HOTTEXT", &Settings::hotText),
        Flag("TASKTRAY", &Settings::taskTray),
        Flag("TASKSHOW", &Settings::taskShow),
        Flag("CUTCOMMENT", &Settings::cutComment),
        Flag("HIDEFLAG", &Settings::hideFlag),
        Number("TabWidth", &Settings::tabWidth, 0, 9),
        Flag("MainClose", &Settings::mainClose),
        Flag("FLAGDCD", &Settings::flagDcd),
        Flag("MenuBar", &Settings::menuBar),
        Flag("RetTree", &Settings::retTree),
        Flag("BSClose", &Settings::bsClose),
        Flag("CursorKeyMode", &Settings::cursorKeyMode),
        Flag("CursorKeyMode2", &Settings::cursorKeyMode2),
        Flag("fmESCMode", &Settings::fmEscMode),
        NumberOr("AUTONAME", &Settings::autoName, 1, 3, 1),
    };
    return kKeys;
}

const EnvKey* FindEnvKey(std::string_view name) {
    const std::string upper = UpperAscii(Trim(name));
    for (const EnvKey& k : EnvKeys()) {
        if (UpperAscii(k.name) == upper) return &k;
    }
    return nullptr;
}

std::string EnvValueText(const Settings& s, const EnvKey& key) {
    switch (key.kind) {
    case EnvKey::Kind::Text: return s.*key.text;
    case EnvKey::Kind::Bool: return s.*key.flag ? "1" : "0";
    case EnvKey::Kind::Int: return std::to_string(s.*key.number);
    }
    return std::string();
}

std::string FormatAliasLine(const AliasEntry& a) {
    std::string rest = "," + QuoteField(a.expansion);
    if (!a.directory.empty()) rest += "," + QuoteField(a.directory);
    const std::string line = QuoteField(a.name) + rest;
    // A line that reads as a section header would end the section: the
    // quoted name keeps it an entry.
    if (LooksLikeSectionHeader(UpperAscii(Trim(line)))) return QuoteField(a.name, ',', true) + rest;
    return line;
}

std::string FormatFunctionLine(const FunctionKey& k) {
    if (k.title.empty() && FindChar(k.command, ']') != std::string::npos) return "[]" + k.command;
    return k.title + k.command;
}

}  // namespace kestrum
