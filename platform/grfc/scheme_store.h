// Where the report filter grid keeps filter schemes: named filter dictionaries per report
// number, plus the name of the scheme a report used last. Obtained through the broker by the
// class name "TAV_GRFC.SchemeStore"; the middle tier registers a database-backed store under the
// same name, replacing the in-memory one.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/core/object.h"
#include "platform/lumo/dictionary.h"

namespace grfc {

inline constexpr std::string_view kSchemeStoreClass = "TAV_GRFC.SchemeStore";

// Scheme names compare without regard to case. Load returns a dictionary of its own, with the
// keys, values and value types that were saved.
class SchemeStore : public plat::Object {
 public:
  virtual std::vector<std::string> List(int32_t rptId) = 0;  // as saved, sorted
  virtual lumo::DictionaryRef Load(int32_t rptId, std::string_view name) = 0;  // nullptr when absent
  virtual void Save(int32_t rptId, std::string_view name, const lumo::Dictionary& filter) = 0;
  virtual void Remove(int32_t rptId, std::string_view name) = 0;  // an absent scheme is left alone
  virtual std::string LastUsed(int32_t rptId) = 0;                 // "" when none
  virtual void SetLastUsed(int32_t rptId, std::string_view name) = 0;
};

// Schemes kept in the process's memory, encoded as the scheme codec writes them.
class MemorySchemeStore : public SchemeStore {
 public:
  std::vector<std::string> List(int32_t rptId) override;
  lumo::DictionaryRef Load(int32_t rptId, std::string_view name) override;
  void Save(int32_t rptId, std::string_view name, const lumo::Dictionary& filter) override;
  // Removing the last-used scheme forgets the last-used name too.
  void Remove(int32_t rptId, std::string_view name) override;
  std::string LastUsed(int32_t rptId) override;
  void SetLastUsed(int32_t rptId, std::string_view name) override;

 private:
  struct Scheme {
    std::string name;
    std::string encoded;
  };
  std::map<std::pair<int32_t, std::string>, Scheme> schemes_;  // (report, folded name)
  std::map<int32_t, std::string> lastUsed_;
};

}  // namespace grfc
