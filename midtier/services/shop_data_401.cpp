// GetRpt401Data: the production task execution summary. Collects the filter's production tasks
// into #T401, runs the report's own SQL Server fragments over it through the dialect layer,
// fills names, units, short numbers, unfinished quantities and decimals into #DATA, and returns
// the fragments' final select.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "midtier/dbi/rows.h"
#include "midtier/dialect/decimal_functions.h"
#include "midtier/dialect/dialect.h"
#include "midtier/services/database_errors.h"
#include "midtier/services/rowset.h"
#include "midtier/services/shop_data.h"
#include "midtier/services/task_filter.h"
#include "platform/lumo/dictionary.h"
#include "production/rpt401/filter_keys.h"

namespace midtier {
namespace {

using tasks::kSource;

// A LIKE pattern matching `text` literally (escape character '\').
std::string likeLiteral(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '%' || c == '_' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

// --- collecting the tasks --------------------------------------------------------------------

// The production tasks of frmFilter401's filter, every value bound, read as the detail
// report's service reads the same keys (texts with doubled quotes, an absent key restricts
// nothing), except that the batch is matched as contained text, as the dialog says.
struct TaskQuery {
  std::string joins;
  tasks::Conditions conditions;
};

TaskQuery taskQuery(const SqlForms& forms, const lumo::Dictionary& filter) {
  const tasks::FilterValues f(filter, tasks::Quotes::Doubled);
  TaskQuery q;
  tasks::Conditions& c = q.conditions;
  c.range("v.FDate", f.date("BDate", "起始日期"), f.date("EDate", "截止日期"));
  if (f.list("Mode", 0) == 0)
    c.range(f.longNumbers() ? "t1.FNumber" : "t1.FShortNumber", f.text("BItemNumber"), f.text("EItemNumber"));
  else if (const std::string classNumber = f.text("ItemClassNumber"); !classNumber.empty())
    c.add(forms.like("t1.FNumber", "?"), likeLiteral(classNumber) + ".%");
  // Salesmen and departments are flat classes: their short number is their number.
  if (!f.text("BEmp").empty() || !f.text("EEmp").empty()) {
    q.joins += " JOIN t_Emp te ON te.FItemID = v.FEmpID";
    c.range("te.FNumber", f.text("BEmp"), f.text("EEmp"));
  }
  if (!f.text("BDept").empty() || !f.text("EDept").empty()) {
    q.joins += " JOIN t_Department td ON td.FItemID = v.FDeptID";
    c.range("td.FNumber", f.text("BDept"), f.text("EDept"));
  }
  for (const char* list : {"CheckState", "CheckClose"}) c.choice(f, production::kRpt401Keys.at(list), "v");
  if (const std::string batch = f.text("BBatchNo"); !batch.empty())
    c.add(forms.like("v.FBatchNo", "?"), "%" + likeLiteral(batch) + "%");
  return q;
}

// Whether the batch names a column (ASCII case ignored, as SQL Server names are).
bool mentions(const std::string& batch, std::string_view column) {
  return lumo::foldCase(batch).find(lumo::foldCase(column)) != std::string::npos;
}

// #T401: the tasks totalled per product and batch, and per department and salesman where the
// batch names those columns. The fragments only sum the quantities over groups of these
// columns, so they total the same as over single tasks, from a tenth of the rows or less.
// Quantities in the product's common unit are rounded per task to the 10 places a
// decimal(28,10) column keeps before they are summed; tav_sum keeps the sums exact. Batch
// numbers differing only in case stay apart here, so the fragments' own grouping decides
// between them as it would over single tasks.
void collectTasks(Connection& c, const lumo::Dictionary& filter, const std::string& batch) {
  const SqlForms& f = c.forms();
  const dialect::Target& t = c.target();
  const std::string table = f.workTable("#T401");
  const std::string integer(t.integerColumn), real(t.floatColumn), text(t.textColumn);
  const bool byDept = mentions(batch, "FDeptID");
  const bool byEmp = mentions(batch, "FEmpID");
  const TaskQuery q = taskQuery(f, filter);
  const std::string batchNo = "v.FBatchNo " + std::string(f.binary());
  const std::string query =
      " FROM ICMO v JOIN t_ICItem t1 ON t1.FItemID = v.FItemID LEFT JOIN t_MeasureUnit su ON su.FMeasureUnitID = "
      "t1.FStoreUnitID" + q.joins + " WHERE 1 = 1" + q.conditions.sql() + " GROUP BY v.FItemID, " + batchNo +
      (byDept ? ", v.FDeptID" : "") + (byEmp ? ", v.FEmpID" : "");
  const std::string sums[] = {f.exactSum("v.FQty"), f.exactSum("tav_round(v.FQty / su.FCoefficient, 10)"),
                              f.exactSum("v.FQtyFinish"), f.exactSum("tav_round(v.FQtyFinish / su.FCoefficient, 10)")};
  if (c.engine() == dbi::Engine::PostgreSQL) {
    // The server runs CREATE TABLE AS on parallel workers (scan, join and partial sums), an
    // INSERT ... SELECT on the connection's process alone: half the time for a million tasks.
    // Each column gets the type and collation the work table declares elsewhere.
    const auto as = [](const std::string& value, const std::string& type, const char* name) {
      return "CAST(" + value + " AS " + type + ") AS " + name;
    };
    const std::string collation = text.substr(text.find(' '));  // "text COLLATE ..." less its type
    c.run("CREATE TEMP TABLE " + table + " AS SELECT " + as("v.FItemID", integer, "FItemID") + ", " +
              as(byDept ? "v.FDeptID" : "NULL", integer, "FDeptID") + ", " +
              as(byEmp ? "v.FEmpID" : "NULL", integer, "FEmpID") + ", (" + batchNo + ")" + collation +
              " AS FBatchNo, " + as(sums[0], real, "FBaseQty") + ", " + as(sums[1], real, "FStockQty") + ", " +
              as(sums[2], real, "FFinishBQty") + ", " + as(sums[3], real, "FFinishSQty") + query,
          q.conditions.params());
    return;
  }
  c.session().exec("CREATE TEMP TABLE " + table + " (FItemID " + integer + ", FDeptID " + integer + ", FEmpID " +
                   integer + ", FBatchNo " + text + ", FBaseQty " + real + ", FStockQty " + real +
                   ", FFinishBQty " + real + ", FFinishSQty " + real + ")");
  c.run("INSERT INTO " + table + " (FItemID, FDeptID, FEmpID, FBatchNo, FBaseQty, FStockQty, FFinishBQty, "
        "FFinishSQty) SELECT v.FItemID, " + (byDept ? "v.FDeptID" : "NULL") + ", " + (byEmp ? "v.FEmpID" : "NULL") +
        ", " + batchNo + ", " + sums[0] + ", " + sums[1] + ", " + sums[2] + ", " + sums[3] + query,
        q.conditions.params());
}

// --- the fragments -----------------------------------------------------------------------------

std::string fragment(const lumo::Dictionary& fragments, std::string_view key) {
  if (!fragments.Lookup(key)) throw refusal(kSource, "汇总语句缺少片段“" + std::string(key) + "”。");
  return fragments.Value(key).text();
}

// SElECT + GROUPBY + EndSel, with the level table's "##ITEMFILTER##" marker replaced by
// " AND " and the item-scope condition (which speaks of items: "##ITEMID##" is FItemID). The
// pieces are joined by line breaks: GROUPBY may end in "WITH ROLLUP" with EndSel's SELECT next.
std::string composeBatch(const lumo::Dictionary& fragments) {
  std::string select = fragment(fragments, "SElECT");
  const std::string marker = "##ITEMFILTER##";
  if (select.find(marker) != std::string::npos) {
    std::string condition = fragment(fragments, "ITEMFILTER");
    for (size_t at; (at = condition.find("##ITEMID##")) != std::string::npos;) condition.replace(at, 10, "FItemID");
    for (size_t at; (at = select.find(marker)) != std::string::npos;) select.replace(at, marker.size(), " AND " + condition);
  }
  return select + "\r\n" + fragment(fragments, "GROUPBY") + "\r\n" + fragment(fragments, "EndSel");
}

// What a product row shows besides its number and sums.
struct ProductDetails {
  std::optional<std::string> shortNumber, name, model;
  std::string baseUnit, stockUnit;
  std::optional<double> qtyDecimal, priceDecimal;
};

std::optional<std::string> optionalText(const dbi::Rows& r, int column) {
  if (r.kind(column) == dbi::ValueKind::Null) return std::nullopt;
  return std::string(r.text(column));
}

std::optional<double> optionalNumber(const dbi::Rows& r, int column) {
  if (r.kind(column) == dbi::ValueKind::Null) return std::nullopt;
  return r.number(column);
}

// The products #DATA names, by number with ASCII case folded (item numbers compare NOCASE).
std::unordered_map<std::string, ProductDetails> productDetails(Connection& c) {
  std::unordered_map<std::string, ProductDetails> out;
  std::unique_ptr<dbi::Rows> r = c.session().query(
      "SELECT it.FNumber, i.FShortNumber, i.FName, i.FModel, coalesce(bu.FName, ''), coalesce(su.FName, ''), "
      "i.FQtyDecimal, i.FPriceDecimal FROM t_Item AS it JOIN t_ICItem AS i ON i.FItemID = it.FItemID "
      "LEFT JOIN t_MeasureUnit AS bu ON bu.FMeasureUnitID = i.FUnitID "
      "LEFT JOIN t_MeasureUnit AS su ON su.FMeasureUnitID = i.FStoreUnitID "
      "WHERE it.FItemClassID = 4 AND it.FNumber IN (SELECT FItemNumber FROM " + c.forms().workTable("#DATA") + ")");
  while (r->next()) {
    out.emplace(lumo::foldCase(r->text(0)),
                ProductDetails{optionalText(*r, 1), optionalText(*r, 2), optionalText(*r, 3), std::string(r->text(4)),
                               std::string(r->text(5)), optionalNumber(*r, 6), optionalNumber(*r, 7)});
  }
  return out;
}

// Fills the rows of the result where they are: names, model, unit names, short numbers and
// decimals of the product rows, unfinished quantities of every row. Rows that name no product
// (totals, subtotals) keep their label in FShortNumber, so that the short-number column still
// shows "合计". One pass over the record set instead of UPDATE passes over the wide #DATA rows.
class DetailFiller {
 public:
  DetailFiller(std::unordered_map<std::string, ProductDetails> products, const ado::Recordset& rs)
      : products_(std::move(products)), rs_(rs) {}

  void fill(ado::Recordset& rs) const {
    for (size_t row = 0; row < static_cast<size_t>(rs.RecordCount()); ++row) {
      const bool numbered = itemNumber_ && !rs.IsNullAt(row, *itemNumber_);
      const ProductDetails* product = nullptr;
      if (numbered) {
        auto it = products_.find(lumo::foldCase(rs.TextAt(row, *itemNumber_)));
        if (it != products_.end()) product = &it->second;
      }
      if (product) {
        text(rs, row, itemShortNumber_, product->shortNumber);
        text(rs, row, name_, product->name);
        text(rs, row, model_, product->model);
        for (Field f : baseUnits_) text(rs, row, f, product->baseUnit);
        for (Field f : stockUnits_) text(rs, row, f, product->stockUnit);
        number(rs, row, qtyDecimal_, product->qtyDecimal);
        number(rs, row, priceDecimal_, product->priceDecimal);
      }
      if (shortNumber_) {
        if (product && product->shortNumber)
          rs.SetText(row, *shortNumber_, *product->shortNumber);
        else if (numbered)
          rs.SetText(row, *shortNumber_, std::string(rs.TextAt(row, *itemNumber_)));
      }
      unfinished(rs, row, unfinishedBase_, baseQty_, finishBase_);
      unfinished(rs, row, unfinishedStock_, stockQty_, finishStock_);
    }
  }

 private:
  using Field = std::optional<size_t>;

  Field field(const char* name) const {
    const long at = rs_.FieldIndex(name);
    return at < 0 ? Field() : Field(static_cast<size_t>(at));
  }

  static void text(ado::Recordset& rs, size_t row, Field f, const std::optional<std::string>& value) {
    if (!f) return;
    if (value)
      rs.SetText(row, *f, *value);
    else
      rs.SetNull(row, *f);
  }
  static void number(ado::Recordset& rs, size_t row, Field f, std::optional<double> value) {
    if (!f) return;
    if (value)
      rs.SetNumber(row, *f, *value);
    else
      rs.SetNull(row, *f);
  }
  // Stored as into a decimal(23,10) column: rounded to 10 places; a Null quantity counts as 0.
  static void unfinished(ado::Recordset& rs, size_t row, Field target, Field qty, Field finished) {
    if (!target) return;
    const double q = qty ? rs.NumberAt(row, *qty) : 0.0;
    const double f = finished ? rs.NumberAt(row, *finished) : 0.0;
    rs.SetNumber(row, *target, dialect::roundDecimal(q - f, 10));
  }

  std::unordered_map<std::string, ProductDetails> products_;
  const ado::Recordset& rs_;
  Field itemNumber_ = field("FItemNumber"), itemShortNumber_ = field("FItemShortNumber"),
        shortNumber_ = field("FShortNumber"), name_ = field("FItemName"), model_ = field("FModel"),
        qtyDecimal_ = field("FQtyDecimal"), priceDecimal_ = field("FPriceDecimal"), baseQty_ = field("FBaseQty"),
        finishBase_ = field("FFinishBQty"), unfinishedBase_ = field("FUnFinishBQty"), stockQty_ = field("FStockQty"),
        finishStock_ = field("FFinishSQty"), unfinishedStock_ = field("FUnFinishSQty");
  std::vector<Field> baseUnits_{field("FBaseUnitName"), field("FFinishBUnitName"), field("FUnFinishBUnitName")};
  std::vector<Field> stockUnits_{field("FStockUnitName"), field("FFinishSUnitName"), field("FUnFinishSUnitName")};
};

// The result rows with a text column FShortNumber added at the end, Null until the details
// are filled in, unless the batch's own result has one.
class WithShortNumber final : public dbi::Rows {
 public:
  explicit WithShortNumber(dbi::Rows& rows) : rows_(rows), own_(rows.columnCount()) {
    for (int c = 0; c < own_; ++c)
      if (lumo::foldCase(rows.columnName(c)) == "fshortnumber") added_ = false;
  }
  int columnCount() const override { return own_ + (added_ ? 1 : 0); }
  std::string columnName(int column) const override { return column < own_ ? rows_.columnName(column) : "FShortNumber"; }
  dbi::ColumnKind declared(int column) const override {
    return column < own_ ? rows_.declared(column) : dbi::ColumnKind::Text;
  }
  bool next() override { return rows_.next(); }
  dbi::ValueKind kind(int column) const override { return column < own_ ? rows_.kind(column) : dbi::ValueKind::Null; }
  double number(int column) const override { return column < own_ ? rows_.number(column) : 0; }
  std::string_view text(int column) const override { return column < own_ ? rows_.text(column) : std::string_view(); }

 private:
  dbi::Rows& rows_;
  int own_;
  bool added_ = true;
};

// Runs the translated batch; the statement that returns rows first gives the result, its
// details filled in. Statements after it (the drops) run as well.
ado::RecordsetRef runBatch(Connection& c, const std::string& batch) {
  ado::RecordsetRef rows;
  bool hasData = false;
  std::unordered_map<std::string, ProductDetails> products;
  dialect::BatchSteps steps;
  steps.before = [&](const dialect::Statement& statement) {
    if (!statement.returnsRows || rows) return;
    auto exists = c.session().query(c.forms().workTableExists("#DATA"));
    hasData = exists->next() && exists->number(0) != 0;
    exists.reset();
    if (hasData) products = productDetails(c);
  };
  steps.onRows = [&](dbi::Rows& result) {
    if (rows) return;
    if (hasData) {
      WithShortNumber widened(result);
      rows = toRecordset(widened);
    } else {
      rows = toRecordset(result);
    }
    if (hasData) DetailFiller(std::move(products), *rows).fill(*rows);
  };
  dialect::execute(c.session(), batch, steps);
  if (!rows) throw refusal(kSource, "汇总语句没有返回数据的查询（SELECT）。");
  return rows;
}

// The work tables of a call, dropped when one is left over from a call that failed outside
// the scratch transaction.
void dropLeftovers(Connection& c) {
  for (const char* table : {"#T401", "#DATA", "#ItemLevel"})
    c.session().exec("DROP TABLE IF EXISTS " + c.forms().workTable(table));
}

}  // namespace

ado::RecordsetRef ShopData::GetRpt401Data(const std::string& props, lumo::DictionaryRef& fragments,
                                          lumo::DictionaryRef& filter) {
  if (!fragments || !filter) throw refusal(kSource, "GetRpt401Data 需要汇总语句片段和过滤条件。");
  // The rights-bearing base tables are not among the tasks' joins: a well-formed clause cannot
  // hide a task, anything else is refused (as for the other production task members).
  tasks::checkDataRight(*filter);
  const std::string batch = composeBatch(*fragments);
  return withConnection(kSource, props, [&](Connection& c, const Login&) {
    dropLeftovers(c);
    // Everything is scratch work in temporary tables: the transaction is never committed, so
    // its rollback removes #T401, #DATA and #ItemLevel whatever happens.
    dbi::Transaction scratch(c.session());
    collectTasks(c, *filter, batch);
    if (const std::string sorting = c.forms().groupBySorting(); !sorting.empty()) c.session().exec(sorting);
    return runBatch(c, batch);
  });
}

}  // namespace midtier
