// Rpt401, the production task execution summary report ("生产任务执行情况汇总表"): planned,
// finished and unfinished task quantities per product (and batch), optionally graded by
// department or by product-class levels, with drill-down into the detail report Rpt400.
// The report writes the aggregation statements itself and hands them to GetRpt401Data.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "frame/report/report.h"
#include "production/rpt401/statements.h"

namespace production {

inline constexpr const char* kRpt401Class = "TavShopRpt.Rpt401";
inline constexpr const char* kRpt400Class = "TavShopRpt.Rpt400";

class Rpt401 : public frame::Report, public frame::DrillDown {
 public:
  Rpt401();

  // The worker, run from the progress window's activation. Any error ends in "OK" false with
  // its description and the window unloaded.
  plat::Variant GetRptList() override;

  // The detail report for the zero-based row of Rs: a ready-filled Rpt400, or nothing for a
  // total or subtotal row, a row past the end, or any failure.
  plat::ObjectRef GetDetailReport(int32_t lRow) override;

  // What the last accepted filter and run prepared (tests, diagnostics).
  const rpt401::StatementParts& Parts() const { return parts_; }
  const std::string& ItemRange() const { return itemRange_; }
  // The fragments of the chosen variant for the current filter and item range.
  lumo::DictionaryRef BuildFragments() const;

 protected:
  std::shared_ptr<frame::FilterDialog> CreateFilterDialog() override;
  void BuildTitle(lumo::Vector& title) override;
  void OnFilterAccepted() override;
  void BeforeRefresh() override;

 private:
  void AddColumns(lumo::Vector& header) const;
  void RunWorker();

  bool longNumber_;  // read once at creation
  rpt401::StatementParts parts_;
  std::string itemRange_;
};

}  // namespace production
