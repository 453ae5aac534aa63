#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tdxx::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path, without a trailing '/'.
  const std::string& path() const { return path_; }
  // path() + "/" + relative.
  std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }
  // Writes `contents` to path()/relative, making the folders on the way; returns the full path.
  std::string Write(const std::string& relative, std::string_view contents) const;
  // Names of the folder's own entries, sorted.
  std::vector<std::string> Entries() const;

 private:
  std::string path_;
};

// The whole contents of a file, or an empty text when it cannot be read.
std::string ReadWholeFile(const std::string& path);

}  // namespace tdxx::test
