// The summary report's statement fragments, compared whole with the texts of statements.cases.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "production/rpt401/statements.h"
#include "support/fragment_cases.h"

namespace {

using namespace production::rpt401;
lumo::DictionaryRef filterOf(std::initializer_list<std::pair<const char*, plat::Variant>> values) {
  auto f = lumo::newDictionary();
  for (const auto& [key, value] : values) f->SetValue(key, value);
  return f;
}

support::Fragments build(const lumo::Dictionary& filter, const std::string& itemRange) {
  StatementParts parts;
  PrepareStatementParts(filter, parts);
  const bool graded = filter.Value("GroupBy").text() == "1";
  if (graded && filter.Value("SumMode").text() == "1") return support::textsOf(*BuildLevelStatement(4, filter, parts));
  if (graded) return support::textsOf(*BuildDeptStatement(filter, parts, itemRange));
  return support::textsOf(*BuildPlainStatement(filter, parts, itemRange));
}

TEST(Rpt401Statements, EveryVariantAsWrittenOut) {
  const auto cases = support::readFragmentCases(std::filesystem::path(__FILE__).parent_path() / "statements.cases");
  EXPECT_EQ(cases.size(), 7u);
  for (const support::FragmentCase& c : cases) support::expectFragments(c, build(*c.filter, c.arg("itemRange")));
}

TEST(Rpt401Statements, RefusesBadLevelsAndMissingSumField) {
  StatementParts parts;
  for (auto [first, last] : {std::pair{3.0, 2.0}, std::pair{0.0, 2.0}, std::pair{1.0, 99.0}}) {
    auto f = filterOf({{"GroupBy", int16_t{1}}, {"SumMode", int32_t{1}}, {"BLevel", first}, {"ELevel", last}});
    EXPECT_THROW(BuildLevelStatement(4, *f, parts), plat::Error) << first << "-" << last;
  }
  auto noField = filterOf({{"GroupBy", int16_t{1}}, {"SumMode", int32_t{2}}});
  EXPECT_THROW(BuildDeptStatement(*noField, parts, ""), plat::Error);
}

TEST(Rpt401Statements, ItemRangeCondition) {
  struct Case {
    int mode;
    const char *begin, *end, *classNumber;
    bool longNumbers;
    const char* expected;
  };
  const Case cases[] = {
      {0, "", "", "", true, ""},
      {0, "", "03", "", true, " AND t1.FNumber<='03'"},
      {0, " 01 ", "02", "", false, " AND t1.FShortNumber>='01' AND t1.FShortNumber<='02'"},
      {0, "A''B\r\n", "", "", true, " AND t1.FNumber>='A''''B'"},
      {1, "01", "02", "01.02", true, " AND t1.FNumber Like '01.02.%'"},
      {1, "01", "02", "", true, ""},
  };
  for (const Case& c : cases) {
    auto f = filterOf({{"Mode", int16_t(c.mode)}, {"BItemNumber", c.begin}, {"EItemNumber", c.end},
                       {"ItemClassNumber", c.classNumber}});
    EXPECT_EQ(ItemRangeCondition(*f, c.longNumbers), c.expected) << c.begin << ".." << c.end;
  }
}

}  // namespace
