// keys: a report's filter keys as a script sets them, each with its type, default, allowed
// values and meaning, read from the report's filter-key table.
#include <string>

#include "app/catalog.h"
#include "app/cli/commands.h"
#include "app/exit_codes.h"
#include "platform/core/variant.h"

namespace app {
namespace {

std::string typeText(const FilterKey& key) {
  const std::string range = key.max > key.min
                                ? " " + plat::numberText(key.min) + ".." + plat::numberText(key.max)
                                : std::string();
  switch (key.type) {
    case KeyType::Text:
    case KeyType::QuotedText: return "text";
    case KeyType::DateText:
    case KeyType::DateValue: return "date YYYY-MM-DD";
    case KeyType::Int16:
    case KeyType::WholeDouble: return "whole number" + range;
    case KeyType::Double: return "number" + range;
  }
  return {};
}

std::string defaultText(const FilterKey& key) {
  if (key.optional) return "not set";
  switch (key.from) {
    case DefaultFrom::CurrentYear: return "current year";
    case DefaultFrom::CurrentPeriod: return "current period";
    case DefaultFrom::Value: break;
  }
  return key.fallback.empty() ? "empty" : std::string(key.fallback);
}

std::string padded(std::string text, size_t width) {
  if (text.size() < width) text.resize(width, ' ');
  return text + "  ";
}

}  // namespace

void listKeys(const std::string& report, std::ostream& out) {
  const ReportInfo* info = findReport(report);
  if (!info) throw Failure{kExitUsage, "unknown report '" + report + "' (see: tavshoprpt list)"};
  out << info->shortName << " " << info->name << ": tavshoprpt run " << info->number << " --set KEY=VALUE\n";
  size_t nameWidth = 0, typeWidth = 0, defaultWidth = 0;
  for (const FilterKey& key : info->keys) {
    nameWidth = std::max(nameWidth, key.name.size());
    typeWidth = std::max(typeWidth, typeText(key).size());
    defaultWidth = std::max(defaultWidth, defaultText(key).size() + 8);
  }
  for (const FilterKey& key : info->keys) {
    out << "  " << padded(std::string(key.name), nameWidth) << padded(typeText(key), typeWidth)
        << padded("default " + defaultText(key), defaultWidth) << key.meaning << '\n';
    if (key.choices.empty()) continue;
    std::string values;
    for (const frame::KeyChoice& c : key.choices)
      values += (values.empty() ? "" : ", ") + std::to_string(c.value) + " " + std::string(c.caption);
    out << "  " << std::string(nameWidth + 2, ' ') << "values: " << values << '\n';
  }
}

}  // namespace app
