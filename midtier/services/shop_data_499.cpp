// Get499HappenData: one accounting period of the comprehensive cost report. The period's
// product cost rows go into #T499, the report's statement fragments total them, and the rows
// of their final select come back with product names, models and base units filled in.
#include <sqlite3.h>

#include <string>
#include <unordered_map>

#include "midtier/db/transaction.h"
#include "midtier/dialect/dialect.h"
#include "midtier/services/database_errors.h"
#include "midtier/services/erp_services.h"
#include "midtier/services/shop_data.h"

namespace midtier {
namespace {

constexpr std::string_view kSource = "TavMShopRpt.Data";

// The period's rows, one per product and batch as cb_ProductPeriodCost keeps them. The range
// compares the long or the short product number, as the item-level statements do.
std::string fillT499(bool longNumbers) {
  const std::string number = longNumbers ? "i.FNumber" : "i.FShortNumber";
  return "INSERT INTO temp.[#T499] (FItemID, FNumber, FBatchNo, FPeriodStartNum, FPeriodStartCost, FCurInNum, "
         "FCurInCost, FCurOutNum, FCurOutCost, FPeriodEndNum, FPeriodEndCost) "
         "SELECT c.FItemID, i.FNumber, c.FBatchNo, c.FPeriodStartNum, c.FPeriodStartCost, c.FCurInNum, "
         "c.FCurInCost, c.FCurOutNum, c.FCurOutCost, c.FPeriodEndNum, c.FPeriodEndCost "
         "FROM cb_ProductPeriodCost c JOIN t_ICItem i ON i.FItemID = c.FItemID "
         "WHERE c.FYear = ?1 AND c.FPeriod = ?2 AND (?3 IS NULL OR " +
         number + " >= ?3) AND (?4 IS NULL OR " + number + " <= ?4)";
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

int fieldTypeOf(sqlite3_stmt* statement, int column) {
  const char* declared = sqlite3_column_decltype(statement, column);
  const std::string type = declared ? lumo::foldCase(declared) : std::string();
  if (type.find("int") != std::string::npos) return ado::adInteger;
  if (type.find("real") != std::string::npos || type.find("dec") != std::string::npos) return ado::adDecimal;
  return ado::adVarChar;
}

// Collects the rows of the batch's last row-returning statement into a record set, naming the
// products of detail rows on the way.
class RowCollector {
 public:
  explicit RowCollector(const std::unordered_map<std::string, ItemNames>& names) : names_(names) {}

  void columns(sqlite3_stmt* statement) {
    rs_ = ado::newRecordset();
    const int n = sqlite3_column_count(statement);
    for (int c = 0; c < n; ++c) {
      const int type = fieldTypeOf(statement, c);
      rs_->Append(sqlite3_column_name(statement, c), type, type == ado::adVarChar ? 355 : 0);
    }
    rs_->Open();
    number_ = rs_->FieldIndex("FNumber");
    sumSort_ = rs_->FieldIndex("FSumSort");
    name_ = rs_->FieldIndex("FName");
    model_ = rs_->FieldIndex("FModel");
    unit_ = rs_->FieldIndex("FUnit");
  }

  void row(sqlite3_stmt* statement) {
    rs_->AddNew();
    const size_t row = static_cast<size_t>(rs_->RecordCount() - 1);
    const int n = sqlite3_column_count(statement);
    for (int c = 0; c < n; ++c) {
      const size_t field = static_cast<size_t>(c);
      switch (sqlite3_column_type(statement, c)) {
        case SQLITE_NULL: break;
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
          if (rs_->FieldAt(field).storage() == ado::Storage::Text)
            rs_->SetText(row, field, text(statement, c));
          else
            rs_->SetNumber(row, field, sqlite3_column_double(statement, c));
          break;
        default:
          if (rs_->FieldAt(field).storage() == ado::Storage::Text)
            rs_->SetText(row, field, text(statement, c));
          else
            rs_->SetValueAt(row, field, plat::Variant(text(statement, c)));
      }
    }
    nameProduct(row);
  }

  ado::RecordsetRef take() {
    if (!rs_) throw plat::Error::typeMismatch(std::string(kSource), "产品成本综合表的汇总语句没有返回结果集。");
    if (rs_->RecordCount() > 0) rs_->MoveFirst();
    return std::move(rs_);
  }

 private:
  static std::string_view text(sqlite3_stmt* statement, int column) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return p ? std::string_view(p, static_cast<size_t>(sqlite3_column_bytes(statement, column))) : std::string_view();
  }

  void nameProduct(size_t row) {
    if (number_ < 0 || sumSort_ < 0 || rs_->NumberAt(row, static_cast<size_t>(sumSort_)) != 0) return;
    auto it = names_.find(std::string(rs_->TextAt(row, static_cast<size_t>(number_))));
    if (it == names_.end()) return;
    auto put = [&](long field, const std::string& value) {
      if (field >= 0) rs_->SetText(row, static_cast<size_t>(field), value);
    };
    put(name_, it->second.name);
    put(model_, it->second.model);
    put(unit_, it->second.unit);
  }

  const std::unordered_map<std::string, ItemNames>& names_;
  ado::RecordsetRef rs_;
  long number_ = -1, sumSort_ = -1, name_ = -1, model_ = -1, unit_ = -1;
};

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
    // Everything happens in one transaction that is rolled back at the end: #T499, #Data and
    // #ItemLevel vanish with it, whether the batch succeeded or not.
    db::Transaction work(database, db::Transaction::Kind::Deferred);
    database.exec("DROP TABLE IF EXISTS temp.[#T499]; DROP TABLE IF EXISTS temp.[#Data]; "
                  "DROP TABLE IF EXISTS temp.[#ItemLevel]");
    database.exec(kCreateT499);
    const std::optional<std::string> useShort = readProfile(c, "IC", "UseShortNumber");
    const bool longNumbers = useShort && plat::val(*useShort) == 0;
    {
      db::Statement fill = database.prepare(fillT499(longNumbers));
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
    RowCollector rows(names);
    dialect::execute(
        database.handle(), batch, [&](sqlite3_stmt* s) { rows.columns(s); }, [&](sqlite3_stmt* s) { rows.row(s); });
    return rows.take();
  });
}

}  // namespace midtier
