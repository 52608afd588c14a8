// Filter schemes kept in memory, encoded exactly as a persistent store would keep them.
#include "platform/grfc/scheme_codec.h"
#include "platform/grfc/scheme_store.h"

namespace grfc {

std::vector<std::string> MemorySchemeStore::List(int32_t rptId) {
  std::vector<std::string> names;
  for (auto it = schemes_.lower_bound({rptId, std::string()}); it != schemes_.end() && it->first.first == rptId; ++it)
    names.push_back(it->second.name);
  return names;
}

lumo::DictionaryRef MemorySchemeStore::Load(int32_t rptId, std::string_view name) {
  auto it = schemes_.find({rptId, lumo::foldCase(name)});
  return it == schemes_.end() ? nullptr : decodeFilter(it->second.encoded);
}

void MemorySchemeStore::Save(int32_t rptId, std::string_view name, const lumo::Dictionary& filter) {
  schemes_[{rptId, lumo::foldCase(name)}] = Scheme{std::string(name), encodeFilter(filter)};
}

void MemorySchemeStore::Remove(int32_t rptId, std::string_view name) {
  schemes_.erase({rptId, lumo::foldCase(name)});
  auto last = lastUsed_.find(rptId);
  if (last != lastUsed_.end() && lumo::foldCase(last->second) == lumo::foldCase(name)) lastUsed_.erase(last);
}

std::string MemorySchemeStore::LastUsed(int32_t rptId) {
  auto it = lastUsed_.find(rptId);
  return it == lastUsed_.end() ? std::string() : it->second;
}

void MemorySchemeStore::SetLastUsed(int32_t rptId, std::string_view name) {
  if (name.empty())
    lastUsed_.erase(rptId);
  else
    lastUsed_[rptId] = std::string(name);
}

}  // namespace grfc
