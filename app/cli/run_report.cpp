// The run subcommand's work.
#include "app/cli/run_report.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <functional>
#include <iostream>
#include <optional>

#include "app/browse/result_stack.h"
#include "app/dialog_input.h"
#include "app/empty_hint.h"
#include "app/exit_codes.h"
#include "app/export/exporters.h"
#include "app/filter_check.h"
#include "app/terminal_env.h"
#include "app/tui/batch_front_end.h"
#include "app/tui/curses_front_end.h"
#include "app/tui/grid_screen.h"
#include "frame/host/settings.h"
#include "frame/report/report.h"
#include "platform/com/registry.h"
#include "platform/grfc/report_filter.h"

namespace app {
namespace {

size_t terminalColumns() {
  winsize size{};
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 0;
}

std::shared_ptr<frame::Report> createReport(const ReportInfo& info) {
  if (!plat::broker().Has(info.className()))
    throw Failure{kExitUsage, "report " + std::string(info.shortName) + " is not available in this build"};
  return plat::broker().CreateAs<frame::Report>(info.className());
}

// The scheme's name as saved; raises when the report's dialog has no scheme of that name.
size_t detailRows(const TableModel& table) {
  size_t rows = 0;
  for (size_t r = 0; r < table.rowCount(); ++r) rows += table.rowKind(r) == RowKind::Detail;
  return rows;
}

const ReportInfo* infoOf(const frame::Report& report) {
  const std::string name = report.Property() ? report.Property()->Value("Name").text() : std::string();
  for (const ReportInfo& r : reports())
    if (r.name == name) return &r;
  return nullptr;
}

// Why `report` (run, without detail rows) came back empty; the report is run again quietly.
std::optional<EmptyCause> emptyCauseOf(const frame::Report& report) {
  const ReportInfo* info = infoOf(report);
  if (!info || !report.Filter() || !plat::broker().Has(info->className())) return std::nullopt;
  ProgressLine silent(stderr, false);
  auto quiet = std::make_shared<BatchFrontEnd>(silent);
  quiet->setEchoMessages(false);
  forms::FrontEndScope scope(quiet);
  const RowCounter count = [&](const lumo::DictionaryRef& filter) -> size_t {
    auto probe = createReport(*info);
    probe->SetFilter(filter);
    probe->GetReportData();
    return probe->Ok() ? detailRows(TableModel::of(*probe)) : 0;
  };
  return findEmptyCause(*info, *report.Filter(), count);
}

void requireOk(const frame::Report& report, const std::string& what) {
  if (report.Ok()) return;
  const std::string error = report.ErrorText();
  throw Failure{reportFailureCode(error), error.empty() ? what + " ended without data" : error};
}

}  // namespace

void runReport(const RunOptions& options, std::ostream& out) {
  const ReportInfo* info = findReport(options.report);
  if (!info) {
    std::string known;
    for (const ReportInfo& r : reports()) known += (known.empty() ? "" : ", ") + std::string(r.shortName);
    throw Failure{kExitUsage, "unknown report '" + options.report + "' (reports: " + known + ", or their numbers)"};
  }
  const std::optional<Format> format = parseFormat(options.format);
  if (!format) throw Failure{kExitUsage, "unknown format '" + options.format + "' (table, csv, xlsx, html or json)"};
  if (*format == Format::Xlsx && options.out.empty()) throw Failure{kExitUsage, "--format xlsx needs --out FILE"};
  const std::vector<TypedValue> values = parseSetPairs(*info, options.sets);
  const bool useDialog = options.source == FilterSource::Dialog ||
                         (options.source == FilterSource::Auto && options.sets.empty() && options.scheme.empty() &&
                          ::isatty(STDIN_FILENO) && ::isatty(STDOUT_FILENO) && tui::CursesFrontEnd::available());
  if (useDialog && !tui::CursesFrontEnd::available())
    throw Failure{kExitUsage, "--dialog needs a terminal"};

  const bool toTerminal = options.out.empty() && ::isatty(STDOUT_FILENO);
  const bool useGrid = toTerminal && *format == Format::Table && !options.plain && ::isatty(STDIN_FILENO) &&
                       tui::CursesFrontEnd::available();

  const LoginInfo login = app::login(options.login);
  std::optional<FiscalCalendar> known;
  const std::function<FiscalCalendar()> calendar = [&] {
    if (!known) known = readFiscalCalendar(login.props);
    return *known;
  };
  ProgressLine progress(stderr, !options.quiet && ::isatty(STDERR_FILENO));
  auto batch = std::make_shared<BatchFrontEnd>(progress);
  std::shared_ptr<frame::Report> report = createReport(*info);
  std::shared_ptr<tui::CursesFrontEnd> terminal;
  if (useDialog || useGrid) {
    terminal = std::make_shared<tui::CursesFrontEnd>(progress);
    // Every rule a filter must meet is checked while the dialog is open, so a bad value keeps
    // the dialog with everything typed instead of ending the program.
    terminal->setFilterCheck(
        [info, &calendar](const lumo::Dictionary& candidate) { return checkDialogFilter(*info, candidate, calendar); });
    terminal->setFilterFill([info, &login](const lumo::Dictionary& opened) {
      return fillBlankNumbers(*info, opened, [&] { return currentPeriod(login); });
    });
  }

  if (useDialog) {
    forms::FrontEndScope scope(terminal);
    bool autoFilter = false;
    report->ShowFilter(&autoFilter);
    if (!report->Ok()) {
      if (!report->ErrorText().empty()) throw Failure{kExitReportFailed, report->ErrorText()};
      throw Failure{kExitCancelled, ""};
    }
  } else if (!options.scheme.empty()) {
    const std::string scheme = requireValidScheme(*info, options.scheme, calendar);
    batch->setDialogScript([scheme](forms::Form&, grfc::ReportFilter& grid) {
      grid.LoadScheme(scheme);
      grid.Ok();
    });
    forms::FrontEndScope scope(batch);
    bool autoFilter = false;
    report->ShowFilter(&autoFilter);
    if (!report->Ok()) {
      const std::string problem = !batch->dialogProblem().empty() ? batch->dialogProblem() : report->ErrorText();
      throw Failure{failureCode(problem, kExitUsage, kExitReportFailed),
                    "filter scheme '" + scheme + "' was refused" + (problem.empty() ? "" : ": " + problem)};
    }
    if (!values.empty()) {
      lumo::DictionaryRef filter = report->Filter();
      applyValues(*filter, values);
      report->SetFilter(filter);
    }
  } else {
    report->SetFilter(scriptFilter(*info, values, [&] { return calendar().current; }));
  }
  requireValidFilter(*info, *report->Filter(), calendar);

  // A report read period by period gets one bar over all its periods.
  const auto planProgress = [&](const frame::Report& r) {
    if (r.Filter()) progress.setPeriods(periodSpanOf(*r.Filter(), frame::GetMaxPeriod()));
  };
  planProgress(*report);
  std::shared_ptr<frame::Report> shown = report;
  {
    forms::FrontEndScope scope(batch);
    report->GetReportData();
    requireOk(*report, std::string(info->shortName));
    if (options.drill) {
      const TableModel model = TableModel::of(*report);
      const long row = *options.drill;
      if (row < 1 || row > static_cast<long>(model.rowCount()))
        throw Failure{kExitUsage, "row " + std::to_string(row) + " is out of range: the report has " +
                                      std::to_string(model.rowCount()) + " rows"};
      if (!model.hasDetail(static_cast<size_t>(row - 1)))
        throw Failure{kExitNoDetail, "row " + std::to_string(row) + " is a total or subtotal row and has no detail"};
      auto* drill = dynamic_cast<frame::DrillDown*>(report.get());
      if (!drill) throw Failure{kExitUsage, std::string(info->shortName) + " offers no drill-down"};
      shown = std::dynamic_pointer_cast<frame::Report>(drill->GetDetailReport(static_cast<int32_t>(row - 1)));
      if (!shown) throw Failure{kExitNoDetail, "row " + std::to_string(row) + " has no detail"};
      requireOk(*shown, "the detail report");
    }
  }

  const auto tableOf = [&](const frame::Report& r) { return TableModel::of(r, numberStyle(login), itemDecimals(login)); };
  if (useGrid) {
    ResultStack stack(shown, tableOf);
    tui::GridActions actions;
    actions.emptyHint = [](const frame::Report& r) {
      const std::optional<EmptyCause> cause = emptyCauseOf(r);
      return cause ? describeCause(*cause) : std::string();
    };
    actions.refilter = [&]() -> std::shared_ptr<frame::Report> {
      // A fresh report object, its dialog opened with the values of the result on screen.
      std::shared_ptr<frame::Report> again = createReport(*info);
      terminal->presetNextFilter(report->Filter());
      bool autoFilter = false;
      again->ShowFilter(&autoFilter);
      if (!again->Ok()) {
        if (!again->ErrorText().empty()) forms::MsgBox(again->ErrorText(), forms::vbExclamation, "Ostrel提示");
        return nullptr;
      }
      if (const std::optional<FilterProblem> problem = checkFilter(*info, *again->Filter(), calendar)) {
        forms::MsgBox("过滤条件有误：" + problem->local, forms::vbExclamation, "Ostrel提示");
        return nullptr;
      }
      planProgress(*again);
      again->GetReportData();
      if (!again->Ok()) {
        forms::MsgBox(again->ErrorText().empty() ? "报表没有数据" : again->ErrorText(), forms::vbExclamation, "Ostrel提示");
        return nullptr;
      }
      report = again;
      return again;
    };
    forms::FrontEndScope scope(terminal);
    tui::runResultGrid(*terminal, stack, actions);
    return;
  }

  GridOptions grid;
  grid.width = options.width > 0 ? options.width : (toTerminal ? terminalColumns() : 0);
  grid.ansi = toTerminal && *format == Format::Table && escapesAllowed();
  const TableModel model = tableOf(*shown);
  exportTable(model, *format, options.out, out, grid);
  if (detailRows(model) == 0 && !options.quiet && ::isatty(STDERR_FILENO)) {
    out.flush();
    if (const std::optional<EmptyCause> cause = emptyCauseOf(*shown))
      std::cerr << "tavshoprpt: " << describeCauseForCli(*cause) << '\n';
  }
}

}  // namespace app
