// The alias table: resolution of a command word, argument aliases, and
// saving the [ALIAS] section.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/session.h"

namespace kestrum {

// Index of the alias with that name (compared without regard to case), or -1.
int FindAlias(const Session& state, std::string_view name);

// Resolves word as an alias: the word becomes the first word of the
// expansion (aliases in that position expanding in turn, each at most once),
// words after it go in front of rest, and dir becomes the first alias's
// directory. Returns the index of the last alias used, or -1 (nothing changed).
int ResolveAlias(const Session& state, std::string& word, std::string& rest, std::string& dir);
// The same, with used marking (by index) the aliases already resolved in
// this chain: those are not resolved again, and those resolved now are marked.
int ResolveAliasChain(const Session& state, std::string& word, std::string& rest, std::string& dir,
                      std::vector<bool>& used);

// While the whole text is an alias name, replaces it by its expansion.
std::string ExpandAliasArgument(const Session& state, std::string text);

// Rewrites [ALIAS] from the table and saves the settings file. False (and a
// message) when the file could not be written.
bool SaveAliases(const Session& state);

}  // namespace kestrum
