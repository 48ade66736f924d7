// Attribute change over a list of entries: one attribute dialog per entry,
// with ALL giving every later entry the same value without asking.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestrum {

// The attribute bits the dialog offers.
enum : unsigned {
    kAttribReadOnly = 0x01,
    kAttribHidden = 0x02,
    kAttribSystem = 0x04,
    kAttribArchive = 0x20,
    kAttribDialogBits = kAttribReadOnly | kAttribHidden | kAttribSystem | kAttribArchive,
};

// The entries whose attributes are changed.
class AttribFiles {
public:
    virtual ~AttribFiles() = default;
    virtual std::optional<unsigned> Get(const std::string& path) = 0;
    virtual bool Set(const std::string& path, unsigned attributes) = 0;
};

// Runs the attribute dialog (through the current prompter) over paths in
// order. OK and ALL set the entry to the dialog's value (bits other than
// the four are cleared); after ALL every later entry gets that value
// without the dialog; Cancel stops. Returns how many entries were set.
int RunAttribChange(const std::vector<std::string>& paths, AttribFiles& io);

}  // namespace kestrum
