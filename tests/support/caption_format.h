// The one checker of the two-row caption format, used by the tests of every report: a caption
// ending in "$" stands alone with an empty second caption; a group caption followed by k "+|"
// is followed by exactly k columns whose "FColCaption" is empty; no caption has both.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/lumo/dictionary.h"
#include "platform/lumo/vector.h"

namespace support {

struct Column {
  std::string caption, second, type, name;
};

inline std::vector<Column> columnsOf(const lumo::Vector& header) {
  std::vector<Column> out;
  for (const auto& item : header) {
    auto d = item.as<lumo::Dictionary>();
    out.push_back({d->Value("FColCaption").text(), d->Value("FHeadSecond").text(), d->Value("FColType").text(),
                   d->Value("FColName").text()});
  }
  return out;
}

// Columns as "caption|second|type|name" rows, for whole-table comparisons.
inline std::vector<std::string> columnRows(const std::vector<Column>& columns) {
  std::vector<std::string> out;
  for (const auto& c : columns) out.push_back(c.caption + "|" + c.second + "|" + c.type + "|" + c.name);
  return out;
}
inline std::vector<std::string> columnRows(const lumo::Vector& header) { return columnRows(columnsOf(header)); }

// Title lines as "index caption"; a line without a caption as "index <none>".
inline std::vector<std::string> titleLines(const lumo::Vector& title) {
  std::vector<std::string> out;
  for (const auto& item : title) {
    auto line = item.as<lumo::Dictionary>();
    out.push_back(std::to_string(line->Value("FIndex").toInt32()) + " " +
                  (line->Lookup("FCaption") ? line->Value("FCaption").text() : "<none>"));
  }
  return out;
}

inline int countGroupMarks(const std::string& caption) {
  int k = 0;
  for (size_t at = caption.find("+|"); at != std::string::npos; at = caption.find("+|", at + 2)) ++k;
  return k;
}

// Adds a failure naming the offending column for every break of the format.
inline void ExpectCaptionFormat(const lumo::Vector& header) {
  const auto columns = columnsOf(header);
  for (size_t i = 0; i < columns.size();) {
    const std::string& c = columns[i].caption;
    const int k = countGroupMarks(c);
    if (k == 0) {
      EXPECT_TRUE(!c.empty() && c.back() == '$') << "column " << i + 1 << " (" << columns[i].name
                                                  << ") neither stands alone nor opens a group: " << c;
      EXPECT_EQ(columns[i].second, "") << "stand-alone column " << i + 1 << " has a second caption";
      ++i;
      continue;
    }
    EXPECT_EQ(c.find('$'), std::string::npos) << "caption with both $ and +|: " << c;
    std::string marks;
    for (int m = 0; m < k; ++m) marks += "+|";
    EXPECT_TRUE(c.size() > marks.size() && c.compare(c.size() - marks.size(), marks.size(), marks) == 0)
        << "group marks must end the caption: " << c;
    ASSERT_LE(i + static_cast<size_t>(k), columns.size() - 1) << "group " << c << " runs past the last column";
    EXPECT_FALSE(columns[i].second.empty()) << "group head " << c << " lacks its second caption";
    for (size_t j = i + 1; j <= i + static_cast<size_t>(k); ++j) {
      EXPECT_EQ(columns[j].caption, "") << "column " << j + 1 << " inside group " << c << " has a caption";
      EXPECT_FALSE(columns[j].second.empty()) << "column " << j + 1 << " inside group " << c << " lacks a second caption";
    }
    i += static_cast<size_t>(k) + 1;
  }
}

}  // namespace support
