// kdrive.exe run from the end-to-end tests.
#include "tests/e2e/drive.h"

namespace kestrum::test {

std::string BinDir() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string dir(self);
    dir.resize(dir.find_last_of('\\'));      // tests
    dir.resize(dir.find_last_of('\\') + 1);  // build folder
    return dir + "bin\\";
}

DriveResult Drive(const TempDir& dir, const std::vector<std::string>& script) {
    std::string text;
    for (const std::string& l : script) text += l + "\r\n";
    const std::string scriptPath = dir.File("script.txt");
    WriteFile(scriptPath, text);
    const std::string outPath = dir.File("kdrive.out");
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE out = CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out;
    si.hStdError = out;
    PROCESS_INFORMATION pi{};
    const std::string exe = BinDir() + "kdrive.exe";
    std::string cmd = "\"" + exe + "\" \"" + scriptPath + "\"";
    DriveResult r;
    if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        CloseHandle(out);
        r.output = "cannot start " + exe;
        return r;
    }
    WaitForSingleObject(pi.hProcess, 120000);
    GetExitCodeProcess(pi.hProcess, &r.code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    CloseHandle(out);
    r.output = ReadFile(outPath);
    return r;
}

std::vector<std::string> Section(const std::vector<std::string>& lines, const std::string& header) {
    std::vector<std::string> out;
    bool in = false;
    for (const std::string& l : lines) {
        if (l == header) {
            in = true;
        } else if (in && l == "[END]") {
            break;
        } else if (in) {
            out.push_back(l);
        }
    }
    return out;
}

}  // namespace kestrum::test
