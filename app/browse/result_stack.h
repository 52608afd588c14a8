// The results a user has open in the grid: the report run from the filter, and above it the
// detail reports opened from its rows, each with its table and where the user stands in it.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/browse/result_view.h"
#include "app/table/table_model.h"

namespace frame {
class Report;
}

namespace app {

class ResultStack {
 public:
  // The table of a report whose "OK" is true (number style and item decimals applied).
  using TableOf = std::function<TableModel(const frame::Report&)>;

  struct Level {
    std::shared_ptr<frame::Report> report;
    std::unique_ptr<TableModel> table;
    std::unique_ptr<ResultView> view;
  };

  // REQUIRES: `report` has run and its "OK" is true.
  ResultStack(std::shared_ptr<frame::Report> report, TableOf tableOf);

  Level& current() { return *levels_.back(); }
  size_t depth() const { return levels_.size(); }

  // Opens the detail report of the cursor row (the report's own drill-down) above the current
  // result. Returns "" when it opened, else why not, in the user's language.
  std::string drill();
  // Closes the detail report on top; the result below keeps its cursor. False at the bottom.
  bool back();
  // Puts `report` (run again with a new filter) in place of everything open.
  void replace(std::shared_ptr<frame::Report> report);

 private:
  void push(std::shared_ptr<frame::Report> report);

  TableOf tableOf_;
  std::vector<std::unique_ptr<Level>> levels_;
};

}  // namespace app
