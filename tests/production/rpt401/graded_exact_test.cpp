// Rpt401 graded by product-class levels on a company whose quantities expose binary-float error
// (tenths such as 0.1 + 0.2, common units of 3 and 12 base units): every row, its place in the
// top-down order and its exact decimal sums, against an independent computation in integers.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "midtier/db/database.h"
#include "midtier/db/statement.h"
#include "midtier/services/connection.h"
#include "midtier/services/login.h"
#include "production/common/production_harness.h"
#include "rpt401_support.h"

namespace {

using namespace rpt401_test;
using Units = __int128;  // a decimal in units of 10^-10, the scale of the report's quantity columns
constexpr int kScale = 10;

Units pow10(int n) {
  Units p = 1;
  while (n-- > 0) p *= 10;
  return p;
}

// a / b rounded half away from zero (b > 0).
Units divideRounded(Units a, Units b) { return a >= 0 ? (2 * a + b) / (2 * b) : -((-2 * a + b) / (2 * b)); }

// The shortest text of the decimal, as the record set's number text shows an exact value.
std::string decimalText(Units v) {
  const bool negative = v < 0;
  if (negative) v = -v;
  std::string digits;
  for (Units rest = v; digits.empty() || rest != 0; rest /= 10) digits.insert(digits.begin(), char('0' + int(rest % 10)));
  while (digits.size() <= kScale) digits.insert(digits.begin(), '0');
  std::string text = digits.substr(0, digits.size() - kScale);
  std::string fraction = digits.substr(digits.size() - kScale);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (!fraction.empty()) text += "." + fraction;
  return negative && text != "0" ? "-" + text : text;
}

struct Quantities {
  Units base = 0, stock = 0, finish = 0, finishStock = 0;
  void add(const Quantities& q) { base += q.base, stock += q.stock, finish += q.finish, finishStock += q.finishStock; }
};

using Name = std::optional<std::string>;  // a class name; none where the product is not that deep

std::string folded(std::string s) {
  for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return s;
}

// SQL Server's ascending order under a case-insensitive collation: no value first.
bool nameLess(const Name& a, const Name& b) {
  if (!a || !b) return !a && b;
  return folded(*a) < folded(*b);
}

struct Group {
  std::vector<Name> keys;  // n1, n2, n3, product number, batch; a rolled-up key is absent
  int rolledUp = 0;        // how many trailing keys are rolled up
  Quantities sums;
};

// The rollup's stream order: key by key, a group's own rows before its subtotal.
bool streamLess(const Group& a, const Group& b) {
  for (size_t i = 0; i < a.keys.size(); ++i) {
    const bool aRolled = i >= a.keys.size() - a.rolledUp, bRolled = i >= b.keys.size() - b.rolledUp;
    if (aRolled != bRolled) return bRolled;
    if (aRolled) return false;
    if (nameLess(a.keys[i], b.keys[i])) return true;
    if (nameLess(b.keys[i], a.keys[i])) return false;
  }
  return false;
}

// The rows the report must give, as "kind|FName1|FName2|FName3|product|batch|quantities...".
std::vector<std::string> expectedRows(const std::string& file) {
  db::Database database = db::Database::open(file);
  std::map<int, std::tuple<int, int, std::string>> items;  // id -> parent, level, name
  for (db::Statement s = database.prepare("SELECT FItemID, FParentID, FLevel, FName FROM t_Item WHERE FItemClassID = 4");
       s.step();)
    items[static_cast<int>(s.getInt64(0))] = {static_cast<int>(s.getInt64(1)), static_cast<int>(s.getInt64(2)), s.getText(3)};
  auto nameAt = [&](int item, int level) -> Name {
    for (int id = std::get<0>(items.at(item)); id != 0; id = std::get<0>(items.at(id)))
      if (std::get<1>(items.at(id)) == level) return std::get<2>(items.at(id));
    return std::nullopt;
  };

  std::map<std::vector<std::string>, Group> details;  // by (n1, n2, n3, product, batch) as text
  db::Statement tasks = database.prepare(
      "SELECT t.FItemID, t.FNumber, m.FBatchNo, m.FQty, m.FQtyFinish, u.FCoefficient FROM ICMO m "
      "JOIN t_ICItem t ON t.FItemID = m.FItemID JOIN t_MeasureUnit u ON u.FMeasureUnitID = t.FStoreUnitID");
  while (tasks.step()) {
    const int item = static_cast<int>(tasks.getInt64(0));
    // Quantities are stored in tenths; the common unit's is rounded to the column's 10 places.
    const Units base = static_cast<Units>(std::llround(tasks.getDouble(3) * 10)) * pow10(kScale - 1);
    const Units finish = static_cast<Units>(std::llround(tasks.getDouble(4) * 10)) * pow10(kScale - 1);
    const Units coefficient = static_cast<Units>(std::llround(tasks.getDouble(5)));
    Quantities q{base, divideRounded(base, coefficient), finish, divideRounded(finish, coefficient)};
    std::vector<Name> keys = {nameAt(item, 1), nameAt(item, 2), nameAt(item, 3), tasks.getText(1), tasks.getText(2)};
    std::vector<std::string> id;
    for (const Name& k : keys) id.push_back(k ? "+" + folded(*k) : "-");
    Group& g = details[id];
    g.keys = keys;
    g.sums.add(q);
  }
  std::vector<Group> groups;
  std::map<std::vector<std::string>, Group> levels[4];  // rolled-up trailing keys: 2 (level 3) to 5 (total)
  for (const auto& [id, g] : details) {
    groups.push_back(g);
    for (int rolled = 2; rolled <= 5; ++rolled) {
      std::vector<std::string> prefix(id.begin(), id.end() - rolled);
      Group& sub = levels[rolled - 2][prefix];
      sub.keys = g.keys;
      for (size_t k = sub.keys.size() - rolled; k < sub.keys.size(); ++k) sub.keys[k].reset();
      sub.rolledUp = rolled;
      sub.sums.add(g.sums);
    }
  }
  for (auto& level : levels)
    for (auto& [id, g] : level) groups.push_back(g);
  std::stable_sort(groups.begin(), groups.end(), streamLess);

  std::vector<std::string> rows;
  for (const Group& g : groups) {
    // The batch's own level (product subtotals) is dropped by HAVING; the others are labelled.
    const int kind = g.rolledUp == 0 ? 0 : g.rolledUp == 5 ? 101 : 111 - g.rolledUp;
    std::string names[3];
    for (int l = 0; l < 3; ++l) names[l] = g.keys[l].value_or("");
    if (kind == 101) names[0] = "合计";
    if (kind > 101) names[kind - 107] += "(小计)";
    const Quantities& q = g.sums;
    rows.push_back(std::to_string(kind) + "|" + names[0] + "|" + names[1] + "|" + names[2] + "|" +
                   g.keys[3].value_or("") + "|" + g.keys[4].value_or("") + "|" + decimalText(q.base) + "|" +
                   decimalText(q.stock) + "|" + decimalText(q.finish) + "|" + decimalText(q.finishStock) + "|" +
                   decimalText(q.base - q.finish) + "|" + decimalText(q.stock - q.finishStock));
  }
  return rows;
}

class Rpt401Graded : public prodtest::ReportTest {};

TEST_F(Rpt401Graded, ClassLevelRowsComeTopDownWithExactDecimalSums) {
  const std::string file =
      (std::filesystem::path(support::demoDatabase()).parent_path() / "float-error.db").string();
  std::filesystem::copy_file(support::demoDatabase(), file, std::filesystem::copy_options::overwrite_existing);
  {
    db::Database database = db::Database::open(file);
    database.exec(
        "UPDATE ICMO SET FQty = round(0.1 * (FInterID % 7) + 0.2, 1), FQtyFinish = round(0.1 * (FInterID % 3), 1);"
        "UPDATE t_MeasureUnit SET FCoefficient = CASE WHEN FMeasureUnitID % 2 = 0 THEN 3 ELSE 12 END "
        "WHERE FCoefficient <> 1");
  }
  midtier::setLoginProperties(midtier::makeProps(file, support::kAdministrator, "administrator"), "administrator");

  Choice c;
  c.bDate = "2000-01-01", c.eDate = "2100-12-31";
  c.groupBy = 1, c.basis = 0, c.bLevel = "1", c.eLevel = "3";
  ReportRun r = runReport(c);
  midtier::closeConnections();
  midtier::setLoginProperties(props, "administrator");
  ASSERT_TRUE(r.report->Ok()) << r.report->ErrorText();

  std::vector<std::string> actual;
  for (const Row& row : rowsOf(*r.report->Rs())) {
    std::string line = std::to_string(row.sort());
    for (const char* field : {"FName1", "FName2", "FName3", "FItemNumber", "FBatchNo", "FBaseQty", "FStockQty",
                              "FFinishBQty", "FFinishSQty", "FUnFinishBQty", "FUnFinishSQty"})
      line += "|" + row.text(field);
    actual.push_back(line);
  }
  const std::vector<std::string> expected = expectedRows(file);
  ASSERT_GT(expected.size(), 20u);
  EXPECT_EQ(actual, expected);
  std::filesystem::remove(file);
}

}  // namespace
