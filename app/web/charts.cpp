// The charts of the reports and their data.
#include "app/web/charts.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

#include "platform/core/date.h"

namespace app::web {
namespace {

using nlohmann::json;
constexpr size_t kMostBars = 30;

const std::vector<std::pair<std::string_view, ChartSpec>>& specs() {
  static const std::vector<std::pair<std::string_view, ChartSpec>> table = {
      {"Rpt401",
       {"计划、完工与未完工数量",
        {{"按汇总分组", ChartKind::Rows, "", {"FBaseQty", "FFinishBQty", "FUnFinishBQty"}}}}},
      {"Rpt410",
       {"超期任务",
        {{"按部门", ChartKind::CountBy, "FDept", {}}, {"按超期天数", ChartKind::DaysOverdue, "FPlanDate", {}}}}},
      {"Rpt406", {"领料差异", {{"按物料（基本单位）", ChartKind::SumBy, "FItemName", {"FBSDiffQty"}}}}},
      {"Rpt499",
       {"成本结构",
        {{"按期间", ChartKind::SumBy, "FCurPeriod",
          {"FPeriodStartCost", "FCurInCost", "FCurOutCost", "FPeriodEndCost"}}}}},
      {"Rpt498",
       {"成本结构",
        {{"按期间与成本要素", ChartKind::SumBy, "FCurPeriod",
          {"FMarterialFee", "FAuxMarterialFee", "FWorkFee", "FMakingFee", "FDepreciationFee", "FWaterElecFee",
           "FOtherFee"},
          true}}}},
  };
  return table;
}

// The column of `field`; -1 when the result does not show it.
long columnOf(const TableModel& model, std::string_view field) {
  for (size_t c = 0; c < model.columns().size(); ++c)
    if (model.columns()[c].field == field) return static_cast<long>(c);
  return -1;
}

// The row's label: the label column, or the first text column with a text.
std::string labelOf(const TableModel& model, size_t row, long column) {
  if (column >= 0) return model.text(row, static_cast<size_t>(column));
  for (size_t c = 0; c < model.columns().size(); ++c)
    if (!model.columns()[c].numeric())
      if (std::string text = model.text(row, c); !text.empty()) return text;
  return "#" + std::to_string(row + 1);
}

struct Bars {
  std::vector<std::string> labels;
  std::vector<std::vector<double>> values;  // per series
  std::map<std::string, size_t> at;
  void add(const std::string& label, const std::vector<double>& amounts) {
    auto [it, fresh] = at.emplace(label, labels.size());
    if (fresh) {
      labels.push_back(label);
      for (auto& v : values) v.push_back(0);
    }
    for (size_t s = 0; s < values.size(); ++s) values[s][it->second] += amounts[s];
  }
};

// The rows a Rows chart shows: those of the coarsest subtotal level, else the detail rows.
std::vector<size_t> rowsShown(const TableModel& model) {
  double coarsest = 0;
  for (size_t row = 0; row < model.rowCount(); ++row)
    if (model.rowKind(row) == RowKind::Subtotal && (coarsest == 0 || model.kindCode(row) < coarsest))
      coarsest = model.kindCode(row);
  std::vector<size_t> rows;
  for (size_t row = 0; row < model.rowCount(); ++row)
    if (coarsest ? model.kindCode(row) == coarsest : model.rowKind(row) == RowKind::Detail) rows.push_back(row);
  return rows;
}

const char* daysBucket(int days) {
  if (days <= 7) return "1-7天";
  if (days <= 30) return "8-30天";
  if (days <= 90) return "31-90天";
  return "90天以上";
}

json partData(const ChartPart& part, const TableModel& model, std::string_view today) {
  std::vector<long> series;
  json names = json::array();
  for (std::string_view field : part.series) {
    series.push_back(columnOf(model, field));
    names.push_back(series.back() >= 0 ? model.columns()[static_cast<size_t>(series.back())].caption : std::string(field));
  }
  const long label = part.label.empty() ? -1 : columnOf(model, part.label);
  Bars bars;
  bars.values.resize(std::max<size_t>(series.size(), 1));
  const auto amounts = [&](size_t row) {
    std::vector<double> out;
    for (long column : series)
      out.push_back(column >= 0 ? model.cell(row, static_cast<size_t>(column)).number.value_or(0) : 0);
    return out;
  };
  if (part.kind == ChartKind::Rows) {
    for (size_t row : rowsShown(model)) bars.add(labelOf(model, row, label), amounts(row));
  } else {
    const auto day = plat::Date::parse(today);
    if (part.kind == ChartKind::DaysOverdue) {
      for (const char* bucket : {"1-7天", "8-30天", "31-90天", "90天以上"}) bars.add(bucket, {0});
    }
    for (size_t row = 0; row < model.rowCount(); ++row) {
      if (model.rowKind(row) != RowKind::Detail) continue;
      if (part.kind == ChartKind::SumBy) bars.add(labelOf(model, row, label), amounts(row));
      if (part.kind == ChartKind::CountBy) bars.add(labelOf(model, row, label), {1});
      if (part.kind == ChartKind::DaysOverdue && label >= 0 && day) {
        const auto planned = plat::Date::parse(model.text(row, static_cast<size_t>(label)).substr(0, 10));
        if (planned) bars.add(daysBucket(planned->daysUntil(*day)), {1});
      }
    }
    if (part.kind == ChartKind::CountBy) names = json::array({"任务数"});
    if (part.kind == ChartKind::DaysOverdue) names = json::array({"任务数"});
  }
  // The largest bars when there are too many to read.
  std::vector<size_t> order(bars.labels.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  if (order.size() > kMostBars && part.kind != ChartKind::DaysOverdue) {
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
      return std::fabs(bars.values[0][a]) > std::fabs(bars.values[0][b]);
    });
    order.resize(kMostBars);
    std::sort(order.begin(), order.end());
  }
  json labels = json::array(), data = json::array();
  for (size_t i : order) labels.push_back(bars.labels[i]);
  for (size_t s = 0; s < bars.values.size(); ++s) {
    json values = json::array();
    for (size_t i : order) values.push_back(bars.values[s][i]);
    data.push_back({{"name", s < names.size() ? names[s] : json("")}, {"data", std::move(values)}});
  }
  return {{"title", part.title}, {"stacked", part.stacked}, {"labels", std::move(labels)}, {"series", std::move(data)}};
}

}  // namespace

const ChartSpec* chartOf(const ReportInfo& info) {
  for (const auto& [report, spec] : specs())
    if (report == info.shortName) return &spec;
  return nullptr;
}

json chartData(const ChartSpec& spec, const TableModel& model, std::string_view today) {
  json parts = json::array();
  for (const ChartPart& part : spec.parts) parts.push_back(partData(part, model, today));
  return {{"title", spec.title}, {"charts", std::move(parts)}};
}

}  // namespace app::web
