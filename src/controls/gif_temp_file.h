#pragma once
// Temporary files for the one-image GIFs the player writes and loads again.
// Names keep the caller's prefix and extension; a file is only ever created
// anew (an existing file is never overwritten), and a half-written one is
// deleted before the failure is reported.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "hosted/file_system.h"

namespace vk::controls {

// A unique name in `folder`: the folder, at most the first three characters of
// the prefix, a hexadecimal number and `extension` in place of TMP (TMP when the
// extension is empty). The platform reserves the name by creating an empty .TMP
// file, which is deleted at once. Empty on failure.
std::wstring MakeTempFileName(const std::wstring& folder, const std::wstring& prefix,
                              const std::wstring& extension);

// The platform's temporary folder, with its trailing backslash.
std::wstring TempFolder();

// Creates a new file under a fresh name (retrying when the name is taken
// meanwhile) and writes `bytes` to it. Returns its path, or empty on failure,
// in which case no file is left behind.
std::wstring WriteNewTempFile(const std::wstring& prefix, const std::wstring& extension,
                              const std::vector<uint8_t>& bytes);

// The same with the names a caller makes (a fresh one on every call): a name
// that is taken already is passed over, never overwritten.
std::wstring WriteNewFile(const std::function<std::wstring()>& makeName,
                          const std::vector<uint8_t>& bytes);

using hosted::ReadWholeFile;

}  // namespace vk::controls
