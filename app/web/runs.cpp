// Running reports for a session.
#include "app/web/runs.h"

#include "app/dialog_input.h"
#include "app/exit_codes.h"
#include "app/filter_check.h"
#include "cost/filter/period_range.h"
#include "frame/host/settings.h"
#include "frame/report/report.h"
#include "platform/com/registry.h"
#include "platform/grfc/report_filter.h"

namespace app::web {
namespace {

std::shared_ptr<frame::Report> create(const ReportInfo& info) {
  if (!plat::broker().Has(info.className()))
    throw Failure{kExitUsage, "report " + std::string(info.shortName) + " is not available in this build"};
  return plat::broker().CreateAs<frame::Report>(info.className());
}

// The periods a cost report's filter walks, for "period k of n".
std::vector<std::pair<int, int>> periodsOf(const frame::Report& report) {
  std::vector<std::pair<int, int>> periods;
  const lumo::DictionaryRef& filter = report.Filter();
  if (!filter || !filter->Lookup("BPeriod") || !filter->Lookup("EPeriod")) return periods;
  try {
    cost::WalkPeriods(cost::PeriodRange::Read(*filter), frame::GetMaxPeriod(),
                      [&](int16_t& year, int16_t& period) { periods.emplace_back(year, period); });
  } catch (const std::exception&) {
    periods.clear();  // the report itself says what is wrong with the range
  }
  return periods;
}

// Runs `report` (its filter set) and shows it: on top of the session's results when `push`,
// else as the only one.
void execute(Session& session, const ReportInfo* info, std::shared_ptr<frame::Report> report, bool push) {
  // Whatever way the filter came, it meets the same rules as on the command line; a drill-down's
  // filter is the report's own.
  if (!push && report->Filter())
    requireValidFilter(*info, *report->Filter(), [&] { return readFiscalCalendar(session.login().props); });
  session.setPeriods(periodsOf(*report));
  report->GetReportData();
  if (!report->Ok()) {
    const std::string error = report->ErrorText();
    throw Failure{kExitReportFailed, error.empty() ? "the report ended without data" : error};
  }
  const LoginInfo& login = session.login();
  auto model = std::make_shared<TableModel>(TableModel::of(*report, numberStyle(login), itemDecimals(login)));
  if (!push) session.results().clear();
  session.results().push_back(Shown{info, std::move(report), std::move(model)});
}

}  // namespace

std::function<void()> runWithValues(Session& session, const ReportInfo& info, std::vector<TypedValue> values) {
  return [&session, &info, values = std::move(values)] {
    auto report = create(info);
    report->SetFilter(scriptFilter(info, values, [&] { return currentPeriod(session.login()); }));
    execute(session, &info, std::move(report), false);
  };
}

std::function<void()> runWithScheme(Session& session, const ReportInfo& info, std::string scheme,
                                    std::vector<TypedValue> values) {
  return [&session, &info, scheme = std::move(scheme), values = std::move(values)] {
    const std::string saved =
        requireValidScheme(info, scheme, [&] { return readFiscalCalendar(session.login().props); });
    auto report = create(info);
    session.setDialogScript([saved](forms::Form&, grfc::ReportFilter& grid) {
      grid.LoadScheme(saved);
      grid.Ok();
    });
    bool autoFilter = false;
    report->ShowFilter(&autoFilter);
    session.setDialogScript(nullptr);
    if (!report->Ok()) {
      const std::string error = report->ErrorText();
      throw Failure{kExitUsage, "filter scheme '" + saved + "' was refused" + (error.empty() ? "" : ": " + error)};
    }
    if (!values.empty()) {
      lumo::DictionaryRef filter = report->Filter();
      applyValues(*filter, values);
      report->SetFilter(filter);
    }
    execute(session, &info, std::move(report), false);
  };
}

std::function<void()> runWithDialog(Session& session, const ReportInfo& info) {
  return [&session, &info] {
    auto report = create(info);
    session.setFilterCheck([&session, &info](const lumo::Dictionary& candidate) {
      return checkDialogFilter(info, candidate, [&session] { return readFiscalCalendar(session.login().props); });
    });
    struct Unset {
      Session& s;
      ~Unset() { s.setFilterCheck(nullptr); }
    } unset{session};
    bool autoFilter = false;
    report->ShowFilter(&autoFilter);
    if (!report->Ok()) {
      if (!report->ErrorText().empty()) throw Failure{kExitReportFailed, report->ErrorText()};
      session.finish(RunStatus::State::Cancelled);
      return;
    }
    execute(session, &info, std::move(report), false);
  };
}

std::function<void()> drillDown(Session& session, long row) {
  return [&session, row] {
    if (session.results().empty()) throw Failure{kExitUsage, "there is no result to drill into"};
    const Shown& top = session.results().back();
    const TableModel& model = *top.model;
    if (row < 1 || row > static_cast<long>(model.rowCount()))
      throw Failure{kExitUsage, "row " + std::to_string(row) + " is out of range: the report has " +
                                    std::to_string(model.rowCount()) + " rows"};
    if (!model.hasDetail(static_cast<size_t>(row - 1)))
      throw Failure{kExitNoDetail, "row " + std::to_string(row) + " is a total or subtotal row and has no detail"};
    auto* drill = dynamic_cast<frame::DrillDown*>(top.report.get());
    if (!drill) throw Failure{kExitUsage, "this report offers no drill-down"};
    auto detail = std::dynamic_pointer_cast<frame::Report>(drill->GetDetailReport(static_cast<int32_t>(row - 1)));
    if (!detail) throw Failure{kExitNoDetail, "row " + std::to_string(row) + " has no detail"};
    if (!detail->Ok()) {
      const std::string error = detail->ErrorText();
      throw Failure{kExitReportFailed, error.empty() ? "the detail report ended without data" : error};
    }
    const LoginInfo& login = session.login();
    auto detailModel = std::make_shared<TableModel>(TableModel::of(*detail, numberStyle(login), itemDecimals(login)));
    const ReportInfo* info = nullptr;
    for (const ReportInfo& r : reports())
      if (r.number == detail->RptID()) info = &r;
    session.results().push_back(Shown{info, std::move(detail), std::move(detailModel)});
  };
}

}  // namespace app::web
