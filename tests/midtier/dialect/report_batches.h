// The batches the two reports send: their own fragment builders' texts joined as a data service
// joins them, so the dialect is tested on exactly what the reports write.
#pragma once

#include <string>

namespace dialect::testing {

// The #ItemLevel statements for product classes (class id 4, long numbers, plain names),
// still holding the "##ITEMFILTER##" marker.
std::string itemLevelStatements(const std::string& beginNumber, const std::string& endNumber, int beginLevel,
                                int endLevel);

enum class Grouping401 { Plain, Department, ClassLevel };

struct Options401 {
  Grouping401 grouping = Grouping401::Plain;
  int groupByBatchNo = 0;
  int onlyShowSum = 0;
  int beginLevel = 1;
  int endLevel = 5;
  std::string beginItem;  // product number range, either end may be empty
  std::string endItem;
  std::string dataRightWhere;  // e.g. " CharIndex('12',t1.FRightUserID)>0 "
};

// SElECT + [" AND " data right] + GROUPBY + CR LF + EndSel, the level table's marker replaced by
// "AND" + ITEMFILTER. Reads #T401; returns the #DATA rows.
std::string batch401(const Options401& o);

struct Options499 {
  bool classLevel = false;
  int groupByBatchNo = 0;
  int onlyShowSum = 0;
  int scale = 2;
  int beginLevel = 1;
  int endLevel = 3;
  std::string beginItem;
  std::string endItem;
  // The fragments are "joined in this order"; with separator false nothing is put between them.
  bool separator = true;
};

// Select + Filter + AppendFilter + GROUPBY + EndSel, the marker replaced by ITEMFILTER.
std::string batch499(const Options499& o);

}  // namespace dialect::testing
