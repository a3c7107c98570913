#pragma once

// Whether what was written through the open file `handle` (QFileDevice::handle()) has reached
// the disk: fsync on Linux, FlushFileBuffers (through _commit) on Windows.
namespace FileSync {

bool toDisk(int handle);

}  // namespace FileSync
