// The running settings of the [環境変数] section and the lists the settings
// loader fills, with the table that ties each key to its field.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

inline constexpr int kCommandCount = 42;
inline constexpr int kFunctionKeyCount = 12;

// The built-in names of the internal commands; the index is the number.
const std::array<std::string_view, kCommandCount>& DefaultCommandNames();

struct Settings {
    std::string viewer;
    std::string editer;
    bool viewMode = false;
    std::string wallPicturePath;
    std::string homeDir;
    int style = 0;
    int sort = 0;
    bool autoSort = false;
    bool revSort = false;
    bool sortDir = true;
    bool sortAttr = true;
    int filerEscMode = 0;
    std::string colorCustomFile = "Kestrum.Col";
    std::string keyCustomFile = "Kestrum.Key";
    bool pvCloseReturn = false;
    bool menuHistory = false;
    bool dirWindow = false;
    bool tvCloseReturn = false;
    bool fescHide = false;
    int pvMaxX = 800;
    int pvMaxY = 600;
    int homeShiftMode = 1;
    bool filerAuto = true;
    bool haitaHyoji = false;
    int scsp1 = 48;
    int scsp2 = 48;
    bool editOption = false;
    int functionKazu = 10;
    bool subDirSize = true;
    bool cursorMode = true;
    bool cursorLoop = true;
    bool lvCursorLoop = false;
    int tvspsc = 2;
    bool folderStyle = true;
    int cursorStyle = 2;
    int cursorStyle2 = 3;
    int fileNameStyle = 0;
    bool edmcf = true;
    std::string fmc = "/$C";
    bool edmmf = true;
    std::string fmm = "/$M";
    bool edmdf = true;
    std::string fmd = "/$D";
    bool edmsf = true;
    std::string fms = "/$$";
    std::string fms2 = "/$";
    bool edmpf = true;
    bool edmxf = true;
    bool edmef = true;
    bool edmnf = true;
    bool edmsnf = true;
    bool macroFlag = false;
    std::string backupName;
    int filePitch = 2;
    bool fguide = true;
    bool lsMenu = true;
    bool fileInfo1 = false;
    bool dirDelMode = false;
    bool hiddenFile = true;
    bool hotKeyFlag = false;
    std::string hotText;
    bool taskTray = false;
    bool taskShow = false;
    bool cutComment = false;
    bool hideFlag = false;
    int tabWidth = 8;
    bool mainClose = false;
    bool flagDcd = true;
    bool menuBar = true;
    bool retTree = false;
    bool bsClose = false;
    bool cursorKeyMode = false;
    bool cursorKeyMode2 = true;
    bool fmEscMode = false;
    int autoName = 2;

    // ";" separates commands and no longer starts a comment (the marker line
    // or the settings dialog's option). Never cleared by a reload.
    bool semicolonMode = false;
    // The built-in text viewer is the effective viewer (see ResolveViewer).
    std::string effectiveViewer;
};

// One [環境変数] key: its spelling as the writers write it and where it goes.
struct EnvKey {
    enum class Kind { Text, Bool, Int };
    std::string_view name;
    Kind kind;
    std::string Settings::*text = nullptr;
    bool Settings::*flag = nullptr;
    int Settings::*number = nullptr;
    // Accepted range for Int keys; a value outside it is replaced by
    // outOfRange, or keeps the field's present value when keepOnBad is set.
    int min = -2147483647 - 1;
    int max = 2147483647;
    int outOfRange = 0;
    bool keepOnBad = true;
};
const std::vector<EnvKey>& EnvKeys();
const EnvKey* FindEnvKey(std::string_view name);  // case-insensitive

// The text a key's value is written as in a "KEY, value" line.
std::string EnvValueText(const Settings& s, const EnvKey& key);

struct AliasEntry {
    std::string name;
    std::string expansion;
    std::string directory;
    bool operator==(const AliasEntry&) const = default;
};

// The [ALIAS] line of an entry: name and expansion always, the directory
// (with its ",") only when not empty; a field holding "," is quoted.
std::string FormatAliasLine(const AliasEntry& a);

struct ExtEntry {
    std::string ext;  // upper case, with or without the dot as typed
    std::string command;
    bool operator==(const ExtEntry&) const = default;
};

struct FunctionKey {
    std::string title;    // up to and including the first "]"
    std::string command;  // the rest
    bool operator==(const FunctionKey&) const = default;
};

// The [FUNCTION] line of a key: its title as kept, then its command. A key
// without a title is its command alone, unless the command holds a "]"
// (which would be read as the end of a title).
std::string FormatFunctionLine(const FunctionKey& k);

// Everything the settings loader reads besides the [環境変数] values.
struct SettingsLists {
    std::vector<std::string> commandTable;  // kCommandCount names
    std::vector<AliasEntry> aliases;
    std::vector<ExtEntry> ext;
    std::vector<std::string> dirHistory;
    std::vector<std::string> exeHistory;
    std::vector<std::string> logList;   // key character, a blank, path
    std::vector<std::string> copyList;  // key character, a blank, path
    std::vector<std::string> findList;
    std::vector<FunctionKey> functions;  // at most kFunctionKeyCount
    bool operator==(const SettingsLists&) const = default;
};

}  // namespace kestrum
