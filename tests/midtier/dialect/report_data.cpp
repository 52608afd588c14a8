// Generated report data and the SQL Server results of the report batches, computed in C++.
#include "midtier/dialect/report_data.h"

#include <cstdint>
#include <cmath>
#include <cstdio>
#include <map>
#include <stdexcept>

namespace dialect::testing {
namespace {

using Cell = std::optional<std::string>;
using Key = std::vector<Cell>;

struct Lcg {
  std::uint32_t state = 20240601;
  int next(int n) {
    state = state * 1664525u + 1013904223u;
    return static_cast<int>((state >> 8) % static_cast<std::uint32_t>(n));
  }
};

std::string amount(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.6f", v);
  return text;
}

std::string text(const Cell& c) { return c ? *c : "NULL"; }

// What a decimal(p, scale) column stores.
double stored(double v, int scale) {
  double factor = std::pow(10.0, scale);
  return std::round(v * factor) / factor;
}

std::vector<std::string> split(const std::string& number) {
  std::vector<std::string> parts{""};
  for (char c : number) {
    if (c == '.') {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

const ItemNode& item(const ReportData& d, int id) {
  for (const ItemNode& i : d.items) {
    if (i.id == id) return i;
  }
  throw std::runtime_error("no item " + std::to_string(id));
}

// The class name of an item at a level, as the #ItemLevel statements find it.
Cell levelName(const ReportData& d, const ItemNode& detail, int level) {
  std::vector<std::string> parts = split(detail.number);
  if (static_cast<int>(parts.size()) <= level) return std::nullopt;
  std::string prefix = parts[0];
  for (int i = 1; i < level; ++i) prefix += "." + parts[static_cast<std::size_t>(i)];
  for (const ItemNode& node : d.items) {
    if (node.classId == 4 && !node.detail && node.number == prefix) return node.name;
  }
  return std::nullopt;
}

bool inRange(const std::string& number, const std::string& begin, const std::string& end) {
  return (begin.empty() || number >= begin) && (end.empty() || number <= end);
}

struct Group {
  std::size_t kept;
  Key key;
  std::vector<double> sums;
};

// SQL Server's GROUP BY ... WITH ROLLUP, restricted to the levels HAVING keeps.
std::vector<Group> rollup(const std::vector<std::pair<Key, std::vector<double>>>& facts,
                          const std::vector<std::size_t>& levels) {
  std::vector<Group> groups;
  for (std::size_t kept : levels) {
    std::map<Key, std::vector<double>> sums;
    for (const auto& [key, values] : facts) {
      Key prefix(key.begin(), key.begin() + static_cast<std::ptrdiff_t>(kept));
      prefix.resize(key.size());
      std::vector<double>& s = sums[prefix];
      s.resize(values.size());
      for (std::size_t i = 0; i < values.size(); ++i) s[i] += values[i];
    }
    for (auto& [key, s] : sums) groups.push_back({kept, key, s});
  }
  return groups;
}

std::vector<std::size_t> allLevelsBut(std::size_t n, std::size_t skipped) {
  std::vector<std::size_t> levels;
  for (std::size_t k = 0; k <= n; ++k) {
    if (k != skipped) levels.push_back(k);
  }
  return levels;
}

std::string join(const std::vector<std::string>& cells) {
  std::string out;
  for (std::size_t i = 0; i < cells.size(); ++i) out += (i ? " | " : "") + cells[i];
  return out;
}

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

}  // namespace

ReportData generateReportData() {
  ReportData d;
  d.items = {
      {1, 4, "01", "成品", false, ""},        {2, 4, "01.01", "电机类", false, ""},
      {3, 4, "01.01.01", "小电机", false, ""}, {4, 4, "01.02", "风扇类", false, ""},
      {5, 4, "02", "配件", false, ""},        {6, 4, "02.01", "螺丝类", false, ""},
      {7, 2, "01", "部门类", false, ""},      {11, 4, "01.01.01.001", "微电机", true, "12,15"},
      {12, 4, "01.01.01.002", "步进电机", true, "12"}, {13, 4, "01.01.001", "交流电机", true, "3,12"},
      {14, 4, "01.02.001", "吊扇", true, "7,8"},     {15, 4, "02.01.001", "螺丝M3", true, "12"},
      {16, 4, "02.001", "垫片", true, "7"},          {17, 4, "03.001", "无类产品", true, "12"},
      {18, 4, "04", "顶层产品", true, "12"},         {19, 4, "01.01.003", "未生产", true, "12"},
  };
  d.departments = {{1, {"D01", "一车间"}}, {2, {"D02", "二车间"}}, {3, {"D03", "三车间"}}};
  Lcg rng;
  const int details[] = {11, 12, 13, 14, 15, 16, 17, 18};
  for (int i = 0; i < 90; ++i) {
    TaskRow t;
    t.item = details[rng.next(8)];
    t.dept = 1 + rng.next(4);  // 4 has no department record
    t.emp = 1 + rng.next(2);
    t.batch = "B" + std::to_string(1 + rng.next(3));
    t.baseQty = (1 + rng.next(400)) * 0.25;
    t.stockQty = t.baseQty / 4;
    t.finishBQty = rng.next(400) * 0.25;
    t.finishSQty = t.finishBQty / 4;
    d.tasks.push_back(t);
  }
  for (int i = 0; i < 50; ++i) {
    CostRow c;
    c.item = details[rng.next(7)];
    c.batch = "P" + std::to_string(1 + rng.next(3));
    // Eighths: costs stored at scale 2 round (half away from zero), at scale 4 they do not.
    for (double& v : c.values) v = rng.next(800) * 0.125;
    d.costs.push_back(c);
  }
  // Item 18's output quantities cancel out: its output price is 0, not a division by zero.
  d.costs.push_back({18, "P1", {1, 2, 3, 4, 2.5, 10, 1, 0}});
  d.costs.push_back({18, "P1", {1, 2, 3, 4, -2.5, 10, -1, 5}});
  return d;
}

std::string loadSql(const ReportData& d) {
  std::string sql =
      "CREATE TABLE t_Item(FItemID INTEGER PRIMARY KEY, FItemClassID INTEGER, FNumber TEXT, FFullNumber TEXT, "
      "FShortNumber TEXT, FName TEXT, FLevel INTEGER, FDetail INTEGER);"
      "CREATE TABLE t_ICItem(FItemID INTEGER PRIMARY KEY, FNumber TEXT, FShortNumber TEXT, FName TEXT, FRightUserID TEXT);"
      "CREATE TABLE t_Department(FItemID INTEGER PRIMARY KEY, FNumber TEXT, FName TEXT);"
      "CREATE TABLE t_Emp(FItemID INTEGER PRIMARY KEY, FNumber TEXT, FName TEXT);"
      "INSERT INTO t_Emp VALUES (1, 'E01', '张三'), (2, 'E02', '李四');"
      "CREATE TEMP TABLE [#T401](FItemID INTEGER, FDeptID INTEGER, FEmpID INTEGER, FBatchNo TEXT, FBaseQty REAL, "
      "FStockQty REAL, FFinishBQty REAL, FFinishSQty REAL);"
      "CREATE TEMP TABLE [#T499](FItemID INTEGER, FNumber TEXT, FBatchNo TEXT, FPeriodStartNum REAL, "
      "FPeriodStartCost REAL, FCurInNum REAL, FCurInCost REAL, FCurOutNum REAL, FCurOutCost REAL, FPeriodEndNum REAL, "
      "FPeriodEndCost REAL);";
  for (const ItemNode& i : d.items) {
    std::string values = std::to_string(i.id) + ", '" + i.number + "', '" + i.number + "', '" + i.name + "'";
    sql += "INSERT INTO t_Item VALUES (" + std::to_string(i.id) + ", " + std::to_string(i.classId) + ", '" + i.number +
           "', '" + i.number + "', '" + split(i.number).back() + "', '" + i.name + "', " +
           std::to_string(split(i.number).size()) + ", " + (i.detail ? "1" : "0") + ");";
    if (i.detail) sql += "INSERT INTO t_ICItem VALUES (" + values + ", '" + i.rightUsers + "');";
  }
  for (const auto& [id, dept] : d.departments) {
    sql += "INSERT INTO t_Department VALUES (" + std::to_string(id) + ", '" + dept.first + "', '" + dept.second + "');";
  }
  for (const TaskRow& t : d.tasks) {
    sql += "INSERT INTO [#T401] VALUES (" + std::to_string(t.item) + ", " + std::to_string(t.dept) + ", " +
           std::to_string(t.emp) + ", '" + t.batch + "', " + amount(t.baseQty) + ", " + amount(t.stockQty) + ", " +
           amount(t.finishBQty) + ", " + amount(t.finishSQty) + ");";
  }
  for (const CostRow& c : d.costs) {
    sql += "INSERT INTO [#T499] VALUES (" + std::to_string(c.item) + ", '" + item(d, c.item).number + "', '" + c.batch + "'";
    for (double v : c.values) sql += ", " + amount(v);
    sql += ");";
  }
  return sql;
}

void load(TestDb& db, const ReportData& d) { db.exec(loadSql(d)); }

std::vector<std::string> resultColumns401(const Options401& o) {
  std::vector<std::string> columns;
  if (o.grouping == Grouping401::Department) columns = {"FPropName", "FPropNumber"};
  if (o.grouping == Grouping401::ClassLevel) {
    for (int i = o.beginLevel; i <= o.endLevel; ++i) columns.push_back("FName" + std::to_string(i));
  }
  for (const char* c : {"FItemNumber", "FBatchNo", "FBaseQty", "FStockQty", "FFinishBQty", "FFinishSQty", "FSumSort"}) {
    columns.push_back(c);
  }
  return columns;
}

std::vector<std::string> resultColumns499(const Options499& o) {
  std::vector<std::string> columns;
  if (o.classLevel) {
    for (int i = o.beginLevel; i <= o.endLevel; ++i) columns.push_back("FName" + std::to_string(i));
  }
  for (const char* c : {"FNumber", "FItemID", "FBatchNo", "FPeriodStartNum", "FPeriodStartCost", "FCurInNum",
                        "FCurInCost", "FCurOutNum", "FCurOutPrice", "FCurOutCost", "FPeriodEndNum", "FPeriodEndPrice",
                        "FPeriodEndCost", "FSumSort"}) {
    columns.push_back(c);
  }
  return columns;
}

std::vector<std::string> expected401(const ReportData& d, const Options401& o) {
  const bool byBatch = o.groupByBatchNo == 0;
  const int names = o.endLevel - o.beginLevel + 1;
  std::vector<std::pair<Key, std::vector<double>>> facts;
  for (const TaskRow& t : d.tasks) {
    const ItemNode& product = item(d, t.item);
    if (!o.dataRightWhere.empty() && product.rightUsers.find("12") == std::string::npos) continue;
    Key key;
    if (o.grouping == Grouping401::ClassLevel) {
      if (!inRange(product.number, o.beginItem, o.endItem)) continue;
      for (int level = o.beginLevel; level <= o.endLevel; ++level) key.push_back(levelName(d, product, level));
      key.push_back(product.number);
    } else {
      if (!inRange(product.number, o.beginItem, o.endItem)) continue;
      if (o.grouping == Grouping401::Department) key.push_back(std::to_string(t.dept));
      key.push_back(o.grouping == Grouping401::Department ? std::to_string(t.item) : product.number);
    }
    if (byBatch) key.push_back(t.batch);
    facts.push_back({key, {t.baseQty, t.stockQty, t.finishBQty, t.finishSQty}});
  }
  const std::size_t n = facts.empty() ? 0 : facts[0].first.size();
  std::vector<std::size_t> levels;
  switch (o.grouping) {
    case Grouping401::Plain: levels = byBatch ? std::vector<std::size_t>{2, 0} : allLevelsBut(1, kNone); break;
    case Grouping401::Department: levels = byBatch ? std::vector<std::size_t>{3, 1, 0} : allLevelsBut(2, kNone); break;
    case Grouping401::ClassLevel: levels = allLevelsBut(n, byBatch ? n - 1 : kNone); break;
  }
  std::vector<std::string> rows;
  for (const Group& g : rollup(facts, levels)) {
    std::vector<std::string> cells;
    long sumSort = 0;
    Cell itemNumber, batch = byBatch ? g.key.back() : Cell("");
    if (o.grouping == Grouping401::Plain) {
      sumSort = g.kept == 0 ? 101 : 0;
      itemNumber = g.kept == 0 ? Cell("合计") : g.key[0];
    } else if (o.grouping == Grouping401::Department) {
      const std::pair<std::string, std::string>* dept = nullptr;
      for (const auto& [id, record] : d.departments) {
        if (g.key[0] && std::to_string(id) == *g.key[0]) dept = &record;
      }
      if (g.kept == 0) {
        sumSort = 101;
        cells = {"合计", "NULL"};
      } else if (g.kept == 1) {
        sumSort = 102;
        cells = {(dept ? dept->second : "") + "(小计)", dept ? dept->first : "NULL"};
      } else {
        cells = {dept ? dept->second : "", dept ? dept->first : ""};
        itemNumber = item(d, std::stoi(*g.key[1])).number;
      }
    } else {
      std::vector<Cell> levelNames(g.key.begin(), g.key.begin() + names);
      const std::size_t kept = g.kept;
      if (kept > static_cast<std::size_t>(names)) {
        itemNumber = g.key[static_cast<std::size_t>(names)];
      } else {
        sumSort = kept == static_cast<std::size_t>(names) ? o.endLevel + 106 : o.beginLevel + static_cast<int>(kept) + 105;
      }
      int subtotalLevel = static_cast<int>(sumSort) - 106;
      if (subtotalLevel >= o.beginLevel && subtotalLevel <= o.endLevel) {
        Cell& name = levelNames[static_cast<std::size_t>(subtotalLevel - o.beginLevel)];
        name = name.value_or("") + "(小计)";
      }
      if (sumSort == o.beginLevel + 105) {
        levelNames[0] = "合计";
        sumSort = 101;
      }
      for (const Cell& c : levelNames) cells.push_back(text(c));
    }
    if (sumSort > 0 && byBatch) batch = std::nullopt;
    if (sumSort <= 100 && o.onlyShowSum == 1) continue;
    cells.push_back(text(itemNumber));
    cells.push_back(text(batch));
    for (double v : g.sums) cells.push_back(amount(v));
    cells.push_back(std::to_string(sumSort));
    rows.push_back(join(cells));
  }
  return rows;
}

std::vector<std::string> expected499(const ReportData& d, const Options499& o) {
  const bool byBatch = o.groupByBatchNo == 0;
  const int names = o.endLevel - o.beginLevel + 1;
  std::vector<std::pair<Key, std::vector<double>>> facts;
  for (const CostRow& c : d.costs) {
    const ItemNode& product = item(d, c.item);
    Key key;
    if (o.classLevel) {
      if (!inRange(product.number, o.beginItem, o.endItem)) continue;
      for (int level = o.beginLevel; level <= o.endLevel; ++level) key.push_back(levelName(d, product, level));
    }
    key.push_back(product.number);
    if (byBatch) key.push_back(c.batch);
    facts.push_back({key, std::vector<double>(std::begin(c.values), std::end(c.values))});
  }
  const std::size_t n = facts.empty() ? 0 : facts[0].first.size();
  std::vector<std::size_t> levels = allLevelsBut(n, byBatch ? n - 1 : kNone);
  std::vector<std::string> rows;
  for (const Group& g : rollup(facts, levels)) {
    std::vector<std::string> cells;
    long sumSort = 0;
    Cell number;
    const std::size_t numberAt = o.classLevel ? static_cast<std::size_t>(names) : 0;
    if (g.kept > numberAt) {
      number = g.key[numberAt];
    } else if (!o.classLevel) {
      number = "合计";
      sumSort = 101;
    } else {
      sumSort = g.kept == numberAt ? o.endLevel + 106 : o.beginLevel + static_cast<int>(g.kept) + 105;
    }
    if (o.classLevel) {
      std::vector<Cell> levelNames(g.key.begin(), g.key.begin() + names);
      int subtotalLevel = static_cast<int>(sumSort) - 106;
      if (subtotalLevel >= o.beginLevel && subtotalLevel <= o.endLevel) {
        Cell& name = levelNames[static_cast<std::size_t>(subtotalLevel - o.beginLevel)];
        if (name) name = *name + "(小计)";  // NULL + text stays NULL
      }
      if (sumSort == o.beginLevel + 105) {
        levelNames[0] = "合计";
        sumSort = 101;
      }
      for (const Cell& c : levelNames) cells.push_back(text(c));
    }
    if (sumSort <= 100 && o.onlyShowSum == 1) continue;
    Cell batch = !byBatch ? Cell("") : sumSort > 0 ? std::nullopt : g.key.back();
    const std::vector<double>& s = g.sums;
    double outPrice = s[4] != 0 ? stored(s[5], 10) / stored(s[4], 10) : 0;
    double endPrice = s[6] != 0 ? s[7] / s[6] : 0;
    cells.push_back(text(number));
    cells.push_back("");
    cells.push_back(text(batch));
    const int c = o.scale;  // cost columns are decimal(18, scale), the others decimal(23,10)
    for (double v : {stored(s[0], 10), stored(s[1], c), stored(s[2], 10), stored(s[3], c), stored(s[4], 10),
                     stored(outPrice, 10), stored(s[5], c), stored(s[6], 10), stored(endPrice, 10), stored(s[7], c)}) {
      cells.push_back(amount(v));
    }
    cells.push_back(std::to_string(sumSort));
    rows.push_back(join(cells));
  }
  return rows;
}

}  // namespace dialect::testing
