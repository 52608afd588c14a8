// Composes the summary and cost reports' batches from the reports' own fragment builders.
#include "midtier/dialect/report_batches.h"

#include "cost/rpt499/statement_fragments.h"
#include "frame/sql/item_level.h"
#include "production/rpt401/statements.h"

namespace dialect::testing {
namespace {

const std::string CRLF = "\r\n";

std::string replaceAll(std::string text, const std::string& what, const std::string& with) {
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size())) {
    text.replace(at, what.size(), with);
  }
  return text;
}

}  // namespace

std::string itemLevelStatements(const std::string& beginNumber, const std::string& endNumber, int beginLevel,
                                int endLevel) {
  return frame::ItemLevelStatementsWith(true, 4, "", beginNumber, endNumber, beginLevel, endLevel, 0);
}

std::string batch401(const Options401& o) {
  namespace r = production::rpt401;
  auto filter = lumo::newDictionary();
  filter->SetValue("GroupBy", static_cast<int16_t>(o.grouping == Grouping401::Plain ? 0 : 1));
  filter->SetValue("SumMode", int32_t{o.grouping == Grouping401::ClassLevel ? 1 : 2});
  filter->SetValue("GroupByBatchNo", static_cast<int16_t>(o.groupByBatchNo));
  filter->SetValue("OnlyShowSum", static_cast<int16_t>(o.onlyShowSum));
  filter->SetValue("BLevel", static_cast<double>(o.beginLevel));
  filter->SetValue("ELevel", static_cast<double>(o.endLevel));
  filter->SetValue("BItemNumber", o.beginItem);
  filter->SetValue("EItemNumber", o.endItem);
  auto sumField = lumo::newDictionary();
  sumField->SetValue("FSQLColumnName", "FDeptID");
  filter->SetValue("SumField", sumField);
  r::StatementParts parts;
  r::PrepareStatementParts(*filter, parts);
  const std::string range = r::ItemRangeCondition(*filter, true);
  lumo::DictionaryRef fragments = o.grouping == Grouping401::Plain ? r::BuildPlainStatement(*filter, parts, range)
                                  : o.grouping == Grouping401::Department
                                      ? r::BuildDeptStatement(*filter, parts, range)
                                      : r::BuildLevelStatement(4, *filter, parts);
  const std::string scope = replaceAll(fragments->Value(r::kItemFilterKey).text(), "##ITEMID##", "FItemID");
  const std::string select = replaceAll(fragments->Value(r::kSelectKey).text(), "##ITEMFILTER##", "AND" + scope);
  // GROUPBY ends without a break in some variants ("WITH ROLLUP"), so a line break joins it to EndSel.
  const std::string dataRight = o.dataRightWhere.empty() ? "" : " AND " + o.dataRightWhere;
  return select + dataRight + fragments->Value(r::kGroupByKey).text() + CRLF + fragments->Value(r::kEndKey).text();
}

std::string batch499(const Options499& o) {
  auto filter = lumo::newDictionary();
  filter->SetValue("GroupBy", static_cast<int16_t>(o.classLevel ? 1 : 0));
  filter->SetValue("SumMode", int32_t{1});
  filter->SetValue("GroupByBatchNo", static_cast<int16_t>(o.groupByBatchNo));
  filter->SetValue("OnlyShowSum", static_cast<int16_t>(o.onlyShowSum));
  filter->SetValue("BLevel", std::to_string(o.beginLevel));
  filter->SetValue("ELevel", std::to_string(o.endLevel));
  filter->SetValue("BItemNumber", o.beginItem);
  filter->SetValue("EItemNumber", o.endItem);
  cost::StatementParts parts;
  cost::PrepareStatementParts(parts, *filter, o.scale);
  lumo::DictionaryRef fragments =
      o.classLevel ? cost::ClassLevelFragments(parts, *filter, true) : cost::PlainFragments(parts, *filter);
  const std::string between = o.separator ? CRLF : "";
  const std::string batch = fragments->Value("Select").text() + fragments->Value("Filter").text() +
                            fragments->Value("AppendFilter").text() + between + fragments->Value("GROUPBY").text() +
                            between + fragments->Value("EndSel").text();
  return replaceAll(batch, "##ITEMFILTER##", fragments->Value("ITEMFILTER").text());
}

}  // namespace dialect::testing
