// The registered verbs of a file's extension.
#include "fileops/verbs_win.h"

#include <windows.h>

#include "common/handles_win.h"
#include "common/sjis.h"

namespace kestrum {

namespace {

// The "shell" key of the class registered for the extension of file.
RegKey VerbsKey(const std::string& file) {
    const std::string ext = ExtractFileExt(file);
    if (ext.empty()) return RegKey();
    char cls[256] = {};
    LONG size = sizeof cls;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, ext.c_str(), cls, &size) != ERROR_SUCCESS || !cls[0]) return RegKey();
    return OpenRegKey(HKEY_CLASSES_ROOT, std::string(cls) + "\\shell");
}

}  // namespace

std::vector<std::string> RegisteredVerbs(const std::string& file) {
    const RegKey shell = VerbsKey(file);
    if (!shell) return {};
    return RegSubkeyNames(shell.Get());
}

std::string DefaultVerb(const std::string& file) {
    const RegKey shell = VerbsKey(file);
    if (!shell) return {};
    const std::string named = RegString(shell.Get(), nullptr);
    if (!named.empty()) return named;
    const std::vector<std::string> verbs = RegSubkeyNames(shell.Get());
    return verbs.empty() ? std::string() : verbs.front();
}

}  // namespace kestrum
