// Writing an output file so that it is either complete or absent: the content goes to a temporary
// file, which replaces the target only when everything has been written and synced to disk.
//
// A symbolic link at the target stays: the file it points to is replaced. An existing file keeps
// its permission bits (and its owner where allowed); other hard links to it keep the old content,
// since the name is given a new file. A target that exists and is not a regular file (a terminal,
// /dev/null, a FIFO) is written into, never replaced: the content is assembled in a temporary
// file and copied into it at commit. A directory is refused.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

namespace app {

class SignalCleanup;

class AtomicFile {
 public:
  // Removes temporaries that dead processes left beside the target and creates a new one
  // exclusively. Raises app::Failure (kExitOutput) when the target is a directory, its directory
  // does not exist or the temporary file cannot be created.
  explicit AtomicFile(std::filesystem::path target);
  // Removes the temporary file unless commit() renamed it.
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // The temporary file's path, for writers that open files by name.
  const std::filesystem::path& tempPath() const { return temp_; }
  // The file that commit() replaces or writes into: the target with its symbolic links followed.
  const std::filesystem::path& destination() const { return destination_; }
  // A stream on the temporary file (opened on first use, binary).
  std::ofstream& stream();
  // Flushes and closes the stream, then renames the synced temporary file over the destination,
  // or copies it into a destination that is not a regular file. Raises app::Failure (kExitOutput)
  // when writing, syncing or renaming failed; a regular destination is then untouched.
  void commit();

 private:
  [[noreturn]] void fail(const std::string& why) const;
  void copyIntoDevice() const;
  void replaceRegularFile() const;

  std::filesystem::path target_;
  std::filesystem::path destination_;
  std::filesystem::path temp_;
  std::optional<struct ::stat> existing_;  // the destination as it was, when it existed
  bool intoDevice_ = false;
  std::unique_ptr<SignalCleanup> cleanup_;
  std::ofstream stream_;
  bool committed_ = false;
};

}  // namespace app
