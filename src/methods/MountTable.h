#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tdxx {

// One line of /proc/self/mountinfo, the fields the drive finder needs, escapes decoded.
struct MountEntry {
  unsigned major = 0;
  unsigned minor = 0;
  std::string root;        // the folder of the filesystem that is mounted ("/" for all of it)
  std::string mountPoint;  // where it is mounted
  std::string source;      // the mount source, such as /dev/sdb1
};

// The entries of a mountinfo text in table order; lines that do not have the mountinfo shape
// are left out.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// Undoes the kernel's octal escapes in mountinfo fields ("\040" for a space, "\134" for a
// backslash); any other backslash is kept as it is.
std::string DecodeOctalEscapes(std::string_view field);

// Undoes udev's "\xNN" escapes in the names of /dev/disk/by-label links; any other backslash
// is kept as it is.
std::string DecodeHexEscapes(std::string_view name);

}  // namespace tdxx
