// Parsing "$" and "+|" caption marks into header places.
#include "app/table/caption_format.h"

namespace app {
namespace {

constexpr std::string_view kGroupMark = "+|";

// Strips trailing "+|" marks and returns how many there were.
size_t stripGroupMarks(std::string& caption) {
  size_t marks = 0;
  while (caption.size() >= kGroupMark.size() &&
         caption.compare(caption.size() - kGroupMark.size(), kGroupMark.size(), kGroupMark) == 0) {
    caption.resize(caption.size() - kGroupMark.size());
    ++marks;
  }
  return marks;
}

}  // namespace

std::vector<ColumnPlace> placeColumns(const std::vector<HeaderColumn>& columns) {
  std::vector<ColumnPlace> places;
  places.reserve(columns.size());
  size_t group = 0;
  size_t remaining = 0;  // further columns of the open group
  std::string groupCaption;
  for (const HeaderColumn& column : columns) {
    ColumnPlace place;
    std::string caption = column.caption;
    if (caption.empty() && remaining > 0) {
      --remaining;
      place.standalone = false;
      place.top = groupCaption;
      place.bottom = column.second;
      place.group = group;
      places.push_back(std::move(place));
      continue;
    }
    remaining = 0;
    ++group;
    place.group = group;
    const size_t marks = stripGroupMarks(caption);
    if (marks > 0) {
      remaining = marks;
      groupCaption = caption;
      place.standalone = false;
      place.top = caption;
      place.bottom = column.second;
    } else {
      if (!caption.empty() && caption.back() == '$') caption.pop_back();
      place.top = caption.empty() ? column.second : caption;
    }
    places.push_back(std::move(place));
  }
  return places;
}

}  // namespace app
