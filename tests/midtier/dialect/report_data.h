// A small generated ERP database for the report batches, and the rows SQL Server would return
// for them, computed in plain C++ from the same data.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "midtier/dialect/report_batches.h"
#include "midtier/dialect/test_db.h"

namespace dialect::testing {

struct ItemNode {
  int id;
  int classId;
  std::string number;
  std::string name;
  bool detail;
  std::string rightUsers;
};

struct TaskRow {  // a row of #T401
  int item, dept, emp;
  std::string batch;
  double baseQty, stockQty, finishBQty, finishSQty;
};

struct CostRow {  // a row of #T499
  int item;
  std::string batch;
  double values[8];  // start num/cost, in num/cost, out num/cost, end num/cost
};

struct ReportData {
  std::vector<ItemNode> items;
  std::vector<std::pair<int, std::pair<std::string, std::string>>> departments;  // id -> number, name
  std::vector<TaskRow> tasks;
  std::vector<CostRow> costs;
};

// Deterministic data: a class tree three levels deep, details at levels 1 to 4, an item whose
// class is missing, a department without a record, batches, and an output quantity summing to 0.
ReportData generateReportData();
void load(TestDb& db, const ReportData& data);
// The same as SQLite statements: base tables, #T401 and #T499 with their rows.
std::string loadSql(const ReportData& data);

// Result rows as comparable texts: text cells as they are (NULL for null), numbers "%.6f" and
// marked "int:" when SQLite holds them as integers.
std::vector<std::string> expected401(const ReportData& data, const Options401& o);
std::vector<std::string> expected499(const ReportData& data, const Options499& o);
// The same columns read from a result.
std::vector<std::string> resultColumns401(const Options401& o);
std::vector<std::string> resultColumns499(const Options499& o);

}  // namespace dialect::testing
