// The work a session runs for the page: a report from filter values (checked as `run --set`
// checks them), from a saved scheme, or from its filter dialog; a drill-down into a result row.
// Each is handed to Session::start and runs on the session thread.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/filter_values.h"
#include "app/web/session.h"

namespace app::web {

std::function<void()> runWithValues(Session& session, const ReportInfo& info, std::vector<TypedValue> values);
std::function<void()> runWithScheme(Session& session, const ReportInfo& info, std::string scheme,
                                    std::vector<TypedValue> values);
// Shows the report's filter dialog on the page; an accepted filter runs at once.
std::function<void()> runWithDialog(Session& session, const ReportInfo& info);
// `row` is 1-based, as `run --drill` counts.
std::function<void()> drillDown(Session& session, long row);

}  // namespace app::web
