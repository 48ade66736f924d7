// Packing and unpacking: the calls into the archiver libraries and their
// messages.
#include "archive/archiver.h"

#include "common/prompter.h"
#include "common/sjis.h"
#include "config/commands.h"
#include "config/services.h"

namespace kestrum {

namespace {

Prompter& Ask() { return CurrentPrompter(); }

// The library's warning that a file was there and was kept.
constexpr int kAlreadyExists = 0x8010;
void Say(const std::string& text) { Ask().ShowMessage(text); }

// What a library that could not be used says; nothing when it loaded.
void SayLoadFailure(LibraryLoad load, const char* cannotOpen, const char* notSupported) {
    if (load == LibraryLoad::Missing) Say(cannotOpen);
    if (load == LibraryLoad::EntryMissing) Say(notSupported);
}

}  // namespace

const char* const kZipDamaged = "書庫の一部が壊れています";

ZipListing ListZip(ZipPlugin& zip, const std::string& path) {
    struct Try {
        int result = 0;
        std::vector<PluginEntry> entries;
    };
    auto ask = [&](long offset) {
        Try t;
        std::vector<unsigned char> block;
        t.result = zip.GetArchiveInfo(path, offset, block);
        t.entries = ParsePluginEntries(block.data(), block.size());
        return t;
    };
    ZipListing out;
    Try first = ask(0);
    if (first.result == 0 && !first.entries.empty()) {
        out.ok = true;
        out.entries = std::move(first.entries);
        return out;
    }
    Try second = ask(128);
    if (second.result == 0 && !second.entries.empty()) {
        out.ok = true;
        out.entries = std::move(second.entries);
    } else if (first.result == 0 || second.result == 0) {
        out.ok = true;  // an empty archive
    } else if (!first.entries.empty() || !second.entries.empty()) {
        out.ok = true;
        out.damaged = true;
        out.entries = std::move(!first.entries.empty() ? first.entries : second.entries);
    }
    return out;
}

LhaLibrary* Archiver::Lha() {
    LibraryLoad load = LibraryLoad::Missing;
    LhaLibrary* lha = host_.Lha(load);
    if (!lha) SayLoadFailure(load, "UNLHA32.DLLがオープンできません", "このバージョンのUNLHA32.DLLには対応してません");
    return lha;
}

int Archiver::PackLzh(const std::string& archive, const std::string& files) {
    LhaLibrary* lha = Lha();
    if (!lha) return 1;
    if (lha->GetRunning() != 0) {
        Say("UNLHA32.DLLを他のアプリが使ってます");
        return 1;
    }
    if (!lha->SetBackGroundMode(false)) {
        Say("UNLHA32.DLLの設定に失敗しました。処理を中断します(__)");
        return 1;
    }
    const int result = lha->Run(PackCommand(archive, files), nullptr, 0);
    if (result != 0) Say("Packを中断しました");
    return result;
}

int Archiver::PackNames(const std::string& archive, const std::vector<std::string>& names) {
    if (names.empty()) return 1;
    if (names.size() == 1) return PackLzh(archive, "\"" + names.front() + "\"");
    const std::string list = host_.WriteTempFile("pkd", ResponseFileText(names));
    if (list.empty()) {
        Say("テンプディレクトリが作れません");
        return 1;
    }
    const int result = PackLzh(archive, "@" + list);
    host_.RemoveFile(list);
    return result;
}

int Archiver::UnpackLzh(const std::string& spec, std::string dir, bool overwrite) {
    // A destination typed with its quotes is made without them.
    dir = Unquoted(dir);
    if (!host_.EnsureDirectory(dir)) {
        // A refused destination is no success.
        Say("UnPackを中断しました");
        return 1;
    }
    LhaLibrary* lha = Lha();
    if (!lha) return 1;
    int result = lha->Run(UnpackCommand(spec, IncludeTrailingBackslash(dir), overwrite), nullptr, 0);
    // Files kept as asked are what the library warns about here.
    if (!overwrite && result == kAlreadyExists) result = 0;
    if (result != 0) Say("UnPackを中断しました");
    return result;
}

std::vector<std::string> Archiver::MemberNames(const std::string& archive) {
    std::vector<std::string> names;
    LibraryLoad load = LibraryLoad::Missing;
    std::unique_ptr<TarLibrary> tar;
    std::unique_ptr<ZipPlugin> zip;
    LhaLibrary* lib = nullptr;
    switch (KindForExtract(archive)) {
    case ArchiveKind::Lzh: lib = host_.Lha(load); break;
    case ArchiveKind::TarGz:
    case ArchiveKind::Tar:
        tar = host_.LoadTar(load);
        lib = tar.get();
        break;
    case ArchiveKind::Zip: {
        std::string missing;
        zip = host_.LoadZip(load, missing);
        if (zip) {
            for (const PluginEntry& e : ListZip(*zip, archive).entries) {
                if (e.fileName.empty()) continue;
                const std::string sub = SlashesToBackslashes(e.path);
                names.push_back(sub.empty() ? e.fileName : IncludeTrailingBackslash(sub) + e.fileName);
            }
        }
        return names;
    }
    case ArchiveKind::Ish: return names;
    }
    if (!lib || lib->GetRunning() != 0 || !lib->OpenArchive(archive, 0)) return names;
    unsigned char record[kListingRecordSize] = {};
    for (int r = lib->FindFirst("", record); r == 0; r = lib->FindNext(record)) {
        names.push_back(ParseListingRecord(record, sizeof record).name);
    }
    lib->CloseArchive();
    return names;
}

std::vector<std::string> Archiver::ExistingMembers(const std::string& archive, const std::string& dir) {
    std::string base = Unquoted(dir);
    base = base.empty() ? std::string() : IncludeTrailingBackslash(base);
    std::vector<std::string> existing;
    for (const std::string& name : MemberNames(archive)) {
        const std::optional<std::string> path = SafeMemberPath(name);
        if (!path || EndsWithBackslash(*path)) continue;
        if (host_.Exists(base + *path)) existing.push_back(*path);
    }
    return existing;
}

int Archiver::ExtractArchive(const std::string& archive, const std::string& typedDir) {
    const ArchiveKind kind = KindForExtract(archive);
    const std::string dir = Unquoted(typedDir);
    bool overwrite = true;
    if (kind != ArchiveKind::Ish) {
        const std::vector<std::string> existing = ExistingMembers(archive, dir);
        if (!existing.empty()) {
            std::string text = "展開先に同じ名前のファイルがあります。上書きしますか？\r\n";
            for (std::size_t i = 0; i < existing.size() && i < 5; ++i) text += "\r\n" + existing[i];
            if (existing.size() > 5) text += "\r\nほか " + std::to_string(existing.size() - 5) + " 個";
            const int answer = Ask().MessageDlg(text, MsgType::Confirmation, MsgButtons::YesNoCancel);
            if (answer == mrCancel) return 2;
            overwrite = answer == mrYes;
            if (!overwrite && (kind == ArchiveKind::Tar || kind == ArchiveKind::TarGz)) return 2;
        }
    }
    switch (kind) {
    case ArchiveKind::Lzh: return UnpackLzh(QuoteIfBlank(archive) + " ", dir, overwrite);
    case ArchiveKind::Zip: return ExtractZip(archive, dir, overwrite);
    case ArchiveKind::TarGz: return RunTar(TarExtractCommand(true, archive, dir), nullptr, 0);
    case ArchiveKind::Tar: return RunTar(TarExtractCommand(false, archive, dir), nullptr, 0);
    case ArchiveKind::Ish: return RunIsh(IshExtractCommand(archive, dir));
    }
    return 1;
}

int Archiver::ExtractZip(const std::string& archive, std::string dir, bool overwrite) {
    dir = Unquoted(dir);
    if (!host_.EnsureDirectory(dir)) return 1;
    LibraryLoad load = LibraryLoad::Missing;
    std::string missing;
    std::unique_ptr<ZipPlugin> zip = host_.LoadZip(load, missing);
    if (!zip) {
        if (load == LibraryLoad::Missing) Say("AXZIP.SPIがオープンできません");
        if (load == LibraryLoad::EntryMissing) Say(missing + "が見つかりません");
        return 1;
    }
    int result = 1;
    const ZipListing listing = ListZip(*zip, archive);
    if (listing.ok) {
        result = 0;
        std::string refused;
        for (const PluginEntry& e : listing.entries) {
            if (e.fileName.empty()) continue;  // a directory
            // The plug-in writes where it is told: a name that would leave
            // the destination is not asked for.
            const std::string sub = SlashesToBackslashes(e.path);
            const std::optional<std::string> safe =
                SafeMemberPath(sub.empty() ? e.fileName : IncludeTrailingBackslash(sub) + e.fileName);
            if (!safe || FindChar(e.fileName, '\\') != std::string::npos ||
                FindChar(e.fileName, '/') != std::string::npos) {
                refused += "\r\n" + sub + e.fileName;
                continue;
            }
            if (!overwrite && host_.Exists(dir + *safe)) continue;  // kept as it is
            const std::string dest = sub.empty() ? dir : dir + std::string(ExtractFilePath(*safe));
            result = zip->GetFile(archive, static_cast<long>(e.position), dest);
            if (result != 0) break;
        }
        if (!refused.empty()) {
            Say("展開先の外に出る名前は展開しません:" + refused);
            if (result == 0) result = 1;
        }
        if (listing.damaged) {
            Say(kZipDamaged);
            if (result == 0) result = 1;
        }
    }
    if (result != 0) Say("エラーです。解凍に失敗しました。");
    return result;
}

int Archiver::RunTar(const std::string& command, std::string* output, std::size_t outputSize, bool* ran) {
    if (ran) *ran = false;
    LibraryLoad load = LibraryLoad::Missing;
    std::unique_ptr<TarLibrary> tar = host_.LoadTar(load);
    if (!tar) {
        SayLoadFailure(load, "TAR32.DLLがオープンできません", "このバージョンのTar32.DLLには対応してません");
        return 1;
    }
    if (tar->GetRunning() != 0) {
        Say("Tar32.DLLを他のアプリが使用中です");
        return 1;
    }
    if (ran) *ran = true;
    const int result = tar->Run(command, output, outputSize);
    if (result != 0) Say("エラーです;_;/");
    return result;
}

int Archiver::RunIsh(const std::string& command) {
    LibraryLoad load = LibraryLoad::Missing;
    std::unique_ptr<IshLibrary> ish = host_.LoadIsh(load);
    if (!ish) {
        SayLoadFailure(load, "ISH32.DLLがオープンできません", "このバージョンのISH32.DLLには対応してません");
        return 1;
    }
    if (ish->GetRunning() != 0) {
        Say("ISH32.DLLを他のアプリが使用中です");
        return 1;
    }
    std::string dest = IshDestination(command);
    if (dest.empty()) dest = ".";
    if (!host_.EnsureDirectory(dest)) return 1;
    const int result = ish->Run(command);
    if (result != 0) Say("エラーです;_;/");
    return result;
}

std::optional<std::string> Archiver::RunLhaCommand(const std::string& command, int& result) {
    result = 1;
    LhaLibrary* lha = Lha();
    if (!lha) return std::nullopt;
    std::string output;
    result = lha->Run(command, &output, kOutputSize);
    if (output.size() > kOutputSize) output.resize(kOutputSize);
    return output;
}

int Archiver::MakeSelfExtracting(const std::string& text) {
    LhaLibrary* lha = Lha();
    if (!lha) return 1;
    return lha->Run("s -gw " + text, nullptr, 0);
}

bool RunLibraryCommand(Archiver& archiver, int command, const std::string& text, const ShowOutput& show) {
    int result = 0;
    switch (command) {
    case cmdDLHA: {
        if (const std::optional<std::string> output = archiver.RunLhaCommand(text, result)) {
            show(CommandName(cmdDLHA) + " " + text, *output);
        }
        return true;
    }
    case cmdDTAR: {
        std::string output;
        bool ran = false;
        archiver.RunTar(text, &output, Archiver::kOutputSize, &ran);
        if (ran) show(CommandName(cmdDTAR) + " " + text, output);
        return true;
    }
    case cmdDISH: archiver.RunIsh(text); return true;
    case cmdLZH2EXE: archiver.MakeSelfExtracting(text); return true;
    default: return false;
    }
}

}  // namespace kestrum
