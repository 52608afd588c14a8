// Writing an output file so that it is either complete or absent: the content goes to a temporary
// file beside the target, which replaces the target only when everything has been written.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace app {

class AtomicFile {
 public:
  // Raises app::Failure (kExitOutput) when the temporary file cannot be created.
  explicit AtomicFile(std::filesystem::path target);
  // Removes the temporary file unless commit() succeeded.
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // The temporary file's path, for writers that open files by name.
  const std::filesystem::path& tempPath() const { return temp_; }
  // A stream on the temporary file (opened on first use, binary).
  std::ofstream& stream();
  // Flushes and closes the stream, then renames the temporary file over the target. Raises
  // app::Failure (kExitOutput) when writing or renaming failed; the target is then untouched.
  void commit();

 private:
  std::filesystem::path target_;
  std::filesystem::path temp_;
  std::ofstream stream_;
  bool committed_ = false;
};

}  // namespace app
