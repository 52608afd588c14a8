// Rpt499, the product cost comprehensive report ("产品成本综合表"): for every accounting period
// of a range, work in progress at the start, input, output with its unit cost and work in
// progress at the end, per product and batch (or per product), optionally rolled up over the
// levels of the product classes, with drill-down into the cost detail report Rpt498.
#pragma once

#include <memory>

#include "cost/packaging/packaging.h"
#include "cost/rpt499/statement_fragments.h"
#include "frame/report/report.h"

namespace cost {

inline constexpr const char* kRpt499Class = "TavShopRpt.Rpt499";

class Rpt499 : public frame::Report, public frame::DrillDown, public RecordPackaging {
 public:
  Rpt499();

  // The worker, run from the progress window's activation: the new record set, or nothing
  // after a failure ("OK" false, its description, the window unloaded) or when the ledger
  // has no periods (Result untouched).
  plat::Variant GetRptList() override;

  // A ready Rpt498 over the report's period range for the product (and batch) of the
  // zero-based row of Rs; nothing for a total or subtotal row. Any failure is shown in a
  // message box and gives nothing.
  plat::ObjectRef GetDetailReport(int32_t lRow) override;

  // The statement parts prepared at the last acceptance of a filter.
  const StatementParts& Parts() const { return parts_; }

 protected:
  std::shared_ptr<frame::FilterDialog> CreateFilterDialog() override;
  void BuildTitle(lumo::Vector& title) override;
  void OnFilterAccepted() override;
  void OnActive() override;

 private:
  ado::RecordsetRef RunWorker();
  // The fragment dictionary of a run: plain, class-level, or nothing when "GroupBy" is 1
  // with a "SumMode" other than 1.
  lumo::DictionaryRef BuildFragments();

  StatementParts parts_;
};

}  // namespace cost
