// The temporary-file-and-rename protocol of AtomicFile.
#include "app/export/atomic_file.h"

#include <unistd.h>

#include <cstdio>

#include "app/exit_codes.h"

namespace app {

AtomicFile::AtomicFile(std::filesystem::path target) : target_(std::move(target)) {
  const std::filesystem::path dir = target_.has_parent_path() ? target_.parent_path() : std::filesystem::path(".");
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec))
    throw Failure{kExitOutput, "cannot write " + target_.string() + ": directory " + dir.string() + " does not exist"};
  temp_ = dir / ("." + target_.filename().string() + ".tmp-" + std::to_string(::getpid()));
}

AtomicFile::~AtomicFile() {
  if (stream_.is_open()) stream_.close();
  if (!committed_) {
    std::error_code ignored;
    std::filesystem::remove(temp_, ignored);
  }
}

std::ofstream& AtomicFile::stream() {
  if (!stream_.is_open()) {
    stream_.open(temp_, std::ios::binary | std::ios::trunc);
    if (!stream_) throw Failure{kExitOutput, "cannot write " + target_.string() + ": cannot create " + temp_.string()};
  }
  return stream_;
}

void AtomicFile::commit() {
  if (stream_.is_open()) {
    stream_.flush();
    const bool good = stream_.good();
    stream_.close();
    if (!good) throw Failure{kExitOutput, "cannot write " + target_.string() + ": writing failed (disk full?)"};
  }
  std::error_code ec;
  if (!std::filesystem::exists(temp_, ec))
    throw Failure{kExitOutput, "cannot write " + target_.string() + ": nothing was written"};
  std::filesystem::rename(temp_, target_, ec);
  if (ec) throw Failure{kExitOutput, "cannot write " + target_.string() + ": " + ec.message()};
  committed_ = true;
}

}  // namespace app
