// The comprehensive report's statement fragments compared whole with the texts of fragments.cases.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cost/rpt499/statement_fragments.h"
#include "support/fragment_cases.h"

namespace {

lumo::DictionaryRef filterOf(int groupBy, int sumMode, int groupByBatchNo) {
  auto f = lumo::newDictionary();
  f->SetValue("GroupBy", static_cast<int16_t>(groupBy));
  f->SetValue("SumMode", int32_t{sumMode});
  f->SetValue("GroupByBatchNo", static_cast<int16_t>(groupByBatchNo));
  return f;
}

TEST(StatementFragments, EveryVariantAsWrittenOut) {
  const auto cases = support::readFragmentCases(std::filesystem::path(__FILE__).parent_path() / "fragments.cases");
  EXPECT_EQ(cases.size(), 4u);
  for (const support::FragmentCase& c : cases) {
    cost::StatementParts parts;
    cost::PrepareStatementParts(parts, *c.filter, std::stoi(c.arg("scale")));
    const lumo::DictionaryRef fragments = c.filter->Value("GroupBy").text() == "1"
                                              ? cost::ClassLevelFragments(parts, *c.filter, c.arg("longNumbers") == "1")
                                              : cost::PlainFragments(parts, *c.filter);
    support::expectFragments(c, support::textsOf(*fragments));
  }
}

TEST(StatementParts, FromAndWhereOfAClassRollupOnly) {
  cost::StatementParts parts;
  cost::PrepareStatementParts(parts, *filterOf(0, 1, 0), 2);
  EXPECT_EQ(parts.from, " FROM #T499 v1\r\n");
  EXPECT_EQ(parts.where, " WHERE 1=1 \r\n");
  // A roll-up by anything but the product class keeps the clauses an earlier filter left.
  cost::StatementParts kept{"", "", " FROM earlier", " WHERE earlier"};
  cost::PrepareStatementParts(kept, *filterOf(1, 2, 0), 2);
  EXPECT_EQ(kept.from, " FROM earlier");
  EXPECT_EQ(kept.where, " WHERE earlier");
}

}  // namespace
