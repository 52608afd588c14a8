// The report filter grid: acceptance, cancel, reset, schemes and code lookups.
#include "platform/grfc/report_filter.h"

#include <memory>

#include "platform/com/registry.h"
#include "platform/forms/combo_box.h"
#include "platform/forms/controls.h"
#include "platform/grfc/lookup_form.h"
#include "platform/grfc/lookup_source.h"
#include "platform/grfc/scheme_store.h"

namespace grfc {

namespace {

const char* const kSource = "TAV_GRFC.ReportFilter";

ReportFilterEvents& nobodyListens() {
  static ReportFilterEvents none;
  return none;
}

bool haveStore() { return plat::broker().Has(kSchemeStoreClass); }

std::shared_ptr<SchemeStore> store() {
  if (!haveStore())
    throw plat::Error::cannotCreate(kSource, "No filter scheme store is registered ('" +
                                                 std::string(kSchemeStoreClass) +
                                                 "'): filter schemes cannot be listed, saved or loaded");
  return plat::broker().CreateAs<SchemeStore>(kSchemeStoreClass);
}

std::string textOf(const forms::Control& box) {
  if (auto* text = dynamic_cast<const forms::TextBox*>(&box)) return text->Text();
  if (auto* combo = dynamic_cast<const forms::ComboBox*>(&box)) return combo->Text();
  return {};
}

void writeText(forms::Control& box, const std::string& code) {
  if (auto* text = dynamic_cast<forms::TextBox*>(&box)) return text->SetText(code);
  if (auto* combo = dynamic_cast<forms::ComboBox*>(&box)) return combo->SetText(code);
  throw plat::Error::typeMismatch(kSource, "Control '" + box.displayName() + "' is a " +
                                               std::string(forms::kindName(box.kind())) +
                                               " and cannot take a looked-up code");
}

}  // namespace

ReportFilter& ReportFilter::addTo(forms::Form& form, std::string name) {
  auto& site = form.add<forms::HostedControl>(std::move(name));
  auto grid = std::make_shared<ReportFilter>();
  site.attach(grid, std::string(kReportFilterClass));
  return *grid;
}

ReportFilter& ReportFilter::of(forms::Form& form, std::string_view name) {
  return form.get<forms::HostedControl>(name).as<ReportFilter>();
}

void ReportFilter::attached(forms::Form& form, forms::HostedControl&) {
  form_ = &form;
  if (!events_) events_ = dynamic_cast<ReportFilterEvents*>(&form);
}

ReportFilterEvents& ReportFilter::events() const { return events_ ? *events_ : nobodyListens(); }

void ReportFilter::Init(int32_t rptId) {
  rptId_ = rptId;
  restored_ = false;
  autoAccepted_ = false;
  if (!haveStore()) return;  // without a store there is nothing to restore
  auto schemes = store();
  std::string last = schemes->LastUsed(rptId);
  if (last.empty()) return;
  lumo::DictionaryRef saved = schemes->Load(rptId, last);
  if (!saved) return;
  currentScheme_ = last;
  restored_ = true;
  events().LoadFilter(saved);
}

std::string ReportFilter::GetFilterText(int kind) const {
  switch (kind) {
    case 0: return form_ ? describeFilter(*form_) : std::string();
    case 3: return orderBy_;
    default: return {};
  }
}

lumo::DictionaryRef ReportFilter::saveFilter() {
  auto filter = lumo::newDictionary();
  events().SaveFilter(filter);
  return filter ? filter : lumo::newDictionary();
}

lumo::DictionaryRef ReportFilter::GetFilter() {
  if (checking_ && !capturedDuringCheck_) {
    capturedDuringCheck_ = true;
    filter_ = saveFilter();
  }
  return filter_;
}

bool ReportFilter::Ok() {
  bool cancel = false;
  checking_ = true;
  capturedDuringCheck_ = false;
  try {
    events().CheckFilter(cancel);
  } catch (...) {
    checking_ = false;
    throw;
  }
  checking_ = false;
  if (cancel) return false;

  filter_ = saveFilter();
  if (haveStore()) {
    // Stored before FilterDone, which may add to or take from the same dictionary.
    auto schemes = store();
    schemes->Save(rptId_, kLastUsedScheme, *filter_);
    schemes->SetLastUsed(rptId_, kLastUsedScheme);
  }
  bool refused = false;
  events().FilterDone(refused);
  if (refused) return false;
  if (form_) form_->Hide();
  return true;
}

void ReportFilter::Cancel() {
  bool cancel = true;
  events().FilterDone(cancel);
  if (form_) form_->Hide();
}

void ReportFilter::Reset() { events().ResetControls(); }

std::vector<std::string> ReportFilter::Schemes() const { return store()->List(rptId_); }

void ReportFilter::SaveScheme(std::string_view name) {
  if (plat::trim(name).empty()) throw plat::Error::invalidCall(kSource, "A filter scheme needs a name");
  auto schemes = store();
  schemes->Save(rptId_, name, *saveFilter());
  currentScheme_ = std::string(name);
}

void ReportFilter::LoadScheme(std::string_view name) {
  lumo::DictionaryRef saved = store()->Load(rptId_, name);
  if (!saved)
    throw plat::Error::notFound(kSource, "Filter scheme '" + std::string(name) + "' of report " +
                                             std::to_string(rptId_) + " not found");
  currentScheme_ = std::string(name);
  events().LoadFilter(saved);
}

void ReportFilter::DeleteScheme(std::string_view name) {
  store()->Remove(rptId_, name);
  if (lumo::foldCase(currentScheme_) == lumo::foldCase(name)) currentScheme_.clear();
}

void ReportFilter::Lookup(forms::Control& box, bool billLookup) {
  forms::Control* target = &box;
  int32_t classId = 0;
  std::string condition;
  events().GetLookupClass(target, classId, condition, billLookup);
  if (classId == 0 || !target) return;  // no base data behind this box, or a bill lookup done

  if (!plat::broker().Has(kLookupSourceClass))
    throw plat::Error::cannotCreate(kSource, "No base-data lookup source is registered ('" +
                                                 std::string(kLookupSourceClass) + "'): the codes of class " +
                                                 std::to_string(classId) + " cannot be listed");
  std::vector<LookupItem> items = plat::broker().CreateAs<LookupSource>(kLookupSourceClass)->Codes(classId, condition);

  auto picker = std::make_shared<LookupForm>(std::move(items), textOf(*target));
  picker->Show();
  std::optional<std::string> chosen = picker->chosen();
  picker->Unload();
  if (chosen) writeText(*target, *chosen);
}

void ReportFilter::formActivated() {
  if (!autoFilter_ || !restored_ || autoAccepted_ || !form_ || !form_->visible()) return;
  autoAccepted_ = true;  // once: a refused automatic acceptance leaves the dialog to the user
  Ok();
}

}  // namespace grfc
