// Opening detail reports from a result and coming back.
#include "app/browse/result_stack.h"

#include "frame/report/report.h"

namespace app {

ResultStack::ResultStack(std::shared_ptr<frame::Report> report, TableOf tableOf) : tableOf_(std::move(tableOf)) {
  push(std::move(report));
}

void ResultStack::push(std::shared_ptr<frame::Report> report) {
  auto level = std::make_unique<Level>();
  level->table = std::make_unique<TableModel>(tableOf_(*report));
  level->view = std::make_unique<ResultView>(*level->table);
  level->report = std::move(report);
  levels_.push_back(std::move(level));
}

std::string ResultStack::drill() {
  Level& at = current();
  if (at.view->visibleCount() == 0) return "没有数据行";
  const size_t row = at.view->cursorRow();
  auto* source = dynamic_cast<frame::DrillDown*>(at.report.get());
  if (!source) return at.table->name() + "没有明细报表";
  if (!at.table->hasDetail(row)) return "合计行和小计行没有明细";
  auto detail = std::dynamic_pointer_cast<frame::Report>(source->GetDetailReport(static_cast<int32_t>(row)));
  if (!detail) return "该行没有明细";
  if (!detail->Ok()) return detail->ErrorText().empty() ? "明细报表没有数据" : detail->ErrorText();
  push(std::move(detail));
  return {};
}

bool ResultStack::back() {
  if (levels_.size() <= 1) return false;
  levels_.pop_back();
  return true;
}

void ResultStack::replace(std::shared_ptr<frame::Report> report) {
  levels_.clear();
  push(std::move(report));
}

}  // namespace app
