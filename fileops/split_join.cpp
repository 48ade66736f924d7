// Piece names and limits of file splitting; splitting, joining and
// appending a block at a time.
#include "fileops/split_join.h"

#include <algorithm>

#include "common/sjis.h"
#include "fileops/path_utils.h"

namespace kestrum {

std::string SplitPieceName(std::string_view dir, std::string_view source, int n) {
    std::string out = dir.empty() ? std::string() : IncludeTrailingBackslash(dir);
    out += ChangeFileExt(ExtractFileName(source), "");
    const std::string number = "00" + std::to_string(n);
    out += "." + number.substr(number.size() - 3);
    return out;
}

bool SplitFits(std::int64_t fileSize, std::int64_t pieceSize) {
    if (pieceSize <= 0) return false;
    if (fileSize <= 0) return true;
    return (fileSize - 1) / pieceSize < kMaxSplitPieces;
}

namespace {

// Copies up to limit bytes (all when negative) from in to out. Returns the
// bytes copied, or -1 after reporting a failure.
std::int64_t Pump(BlockFiles& files, Prompter& p, BlockFiles::Reader& in, const std::string& inName,
                  BlockFiles::Writer& out, const std::string& outName, std::int64_t limit) {
    const std::size_t block = std::max<std::size_t>(1, files.BlockSize());
    std::vector<char> buf(block);
    std::int64_t done = 0;
    while (limit < 0 || done < limit) {
        const std::size_t want =
            limit < 0 ? block : static_cast<std::size_t>(std::min<std::int64_t>(block, limit - done));
        const std::int64_t got = in.Read(buf.data(), want);
        if (got < 0) {
            p.ShowMessage(inName + "の読み込みに失敗しました");
            return -1;
        }
        if (got == 0) break;
        if (!out.Write(buf.data(), static_cast<std::size_t>(got))) {
            p.ShowMessage(outName + "の書き込みに失敗しました");
            return -1;
        }
        done += got;
    }
    return done;
}

// Appends the whole of file to the open target.
FileOpOutcome AppendTo(BlockFiles& files, Prompter& p, BlockFiles::Writer& target, const std::string& targetName,
                       const std::string& file) {
    std::unique_ptr<BlockFiles::Reader> in = files.OpenRead(file);
    if (!in) {
        p.ShowMessage(file + "のオープンに失敗しました");
        return FileOpOutcome::Failed;
    }
    return Pump(files, p, *in, file, target, targetName, -1) < 0 ? FileOpOutcome::Failed : FileOpOutcome::Done;
}

bool RefuseTargetAmongInputs(FileSystem& fs, Prompter& p, const std::string& target,
                             const std::vector<std::string>& list) {
    for (const std::string& f : list) {
        if (SameFile(fs, target, f)) {
            p.ShowMessage("ファイル" + target + "は結合するファイルの一つです。\r\n結合を中断しました。");
            return true;
        }
    }
    return false;
}

// A name beside target that nothing has yet.
std::string TemporaryBeside(FileSystem& fs, const std::string& target) {
    const std::string dir = ExtractFilePath(target);
    for (int n = 0;; ++n) {
        const std::string name = dir + "~kpart" + std::to_string(n) + ".tmp";
        if (!fs.Exists(name) || n >= 9999) return name;
    }
}

}  // namespace

FileOpOutcome SplitFile(FileSystem& fs, BlockFiles& files, Prompter& p, const std::string& source, std::int64_t size,
                        const std::string& dir) {
    if (size <= 0) {
        p.ShowMessage("分割サイズが正しくありません。");
        return FileOpOutcome::Refused;
    }
    std::unique_ptr<BlockFiles::Reader> in = files.OpenRead(source);
    if (!in) {
        p.ShowMessage(source + "のオープンに失敗しました");
        return FileOpOutcome::Failed;
    }
    const std::optional<std::uint64_t> length = in->Size();
    if (!length) {
        p.ShowMessage(source + "の読み込みに失敗しました");
        return FileOpOutcome::Failed;
    }
    if (*length > static_cast<std::uint64_t>(INT64_MAX) || !SplitFits(static_cast<std::int64_t>(*length), size)) {
        p.ShowMessage("分割数が" + std::to_string(kMaxSplitPieces) + "を超えるので分割できません。");
        return FileOpOutcome::Refused;
    }
    bool all = false;
    for (int n = 0; n < kMaxSplitPieces; ++n) {
        const std::string piece = SplitPieceName(dir, source, n);
        bool replace = all;
        if (!all && fs.Exists(piece)) {
            const int r = p.MessageDlg("ファイル" + piece + "は存在します。上書きしますか？", MsgType::Confirmation,
                                       MsgButtons::YesNoAll);
            if (r == mrAll) {
                all = true;
            } else if (r != mrYes) {
                p.ShowMessage("分割を中断しました。");
                return FileOpOutcome::Interrupted;
            }
            replace = true;
        }
        // A piece to replace is written beside it first, so that it stays
        // until the new one is whole; without a Yes, a piece that is there
        // after all is not replaced.
        const std::string writeTo = replace ? TemporaryBeside(fs, piece) : piece;
        std::unique_ptr<BlockFiles::Writer> out = files.Create(writeTo, false);
        if (!out) {
            p.ShowMessage(piece + "の作成に失敗しました");
            return FileOpOutcome::Failed;
        }
        std::int64_t got = Pump(files, p, *in, source, *out, piece, size);
        out.reset();
        if (got >= 0 && replace && !fs.Move(writeTo, piece, kMoveReplace)) {
            p.ShowMessage(piece + "の書き込みに失敗しました");
            got = -1;
        }
        if (got < 0) {
            fs.Remove(writeTo);
            return FileOpOutcome::Failed;
        }
        if (got < size) break;
    }
    return FileOpOutcome::Done;
}

FileOpOutcome JoinFiles(FileSystem& fs, BlockFiles& files, Prompter& p, const std::string& target,
                        const std::vector<std::string>& list) {
    if (list.empty()) return FileOpOutcome::Done;
    if (RefuseTargetAmongInputs(fs, p, target, list)) return FileOpOutcome::Refused;
    const bool replace = fs.Exists(target);
    if (replace && p.MessageDlg("ファイル" + target + "は存在します。上書きしますか？", MsgType::Confirmation,
                                MsgButtons::YesNo) != mrYes) {
        p.ShowMessage("結合を中断しました。");
        return FileOpOutcome::Interrupted;
    }
    const std::string temp = TemporaryBeside(fs, target);
    std::unique_ptr<BlockFiles::Writer> out = files.Create(temp, false);
    if (!out) {
        p.ShowMessage(target + "の作成に失敗しました");
        return FileOpOutcome::Failed;
    }
    FileOpOutcome r = FileOpOutcome::Done;
    for (const std::string& f : list) {
        r = AppendTo(files, p, *out, target, f);
        if (r != FileOpOutcome::Done) break;
    }
    out.reset();
    // Without a Yes, a target that is there after all is not replaced.
    if (r == FileOpOutcome::Done && !fs.Move(temp, target, replace ? unsigned{kMoveReplace} : 0u)) {
        p.ShowMessage(target + "の書き込みに失敗しました");
        r = FileOpOutcome::Failed;
    }
    if (r != FileOpOutcome::Done) fs.Remove(temp);
    return r;
}

FileOpOutcome AppendFile(FileSystem& fs, BlockFiles& files, Prompter& p, const std::string& target,
                         const std::string& file) {
    if (RefuseTargetAmongInputs(fs, p, target, {file})) return FileOpOutcome::Refused;
    const std::optional<FindRecord> old = fs.Stat(target);
    std::unique_ptr<BlockFiles::Writer> out = old ? files.OpenAppend(target) : nullptr;
    if (!out) {
        p.ShowMessage(target + "のオープンに失敗しました");
        return FileOpOutcome::Failed;
    }
    const FileOpOutcome r = AppendTo(files, p, *out, target, file);
    if (r != FileOpOutcome::Done && !out->Truncate(old->size)) {
        p.ShowMessage(target + "を元の長さに戻せませんでした");
    }
    return r;
}

}  // namespace kestrum
