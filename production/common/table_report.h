// The production task reports whose columns and title lines are plain tables: Rpt400, Rpt410
// and Rpt406 differ only in these tables, their dialog and their member of the data service.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "frame/report/model_report.h"

namespace production {

// One report column in the two-row caption format. `shortField` replaces `field` while item
// numbers are short (the module-wide long-number flag is off); nullptr when the column has
// no short form.
struct ColumnDef {
  const char* caption;
  const char* second;
  const char* type;
  const char* field;
  const char* shortField = nullptr;
};

// How a title line reads its value from the filter.
enum class TitleKind {
  Date,       // label + begin key formatted "YYYY-MM-DD"
  CodeRange,  // label + all-text when both ends are "", else label + begin + "  --  " + end
  BillRange,  // label + all-text when both ends trim to "", else rangeLabel + begin + " -- " + end
  Blank,      // an empty caption
};

struct TitleLine {
  int16_t index;
  TitleKind kind;
  const char* label = "";
  const char* beginKey = "";
  const char* endKey = "";
  const char* allText = "";
  const char* rangeLabel = "";  // BillRange only: the label of the range form
};

class TableReport : public frame::ModelReport {
 protected:
  // The tables must outlive the report (they are static data of each report).
  TableReport(frame::ReportIdentity identity, std::span<const ColumnDef> columns,
              std::span<const TitleLine> titles);

  void AddColumns(lumo::Vector& header) override;
  void BuildTitle(lumo::Vector& title) override;
  lumo::VectorRef DataRightTables() const override;
  lumo::VectorRef DataRightRules() const override;

 private:
  std::string TitleCaption(const TitleLine& line) const;

  std::span<const ColumnDef> columns_;
  std::span<const TitleLine> titles_;
};

// A filter value as the title shows a date: "YYYY-MM-DD" for a date or a text that reads as
// one, the value's text otherwise ("" when absent).
std::string DateCaption(const plat::Variant& value);

}  // namespace production
