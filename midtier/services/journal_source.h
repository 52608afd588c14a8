// The document journals of the report data service, read a page at a time: sales orders (bill
// type 32) and production tasks (bill type 36), newest first, as the logged-in user may see them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/ado/recordset.h"

namespace midtier {

inline constexpr int32_t kSalesOrderBills = 32;
inline constexpr int32_t kProductionTaskBills = 36;

// The place of a row in journal order (FDate descending, then FInterID descending).
struct JournalKey {
  std::string date;  // "YYYY-MM-DD"
  int64_t interId = 0;
};

struct JournalRequest {
  int32_t billType = 0;
  // The bill number must contain every one of these texts, taken literally ("%" and "_" are
  // no wildcards), without regard to the case of Latin letters.
  std::vector<std::string> billNoParts;
  // Rows after this one in journal order; the journal's first row when absent.
  std::optional<JournalKey> after;
  int limit = 100;
};

// A journal: the title a user knows it by and its columns, in display order. The record sets
// of its pages hold exactly these fields; the first is "FInterID", shown to nobody.
struct JournalColumn {
  const char* field;
  const char* caption;  // "" for a hidden field
  int width;            // cells
  bool numeric;
  int decimals = -1;    // places shown for a number; -1: as many as it has
};
struct JournalLayout {
  int32_t billType;
  const char* title;  // "销售订单", "生产任务单"
  std::vector<JournalColumn> columns;
};
// The layout of a bill type; nothing for a type without a journal.
const JournalLayout* journalLayout(int32_t billType);

class JournalSource {
 public:
  virtual ~JournalSource() = default;
  // Up to `request.limit` rows of the journal, with the fields of journalLayout(billType).
  // Rows of customers hidden from a user restricted on customers (t_DataRight kind 1) are left
  // out: sales orders of those customers, and production tasks made for such orders. Raises a
  // plat::Error for an unknown bill type or a database failure.
  virtual ado::RecordsetRef GetJournalPage(const std::string& props, const JournalRequest& request) = 0;
};

}  // namespace midtier
