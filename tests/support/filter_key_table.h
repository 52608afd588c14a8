// Holding a dialog's accepted filter against its report's filter-key table: the dialog, the data
// service and the command line all read that table, so a key the dialog spells otherwise, a key
// it no longer writes or a list value the table does not allow shows here.
#pragma once

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "frame/report/filter_keys.h"
#include "platform/core/variant.h"
#include "platform/lumo/dictionary.h"

namespace support {

// `extra`: the keys the dialog adds that are no filter values ("OK", descriptions).
inline void ExpectFilterMatchesTable(const lumo::Dictionary& written, const frame::FilterKeys& table,
                                     const std::set<std::string>& extra) {
  std::set<std::string> seen;
  for (const auto& [name, value] : written.entries()) {
    if (extra.count(name)) continue;
    const frame::FilterKey* key = table.find(name);
    if (!key) {
      ADD_FAILURE() << table.report << ": the dialog writes \"" << name << "\", which the table does not have";
      continue;
    }
    seen.insert(lumo::foldCase(key->name));
    if (!key->choices.empty()) {
      EXPECT_TRUE(key->choice(static_cast<int>(plat::val(value.text())))) << table.report << " " << name << " = "
                                                                          << value.text();
    }
    if (key->type == frame::KeyType::DateText || key->type == frame::KeyType::DateValue) {
      EXPECT_TRUE(value.isDateLike()) << table.report << " " << name << " = " << value.text();
    }
  }
  for (const frame::FilterKey& key : table.keys) {
    if (!key.optional) {
      EXPECT_TRUE(seen.count(lumo::foldCase(key.name))) << table.report << ": the dialog does not write " << key.name;
    }
  }
}

}  // namespace support
