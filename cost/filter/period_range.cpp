#include "cost/filter/period_range.h"

#include "cost/filter/filter_values.h"
#include "frame/host/context.h"

namespace cost {

using frame::Msg;

PeriodRange PeriodRange::Read(const lumo::Dictionary& filter) {
  PeriodRange range;
  range.beginYear = filter.Value("BYear").toInt16();
  range.endYear = filter.Value("EYear").toInt16();
  range.beginPeriod = filter.Value("BPeriod").toInt16();
  range.endPeriod = filter.Value("EPeriod").toInt16();
  return range;
}

std::array<std::string, 3> RangeTitleCaptions(const lumo::Dictionary& filter) {
  auto periodText = [&](const char* label, const char* year, const char* period) {
    return Msg(label) + FilterText(filter, year) + Msg("年 第") + FilterText(filter, period) + Msg("期");
  };
  const std::string first = FilterText(filter, "BItemNumber");
  const std::string last = FilterText(filter, "EItemNumber");
  std::string items = Msg("产品代码范围：");
  items += first.empty() && last.empty() ? Msg("所有产品") : first + "  --  " + last;
  return {periodText("起始期间：", "BYear", "BPeriod"), periodText("截止期间：", "EYear", "EPeriod"), items};
}

std::string ReadingMessage(int year, int period) {
  return Msg("正在从服务器读取") + std::to_string(year) + Msg("年第") + std::to_string(period) + Msg("期数据...");
}

std::string SummingMessage(int year, int period) {
  return Msg("正在汇总") + std::to_string(year) + Msg("年第") + std::to_string(period) + Msg("期数据...");
}

std::string PeriodLabel(int year, int period) { return std::to_string(year) + "." + std::to_string(period); }

}  // namespace cost
