#include "platform/lumo/dictionary.h"

namespace lumo {

std::string foldCase(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

const Variant* Dictionary::find(std::string_view key) const {
  auto it = index_.find(foldCase(key));
  return it == index_.end() ? nullptr : &entries_[it->second].second;
}

Variant Dictionary::Value(std::string_view key) const {
  const Variant* v = find(key);
  return v ? *v : Variant();
}

void Dictionary::SetValue(std::string_view key, Variant value) {
  auto [it, inserted] = index_.try_emplace(foldCase(key), entries_.size());
  if (inserted)
    entries_.emplace_back(std::string(key), std::move(value));
  else
    entries_[it->second].second = std::move(value);
}

void Dictionary::Add(std::string_view key, Variant value) {
  if (Lookup(key))
    throw plat::Error(457, "Lumo.Dictionary",
                      "This key is already associated with an element of this collection: " + std::string(key));
  SetValue(key, std::move(value));
}

Variant Dictionary::ValueOrDefault(std::string_view key, Variant fallback) const {
  const Variant* v = find(key);
  return v ? *v : fallback;
}

void Dictionary::Remove(std::string_view key) {
  auto it = index_.find(foldCase(key));
  if (it == index_.end()) return;
  const size_t pos = it->second;
  index_.erase(it);
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(pos));
  for (auto& [k, p] : index_)
    if (p > pos) --p;
}

}  // namespace lumo
