// list and schemes: the reports the program knows and the saved filter schemes of their dialogs.
#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

#include "app/catalog.h"
#include "app/cli/commands.h"
#include "app/exit_codes.h"
#include "app/filter_check.h"
#include "app/filter_values.h"
#include "app/session.h"
#include "app/table/text_width.h"
#include "app/tui/batch_front_end.h"
#include "platform/com/registry.h"
#include "platform/grfc/report_filter.h"
#include "platform/grfc/report_filter_events.h"
#include "platform/grfc/scheme_store.h"
#include "frame/report/report.h"
#include "midtier/services/database_errors.h"

namespace app {
namespace {

const ReportInfo& requireReport(const std::string& name) {
  if (const ReportInfo* info = findReport(name)) return *info;
  throw Failure{kExitUsage, "unknown report '" + name + "' (see: tavshoprpt list)"};
}

// The reports whose dialogs keep their schemes under `dialogNumber`: "Rpt400,Rpt406".
std::string sharingReports(int dialogNumber) {
  std::string names;
  for (const ReportInfo& r : reports())
    if (r.dialogNumber == dialogNumber) names += (names.empty() ? "" : ",") + std::string(r.shortName);
  return names;
}

std::string describeValue(const plat::Variant& v) {
  if (auto d = v.tryAs<lumo::Dictionary>()) {
    std::string text = "{";
    for (const auto& [k, inner] : d->entries()) text += (text.size() > 1 ? ", " : "") + k + "=" + describeValue(inner);
    return text + "}";
  }
  if (v.isText()) return "\"" + v.text() + "\"";
  return v.text();
}

// Saves a scheme the way the dialog saves one: its controls filled from the report's defaults
// with `values` over them, then the grid's own SaveScheme.
void saveScheme(const ReportInfo& info, const LoginInfo& login, const std::string& name,
                const std::vector<TypedValue>& values) {
  if (!plat::broker().Has(info.className()))
    throw Failure{kExitUsage, "report " + std::string(info.shortName) + " is not available in this build"};
  std::optional<FiscalCalendar> known;
  const std::function<FiscalCalendar()> calendar = [&] {
    if (!known) known = readFiscalCalendar(login.props);
    return *known;
  };
  const lumo::DictionaryRef filter = scriptFilter(info, values, [&] { return calendar().current; });
  requireValidFilter(info, *filter, calendar);
  auto report = plat::broker().CreateAs<frame::Report>(info.className());
  ProgressLine quiet(stderr, false);
  auto batch = std::make_shared<BatchFrontEnd>(quiet);
  bool saved = false;
  batch->setDialogScript([&](forms::Form& form, grfc::ReportFilter& grid) {
    auto* events = dynamic_cast<grfc::ReportFilterEvents*>(&form);
    if (!events) throw plat::Error(5, "tavshoprpt", "the filter dialog takes no filter values");
    lumo::DictionaryRef loaded = filter;
    events->LoadFilter(loaded);
    grid.SaveScheme(name);
    saved = true;
    grid.Cancel();
  });
  forms::FrontEndScope scope(batch);
  bool autoFilter = false;
  report->ShowFilter(&autoFilter);
  if (saved) return;
  // The dialog may have failed before the script ran (its load reads the last-used scheme).
  std::string problem = batch->dialogProblem();
  if (problem.empty()) problem = report->ErrorText();
  if (problem.empty() && midtier::lastFailure()) problem = midtier::lastFailure()->description;
  if (problem.empty()) problem = "the filter dialog did not open";
  throw Failure{failureCode(problem, kExitUsage, kExitOutput), "cannot save scheme '" + name + "': " + problem};
}

}  // namespace

void listReports(const LoginOptions& options, std::ostream& out) {
  // The reports are the same on every database; a database given is still checked.
  if (!options.db.empty()) login(options);
  registerClasses();
  out << padTo("class", 20) << padTo("number", 8) << "name\n";
  for (const ReportInfo& r : reports()) {
    out << padTo(r.className(), 20) << padTo(std::to_string(r.number), 8) << r.name;
    if (!plat::broker().Has(r.className())) out << "  (not in this build)";
    out << '\n';
  }
}

void manageSchemes(const SchemeOptions& options, std::ostream& out) {
  const ReportInfo* only = options.report.empty() ? nullptr : &requireReport(options.report);
  const std::vector<TypedValue> values = only ? parseSetPairs(*only, options.sets) : std::vector<TypedValue>{};
  LoginOptions loginOptions = options.login;
  if (options.action == "save" || options.action == "delete") loginOptions.lockedExit = kExitOutput;
  const LoginInfo login = app::login(loginOptions);
  auto store = plat::broker().CreateAs<grfc::SchemeStore>(grfc::kSchemeStoreClass);
  if (options.action == "list") {
    // One line per scheme; reports whose dialogs keep their schemes under one number are named
    // together, because a scheme saved or deleted for one is the other's too.
    std::vector<int> done;
    for (const ReportInfo& r : reports()) {
      if (only && only->dialogNumber != r.dialogNumber) continue;
      if (std::find(done.begin(), done.end(), r.dialogNumber) != done.end()) continue;
      done.push_back(r.dialogNumber);
      const std::string owners = sharingReports(r.dialogNumber);
      for (const std::string& name : store->List(r.dialogNumber)) out << owners << '\t' << name << '\n';
    }
    return;
  }
  if (!only || options.name.empty()) throw Failure{kExitUsage, "schemes " + options.action + " needs REPORT and NAME"};
  if (options.action == "save") return saveScheme(*only, login, options.name, values);
  if (options.action != "show" && options.action != "delete")
    throw Failure{kExitUsage, "unknown schemes action '" + options.action + "' (list, show, save or delete)"};
  // A scheme whose stored text is damaged can still be deleted.
  const std::string name = requireScheme(*only, options.name);
  if (options.action == "show") {
    const lumo::DictionaryRef scheme = loadScheme(*only, name);
    for (const auto& [key, value] : scheme->entries())
      out << key << " = " << describeValue(value) << '\n';
  } else {
    store->Remove(only->dialogNumber, name);
    const std::string owners = sharingReports(only->dialogNumber);
    out << "deleted scheme '" << name << "' of " << owners
        << (owners.find(',') != std::string::npos ? " (their dialogs share one scheme store)" : "") << '\n';
  }
}

}  // namespace app
