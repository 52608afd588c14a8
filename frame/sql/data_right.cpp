#include "frame/sql/data_right.h"

#include <array>
#include <map>

#include "frame/host/context.h"
#include "frame/services/class_names.h"
#include "frame/services/services.h"

namespace frame {
namespace {

// The base tables that carry per-user rights, with the kind code of the base-item service.
int16_t rightKind(const std::string& dataTable) {
  std::string upper = dataTable;
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (upper == "T_ORGANIZATION") return 1;
  if (upper == "T_SUPPLIER") return 2;
  if (upper == "T_STOCK") return 4;
  return 0;
}

}  // namespace

lumo::DictionaryRef DataRightRule(const std::string& dataTable, const std::string& dataCol,
                                  const std::string& billTableAs, const std::string& billCol) {
  auto rule = lumo::newDictionary();
  rule->SetValue("DataTable", dataTable);
  rule->SetValue("DataCol", dataCol);
  rule->SetValue("BillTableAs", billTableAs);
  rule->SetValue("BillCol", billCol);
  return rule;
}

bool BuildDataRightFor(const std::string& props, int16_t userId, const lumo::Vector& tables,
                       const lumo::Vector& rules, std::string& /*fromClause*/, std::string& whereClause) {
  auto service = ObjectBroker().CreateAs<svc::ItemInfo>(svc::kItemInfo);
  const long n = tables.Count();
  std::map<int16_t, bool> restricted;
  for (long i = 1; i <= n; ++i) {
    const auto rule = rules.Item(i).as<lumo::Dictionary>();
    const int16_t kind = rightKind(rule->Value("DataTable").text());
    if (kind == 0) continue;
    std::string p = props;
    int16_t user = userId;
    restricted[kind] = service->GetDataRight(p, user, kind);
  }
  bool any = false;
  for (const auto& [kind, yes] : restricted) any = any || yes;
  if (!any) return true;

  std::string alias;  // carried over from the previous rule when a rule names none
  for (long i = 1; i <= n; ++i) {
    const auto rule = rules.Item(i).as<lumo::Dictionary>();
    if (rule->Lookup("DataTableAs"))
      alias = rule->Value("DataTableAs").text();
    else if (rule->Lookup("BillTableAs"))
      alias = rule->Value("BillTableAs").text();
    const int16_t kind = rightKind(rule->Value("DataTable").text());
    if (kind == 0 || !restricted[kind]) continue;
    if (!plat::trim(whereClause).empty()) whereClause += " And ";
    whereClause += " CharIndex('" + std::to_string(userId) + "'," + alias + ".FRightUserID)>0 ";
  }
  return true;
}

bool BuildDataRight(const lumo::Vector& tables, const lumo::Vector& rules, std::string& fromClause,
                    std::string& whereClause, bool /*flag*/) {
  const std::string props = PropsString();
  ParseProperties(props);
  return BuildDataRightFor(props, UserId(), tables, rules, fromClause, whereClause);
}

}  // namespace frame
