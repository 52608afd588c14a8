// What a user moving through a report result sees, independent of how it is drawn: the label
// columns kept in place, the scrolling columns shown, the rows left visible by folded groups,
// the cursor and the search.
//
// Groups: a subtotal or total row ("FSumSort" above 100) closes the group of rows just above it,
// back to the previous row of the same or a coarser kind (a smaller code; 101 is the coarsest).
// Folding such a row hides its group and leaves the row itself in view.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "app/table/table_model.h"

namespace app {

class ResultView {
 public:
  // REQUIRES: `model` outlives the view.
  explicit ResultView(const TableModel& model);

  const TableModel& model() const { return model_; }

  // --- columns ---
  // Leading columns that stay in place: the report's "FrozenColumn" when it gives one, else the
  // leading stand-alone label columns up to the product name (class levels, department, codes).
  size_t labelColumns() const { return labels_; }
  // Cells per column: its caption and cells, widened so that group captions fit.
  const std::vector<size_t>& widths() const { return widths_; }
  // The first scrolling column on screen (a column position >= labelColumns()).
  size_t firstColumn() const { return first_; }
  // The columns shown in `cells` cells, with `separator` cells between two: the label columns,
  // then scrolling columns from firstColumn() while they fit (always at least one).
  std::vector<size_t> shownColumns(size_t cells, size_t separator) const;
  // Scrolls the columns by `delta` positions; never past the point where the last column is the
  // only scrolling one on screen.
  void scrollColumns(long delta);

  // --- rows ---
  size_t visibleCount() const { return visible_.size(); }
  // The model row at visible position `at`. REQUIRES: at < visibleCount().
  size_t rowAt(size_t at) const { return visible_[at]; }
  // The cursor as a visible position (0 when no row is visible) and as a model row.
  size_t cursor() const { return cursor_; }
  size_t cursorRow() const { return visible_.empty() ? 0 : visible_[cursor_]; }
  // Moves the cursor, clamped to the visible rows.
  void moveTo(long at);
  void moveBy(long delta) { moveTo(static_cast<long>(cursor_) + delta); }
  // Puts the cursor on model row `row`, unfolding the groups that hide it.
  void moveToRow(size_t row);
  // The first visible position drawn in a body of `rows` lines, adjusted so the cursor is in it.
  size_t top(size_t rows);

  // --- folding ---
  // True for a subtotal or total row that closes a group of at least one row.
  bool closesGroup(size_t row) const;
  bool folded(size_t row) const;
  // Folds or unfolds the group the cursor row closes; false when it closes none.
  bool toggleFold();
  // The distinct subtotal kinds, coarsest first; their count is the number of levels. Levels are
  // numbered as the report numbers its grading (level 1 = the coarsest subtotals); the grand total
  // is no level of its own.
  size_t levels() const { return codes_.size(); }
  // Folds every group of the `level`-th subtotal kind (1 = coarsest) and unfolds the others, so
  // that only that kind, coarser subtotals and the total stay in view; 0 unfolds everything. The
  // cursor stays on its row, or moves to the row that now stands for it.
  void foldToLevel(size_t level);

  // --- search ---
  // Finds the next row (after the cursor, wrapping) with a cell containing `text` without regard
  // to case, unfolding the groups that hide it, and puts the cursor there. False when none has.
  bool search(const std::string& text, bool forward = true);
  // Repeats the last search; false when there was none or nothing matches.
  bool searchAgain(bool forward);
  const std::string& searchText() const { return search_; }

 private:
  size_t findLabelColumns() const;
  void computeGroups();
  void rebuildVisible(size_t keepRow);
  bool rowMatches(size_t row, const std::string& folded) const;

  const TableModel& model_;
  size_t labels_ = 0;
  std::vector<size_t> widths_;
  size_t first_ = 0;

  std::vector<double> kinds_;        // "FSumSort" per row, 0 for detail rows
  std::vector<size_t> groupStart_;   // first row of the group a row closes; the row itself when none
  std::vector<double> codes_;        // distinct group kinds, coarsest first
  std::vector<bool> folded_;
  std::vector<size_t> visible_;
  size_t cursor_ = 0;
  size_t top_ = 0;
  std::string search_;
};

}  // namespace app
