// TDateChange and the platform's file times.
#include "fileops/date_change_win.h"

#include <windows.h>

#include "common/handles_win.h"

namespace kestrum {

std::optional<DateTimeParts> WinDateStampFiles::Read(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    FILETIME local;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &st)) {
        return std::nullopt;
    }
    return DateTimeParts{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

DateStampFiles::WriteResult WinDateStampFiles::Write(const std::string& path, std::uint32_t packed) {
    FileHandle h(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!h) return WriteResult::OpenFailed;
    FILETIME local, utc;
    if (!DosDateTimeToFileTime(static_cast<WORD>(packed >> 16), static_cast<WORD>(packed & 0xFFFF), &local) ||
        !LocalFileTimeToFileTime(&local, &utc) || !SetFileTime(h.Get(), nullptr, nullptr, &utc)) {
        return WriteResult::SetFailed;
    }
    return WriteResult::Ok;
}

void TDateChange::Execute() {
    WinDateStampFiles io;
    RunDateChange(Caption, FileNames, io);
    FileNames.clear();
}

}  // namespace kestrum
