#include "production/common/table_report.h"

#include "frame/host/context.h"
#include "frame/host/settings.h"
#include "production/common/production_rights.h"

namespace production {

std::string DateCaption(const plat::Variant& value) {
  if (value.isDateLike()) return value.toDate().iso();
  return value.text();
}

TableReport::TableReport(frame::ReportIdentity identity, std::span<const ColumnDef> columns,
                         std::span<const TitleLine> titles)
    : ModelReport(std::move(identity)), columns_(columns), titles_(titles) {}

void TableReport::AddColumns(lumo::Vector& header) {
  const bool longNumbers = frame::LongNumberFlag();
  for (const ColumnDef& c : columns_) {
    const char* field = (!longNumbers && c.shortField) ? c.shortField : c.field;
    AddColumn(header, c.caption, c.second, c.type, field, frame::ColumnFlag::MergerType);
  }
}

std::string TableReport::TitleCaption(const TitleLine& line) const {
  using frame::Msg;
  switch (line.kind) {
    case TitleKind::Date:
      return Msg(line.label) + DateCaption(Filter() ? Filter()->Value(line.beginKey) : plat::Variant());
    case TitleKind::CodeRange: {
      const std::string b = FilterText(line.beginKey), e = FilterText(line.endKey);
      if (b.empty() && e.empty()) return Msg(line.label) + Msg(line.allText);
      return Msg(line.label) + b + "  --  " + e;
    }
    case TitleKind::BillRange: {
      const std::string b = FilterText(line.beginKey), e = FilterText(line.endKey);
      if (plat::trim(b).empty() && plat::trim(e).empty()) return Msg(line.label) + Msg(line.allText);
      return Msg(line.rangeLabel) + b + " -- " + e;
    }
    case TitleKind::Blank:
      break;
  }
  return {};
}

void TableReport::BuildTitle(lumo::Vector& title) {
  for (const TitleLine& line : titles_) AddTitle(title, line.index, TitleCaption(line));
}

lumo::VectorRef TableReport::DataRightTables() const { return ProductionRightTables(); }
lumo::VectorRef TableReport::DataRightRules() const { return ProductionRightRules(); }

}  // namespace production
