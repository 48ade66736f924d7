// kdrive.exe: runs a script of driver commands, one per line, from a file
// ("kdrive SCRIPT") or from the arguments ("kdrive -e CMD -e CMD ...").
// Prints what commands read; the first failure ends the run with code 1.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tools/kdrive/kdrive.h"

int main(int argc, char** argv) {
    std::vector<std::string> lines;
    if (argc == 2 && std::string(argv[1]) != "-e") {
        std::ifstream f(argv[1], std::ios::binary);
        if (!f) {
            std::fprintf(stderr, "kdrive: cannot read %s\n", argv[1]);
            return 2;
        }
        std::string line;
        while (std::getline(f, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
    } else {
        for (int i = 1; i + 1 < argc; i += 2) {
            if (std::string(argv[i]) != "-e") {
                std::fprintf(stderr, "usage: kdrive SCRIPT | kdrive -e COMMAND [-e COMMAND ...]\n");
                return 2;
            }
            lines.push_back(argv[i + 1]);
        }
    }
    if (lines.empty()) {
        std::fprintf(stderr, "usage: kdrive SCRIPT | kdrive -e COMMAND [-e COMMAND ...]\n");
        return 2;
    }
    kdrive::Driver driver;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string out;
        const std::string err = driver.Run(lines[i], out);
        if (!out.empty()) std::printf("%s\n", out.c_str());
        if (!err.empty()) {
            std::fprintf(stderr, "kdrive: line %u: %s: %s\n", static_cast<unsigned>(i + 1), lines[i].c_str(),
                         err.c_str());
            return 1;
        }
    }
    return 0;
}
