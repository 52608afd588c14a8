// The temporary-file-and-rename protocol of AtomicFile.
#include "app/export/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "app/exit_codes.h"
#include "app/export/file_paths.h"
#include "app/export/temp_cleanup.h"

namespace app {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kTag = ".tmp-";

}  // namespace

AtomicFile::AtomicFile(fs::path target) : target_(std::move(target)) {
  struct ::stat st {};
  if (::stat(target_.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) fail("it is a directory");
    existing_ = st;
    intoDevice_ = !S_ISREG(st.st_mode);
  }
  if (intoDevice_) {
    destination_ = target_;  // opened by this name, which also serves /dev/stdout and the like
  } else {
    const std::optional<fs::path> followed = followLinks(target_);
    if (!followed) fail("too many levels of symbolic links");
    destination_ = *followed;
    if (std::error_code ec; !existing_ && !fs::is_directory(directoryOf(destination_), ec))
      fail("directory " + directoryOf(destination_).string() + " does not exist");
  }

  std::string pattern;
  if (intoDevice_) {
    pattern = (fs::temp_directory_path() / ("tavshoprpt-out-" + std::to_string(::getpid()) + "-XXXXXX")).string();
  } else {
    removeStaleTemporaries(destination_, kTag);
    pattern = (directoryOf(destination_) / (temporaryPrefix(destination_, kTag) + "-XXXXXX")).string();
  }
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) fail("cannot create a temporary file in " + directoryOf(fs::path(pattern)).string() + ": " + errnoText());
  ::close(fd);
  temp_ = name.data();
  try {
    cleanup_ = std::make_unique<SignalCleanup>(temp_);
  } catch (...) {
    ::unlink(temp_.c_str());
    throw;
  }
}

AtomicFile::~AtomicFile() {
  if (stream_.is_open()) stream_.close();
  if (!committed_ || intoDevice_) ::unlink(temp_.c_str());
}

void AtomicFile::fail(const std::string& why) const {
  throw Failure{kExitOutput, "cannot write " + target_.string() + ": " + why};
}

std::ofstream& AtomicFile::stream() {
  if (!stream_.is_open()) {
    stream_.open(temp_, std::ios::binary | std::ios::trunc);
    if (!stream_) fail("cannot open " + temp_.string());
  }
  return stream_;
}

void AtomicFile::commit() {
  if (stream_.is_open()) {
    stream_.flush();
    const bool good = stream_.good();
    stream_.close();
    if (!good || stream_.fail()) fail("writing failed (disk full?)");
  }
  if (intoDevice_)
    copyIntoDevice();
  else
    replaceRegularFile();
  committed_ = true;
}

void AtomicFile::copyIntoDevice() const {
  const int in = ::open(temp_.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) fail("cannot read back " + temp_.string() + ": " + errnoText());
  const int out = ::open(destination_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (out < 0) {
    const std::string why = errnoText();
    ::close(in);
    fail(why);
  }
  std::vector<char> buffer(1 << 16);
  std::string problem;
  for (;;) {
    const ssize_t got = ::read(in, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) problem = "cannot read back " + temp_.string() + ": " + errnoText();
    if (got <= 0) break;
    for (ssize_t done = 0; done < got && problem.empty();) {
      const ssize_t put = ::write(out, buffer.data() + done, static_cast<size_t>(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) problem = put < 0 ? errnoText() : "nothing written";
      else done += put;
    }
    if (!problem.empty()) break;
  }
  ::close(in);
  if (::close(out) != 0 && problem.empty()) problem = errnoText();
  if (!problem.empty()) fail(problem);
}

void AtomicFile::replaceRegularFile() const {
  // The replacement keeps the old file's permission bits and, where allowed, its owner; a new
  // file gets what a plain create would give it.
  if (existing_ && ::chown(temp_.c_str(), existing_->st_uid, existing_->st_gid) != 0) {
    // not ours to give away: the replacement stays ours
  }
  const std::string problem = setModeAndSync(temp_, existing_ ? existing_->st_mode & 07777 : newFileMode());
  if (!problem.empty()) fail(problem);
  if (::rename(temp_.c_str(), destination_.c_str()) != 0) fail(errnoText());
  syncDirectory(directoryOf(destination_));
}

}  // namespace app
