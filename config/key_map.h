// Key maps: the binding records of a window (TUserKey), its action table
// with the events of loading and firing (TKeyX), the key file format, and
// the three maps the program keeps (filer, line input, text viewer).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/signal.h"
#include "config/text_file.h"

namespace kestrum {

// Modifier bits of a binding, the same as the shift state of a key-down.
enum KeyModifier : unsigned char { kModShift = 1, kModAlt = 2, kModCtrl = 4 };
constexpr unsigned char ModifierBits(bool shift, bool ctrl, bool alt) {
    return static_cast<unsigned char>((shift ? kModShift : 0) | (alt ? kModAlt : 0) | (ctrl ? kModCtrl : 0));
}
// Keypad digits (96-105) as the main-row digits (48-57); other keys as they are.
constexpr int MainRowKey(int key) { return key >= 96 && key <= 105 ? key - 48 : key; }

// One binding: key with exact modifiers runs action id.
struct KeyBinding {
    bool reserved = false;  // kept and written back, nothing else
    int key = 0;            // virtual-key code
    std::string name;       // display text of the key ("F1", "RETURN", "A")
    unsigned char modifiers = 0;
    int action = 0;
    bool operator==(const KeyBinding&) const = default;
};

// A binding line of a key file ("%d, %d, %s, %d, %d, %d, %d": id, key,
// name, Shift, Ctrl, reserved, Alt), the comma key's name written "，".
std::string BindingLine(const KeyBinding& b);
// The binding of a key-file line; nullopt for a line that is skipped (no
// comma, a comma first, an id that is not a number).
std::optional<KeyBinding> ParseBindingLine(std::string_view line);

// The bindings of one window, in order; the first match wins.
class TUserKey {
public:
    void Clear() { records_.clear(); }
    // Appends an empty record and returns it.
    KeyBinding& Add();
    const KeyBinding& Get(int i) const { return records_.at(static_cast<std::size_t>(i)); }
    void Set(int i, const KeyBinding& b) { records_.at(static_cast<std::size_t>(i)) = b; }
    void Delete(int i);
    int Count() const { return static_cast<int>(records_.size()); }
    void Assign(const TUserKey& other);
    const std::vector<KeyBinding>& Records() const { return records_; }

    // First record for key with exactly these modifiers; -1 for none.
    int Find(int key, unsigned char modifiers) const;
    // First record bound to the action id; -1 for none.
    int FindAction(int id) const;

    // The key file: header, then one line per binding with a non-empty
    // name, CR LF after each.
    std::string FileText(std::string_view header) const;
    bool Save(const std::string& path, std::string_view header) const;

private:
    std::vector<KeyBinding> records_;
};

// One entry of an action table. The command is what the window runs for
// it (a menu command id; the filer's is the action code).
struct KeyAction {
    std::string name;  // may start with a group in brackets: "[カーソル移動]上へ"
    int command = 0;
    int id = 0;
};

// The action table of one window with its key map.
class TKeyX {
public:
    TUserKey KeyXUserKey;
    int handled = 0;  // the last lookup: 1 a binding fired, 0 none

    // The key file is missing or empty.
    std::function<void()> OnNotFound;
    // A line names an id the table does not have; may add the action or set saveAgain.
    std::function<void(int id, bool& saveAgain)> OnUnknownAction;
    // Raised after a load that set saveAgain.
    std::function<void()> OnSaveNeeded;
    // A binding with Alt fired, or Alt was pressed in the customisation dialog.
    std::function<void()> OnAltKey;
    // Lines whose id still names no action are kept when this says so (ids
    // of actions that come later, such as user functions not loaded yet).
    std::function<bool(int id)> KeepUnknownId;
    // The file of the last load when it existed but could not be read: the
    // map does not hold its bindings, so it is never saved over (see
    // SaveKeyFile). Empty after a load that read its file.
    std::string unreadableFile;

    // How the window runs a command and shows a menu caption: the window
    // that shows the map connects to these for as long as it exists.
    Signal<int> runCommand;
    Signal<int, const std::string&> setCaption;
    // Fired once after RefreshCaptions has set every caption: a window redraws
    // its menu bar then, not at every item (a redraw costs a frame change).
    Signal<> captionsRefreshed;
    // True while RefreshCaptions runs.
    bool RefreshingCaptions() const { return refreshingCaptions_; }

    void AddAction(std::string name, int command, int id);
    // Renames action n and refreshes its caption.
    void RenameAction(int n, std::string name);
    int IndexOfId(int id) const;
    int Command(int n) const { return At(n).command; }
    const std::string& Name(int n) const { return At(n).name; }
    int Id(int n) const { return At(n).id; }
    void DeleteAction(int n);
    int Count() const { return static_cast<int>(actions_.size()); }
    const std::vector<KeyAction>& Actions() const { return actions_; }

    // Caption of action n: its name after the first "]", TAB, and the key of
    // the first binding of its id ("SHIFT+", "CTRL+", "ALT+", key name).
    std::string MenuCaption(int n) const;
    void RefreshCaptions() const;

    // Key lookup: the first binding of key with exactly these modifiers
    // runs its action; the key then becomes 0 and handled 1.
    void LookUp(int& key, unsigned char modifiers);

private:
    const KeyAction& At(int n) const { return actions_.at(static_cast<std::size_t>(n)); }
    std::vector<KeyAction> actions_;
    mutable bool refreshingCaptions_ = false;
};

enum class KeyFileResult { Loaded, NotFound, Invalid, Unreadable };
// Loads a key file into keyx's map. A missing, empty or unreadable file
// raises OnNotFound, a foreign header shows a message; the map is kept in
// every such case. A preview load never raises OnSaveNeeded.
KeyFileResult LoadKeyFile(TKeyX& keyx, const std::string& path, std::string_view header, bool preview = false);
// The same from the lines of a file that was read.
KeyFileResult LoadKeyLines(TKeyX& keyx, const std::vector<std::string>& lines, std::string_view header,
                           bool preview = false);
bool SaveKeyFile(const TUserKey& map, std::string_view header, const std::string& path);
// Writes keyx's map to path, unless path is a file that exists but could not
// be read, now or at keyx's last load (Unreadable).
SaveResult SaveKeyFile(const TKeyX& keyx, std::string_view header, const std::string& path);
// The kind of file in the messages of a failed save.
inline constexpr std::string_view kKeyFileKind = "キー設定ファイル";

// ---- the dialog's rules ----
// Text of a captured key: the names of the special keys, else the character
// the keyboard layout gives ("," shown as "，"); empty when nothing is
// captured (ESC, a key without a character).
std::string CapturedKeyName(int key, unsigned layoutChar);
// The update step: the record of key with modifiers gets the action (or is
// appended); with no action (the "なし" entry) it is deleted.
void UpdateBinding(TUserKey& map, int key, const std::string& name, unsigned char modifiers,
                   std::optional<int> actionId);

// ---- the three maps ----
inline constexpr std::string_view kFilerKeyHeader = "#ＫＥＳＴＲＵＭキー設定ファイル";
inline constexpr std::string_view kEditKeyHeader = "#ＫＥＳＴＲＵＭ Ｗキー設定ファイル";
inline constexpr std::string_view kViewerKeyHeader = "#ＫＥＳＴＲＵＭ TVキー設定ファイル";
inline constexpr std::string_view kKeyFileInvalid = "指定されたキー設定ファイルが無効です。";
inline constexpr std::string_view kFilerKeyNotFound = "指定されたキー設定ファイルが見つかりません。";

inline constexpr int kEditKeyActionCount = 15;
// The line-input map's actions (the ids its key file stores) by name.
struct EditKeyAction {
    static constexpr int Complete = 0;        // file name completion
    static constexpr int History = 1;         // the history, backwards
    static constexpr int HistoryReturn = 2;   // the history, forwards again
    static constexpr int CaretToStart = 3;
    static constexpr int CaretToEnd = 4;
    static constexpr int Browse = 5;
    static constexpr int PickRegistered = 6;  // a line of the registered list
    static constexpr int DeleteToEnd = 7;     // everything from the caret on
    static constexpr int Copy = 8;
    static constexpr int Paste = 9;
    static constexpr int Cut = 10;
    static constexpr int DeleteBefore = 11;   // the character before the caret
    static constexpr int Undo = 12;
    static constexpr int CaretLeft = 13;
    static constexpr int CaretRight = 14;
};

inline constexpr int kViewerKeyActionCount = 18;
// The line-input map runs its action n as the line-input window's menu
// command kEditKeyCommand0 + n.
inline constexpr int kEditKeyCommand0 = 300;
const char* EditKeyActionName(int id);
const char* ViewerKeyActionName(int id);

// The files: the filer's named by KeyCustomFile, the others named like the
// settings file; names without a drive are relative to the program folder.
std::string FilerKeyFilePath(std::string_view keyCustomFile, std::string_view programDir);
std::string EditKeyFilePath(std::string_view settingsPath, std::string_view programDir);
std::string ViewerKeyFilePath(std::string_view settingsPath, std::string_view programDir);

// The tables and events of each map. Filer: the 86 actions (command = code);
// unknown drive codes add a drive action named with driveType(letter); user
// function ids are kept; other unknown ids make the load call save.
void SetUpFilerKeyX(TKeyX& keyx, std::function<int(char letter)> driveType, std::function<void()> save);
// Line input: ids 0-14, commands commandBase + id.
void SetUpEditKeyX(TKeyX& keyx, int commandBase);
// Text viewer: ids 0-17, commands commandBase + id; unknown ids never cause a save.
void SetUpViewerKeyX(TKeyX& keyx, int commandBase);
// The not-found messages of those two: the settings file's name with ".WK"
// (".tvk" for the viewer) and "ファイルが見つかりません。".
std::string EditKeyNotFoundText(std::string_view settingsPath, std::string_view programDir);
std::string ViewerKeyNotFoundText(std::string_view settingsPath, std::string_view programDir);

}  // namespace kestrum
