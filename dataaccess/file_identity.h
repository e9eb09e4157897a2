#pragma once
// Whether a path still names the file a connection holds open. A file is known by the
// number the file system gives it (NTFS's file index, the inode under Wine), read with
// NtQueryInformationFile's internal information, a query of an open handle alone.
// GetFileInformationByHandle would also ask for the volume's serial number, which under
// Wine is a call to its mount manager (about 250 µs); the volume is left out, as one
// path's folder stays on one volume.
//
// Reading the path's number means opening the path: about 0.2 ms under Wine. Its
// attributes (creation, change and write times to the 100 ns, and size) cost 4 µs and
// need no open, so the number is read again only when they differ from the ones last
// seen for the held file: a file put in its place has times of its own, taken when it
// was made, moved or written there. The held file's own writes change them too; the
// next look then reads the number and takes the new attributes as the held file's.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace vk::data {

class HeldFile {
 public:
  enum class AtPath { Held, Other, Nothing };

  HeldFile() = default;
  // The file `file` holds, opened at `path`. Throws DataError when it cannot be read.
  HeldFile(HANDLE file, std::wstring path);

  // What the path names now. Throws DataError when it cannot be looked at. The path is
  // opened (when it is) for its attributes only and shared in every way, so nobody's
  // open, rename or delete is refused meanwhile.
  AtPath Look();

 private:
  struct Stamp {
    int64_t created = 0, changed = 0, written = 0, size = 0;
    bool operator==(const Stamp&) const = default;
  };
  // The path's attributes; none when nothing has its name (or its folder is gone).
  std::optional<Stamp> PathStamp() const;

  std::wstring path_, ntPath_;
  uint64_t number_ = 0;
  std::optional<Stamp> seen_;  // the path's attributes when it last named the held file
};

}  // namespace vk::data
