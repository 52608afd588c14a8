// Recognising and redacting server URLs.
#include "midtier/pg/url.h"

namespace pg {

bool isServerUrl(std::string_view location) {
  return location.starts_with("postgresql://") || location.starts_with("postgres://");
}

std::string redactedUrl(std::string_view url) {
  std::string text(url);
  if (!isServerUrl(url)) return text;
  for (std::size_t p = text.find("password="); p != std::string::npos; p = text.find("password=", p + 1)) {
    const std::size_t value = p + 9;
    const std::size_t end = text.find('&', value);
    text.replace(value, (end == std::string::npos ? text.size() : end) - value, "***");
  }
  const std::size_t start = text.find("://") + 3;
  const std::size_t at = text.find('@', start);
  const std::size_t slash = text.find('/', start);
  if (at == std::string::npos || (slash != std::string::npos && slash < at)) return text;
  const std::size_t colon = text.find(':', start);
  if (colon == std::string::npos || colon > at) return text;
  return text.replace(colon + 1, at - colon - 1, "***");
}

}  // namespace pg
