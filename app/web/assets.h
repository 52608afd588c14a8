// The page's files compiled into the program (index.html, style.css, app.js), by file name.
#pragma once

#include <map>
#include <string_view>

namespace app::web {

const std::map<std::string_view, std::string_view>& assets();

}  // namespace app::web
