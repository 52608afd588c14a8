// Lumo.Dictionary: text keys compared without regard to case, variant values, kept in
// insertion order. Shared by reference: the host receives the report's own dictionaries.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/core/object.h"
#include "platform/core/variant.h"

namespace lumo {

using plat::Variant;

class Dictionary : public plat::Object {
 public:
  using Entry = std::pair<std::string, Variant>;

  // The stored value, or Empty when the key is absent.
  Variant Value(std::string_view key) const;
  Variant operator[](std::string_view key) const { return Value(key); }
  // Stores or replaces; a replaced key keeps its first spelling and position.
  void SetValue(std::string_view key, Variant value);
  // Stores a new key; raises when the key is already present.
  void Add(std::string_view key, Variant value);
  bool Lookup(std::string_view key) const { return find(key) != nullptr; }
  Variant ValueOrDefault(std::string_view key, Variant fallback) const;
  // Deletes the key; an absent key is left alone.
  void Remove(std::string_view key);
  long Count() const { return static_cast<long>(entries_.size()); }

  const std::vector<Entry>& entries() const { return entries_; }
  std::shared_ptr<Dictionary> clone() const { return std::make_shared<Dictionary>(*this); }

 private:
  const Variant* find(std::string_view key) const;
  std::vector<Entry> entries_;
  std::unordered_map<std::string, size_t> index_;  // folded key -> position in entries_
};

using DictionaryRef = std::shared_ptr<Dictionary>;

inline DictionaryRef newDictionary() { return std::make_shared<Dictionary>(); }

// Folds ASCII letters to lower case; other bytes (UTF-8 text) compare as they are.
std::string foldCase(std::string_view s);

}  // namespace lumo
