#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "files/ProgressLog.h"

namespace tdxx::fuzz {

// The fuzzer's input as a temporary file, removed again at the end of the run.
class FuzzInputFile {
 public:
  FuzzInputFile(const std::uint8_t* data, std::size_t size) {
    const char* folder = std::getenv("TMPDIR");
    path_ =
        std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") + "/tdxx-fuzz-XXXXXX";
    const int fd = ::mkstemp(path_.data());
    if (fd < 0) {
      std::perror("mkstemp");
      std::abort();
    }
    std::size_t written = 0;
    while (written < size) {
      const ssize_t count = ::write(fd, data + written, size - written);
      if (count <= 0) {
        std::perror("write");
        std::abort();
      }
      written += static_cast<std::size_t>(count);
    }
    ::close(fd);
  }
  ~FuzzInputFile() { ::unlink(path_.c_str()); }
  FuzzInputFile(const FuzzInputFile&) = delete;
  FuzzInputFile& operator=(const FuzzInputFile&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The readers' log lines are of no interest to the fuzzer.
class NullLog final : public ProgressLog {
 public:
  void LogProgress(std::string_view) override {}
};

}  // namespace tdxx::fuzz
