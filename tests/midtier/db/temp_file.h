// A unique path in the temporary directory, removed (with its journal) when the test ends.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>

namespace testing_db {

class TempFile {
 public:
  explicit TempFile(const std::string& stem = "tav") {
    static std::atomic<int> counter{0};
    path_ = (std::filesystem::temp_directory_path() /
             (stem + "-" + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".db"))
                .string();
    remove();
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() { remove(); }

  const std::string& path() const { return path_; }

 private:
  void remove() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
    std::filesystem::remove(path_ + "-journal", ignored);
  }

  std::string path_;
};

}  // namespace testing_db
