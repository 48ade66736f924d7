// Helpers for the tests against independent Debian tools: temporary
// trees of mixed files, running a command, comparing trees.
#pragma once

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace kestrum::arc::test {

// UTF-8 to Shift-JIS through iconv, standing in for the platform's converter.
inline bool IconvToSjis(const std::string& utf8, std::string& out) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string in = utf8;
    out.assign(in.size() * 2 + 4, '\0');
    char* ip = in.data();
    char* op = out.data();
    std::size_t il = in.size(), ol = out.size();
    const std::size_t r = iconv(cd, &ip, &il, &op, &ol);
    iconv_close(cd);
    if (r == static_cast<std::size_t>(-1)) return false;
    out.resize(out.size() - ol);
    return true;
}

inline std::string Slurp(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

inline void Spit(const std::filesystem::path& p, const std::string& bytes) {
    std::filesystem::create_directories(p.parent_path());
    std::ofstream f(p, std::ios::binary);
    f << bytes;
}

// Runs a shell command; its exit status (0 = success).
inline int Shell(const std::string& cmd) {
    int rc = std::system(("(" + cmd + ") >/dev/null 2>&1").c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

inline bool HaveTool(const std::string& name) { return Shell("command -v " + name) == 0; }

// Mixed contents: text with repeats near and far (beyond 8, 32 and 64 KB
// windows), random bytes that do not shrink, an empty file, a small one.
inline void MakeMixedTree(const std::filesystem::path& root) {
    std::mt19937 rng(11);
    std::string text;
    while (text.size() < 180000) text += "line " + std::to_string(rng() % 5000) + " of the archive test\n";
    std::string block(40000, '\0');
    for (auto& c : block) c = static_cast<char>('a' + rng() % 26);
    std::string far = block + std::string(30000, '-') + block + text.substr(0, 20000) + block;
    std::string noise(50000, '\0');
    for (auto& c : noise) c = static_cast<char>(rng());
    Spit(root / "text.txt", text);
    Spit(root / "far.dat", far);
    Spit(root / "noise.bin", noise);
    Spit(root / "empty.txt", "");
    Spit(root / "sub" / "small.txt", "hello\n");
    Spit(root / "sub" / "deeper" / "copy.txt", text.substr(1000, 30000));
}

// Every regular file under `expected` has a byte-identical twin under `actual`.
inline void ExpectSameFiles(const std::filesystem::path& expected, const std::filesystem::path& actual) {
    int count = 0;
    for (auto& e : std::filesystem::recursive_directory_iterator(expected)) {
        if (!e.is_regular_file()) continue;
        auto rel = std::filesystem::relative(e.path(), expected);
        ++count;
        ASSERT_TRUE(std::filesystem::exists(actual / rel)) << rel;
        EXPECT_TRUE(Slurp(e.path()) == Slurp(actual / rel)) << rel;
    }
    EXPECT_GT(count, 0);
}

}  // namespace kestrum::arc::test
