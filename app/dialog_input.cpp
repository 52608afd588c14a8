// Typed numbers of a dialog's filter, checked against the report's keys.
#include "app/dialog_input.h"

#include <optional>
#include <utility>

#include "app/exit_codes.h"
#include "app/filter_check.h"
#include "app/filter_values.h"

namespace app {
namespace {

constexpr std::pair<std::string_view, std::string_view> kLabels[] = {
    {"BYear", "起始年份"},       {"BPeriod", "起始期间"},       {"EYear", "截止年份"},
    {"EPeriod", "截止期间"},     {"BLevel", "起始类别级次"},    {"ELevel", "截止类别级次"},
    {"BDate", "起始日期"},       {"EDate", "截止日期"},         {"BWorkDate", "开工日期起"},
    {"EWorkDate", "开工日期止"}, {"BPlanDate", "计划完工日期起"}, {"EPlanDate", "计划完工日期止"},
    {"BFactDate", "实际完工日期起"}, {"EFactDate", "实际完工日期止"}, {"BFinishDate", "计划完工日期起"},
    {"EFinishDate", "计划完工日期止"}, {"BItemNumber", "起始代码"}, {"EItemNumber", "截止代码"},
};

std::string wholeNumberText(double value) { return plat::numberText(value); }

}  // namespace

std::string fieldLabel(std::string_view key) {
  const std::string folded = lumo::foldCase(key);
  for (const auto& [name, label] : kLabels)
    if (lumo::foldCase(name) == folded) return std::string(label);
  return std::string(key);
}

std::string checkTypedNumbers(const ReportInfo& report, const lumo::Dictionary& candidate) {
  for (const auto& [name, value] : candidate.entries()) {
    const FilterKey* key = report.key(name);
    if (!key || !value.isText() || !isNumeric(key->type)) continue;
    const std::string text = plat::trim(value.text());
    const std::string range = key->max > key->min
                                  ? " " + wholeNumberText(key->min) + " 到 " + wholeNumberText(key->max) + " 之间的"
                                  : std::string();
    const std::string want = "请输入" + range + (isWhole(key->type) ? "整数。" : "数字。");
    if (text.empty()) return fieldLabel(key->name) + "不能为空，" + want;
    try {
      (void)typedValue(*key, text);
    } catch (const Failure&) {
      return fieldLabel(key->name) + "「" + text + "」不对，" + want;
    }
  }
  return {};
}

std::string checkDialogFilter(const ReportInfo& report, const lumo::Dictionary& candidate,
                              const std::function<FiscalCalendar()>& calendar) {
  std::string problem = checkTypedNumbers(report, candidate);
  if (problem.empty())
    if (const std::optional<FilterProblem> found = checkFilter(report, candidate, calendar)) problem = found->local;
  return problem;
}

lumo::DictionaryRef fillBlankNumbers(const ReportInfo& report, const lumo::Dictionary& candidate,
                                     const std::function<AccountingPeriod()>& current) {
  lumo::DictionaryRef filled;
  std::optional<AccountingPeriod> period;
  for (const auto& [name, value] : candidate.entries()) {
    const FilterKey* key = report.key(name);
    if (!key || key->optional || !isNumeric(key->type)) continue;
    if (!(value.isText() || value.isEmpty() || value.isNull()) || !plat::trim(value.text()).empty()) continue;
    std::string text(key->fallback);
    if (key->from != DefaultFrom::Value) {
      if (!period) period = current();
      text = std::to_string(key->from == DefaultFrom::CurrentYear ? period->year : period->period);
    }
    if (text.empty()) continue;
    if (!filled) filled = candidate.clone();
    filled->SetValue(name, text);
  }
  return filled;
}

}  // namespace app
