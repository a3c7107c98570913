#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// What tells one state of a file from another without reading it: its device and inode, size
// and modification time to the nanosecond (on Windows its volume and file index, size and
// modification time). A file replaced, rewritten or cut short has another identity.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = -1;
    std::int64_t modifiedNs = 0;

    // Empty when the file cannot be looked at.
    static std::optional<FileIdentity> of(const QString& path);
    bool operator==(const FileIdentity&) const = default;
};
