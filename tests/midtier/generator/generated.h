// Generated demo databases shared by the tests of one program: made once per size and seed.
#pragma once

#include <map>
#include <memory>
#include <utility>

#include "midtier/db/database.h"
#include "midtier/db/schema.h"
#include "midtier/generator/generator.h"

namespace testing_gen {

inline db::Database& generatedDatabase(int64_t tasks = 2000, uint64_t seed = 20261206) {
  static std::map<std::pair<int64_t, uint64_t>, std::unique_ptr<db::Database>> cache;
  auto& slot = cache[{tasks, seed}];
  if (!slot) {
    slot = std::make_unique<db::Database>(db::Database::memory());
    db::migrate(*slot);
    gen::generate(*slot, {.tasks = tasks, .seed = seed});
  }
  return *slot;
}

}  // namespace testing_gen
