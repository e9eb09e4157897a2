#pragma once
// Which file a path names, against the file a connection holds open: the number the
// file system gives each file (NTFS's file index, the inode under Wine). Both sides
// read it with NtQueryInformationFile's internal information, a query of an open
// handle alone. GetFileInformationByHandle would also ask for the volume's serial
// number, which under Wine is a call to its mount manager (about 250 µs against 1 µs);
// the volume is left out, as one path's folder stays on one volume.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace vk::data {

// The number of the file an open handle holds (the file was opened at `path`).
// Throws DataError when it cannot be read.
uint64_t FileNumberOfHandle(HANDLE file, const std::wstring& path);

// The number of the file the path names now; none when nothing has that name. Throws
// DataError when it cannot be looked at. The path is opened for its attributes only
// and shared in every way, so nobody's open, rename or delete is refused meanwhile.
std::optional<uint64_t> FileNumberAtPath(const std::wstring& path);

}  // namespace vk::data
