// Get499HappenData: one accounting period of the comprehensive cost report. The period's
// product cost rows go into #T499, the report's statement fragments total them, and the rows
// of their final select come back with product names, models and base units filled in.
#include <optional>
#include <string>
#include <unordered_map>
#include <type_traits>
#include <unordered_set>
#include <variant>
#include <vector>

#include "cost/rpt499/statement_fragments.h"
#include "midtier/db/statement.h"
#include "midtier/db/temp_in_memory.h"
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
std::string fillT499(const SqlForms& f, bool longNumbers, bool perBatch) {
  const std::string number = longNumbers ? "i.FNumber" : "i.FShortNumber";
  std::string values = perBatch ? "c.FBatchNo" : "NULL";
  for (const char* column : {"FPeriodStartNum", "FPeriodStartCost", "FCurInNum", "FCurInCost", "FCurOutNum",
                             "FCurOutCost", "FPeriodEndNum", "FPeriodEndCost"})
    values += perBatch ? std::string(", c.") + column : ", " + f.exactSum(std::string("c.") + column);
  return "INSERT INTO " + f.workTable("#T499") + " (FItemID, FNumber, FBatchNo, FPeriodStartNum, FPeriodStartCost, FCurInNum, "
         "FCurInCost, FCurOutNum, FCurOutCost, FPeriodEndNum, FPeriodEndCost) "
         "SELECT c.FItemID, i.FNumber, " + values +
         " FROM cb_ProductPeriodCost c JOIN t_ICItem i ON i.FItemID = c.FItemID "
         "WHERE c.FYear = ?1 AND c.FPeriod = ?2 AND (CAST(?3 AS TEXT) IS NULL OR " +
         number + " >= ?3) AND (CAST(?4 AS TEXT) IS NULL OR " + number + " <= ?4)" + (perBatch ? "" : f.groupByDetermining("c.FItemID", "i.FNumber"));
}

// Text columns compare without regard to case, as the dialect's own temporary tables do.
std::string createT499(const SqlForms& f, const dialect::Target& t) {
  const std::string text(t.textColumn), real(t.floatColumn);
  std::string sql = "CREATE TEMP TABLE " + f.workTable("#T499") + " (FItemID " + std::string(t.integerColumn) +
                    ", FNumber " + text + ", FBatchNo " + text;
  for (const char* column : {"FPeriodStartNum", "FPeriodStartCost", "FCurInNum", "FCurInCost", "FCurOutNum",
                             "FCurOutCost", "FPeriodEndNum", "FPeriodEndCost"})
    sql += std::string(", ") + column + " " + real;
  return sql + ")";
}

struct ItemNames {
  std::string name, model, unit;
};

// Names, models and base units of every product by number, read once per connection and data
// version: a run asks for them in every period.
struct KeptItemNames {
  std::unordered_map<std::string, ItemNames> byNumber;
  bool loaded = false;
};

const std::unordered_map<std::string, ItemNames>& itemNames(Connection& c) {
  KeptItemNames& kept = c.cache<KeptItemNames>();
  if (kept.loaded) return kept.byNumber;
  auto items = c.session().query(
      "SELECT i.FNumber, i.FName, i.FModel, coalesce(u.FName, '') FROM t_ICItem i "
      "LEFT JOIN t_MeasureUnit u ON u.FMeasureUnitID = i.FUnitID");
  while (items->next())
    kept.byNumber.emplace(std::string(items->text(0)),
                          ItemNames{std::string(items->text(1)), std::string(items->text(2)), std::string(items->text(3))});
  kept.loaded = true;
  return kept.byNumber;
}

// Empty text stands for an open end of the range.
dbi::Value rangeEnd(const plat::Variant& value) {
  std::string text = value.text();
  if (text.empty()) return std::monostate();
  return text;
}

std::string joinedBatch(const lumo::Dictionary& fragments, const std::string& itemFilter) {
  // A line break between the parts: " WITH ROLLUP" must not run into the "Update" after it.
  std::string batch;
  for (const char* key : {"Select", "Filter", "AppendFilter", "GROUPBY", "EndSel"}) {
    batch += fragments.Value(key).text();
    batch += "\r\n";
  }
  const std::string placeholder = "##ITEMFILTER##";
  for (size_t at = batch.find(placeholder); at != std::string::npos; at = batch.find(placeholder, at + itemFilter.size()))
    batch.replace(at, placeholder.size(), itemFilter);
  return batch;
}

// The class-level table (#ItemLevel) depends on the items and the product range alone, yet a
// batch builds it for its period with a dozen string functions per item: a third of a period's
// time at a million tasks. On SQLite its rows are kept with the connection until the data
// changes, and each period copies in those of its own products, which is what the item filter
// of the class-level fragments selects.
struct KeptItemLevels {
  std::string statements;  // the table's statements, for every item of the range
  std::string create;      // the table's CREATE as SQLite holds it
  std::vector<std::vector<dbi::Value>> rows;
  int itemColumn = -1;  // FItemID
};

// The batch's class-level statements (they open it, up to the #Data table) and the rest.
struct SplitBatch {
  std::string itemLevels, rest;
};
std::optional<SplitBatch> splitItemLevels(const std::string& batch) {
  const size_t begin = batch.find("CREATE TABLE #ItemLevel(");
  const size_t end = begin == std::string::npos ? begin : batch.find("If Object_ID('tempdb..#Data')", begin);
  if (end == std::string::npos) return std::nullopt;
  return SplitBatch{batch.substr(begin, end - begin), batch.substr(0, begin) + batch.substr(end)};
}

KeptItemLevels buildItemLevels(Connection& c, db::Database& database, const std::string& statements) {
  dialect::execute(c.session(), statements, {});
  KeptItemLevels kept{statements, "", {}, -1};
  db::Statement create = database.prepare("SELECT sql FROM temp.sqlite_master WHERE name = '#ItemLevel'");
  // SQLite keeps a temporary table's CREATE without its TEMP.
  if (create.step()) kept.create = "CREATE TEMP" + create.getText(0).substr(std::string_view("CREATE").size());
  db::Statement all = database.prepare("SELECT * FROM temp.[#ItemLevel]");
  for (int column = 0; column < all.columnCount(); ++column)
    if (lumo::foldCase(all.columnName(column)) == "fitemid") kept.itemColumn = column;
  while (all.step()) {
    std::vector<dbi::Value>& row = kept.rows.emplace_back();
    for (int column = 0; column < all.columnCount(); ++column) {
      switch (all.columnType(column)) {
        case db::ColumnType::Null: row.emplace_back(std::monostate()); break;
        case db::ColumnType::Integer: row.emplace_back(all.getInt64(column)); break;
        case db::ColumnType::Real: row.emplace_back(all.getDouble(column)); break;
        default: row.emplace_back(all.getText(column)); break;
      }
    }
  }
  return kept;
}

// #ItemLevel with the kept rows of the products in #T499.
void copyItemLevels(db::Database& database, const KeptItemLevels& kept) {
  database.exec(kept.create);
  std::unordered_set<int64_t> products;
  for (db::Statement ids = database.prepare("SELECT DISTINCT FItemID FROM temp.[#T499]"); ids.step();)
    products.insert(ids.getInt64(0));
  if (kept.rows.empty() || kept.create.empty()) return;
  std::string insert = "INSERT INTO temp.[#ItemLevel] VALUES (?";
  for (size_t column = 1; column < kept.rows.front().size(); ++column) insert += ",?";
  db::Statement add = database.prepare(insert + ")");
  for (const std::vector<dbi::Value>& row : kept.rows) {
    const dbi::Value& item = row[static_cast<size_t>(kept.itemColumn)];
    if (!std::holds_alternative<int64_t>(item) || !products.count(std::get<int64_t>(item))) continue;
    for (size_t column = 0; column < row.size(); ++column) {
      const int index = static_cast<int>(column) + 1;
      std::visit(
          [&](const auto& value) {
            if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::monostate>) add.bindNull(index);
            else add.bind(index, value);
          },
          row[column]);
    }
    add.run();
  }
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
  const std::string itemFilter = fragments->Value("ITEMFILTER").text();
  const std::string batch = joinedBatch(*fragments, itemFilter);
  return withConnection(kSource, props, [&](Connection& c, const Login&) {
    const SqlForms& f = c.forms();
    // A period's work tables are small and read back several times: in SQLite's memory the
    // batch takes less than half the time it takes in a temporary file.
    std::optional<db::TempTablesInMemory> inMemory;
    if (db::Database* database = c.sqlite()) inMemory.emplace(*database);
    // Everything happens in one transaction that is rolled back at the end: #T499, #Data and
    // #ItemLevel vanish with it, whether the batch succeeded or not.
    dbi::Transaction work(c.session());
    if (const std::string sorting = f.groupBySorting(); !sorting.empty()) c.session().exec(sorting);
    for (const char* table : {"#T499", "#Data", "#ItemLevel"})
      c.session().exec("DROP TABLE IF EXISTS " + f.workTable(table));
    c.session().exec(createT499(f, c.target()));
    const std::optional<std::string> useShort = readProfile(c, "IC", "UseShortNumber");
    const bool longNumbers = useShort && plat::val(*useShort) == 0;
    {
      // "GroupByBatchNo" 0 splits the rows by batch; without a filter they stay split.
      const bool perBatch = !filter || filter->Value("GroupByBatchNo").toInt32() == 0;
      c.session().change(fillT499(f, longNumbers, perBatch),
                         {int64_t{y}, int64_t{p}, rangeEnd(filter ? filter->Value("BItemNumber") : plat::Variant()),
                          rangeEnd(filter ? filter->Value("EItemNumber") : plat::Variant())});
    }
    // The item-level statements look products up in #T499 by FItemID, once per item.
    c.session().exec(f.workIndex("ix_T499_FItemID", "#T499", "FItemID"));
    std::optional<SplitBatch> split;
    if (db::Database* database = c.sqlite(); database && itemFilter == cost::kItemFilter)
      split = splitItemLevels(joinedBatch(*fragments, ""));
    if (split) {
      db::Database& database = *c.sqlite();
      KeptItemLevels& kept = c.cache<KeptItemLevels>();
      if (kept.statements != split->itemLevels || kept.itemColumn < 0) {
        kept = buildItemLevels(c, database, split->itemLevels);
        database.exec("DROP TABLE temp.[#ItemLevel]");
      }
      copyItemLevels(database, kept);
    }
    // The last statement that returns rows gives the result.
    ado::RecordsetRef rows;
    dialect::BatchSteps steps;
    steps.onRows = [&](dbi::Rows& result) { rows = toRecordset(result); };
    dialect::execute(c.session(), split ? split->rest : batch, steps);
    if (!rows) throw plat::Error::typeMismatch(std::string(kSource), "产品成本综合表的汇总语句没有返回结果集。");
    nameProducts(*rows, itemNames(c));
    return rows;
  });
}

}  // namespace midtier
