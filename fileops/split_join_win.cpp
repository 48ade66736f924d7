// SplitFile, JoinFiles and AppendFile, copying through a fixed-size buffer.
#include "fileops/split_join_win.h"

#include <windows.h>

#include <algorithm>

#include "common/handles_win.h"
#include "common/prompter.h"
#include "fileops/path_utils.h"
#include "fileops/split_join.h"

namespace kestrum {

namespace {

constexpr DWORD kChunk = 64 * 1024;

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

FileHandle OpenForReading(const std::string& path) {
    return FileHandle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

void Say(const std::string& text) { CurrentPrompter().ShowMessage(text); }

// Copies up to limit bytes (all when negative) from in to out. Returns the
// bytes copied, or -1 after reporting a failure.
std::int64_t Pump(HANDLE in, const std::string& inName, HANDLE out, const std::string& outName,
                  std::int64_t limit) {
    std::vector<char> buf(kChunk);
    std::int64_t done = 0;
    while (limit < 0 || done < limit) {
        const DWORD want =
            limit < 0 ? kChunk : static_cast<DWORD>(std::min<std::int64_t>(kChunk, limit - done));
        DWORD got = 0;
        if (!ReadFile(in, buf.data(), want, &got, nullptr)) {
            Say(inName + "の読み込みに失敗しました");
            return -1;
        }
        if (got == 0) break;
        DWORD put = 0;
        if (!WriteFile(out, buf.data(), got, &put, nullptr) || put != got) {
            Say(outName + "の書き込みに失敗しました");
            return -1;
        }
        done += got;
    }
    return done;
}

// Appends the whole of file to the open target.
FileOpOutcome AppendTo(HANDLE target, const std::string& targetName, const std::string& file) {
    FileHandle in = OpenForReading(file);
    if (!in) {
        Say(file + "のオープンに失敗しました");
        return FileOpOutcome::Failed;
    }
    return Pump(in.Get(), file, target, targetName, -1) < 0 ? FileOpOutcome::Failed : FileOpOutcome::Done;
}

}  // namespace

FileOpOutcome SplitFile(const std::string& source, std::int64_t size, const std::string& dir) {
    Prompter& p = CurrentPrompter();
    if (size <= 0) {
        Say("分割サイズが正しくありません。");
        return FileOpOutcome::Refused;
    }
    FileHandle in = OpenForReading(source);
    if (!in) {
        Say(source + "のオープンに失敗しました");
        return FileOpOutcome::Failed;
    }
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(in.Get(), &length)) {
        Say(source + "の読み込みに失敗しました");
        return FileOpOutcome::Failed;
    }
    if (!SplitFits(length.QuadPart, size)) {
        Say("分割数が" + std::to_string(kMaxSplitPieces) + "を超えるので分割できません。");
        return FileOpOutcome::Refused;
    }
    bool all = false;
    for (int n = 0; n < kMaxSplitPieces; ++n) {
        const std::string piece = SplitPieceName(dir, source, n);
        if (!all && Exists(piece)) {
            const int r = p.MessageDlg("ファイル" + piece + "は存在します。上書きしますか？", MsgType::Confirmation,
                                       MsgButtons::YesNoAll);
            if (r == mrAll) {
                all = true;
            } else if (r != mrYes) {
                Say("分割を中断しました。");
                return FileOpOutcome::Interrupted;
            }
        }
        FileHandle out(CreateFileA(piece.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                   nullptr));
        if (!out) {
            Say(piece + "の作成に失敗しました");
            return FileOpOutcome::Failed;
        }
        const std::int64_t got = Pump(in.Get(), source, out.Get(), piece, size);
        if (got < 0) return FileOpOutcome::Failed;
        if (got < size) break;
    }
    return FileOpOutcome::Done;
}

FileOpOutcome JoinFiles(const std::string& target, const std::vector<std::string>& files) {
    if (files.empty()) return FileOpOutcome::Done;
    for (const std::string& f : files) {
        if (SameFile(target, f)) {
            Say("ファイル" + target + "は結合するファイルの一つです。\r\n結合を中断しました。");
            return FileOpOutcome::Refused;
        }
    }
    if (Exists(target) && CurrentPrompter().MessageDlg("ファイル" + target + "は存在します。上書きしますか？",
                                                       MsgType::Confirmation, MsgButtons::YesNo) != mrYes) {
        Say("結合を中断しました。");
        return FileOpOutcome::Interrupted;
    }
    FileHandle out(CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
    if (!out) {
        Say(target + "の作成に失敗しました");
        return FileOpOutcome::Failed;
    }
    for (const std::string& f : files) {
        const FileOpOutcome r = AppendTo(out.Get(), target, f);
        if (r != FileOpOutcome::Done) return r;
    }
    return FileOpOutcome::Done;
}

FileOpOutcome AppendFile(const std::string& target, const std::string& file) {
    if (SameFile(target, file)) {
        Say("ファイル" + target + "は結合するファイルの一つです。\r\n結合を中断しました。");
        return FileOpOutcome::Refused;
    }
    FileHandle out(CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!out) {
        Say(target + "のオープンに失敗しました");
        return FileOpOutcome::Failed;
    }
    LARGE_INTEGER zero{};
    if (!SetFilePointerEx(out.Get(), zero, nullptr, FILE_END)) {
        Say(target + "の書き込みに失敗しました");
        return FileOpOutcome::Failed;
    }
    return AppendTo(out.Get(), target, file);
}

}  // namespace kestrum
