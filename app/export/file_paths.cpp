// Symbolic links, modes and syncing for output files.
#include "app/export/file_paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace app {
namespace fs = std::filesystem;

fs::path directoryOf(const fs::path& path) { return path.has_parent_path() ? path.parent_path() : fs::path("."); }

std::optional<fs::path> followLinks(fs::path path) {
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
    const fs::path next = fs::read_symlink(path, ec);
    if (ec) return std::nullopt;
    path = next.is_absolute() ? next : directoryOf(path) / next;
  }
  return std::nullopt;
}

mode_t newFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

void syncDirectory(const fs::path& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

std::string setModeAndSync(const fs::path& path, mode_t mode) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return "cannot open " + path.string() + ": " + errnoText();
  std::string problem;
  if (::fchmod(fd, mode) != 0) problem = "cannot set the file mode: " + errnoText();
  else if (::fsync(fd) != 0) problem = "cannot sync to disk: " + errnoText();
  ::close(fd);
  return problem;
}

std::string errnoText() { return std::strerror(errno); }

}  // namespace app
