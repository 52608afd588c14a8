#include "frame/report/filter_keys.h"

#include <string>

#include "platform/core/error.h"
#include "platform/lumo/dictionary.h"

namespace frame {

const KeyChoice* FilterKey::choice(int value) const {
  for (const KeyChoice& c : choices)
    if (c.value == value) return &c;
  return nullptr;
}

int FilterKey::defaultIndex() const {
  for (size_t i = 0; i < choices.size(); ++i)
    if (std::to_string(choices[i].value) == fallback) return static_cast<int>(i);
  return 0;
}

const FilterKey* FilterKeys::find(std::string_view name) const {
  const std::string folded = lumo::foldCase(name);
  for (const FilterKey& k : keys)
    if (lumo::foldCase(k.name) == folded) return &k;
  return nullptr;
}

const FilterKey& FilterKeys::at(std::string_view name) const {
  if (const FilterKey* key = find(name)) return *key;
  throw plat::Error::notFound("TavShopRpt",
                              "报表 " + std::to_string(report) + " 没有过滤关键字“" + std::string(name) + "”。");
}

}  // namespace frame
