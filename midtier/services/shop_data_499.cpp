// Get499HappenData: one accounting period of the comprehensive cost report. The period's
// product cost rows go into #T499, the report's statement fragments total them, and the rows
// of their final select come back with product names, models and base units filled in.
#include <string>
#include <unordered_map>

#include "midtier/db/temp_in_memory.h"
#include "midtier/db/transaction.h"
#include "midtier/dialect/dialect.h"
#include "midtier/services/database_errors.h"
#include "midtier/services/erp_services.h"
#include "midtier/services/rowset.h"
#include "midtier/services/shop_data.h"

namespace midtier {
namespace {

constexpr std::string_view kSource = "TavMShopRpt.Data";

// The period's rows, one per product and batch as cb_ProductPeriodCost keeps them, or one per
// product (sums, batch Null) when the report does not split batches: the fragments then only
// sum the columns per product and above, so they total the same from fewer rows. The range
// compares the long or the short product number, as the item-level statements do.
std::string fillT499(bool longNumbers, bool perBatch) {
  const std::string number = longNumbers ? "i.FNumber" : "i.FShortNumber";
  std::string values = perBatch ? "c.FBatchNo" : "NULL";
  for (const char* column : {"FPeriodStartNum", "FPeriodStartCost", "FCurInNum", "FCurInCost", "FCurOutNum",
                             "FCurOutCost", "FPeriodEndNum", "FPeriodEndCost"})
    values += perBatch ? std::string(", c.") + column : std::string(", tav_sum(c.") + column + ")";
  return "INSERT INTO temp.[#T499] (FItemID, FNumber, FBatchNo, FPeriodStartNum, FPeriodStartCost, FCurInNum, "
         "FCurInCost, FCurOutNum, FCurOutCost, FPeriodEndNum, FPeriodEndCost) "
         "SELECT c.FItemID, i.FNumber, " + values +
         " FROM cb_ProductPeriodCost c JOIN t_ICItem i ON i.FItemID = c.FItemID "
         "WHERE c.FYear = ?1 AND c.FPeriod = ?2 AND (?3 IS NULL OR " +
         number + " >= ?3) AND (?4 IS NULL OR " + number + " <= ?4)" + (perBatch ? "" : " GROUP BY c.FItemID");
}

// Text columns compare without regard to case, as the dialect's own temporary tables do.
constexpr const char* kCreateT499 =
    "CREATE TEMP TABLE [#T499] (FItemID INTEGER, FNumber TEXT COLLATE NOCASE, FBatchNo TEXT COLLATE NOCASE, "
    "FPeriodStartNum REAL, FPeriodStartCost REAL, FCurInNum REAL, FCurInCost REAL, FCurOutNum REAL, "
    "FCurOutCost REAL, FPeriodEndNum REAL, FPeriodEndCost REAL)";

constexpr const char* kItemsOfT499 =
    "SELECT i.FNumber, i.FName, i.FModel, ifnull(u.FName, '') FROM t_ICItem i "
    "LEFT JOIN t_MeasureUnit u ON u.FMeasureUnitID = i.FUnitID "
    "WHERE i.FItemID IN (SELECT FItemID FROM temp.[#T499])";

struct ItemNames {
  std::string name, model, unit;
};

// Empty text stands for an open end of the range.
void bindRangeEnd(db::Statement& statement, int index, const plat::Variant& value) {
  const std::string text = value.text();
  if (text.empty())
    statement.bindNull(index);
  else
    statement.bind(index, text);
}

std::string joinedBatch(const lumo::Dictionary& fragments) {
  // A line break between the parts: " WITH ROLLUP" must not run into the "Update" after it.
  std::string batch;
  for (const char* key : {"Select", "Filter", "AppendFilter", "GROUPBY", "EndSel"}) {
    batch += fragments.Value(key).text();
    batch += "\r\n";
  }
  const std::string placeholder = "##ITEMFILTER##";
  const std::string itemFilter = fragments.Value("ITEMFILTER").text();
  for (size_t at = batch.find(placeholder); at != std::string::npos; at = batch.find(placeholder, at + itemFilter.size()))
    batch.replace(at, placeholder.size(), itemFilter);
  return batch;
}

// Names, models and base units of the detail rows' products (totals keep their own texts).
void nameProducts(ado::Recordset& rs, const std::unordered_map<std::string, ItemNames>& names) {
  const long number = rs.FieldIndex("FNumber"), sumSort = rs.FieldIndex("FSumSort");
  if (number < 0 || sumSort < 0) return;
  const long name = rs.FieldIndex("FName"), model = rs.FieldIndex("FModel"), unit = rs.FieldIndex("FUnit");
  for (size_t row = 0; row < static_cast<size_t>(rs.RecordCount()); ++row) {
    const size_t sort = static_cast<size_t>(sumSort);
    const bool numeric = rs.FieldAt(sort).storage() == ado::Storage::Number;
    if ((numeric ? rs.NumberAt(row, sort) : plat::val(std::string(rs.TextAt(row, sort)))) != 0) continue;
    auto it = names.find(std::string(rs.TextAt(row, static_cast<size_t>(number))));
    if (it == names.end()) continue;
    auto put = [&](long field, const std::string& value) {
      if (field >= 0) rs.SetText(row, static_cast<size_t>(field), value);
    };
    put(name, it->second.name);
    put(model, it->second.model);
    put(unit, it->second.unit);
  }
}

}  // namespace

// Without fragments ("GroupBy" 1 with a "SumMode" other than 1) there is nothing to total by:
// cost rows carry no department, so the call is refused with a description of why.
ado::RecordsetRef ShopData::Get499HappenData(const std::string& props, plat::Variant& year, plat::Variant& period,
                                             lumo::DictionaryRef& fragments, lumo::DictionaryRef& filter) {
  if (!fragments)
    throw refusal(kSource, "产品成本综合表只能按物料类别分级汇总（汇总依据 SumMode=1），无法按所给的汇总依据汇总成本数据。");
  const int32_t y = year.toInt32();
  const int32_t p = period.toInt32();
  const std::string batch = joinedBatch(*fragments);
  return withConnection(kSource, props, [&](Connection& c, const Login&) {
    db::Database& database = c.database();
    // A period's work tables are small and read back several times: in memory the batch takes
    // less than half the time it takes in a temporary file.
    db::TempTablesInMemory inMemory(database);
    // Everything happens in one transaction that is rolled back at the end: #T499, #Data and
    // #ItemLevel vanish with it, whether the batch succeeded or not.
    db::Transaction work(database, db::Transaction::Kind::Deferred);
    database.exec("DROP TABLE IF EXISTS temp.[#T499]; DROP TABLE IF EXISTS temp.[#Data]; "
                  "DROP TABLE IF EXISTS temp.[#ItemLevel]");
    database.exec(kCreateT499);
    const std::optional<std::string> useShort = readProfile(c, "IC", "UseShortNumber");
    const bool longNumbers = useShort && plat::val(*useShort) == 0;
    {
      // "GroupByBatchNo" 0 splits the rows by batch; without a filter they stay split.
      const bool perBatch = !filter || filter->Value("GroupByBatchNo").toInt32() == 0;
      db::Statement fill = database.prepare(fillT499(longNumbers, perBatch));
      fill.bind(1, y).bind(2, p);
      bindRangeEnd(fill, 3, filter ? filter->Value("BItemNumber") : plat::Variant());
      bindRangeEnd(fill, 4, filter ? filter->Value("EItemNumber") : plat::Variant());
      fill.run();
    }
    // The item-level statements look products up in #T499 by FItemID, once per item.
    database.exec("CREATE INDEX temp.[ix_T499_FItemID] ON [#T499] (FItemID)");
    std::unordered_map<std::string, ItemNames> names;
    {
      db::Statement items = database.prepare(kItemsOfT499);
      while (items.step()) names.emplace(items.getText(0), ItemNames{items.getText(1), items.getText(2), items.getText(3)});
    }
    // The last statement that returns rows gives the result.
    ado::RecordsetRef rows;
    dialect::BatchSteps steps;
    steps.onRows = [&](dbi::Rows& result) { rows = toRecordset(result); };
    dialect::execute(c.session(), batch, steps);
    if (!rows) throw plat::Error::typeMismatch(std::string(kSource), "产品成本综合表的汇总语句没有返回结果集。");
    nameProducts(*rows, names);
    return rows;
  });
}

}  // namespace midtier
