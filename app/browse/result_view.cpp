// Cursor, folding, search and column scrolling over a report result.
#include "app/browse/result_view.h"

#include <algorithm>

#include "app/render/grid_text.h"
#include "platform/lumo/dictionary.h"

namespace app {
namespace {

bool endsWith(const std::string& text, std::string_view tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

ResultView::ResultView(const TableModel& model) : model_(model) {
  labels_ = findLabelColumns();
  widths_ = columnWidths(model_);
  first_ = labels_;
  computeGroups();
  folded_.assign(model_.rowCount(), false);
  rebuildVisible(0);
}

size_t ResultView::findLabelColumns() const {
  if (model_.frozenColumns() > 0) return model_.frozenColumns();
  // The leading run of stand-alone text columns; within it the product's (or material's) name,
  // else the first name column, closes the labels.
  const auto& columns = model_.columns();
  size_t run = 0;
  for (const HeaderSpan& span : model_.spans()) {
    if (!span.bothRows || columns[span.first].numeric()) break;
    run = span.first + 1;
  }
  for (size_t c = 0; c < run; ++c)
    if (columns[c].caption == "产品名称" || columns[c].caption == "物料名称") return c + 1;
  for (size_t c = 0; c < run; ++c)
    if (endsWith(columns[c].caption, "名称")) return c + 1;
  return 0;
}

void ResultView::computeGroups() {
  const size_t rows = model_.rowCount();
  kinds_.resize(rows);
  groupStart_.resize(rows);
  for (size_t r = 0; r < rows; ++r) kinds_[r] = model_.rowKind(r) == RowKind::Detail ? 0 : model_.kindCode(r);
  // Open rows as a stack of (group kind, first row): a closing row takes in every row above it
  // back to the previous row of its own or a coarser kind.
  std::vector<size_t> pending;  // rows not yet taken into a group, as group starts
  for (size_t r = 0; r < rows; ++r) {
    groupStart_[r] = r;
    if (kinds_[r] <= 100) {
      pending.push_back(r);
      continue;
    }
    size_t start = r;
    while (!pending.empty()) {
      const size_t top = pending.back();
      if (kinds_[top] > 100 && kinds_[top] <= kinds_[r]) break;
      start = groupStart_[top];
      pending.pop_back();
    }
    groupStart_[r] = start;
    pending.push_back(r);
    if (start < r && model_.rowKind(r) == RowKind::Subtotal &&
        std::find(codes_.begin(), codes_.end(), kinds_[r]) == codes_.end())
      codes_.push_back(kinds_[r]);
  }
  std::sort(codes_.begin(), codes_.end());
}

bool ResultView::closesGroup(size_t row) const { return row < groupStart_.size() && groupStart_[row] < row; }

bool ResultView::folded(size_t row) const { return row < folded_.size() && folded_[row]; }

void ResultView::rebuildVisible(size_t keepRow) {
  const size_t rows = model_.rowCount();
  // A folded row hides [groupStart, row); groups nest, so walking back from the end and skipping
  // to the start of a folded group visits exactly the rows in view.
  std::vector<size_t> shown;
  shown.reserve(rows);
  for (size_t r = rows; r-- > 0;) {
    shown.push_back(r);
    if (folded_[r] && groupStart_[r] < r) r = groupStart_[r];
  }
  std::reverse(shown.begin(), shown.end());
  visible_ = std::move(shown);
  // The cursor stays on its row, or on the first row in view at or after it (its folded group's
  // closing row).
  const auto at = std::lower_bound(visible_.begin(), visible_.end(), keepRow);
  cursor_ = visible_.empty() ? 0 : static_cast<size_t>(std::min<ptrdiff_t>(at - visible_.begin(), visible_.size() - 1));
}

void ResultView::moveTo(long at) {
  if (visible_.empty()) return void(cursor_ = 0);
  cursor_ = static_cast<size_t>(std::clamp<long>(at, 0, static_cast<long>(visible_.size()) - 1));
}

void ResultView::moveToRow(size_t row) {
  if (row >= model_.rowCount()) return;
  bool unfolded = false;
  for (size_t r = row + 1; r < folded_.size(); ++r)
    if (folded_[r] && groupStart_[r] <= row) {
      folded_[r] = false;
      unfolded = true;
    }
  if (unfolded) rebuildVisible(row);
  const auto at = std::lower_bound(visible_.begin(), visible_.end(), row);
  if (at != visible_.end()) cursor_ = static_cast<size_t>(at - visible_.begin());
}

size_t ResultView::top(size_t rows) {
  rows = std::max<size_t>(1, rows);
  if (cursor_ < top_) top_ = cursor_;
  if (cursor_ >= top_ + rows) top_ = cursor_ - rows + 1;
  // No blank lines below the last row while there are rows above.
  if (visible_.size() >= rows) top_ = std::min(top_, visible_.size() - rows);
  else top_ = 0;
  return top_;
}

bool ResultView::toggleFold() {
  if (visible_.empty()) return false;
  const size_t row = cursorRow();
  if (!closesGroup(row)) return false;
  folded_[row] = !folded_[row];
  rebuildVisible(row);
  return true;
}

void ResultView::foldToLevel(size_t level) {
  const size_t keep = cursorRow();
  const double code = level >= 1 && level <= codes_.size() ? codes_[level - 1] : -1;
  for (size_t r = 0; r < folded_.size(); ++r) folded_[r] = closesGroup(r) && kinds_[r] == code;
  rebuildVisible(keep);
}

std::vector<size_t> ResultView::shownColumns(size_t cells, size_t separator) const {
  std::vector<size_t> shown;
  size_t used = 0;
  for (size_t c = 0; c < labels_ && c < widths_.size(); ++c) {
    used += (shown.empty() ? 0 : separator) + widths_[c];
    shown.push_back(c);
  }
  for (size_t c = first_; c < widths_.size(); ++c) {
    const size_t need = (shown.empty() ? 0 : separator) + widths_[c];
    if (c > first_ && used + need > cells) break;
    used += need;
    shown.push_back(c);
  }
  return shown;
}

void ResultView::scrollColumns(long delta) {
  if (widths_.size() <= labels_) return;
  const long last = static_cast<long>(widths_.size()) - 1;
  first_ = static_cast<size_t>(std::clamp(static_cast<long>(first_) + delta, static_cast<long>(labels_), last));
}

bool ResultView::rowMatches(size_t row, const std::string& folded) const {
  for (size_t c = 0; c < model_.columns().size(); ++c)
    if (lumo::foldCase(model_.text(row, c)).find(folded) != std::string::npos) return true;
  return false;
}

bool ResultView::search(const std::string& text, bool forward) {
  search_ = text;
  if (text.empty() || model_.rowCount() == 0) return false;
  const std::string folded = lumo::foldCase(text);
  const size_t rows = model_.rowCount();
  const size_t from = cursorRow();
  for (size_t step = 1; step <= rows; ++step) {
    const size_t row = forward ? (from + step) % rows : (from + rows - step % rows) % rows;
    if (rowMatches(row, folded)) {
      moveToRow(row);
      return true;
    }
  }
  return false;
}

bool ResultView::searchAgain(bool forward) { return !search_.empty() && search(search_, forward); }

}  // namespace app
