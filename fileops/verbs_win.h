// The verbs ("open", "edit" ...) the platform's file associations register
// for a file's extension.
#pragma once

#include <string>
#include <vector>

namespace kestrum {

// Every verb registered for the extension of file, in the registry's order.
std::vector<std::string> RegisteredVerbs(const std::string& file);
// The default verb when one is named, else the first one registered; empty
// when the extension has none.
std::string DefaultVerb(const std::string& file);

}  // namespace kestrum
