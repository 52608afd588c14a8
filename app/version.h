// The program's version, as --version prints it.
#pragma once

namespace app {

inline constexpr const char* kVersion = "0.9.0";

}  // namespace app
