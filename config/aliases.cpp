// Alias resolution and saving.
#include "config/aliases.h"

#include <vector>

#include "common/prompter.h"
#include "common/sjis.h"
#include "common/split.h"
#include "config/settings_file.h"

namespace kestrum {

int FindAlias(const Session& state, std::string_view name) {
    const auto& aliases = state.lists.aliases;
    for (std::size_t i = 0; i < aliases.size(); ++i) {
        if (SameText(aliases[i].name, name)) return static_cast<int>(i);
    }
    return -1;
}

int ResolveAlias(const Session& state, std::string& word, std::string& rest, std::string& dir) {
    std::vector<bool> used(state.lists.aliases.size(), false);
    return ResolveAliasChain(state, word, rest, dir, used);
}

int ResolveAliasChain(const Session& state, std::string& word, std::string& rest, std::string& dir,
                      std::vector<bool>& used) {
    used.resize(state.lists.aliases.size(), false);
    int index = FindAlias(state, word);
    if (index < 0 || used[static_cast<std::size_t>(index)]) return -1;
    used[static_cast<std::size_t>(index)] = true;
    dir = state.lists.aliases[static_cast<std::size_t>(index)].directory;
    word = state.lists.aliases[static_cast<std::size_t>(index)].expansion;
    for (;;) {
        const HeadTail ht = SplitFirst(word, ' ');
        if (!ht.tail.empty()) rest = rest.empty() ? ht.tail : ht.tail + " " + rest;
        word = ht.head;
        const int next = FindAlias(state, word);
        if (next < 0 || used[static_cast<std::size_t>(next)]) break;
        used[static_cast<std::size_t>(next)] = true;
        index = next;
        word = state.lists.aliases[static_cast<std::size_t>(next)].expansion;
    }
    return index;
}

std::string ExpandAliasArgument(const Session& state, std::string text) {
    // Each round uses up one alias, so self-reference ends the loop.
    for (std::size_t round = 0; round <= state.lists.aliases.size(); ++round) {
        if (FindAlias(state, text) < 0) break;
        std::string word = text;
        std::string rest;
        std::string dir;
        ResolveAlias(state, word, rest, dir);
        text = Trim(rest.empty() ? word : word + " " + rest);
    }
    return text;
}

bool SaveAliases(const Session& state) {
    std::vector<std::string> lines;
    for (const AliasEntry& a : state.lists.aliases) lines.push_back(FormatAliasLine(a));
    TSettingsFile file(state.settingsPath, state.settings.semicolonMode);
    file.WriteListSection("ALIAS", lines);
    return file.SaveOrSay();
}

}  // namespace kestrum
