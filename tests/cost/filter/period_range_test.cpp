// The walk over a period range and the texts that show it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cost/filter/period_range.h"

namespace {

struct WalkCase {
  cost::PeriodRange range;
  int32_t count;
  std::vector<std::string> visited;
};

std::vector<std::string> walk(const cost::PeriodRange& range, int32_t count) {
  std::vector<std::string> visited;
  cost::WalkPeriods(range, count, [&](int16_t& year, int16_t& period) {
    visited.push_back(cost::PeriodLabel(year, period));
    if (visited.size() > 50) period = 999;  // a runaway walk stops the test rather than hang it
  });
  return visited;
}

TEST(PeriodRange, WalksAcrossYearEnds) {
  const WalkCase cases[] = {
      {{2024, 12, 2025, 2}, 12, {"2024.12", "2025.1", "2025.2"}},
      {{2024, 11, 2026, 1}, 12, {"2024.11", "2024.12", "2025.1", "2025.2", "2025.3", "2025.4", "2025.5", "2025.6",
                                 "2025.7", "2025.8", "2025.9", "2025.10", "2025.11", "2025.12", "2026.1"}},
      {{2024, 3, 2024, 3}, 12, {"2024.3"}},
      {{2024, 5, 2024, 2}, 12, {"2024.5"}},           // start after end in one year: the start alone
      {{2025, 1, 2024, 12}, 12, {}},                  // first year after the last: nothing
      {{2024, 12, 2024, 14}, 12, {"2024.12"}},        // an end beyond the count stops at the count
      {{2024, 13, 2025, 1}, 12, {"2024.13", "2025.1"}},  // a start beyond the count ends its year
      {{2024, 3, 2025, 1}, 4, {"2024.3", "2024.4", "2025.1"}},
  };
  for (const WalkCase& c : cases)
    EXPECT_EQ(walk(c.range, c.count), c.visited) << c.range.beginYear << "/" << c.range.beginPeriod;
}

TEST(PeriodRange, ReadsTextsAndNumbers) {
  auto filter = lumo::newDictionary();
  filter->SetValue("BYear", "2025");
  filter->SetValue("BPeriod", int16_t{11});
  filter->SetValue("EYear", 2026.0);
  filter->SetValue("EPeriod", " 2");
  const cost::PeriodRange range = cost::PeriodRange::Read(*filter);
  EXPECT_EQ(range.beginYear, 2025);
  EXPECT_EQ(range.beginPeriod, 11);
  EXPECT_EQ(range.endYear, 2026);
  EXPECT_EQ(range.endPeriod, 2);
  filter->SetValue("EYear", "70000");
  EXPECT_THROW(cost::PeriodRange::Read(*filter), plat::Error);
  filter->SetValue("EYear", "明年");
  EXPECT_THROW(cost::PeriodRange::Read(*filter), plat::Error);
}

TEST(PeriodRange, Texts) {
  auto filter = lumo::newDictionary();
  filter->SetValue("BYear", "2024");
  filter->SetValue("BPeriod", "1");
  filter->SetValue("EYear", "2024");
  filter->SetValue("EPeriod", "12");
  auto captions = cost::RangeTitleCaptions(*filter);
  EXPECT_EQ(captions[0], "起始期间：2024年 第1期");
  EXPECT_EQ(captions[1], "截止期间：2024年 第12期");
  EXPECT_EQ(captions[2], "产品代码范围：所有产品");
  filter->SetValue("EItemNumber", "03");
  EXPECT_EQ(cost::RangeTitleCaptions(*filter)[2], "产品代码范围：  --  03");
  EXPECT_EQ(cost::ReadingMessage(2024, 3), "正在从服务器读取2024年第3期数据...");
  EXPECT_EQ(cost::SummingMessage(2024, 12), "正在汇总2024年第12期数据...");
}

}  // namespace
