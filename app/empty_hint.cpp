// Widening one range at a time to find what emptied a result.
#include "app/empty_hint.h"

#include <utility>
#include <vector>

#include "app/exit_codes.h"
#include "app/filter_values.h"

namespace app {
namespace {

// What the ranges are called in the dialogs, by their first key.
constexpr std::pair<std::string_view, std::string_view> kRangeNames[] = {
    {"BDate", "日期"},           {"BWorkDate", "开工日期"},        {"BPlanDate", "计划完工日期"},
    {"BFactDate", "实际完工日期"}, {"BFinishDate", "计划完工日期"},   {"BItemNumber", "代码"},
    {"BOrderBillNo", "订单号"},  {"BEmp", "业务员代码"},          {"BEmpNumber", "业务员代码"},
    {"BDept", "部门代码"},       {"BDeptNumber", "部门代码"},       {"BProductBillNo", "生产任务单号"},
    {"BMOBillNo", "生产任务单号"},
};

std::string rangeName(const std::string& begin) {
  for (const auto& [key, name] : kRangeNames)
    if (lumo::foldCase(key) == lumo::foldCase(begin)) return std::string(name);
  return begin;
}

struct Range {
  const FilterKey* begin;
  const FilterKey* end;
  plat::Variant wideBegin, wideEnd;
};

// The B.../E... pairs with fixed defaults that the filter narrows.
std::vector<Range> narrowedRanges(const ReportInfo& report, const lumo::Dictionary& filter) {
  std::vector<Range> ranges;
  for (const FilterKey& b : report.keys) {
    if (b.name.empty() || b.name[0] != 'B' || b.optional || b.from != DefaultFrom::Value) continue;
    const FilterKey* e = report.key("E" + std::string(b.name.substr(1)));
    if (!e || e->optional || e->from != DefaultFrom::Value) continue;
    Range r{&b, e, typedValue(b, b.fallback), typedValue(*e, e->fallback)};
    const std::string have = filter.Value(b.name).text(), haveEnd = filter.Value(e->name).text();
    if (have == r.wideBegin.text() && haveEnd == r.wideEnd.text()) continue;
    ranges.push_back(std::move(r));
  }
  return ranges;
}

}  // namespace

EmptyCause findEmptyCause(const ReportInfo& report, const lumo::Dictionary& filter, const RowCounter& count) {
  const std::vector<Range> ranges = narrowedRanges(report, filter);
  for (const Range& r : ranges) {
    lumo::DictionaryRef wider = filter.clone();
    wider->SetValue(r.begin->name, r.wideBegin);
    wider->SetValue(r.end->name, r.wideEnd);
    if (const size_t rows = count(wider); rows > 0)
      return EmptyCause{EmptyCause::Kind::OneRange, std::string(r.begin->name), std::string(r.end->name),
                        filter.Value(r.begin->name).text(), filter.Value(r.end->name).text(), rows};
  }
  if (ranges.size() > 1) {
    lumo::DictionaryRef wide = filter.clone();
    for (const Range& r : ranges) {
      wide->SetValue(r.begin->name, r.wideBegin);
      wide->SetValue(r.end->name, r.wideEnd);
    }
    if (const size_t rows = count(wide); rows > 0) {
      EmptyCause cause;
      cause.kind = EmptyCause::Kind::RangesTogether;
      cause.rowsWithout = rows;
      return cause;
    }
  }
  return EmptyCause{};
}

std::string describeCause(const EmptyCause& cause) {
  switch (cause.kind) {
    case EmptyCause::Kind::OneRange: {
      const std::string from = cause.from.empty() ? "（空）" : cause.from, to = cause.to.empty() ? "（空）" : cause.to;
      return rangeName(cause.begin) + " " + from + " 至 " + to + " 内没有数据；不限这个范围有 " +
             std::to_string(cause.rowsWithout) + " 行。按 F2 修改过滤条件。";
    }
    case EmptyCause::Kind::RangesTogether:
      return "几个范围合起来排除了全部数据；都不限时有 " + std::to_string(cause.rowsWithout) + " 行。按 F2 修改过滤条件。";
    case EmptyCause::Kind::OtherKeys: break;
  }
  return "日期和代码范围之外的条件（单据状态等）排除了全部数据。按 F2 修改过滤条件。";
}

std::string describeCauseForCli(const EmptyCause& cause) {
  switch (cause.kind) {
    case EmptyCause::Kind::OneRange:
      return "the result is empty: nothing lies in " + cause.begin + ".." + cause.end + " '" + cause.from + "'..'" +
             cause.to + "'; without that range there are " + std::to_string(cause.rowsWithout) + " rows";
    case EmptyCause::Kind::RangesTogether:
      return "the result is empty: the ranges together leave nothing; without them there are " +
             std::to_string(cause.rowsWithout) + " rows";
    case EmptyCause::Kind::OtherKeys: break;
  }
  return "the result is empty even without date and code ranges: the other keys (states) leave nothing";
}

}  // namespace app
