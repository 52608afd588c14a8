// Reading the two-row caption format of a report header: "日期$" stands alone over both rows,
// "生产数量+|+|" opens a group of three columns, "" continues the open group.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace app {

struct HeaderColumn {
  std::string caption;  // "FColCaption"
  std::string second;   // "FHeadSecond"
  bool visible = true;
};

// Where each column sits in the header.
struct ColumnPlace {
  bool standalone = true;  // fills both rows
  std::string top;         // the stand-alone caption, or the group's caption
  std::string bottom;      // the second-row caption of a group column
  size_t group = 0;        // columns of one group (or one stand-alone column) share this number
};

// One place per column. A caption that follows no format (no "$", no "+|", or an empty caption
// outside a group) stands alone with its text, or with its second caption when it has none.
std::vector<ColumnPlace> placeColumns(const std::vector<HeaderColumn>& columns);

}  // namespace app
