// Checks a report's filter before the report runs: every value of its key's kind and within its
// bounds, each B…/E… range in order, accounting periods within the company's calendar. One
// check for every way a filter arrives: the command line, a saved scheme, the dialog, the web.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/catalog.h"
#include "app/fiscal_calendar.h"
#include "platform/lumo/dictionary.h"

namespace app {

struct FilterProblem {
  std::string key;      // the key as the report's table spells it
  std::string message;  // "filter key BLevel: 4 lies after ELevel 2"
  std::string local;    // the same as a dialog says it, naming the field by its label
};

// The first problem of the values `filter` holds for `report`'s keys; keys it does not hold and
// keys the report does not know are not looked at. `calendar` is asked only when the report has
// a period range.
std::optional<FilterProblem> checkFilter(const ReportInfo& report, const lumo::Dictionary& filter,
                                         const std::function<FiscalCalendar()>& calendar);

// As checkFilter; raises app::Failure (kExitUsage) with `where` before the problem's message
// ("filter scheme 'g' of Rpt401: filter key BDate: ...") when there is one.
void requireValidFilter(const ReportInfo& report, const lumo::Dictionary& filter,
                        const std::function<FiscalCalendar()>& calendar, const std::string& where = "");

// The login's scheme `name` of `report` as it was saved (names compare without regard to case);
// app::Failure (kExitUsage) listing the report's schemes when there is none of that name.
std::string requireScheme(const ReportInfo& report, const std::string& name);

// The login's saved scheme `name` of `report`, nullptr when there is none. A stored text that
// cannot be read back is the scheme's fault, not the program's: app::Failure (kExitUsage) naming
// the scheme. Database failures pass on as they are.
lumo::DictionaryRef loadScheme(const ReportInfo& report, const std::string& name);

// requireScheme, then the scheme's stored values checked as requireValidFilter checks them: a
// bad stored value is the scheme's fault, not a default for the dialog to fall back on quietly.
// Returns the scheme's name as saved.
std::string requireValidScheme(const ReportInfo& report, const std::string& name,
                               const std::function<FiscalCalendar()>& calendar);

}  // namespace app
