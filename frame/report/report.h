// The contract every report class honours towards the host: Result, Property, Filter,
// Header, Title and Rs containers (the host receives references, not copies), and the fixed
// lifecycle ShowFilter or Filter -> GetReportData -> Refresh -> progress window -> worker.
// Report classes override narrow hooks; the lifecycle lives here once.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "frame/progress/bar.h"
#include "platform/ado/recordset.h"
#include "platform/core/object.h"
#include "platform/core/variant.h"
#include "platform/lumo/dictionary.h"
#include "platform/lumo/vector.h"

namespace frame {

class FilterDialog;

// What a report class is, as data.
struct ReportIdentity {
  std::string numberText;  // the report number handed to the dialog and the data service
  std::string logId;       // usage log entry written by ShowFilter
  std::string logText;
  std::vector<std::pair<std::string, plat::Variant>> properties;  // the Property dictionary
  bool hidesBillNavigation = false;  // adds "mnuInfo" hiding iViewBillUp / iViewBillDown
};

// How ShowFilter treats the dialog's outcome.
struct FilterPolicy {
  bool handsNumberToDialog = true;   // the dialog's RptID is the report number
  bool reportsMissingResult = true;  // a dialog without result gives "过滤条件有误，请重新过滤！"
  bool adoptsAnyResult = false;      // any result object becomes the filter, accepted or not
  bool catchesErrors = true;         // errors end ShowFilter silently
};

// Which extra key the columns of a report carry besides "FVisible".
enum class ColumnFlag { MergerType, ForceHide, None };

// Reports that offer drill-down into a detail report.
class DrillDown {
 public:
  virtual ~DrillDown() = default;
  // The detail report for the zero-based row of Rs, or nothing.
  virtual plat::ObjectRef GetDetailReport(int32_t lRow) = 0;
};

class Report : public plat::Object {
 public:
  int32_t RptID() const { return rptId_; }
  void SetRptID(int32_t id) { rptId_ = id; }
  const lumo::DictionaryRef& Filter() const { return filter_; }
  // With an object: "OK" true; with nothing: "OK" false and "请选择过滤条件！".
  void SetFilter(lumo::DictionaryRef filter);
  // Replaces the report number text and rebuilds the Property dictionary.
  void SetExtFirter(const std::string& numberText);
  const std::string& NumberText() const { return numberText_; }

  const lumo::DictionaryRef& Property() const { return property_; }
  const lumo::DictionaryRef& Result() const { return result_; }
  const lumo::VectorRef& Header() const { return header_; }
  const lumo::VectorRef& Title() const { return title_; }
  const ado::RecordsetRef& Rs() const { return rs_; }
  bool Ok() const;
  std::string ErrorText() const;

  plat::Variant Refresh();
  plat::Variant ShowFilter(bool* autoFilter = nullptr);
  plat::Variant GetReportData();
  // The main worker, run from the progress window's activation.
  virtual plat::Variant GetRptList() = 0;

 protected:
  Report(ReportIdentity identity, FilterPolicy policy = {});

  virtual std::shared_ptr<FilterDialog> CreateFilterDialog() = 0;
  virtual void BuildTitle(lumo::Vector& title) = 0;
  virtual void OnFilterAccepted() {}  // a filter was set or accepted in the dialog
  virtual void BeforeRefresh() {}     // after the title, before the progress window
  // The progress window's activation: the message, then the worker.
  virtual void OnActive();

  // Worker helpers.
  Bar& ProgressBar() { return *bar_; }
  static void AddColumn(lumo::Vector& header, const std::string& caption, const std::string& second,
                        const std::string& type, const std::string& name, ColumnFlag flag);
  static void AddTitle(lumo::Vector& title, int16_t index, const std::string& caption);
  static void AddTitleWithoutCaption(lumo::Vector& title, int16_t index);
  void SetOk();
  // "OK" false with the error's description, the progress window unloaded.
  void Fail(const std::exception& error);
  void SetResult(bool ok, const std::string& error);
  void SetRs(ado::RecordsetRef rs) { rs_ = std::move(rs); }
  void SetHeader(lumo::VectorRef header) { header_ = std::move(header); }
  void ReplaceFilter(lumo::DictionaryRef filter) { filter_ = std::move(filter); }
  // A filter value as text ("" when absent).
  std::string FilterText(std::string_view key) const;

 private:
  void SetProperties();

  ReportIdentity identity_;
  FilterPolicy policy_;
  int32_t rptId_ = 0;
  std::string numberText_;
  lumo::DictionaryRef result_;
  lumo::DictionaryRef property_;
  lumo::DictionaryRef filter_;
  lumo::VectorRef header_;
  lumo::VectorRef title_;
  ado::RecordsetRef rs_;
  std::unique_ptr<Bar> bar_;
};

// The error's description as the report shows it in "Error".
std::string Describe(const std::exception& error);

}  // namespace frame
