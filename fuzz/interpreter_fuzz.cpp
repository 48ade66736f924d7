// The interpreter's line handling over any lines, against the recording
// hosts of the tests: aliases, ";" sequences, macros, shorthands, the
// internal commands and program starts. Nothing may fault or hang; a line
// ends in one of the four results.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

#include "common/prompter.h"
#include "config/settings_loader.h"
#include "config/text_file.h"
#include "fuzz/fuzz_util.h"
#include "tests/fakes/scripted_prompter.h"
#include "shell/interpreter.h"
#include "tests/shell/fake_hosts.h"

using namespace kestrum;

namespace {

// A private folder for the one file the interpreter writes (the alias
// section of the settings file).
const std::string& SettingsPath() {
    static const std::string path = [] {
        char dir[] = "/tmp/kestrum-fuzz-XXXXXX";
        if (!mkdtemp(dir)) std::abort();
        return std::string(dir) + "/k.cfg";
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string& cfg = SettingsPath();
    std::remove(cfg.c_str());

    ScriptedPrompter prompter;
    const Subscription scope = InstallPrompter(prompter);
    for (int i = 0; i < 4; ++i) prompter.Answer(in.ConsumeIntegralInRange(1, 8));
    prompter.AnswerLine(in.ConsumeRandomLengthString(32));

    Session state;
    LoadSettingsLines(SplitLines(in.ConsumeRandomLengthString(256)), state.settings, state.lists);
    state.currentDir = "C:\\WORK\\";
    state.programDir = "C:\\K\\";
    state.settingsPath = cfg;

    test::FakeHost host;
    host.state = &state;
    host.files = {"C:\\WORK\\A.TXT", "C:\\WORK\\MY NOTES.TXT", "C:\\WORK\\SUB", "C:\\WORK\\表.LZH"};
    host.filerShowing = in.ConsumeBool();
    host.filerFile = in.ConsumeBool() ? "C:\\WORK\\A.TXT" : "";
    // CFGLOAD could otherwise point the alias writer at any path.
    host.reloadReads = false;
    test::FakeFiles files;
    files.entries = {{"A.TXT", false}, {"MY NOTES.TXT", false}, {"SUB", true}, {"表.LZH", false}};
    files.marked = {"A.TXT"};

    Interpreter interp(state, host);
    if (in.ConsumeBool()) interp.SetFileHost(&files);
    for (const std::string& line : SplitLines(in.ConsumeRemainingBytesAsString())) {
        if (line.size() > 1 && line[0] == '\x01') interp.SetOneShotFile(line.substr(1));
        const int r = interp.Execute_t(line);
        FUZZ_CHECK(r >= rrFailed && r <= rrWindow, fuzz::Printable(line));
        FUZZ_CHECK(state.settingsPath == cfg, fuzz::Printable(line));
    }
    return 0;
}
