// TAV_GRFC.LookupSource over t_Item, with the dialogs' item-kind condition on t_ICItem.
#include "midtier/db/sqlite_error.h"
#include "midtier/services/database_errors.h"
#include "midtier/services/grid_services.h"
#include "midtier/services/login.h"
#include "midtier/services/text_shape.h"

namespace midtier {
namespace {

constexpr std::string_view kSource = "TAV_GRFC.LookupSource";

}  // namespace

std::optional<LookupCondition> parseLookupCondition(std::string_view condition) {
  if (plat::trim(condition).empty()) return std::nullopt;
  TextShape shape(condition);
  LookupCondition parsed;
  bool known = shape.word("x2") && shape.symbol(".") && shape.word("FErpClsID");
  if (known) {
    if (shape.symbol("<>") || shape.symbol("!="))
      parsed.op = "<>";
    else if (shape.symbol("="))
      parsed.op = "=";
    else
      known = false;
  }
  const std::optional<int64_t> value = known ? shape.integer() : std::nullopt;
  if (!value || !shape.atEnd())
    throw refusal(kSource, "基础资料查询不支持条件“" + db::abbreviateSql(condition) + "”，只支持按物料属性过滤（x2.FErpClsID<>n）。");
  parsed.erpClsId = *value;
  return parsed;
}

std::vector<grfc::LookupItem> LookupSource::Codes(int32_t classId, std::string_view condition) {
  const std::optional<LookupCondition> erpClass = parseLookupCondition(condition);
  std::string sql = "SELECT x1.FNumber, x1.FName FROM t_Item x1";
  if (erpClass) sql += " JOIN t_ICItem x2 ON x2.FItemID = x1.FItemID";
  sql += " WHERE x1.FItemClassID = ?1 AND x1.FDetail = 1";
  if (erpClass) sql += " AND x2.FErpClsID " + std::string(erpClass->op) + " ?2";
  sql += " ORDER BY x1.FNumber";  // item numbers are ASCII: both engines put them in one order
  return withConnection(kSource, loginProps(kSource), [&](Connection& c, const Login&) {
    dbi::Values params{int64_t{classId}};
    if (erpClass) params.emplace_back(erpClass->erpClsId);
    auto select = c.query(sql, params);
    std::vector<grfc::LookupItem> items;
    while (select->next()) items.push_back({std::string(select->text(0)), std::string(select->text(1))});
    return items;
  });
}

}  // namespace midtier
