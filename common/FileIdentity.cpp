#include "common/FileIdentity.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/stat.h>
#endif

std::optional<FileIdentity> FileIdentity::of(const QString& path) {
#ifdef Q_OS_WIN
    const HANDLE file =
        CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    if (!known || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    const auto wide = [](DWORD high, DWORD low) {
        return (std::uint64_t{high} << 32) | std::uint64_t{low};
    };
    FileIdentity id;
    id.device = info.dwVolumeSerialNumber;
    id.inode = wide(info.nFileIndexHigh, info.nFileIndexLow);
    id.size = std::int64_t(wide(info.nFileSizeHigh, info.nFileSizeLow));
    // 100-nanosecond steps.
    id.modifiedNs = std::int64_t(
        wide(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime) * 100);
    return id;
#else
    struct stat info {};
    if (stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    FileIdentity id;
    id.device = std::uint64_t(info.st_dev);
    id.inode = std::uint64_t(info.st_ino);
    id.size = std::int64_t(info.st_size);
    id.modifiedNs = std::int64_t(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    return id;
#endif
}
