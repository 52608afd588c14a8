// The progress line of a report read period by period: one bar over the whole range with the
// period counted, checked on the line format and on a real run of the cost report.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/catalog.h"
#include "app/filter_values.h"
#include "app/session.h"
#include "app/tui/batch_front_end.h"
#include "app/tui/progress_line.h"
#include "frame/host/settings.h"
#include "frame/report/report.h"
#include "platform/com/registry.h"
#include "support/demo_company.h"

namespace app {
namespace {

TEST(PeriodProgress, AMessagesPeriodIsPlacedInTheRangeAcrossYears) {
  const PeriodSpan span{2024, 11, 2025, 2, 12};
  EXPECT_EQ(span.count(), 4);
  auto step = periodStepOf("正在从服务器读取2024年第11期数据...", span);
  ASSERT_TRUE(step);
  EXPECT_EQ(step->index, 1);
  step = periodStepOf("正在汇总2025年第2期数据...", span);
  ASSERT_TRUE(step);
  EXPECT_EQ(step->index, 4);
  EXPECT_FALSE(periodStepOf("正在从服务器读取2025年第3期数据...", span));  // after the range
  EXPECT_FALSE(periodStepOf("正在连接服务器", span));
  EXPECT_FALSE(periodStepOf("2024年第期", span));

  // Half of the third period read: 2.5 of 4 periods.
  EXPECT_EQ(ProgressLine::renderOverall("正在汇总2025年第1期数据...", 0.5, true, span, 200),
            "正在汇总2025年第1期数据... 期间 3/4 [###############.........] 63%");
  // A hidden bar (the read itself) counts the period as just begun.
  EXPECT_EQ(ProgressLine::renderOverall("正在从服务器读取2024年第12期数据...", 0.9, false, span, 200),
            "正在从服务器读取2024年第12期数据... 期间 2/4 [######..................] 25%");
  // Other messages keep their own bar.
  EXPECT_EQ(ProgressLine::renderOverall("正在连接服务器", 0.5, false, span, 200), "正在连接服务器");

  auto filter = lumo::newDictionary();
  filter->SetValue("BYear", "2024");
  filter->SetValue("BPeriod", int16_t{11});
  filter->SetValue("EYear", "2025");
  filter->SetValue("EPeriod", "2");
  const auto fromFilter = periodSpanOf(*filter, 12);
  ASSERT_TRUE(fromFilter);
  EXPECT_EQ(fromFilter->count(), 4);
  filter->SetValue("EYear", "");
  EXPECT_FALSE(periodSpanOf(*filter, 12));
}

TEST(PeriodProgress, ACostReportRunShowsEveryPeriodOfItsRangeOnOneBar) {
  const std::string props = support::loginDemo();
  registerClasses();
  const AccountingPeriod now = currentPeriod(LoginInfo{support::demoDatabase(), support::kAdministrator, "administrator", props});
  AccountingPeriod from = now;
  from.period -= 2;
  if (from.period < 1) {
    from.period += 12;
    --from.year;
  }
  const ReportInfo& info = *findReport("Rpt499");
  const std::vector<TypedValue> values = parseSetPairs(
      info, {"BYear=" + std::to_string(from.year), "BPeriod=" + std::to_string(from.period),
             "EYear=" + std::to_string(now.year), "EPeriod=" + std::to_string(now.period)});

  std::FILE* out = std::tmpfile();
  ASSERT_TRUE(out);
  {
    ProgressLine progress(out, true);
    auto batch = std::make_shared<BatchFrontEnd>(progress);
    forms::FrontEndScope scope(batch);
    auto report = plat::broker().CreateAs<frame::Report>(info.className());
    report->SetFilter(scriptFilter(info, values, [&] { return now; }));
    progress.setPeriods(periodSpanOf(*report->Filter(), frame::GetMaxPeriod()));
    report->GetReportData();
    ASSERT_TRUE(report->Ok()) << report->ErrorText();
  }
  std::rewind(out);
  std::string written;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, out)) > 0;) written.append(buffer, n);
  std::fclose(out);
  for (int i = 1; i <= 3; ++i)
    EXPECT_NE(written.find("期间 " + std::to_string(i) + "/3"), std::string::npos) << written;
  EXPECT_EQ(written.find("期间 4/"), std::string::npos) << written;
  // The bar never runs backwards from one period to the next.
  EXPECT_NE(written.find("期间 1/3 [........................] 0%"), std::string::npos) << written;
  EXPECT_NE(written.find("期间 3/3 [################........] 67%"), std::string::npos) << written;
}

}  // namespace
}  // namespace app
