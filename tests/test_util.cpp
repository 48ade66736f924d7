// Test helpers.
#include "tests/test_util.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kestrum::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    // A name from the address of a local and a counter.
    int probe = 0;
    const auto stamp = reinterpret_cast<std::uintptr_t>(&probe) ^ static_cast<std::uintptr_t>(std::rand());
    // The names repeat from run to run and between test programs running at
    // the same time: take only a folder this call itself created.
    fs::path p;
    std::error_code ec;
    do {
        p = fs::temp_directory_path() /
            ("kestrum-test-" + std::to_string(stamp % 1000000007) + "-" + std::to_string(counter++));
    } while (!fs::create_directory(p, ec) && !ec);
    path_ = p.string();
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string TempDir::File(const std::string& name) const {
#ifdef _WIN32
    return path_ + "\\" + name;
#else
    return path_ + "/" + name;
#endif
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary);
    f << bytes;
    ASSERT_TRUE(f.good()) << path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

std::vector<std::string> CrLfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t e = bytes.find("\r\n", start);
        if (e == std::string::npos) {
            ADD_FAILURE() << "text does not end in CR LF";
            lines.push_back(bytes.substr(start));
            break;
        }
        const std::string line = bytes.substr(start, e - start);
        EXPECT_EQ(line.find('\n'), std::string::npos) << "bare LF in: " << line;
        lines.push_back(line);
        start = e + 2;
    }
    return lines;
}

namespace {
thread_local int t_expectDialogs = 0;
}
ExpectDialogs::ExpectDialogs() { ++t_expectDialogs; }
ExpectDialogs::~ExpectDialogs() { --t_expectDialogs; }
bool ExpectDialogs::Active() { return t_expectDialogs > 0; }

}  // namespace kestrum::test
