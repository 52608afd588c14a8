// The report filter grid "TAV_GRFC.ReportFilter" that every filter dialog hosts as `grfFilter`.
// It owns OK and Cancel, filter schemes and base-data code lookups, and drives its form through
// ReportFilterEvents, which the hosting form implements.
//
// Acceptance (Ok): CheckFilter; unless refused, SaveFilter into a new dictionary (GetFilter()
// returns it from then on), that filter is remembered as the report's last-used scheme,
// FilterDone(false), and the form is hidden. Cancel: FilterDone(true), and the form is hidden.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/form.h"
#include "platform/forms/hosted_control.h"
#include "platform/grfc/report_filter_events.h"
#include "platform/lumo/dictionary.h"

namespace grfc {

inline constexpr std::string_view kReportFilterClass = "TAV_GRFC.ReportFilter";
// The scheme under which an accepted filter is kept as the report's last-used one.
inline constexpr std::string_view kLastUsedScheme = "上次使用";

class ReportFilter : public forms::HostedObject {
 public:
  // Hosts a new grid on `form` as the control `name`.
  static ReportFilter& addTo(forms::Form& form, std::string name = "grfFilter");
  // The grid hosted on `form` as `name`; raises an error naming the control when there is none.
  static ReportFilter& of(forms::Form& form, std::string_view name = "grfFilter");

  // The events go to the hosting form when it implements ReportFilterEvents; this overrides
  // that (nullptr: nobody listens).
  void SetEvents(ReportFilterEvents* events) { events_ = events; }
  forms::Form* hostForm() const { return form_; }

  // --- members the dialogs use ---
  // When set and Init restored a scheme, the grid accepts by itself as the form activates.
  bool AutoFilter() const { return autoFilter_; }
  void SetAutoFilter(bool autoFilter) { autoFilter_ = autoFilter; }
  // Binds the grid to a report number and restores that report's last-used scheme, if the
  // scheme store has one, through LoadFilter.
  void Init(int32_t rptId);
  int32_t RptID() const { return rptId_; }
  // 0: a readable description of what the form's controls hold now; 3: the ordering text;
  // any other kind: "".
  std::string GetFilterText(int kind) const;
  // The dictionary SaveFilter filled at the last acceptance; nullptr before any (saving a scheme
  // does not replace it). Called from a CheckFilter handler, it first captures the controls as
  // they stand with SaveFilter, so that a check can read the filter about to be accepted.
  lumo::DictionaryRef GetFilter();
  const std::string& OrderBy() const { return orderBy_; }
  void SetOrderBy(std::string orderBy) { orderBy_ = std::move(orderBy); }
  // The scheme restored, loaded or saved last; "" when none.
  const std::string& CurrentScheme() const { return currentScheme_; }

  // --- actions of a front end or a script ---
  // Returns true when the filter was accepted and the form hidden.
  bool Ok();
  void Cancel();
  void Reset();
  // Scheme actions raise a plat::Error when no scheme store is registered.
  std::vector<std::string> Schemes() const;
  void SaveScheme(std::string_view name);
  // Raises plat::Error 3265 naming the scheme when the report has no scheme of that name.
  void LoadScheme(std::string_view name);
  void DeleteScheme(std::string_view name);
  // Looks up a code for `box`: asks the form (GetLookupClass) which base-data class; when a class
  // comes back, lets the user pick one of its codes in a LookupForm and writes it into the box
  // (the box handed back by the form). A bill lookup is the form's handler's own work, so a front
  // end that cannot tell bill boxes from code boxes may pass true: code boxes still get their
  // class. Raises plat::Error when a class comes back and no lookup source is registered.
  void Lookup(forms::Control& box, bool billLookup);

  // --- hosting ---
  void attached(forms::Form& form, forms::HostedControl& site) override;
  void formActivated() override;

 private:
  ReportFilterEvents& events() const;
  lumo::DictionaryRef saveFilter();

  forms::Form* form_ = nullptr;
  ReportFilterEvents* events_ = nullptr;
  bool autoFilter_ = false;
  int32_t rptId_ = 0;
  bool restored_ = false;
  bool autoAccepted_ = false;
  bool checking_ = false;
  bool capturedDuringCheck_ = false;
  lumo::DictionaryRef filter_;
  std::string orderBy_;
  std::string currentScheme_;
};

// Describes what a form's input controls hold, row by row: each row's labels with the values of
// its visible, enabled inputs ("起始日期: 2024-01-01; 产品代码: A 至: B; 单据状态: 全部"). Rows
// without any value are left out; a check box counts with its caption when checked.
std::string describeFilter(const forms::Form& form);

}  // namespace grfc
