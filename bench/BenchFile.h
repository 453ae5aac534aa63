#pragma once

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

// A file holding `text` in a fresh temporary folder, for a benchmark to read; the folder and
// everything in it go when this goes.
class BenchFile {
 public:
  BenchFile(const std::string& name, const std::string& text) {
    std::string folder = (std::filesystem::temp_directory_path() / "tdxx-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
      std::perror("mkdtemp");
      return;
    }
    folder_ = folder;
    path_ = folder + "/" + name;
    std::ofstream(path_, std::ios::binary) << text;
  }
  ~BenchFile() {
    if (!folder_.empty())
      std::filesystem::remove_all(folder_);
  }
  BenchFile(const BenchFile&) = delete;
  BenchFile& operator=(const BenchFile&) = delete;

  bool ok() const { return !path_.empty(); }
  const std::string& path() const { return path_; }

 private:
  std::string folder_;
  std::string path_;
};
