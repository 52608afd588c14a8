// The report filter grid's storage over the company database: saved filter schemes per report
// and user (t_RptFilterScheme), and the base-data codes its lookups list (t_Item).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/grfc/lookup_source.h"
#include "platform/grfc/scheme_store.h"

namespace midtier {

// TAV_GRFC.SchemeStore for the user of the process's login. A scheme keeps its filter encoded
// with every key, value and value type; the last-used scheme is the one marked FIsDefault.
// Every change runs in one transaction.
class SchemeStore : public grfc::SchemeStore {
 public:
  std::vector<std::string> List(int32_t rptId) override;
  // Raises a plat::Error naming the scheme when its stored text cannot be read back.
  lumo::DictionaryRef Load(int32_t rptId, std::string_view name) override;
  // Replaces a scheme of the same name (any case), keeping whether it is the last-used one.
  void Save(int32_t rptId, std::string_view name, const lumo::Dictionary& filter) override;
  void Remove(int32_t rptId, std::string_view name) override;
  std::string LastUsed(int32_t rptId) override;
  // "" forgets the last-used scheme; a name that is not saved raises a plat::Error.
  void SetLastUsed(int32_t rptId, std::string_view name) override;
};

// The extra conditions the filter dialogs attach to a lookup, recognised rather than pasted
// into SQL: " x2.FErpClsID<>4" (x2 being the item's t_ICItem row).
struct LookupCondition {
  std::string_view op;  // "<>" or "="
  int64_t erpClsId = 0;
};
// Nothing for a blank condition; raises a plat::Error quoting any condition it does not know.
std::optional<LookupCondition> parseLookupCondition(std::string_view condition);

// TAV_GRFC.LookupSource: the detail codes and names of a base-data class, in code order.
class LookupSource : public grfc::LookupSource {
 public:
  std::vector<grfc::LookupItem> Codes(int32_t classId, std::string_view condition) override;
};

}  // namespace midtier
