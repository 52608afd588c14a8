// Small file-system steps shared by the writers of output files.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

namespace app {

// The directory `path` lies in ("." for a bare name).
std::filesystem::path directoryOf(const std::filesystem::path& path);
// Follows symbolic links at `path` itself (not in its directories) to the name finally written;
// nothing when they loop or cannot be read.
std::optional<std::filesystem::path> followLinks(std::filesystem::path path);
// The permission bits a plain create gives a new file (0666 less the umask).
mode_t newFileMode();
// Makes a rename in `dir` durable; a failure here loses nothing and is ignored.
void syncDirectory(const std::filesystem::path& dir);
// Opens `path`, gives it `mode` and syncs it to disk; the problem in words, or "" when done.
std::string setModeAndSync(const std::filesystem::path& path, mode_t mode);
// strerror(errno).
std::string errnoText();

}  // namespace app
