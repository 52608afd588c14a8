// Record-set rows as plain keyed records for the host: both cost reports offer
// PackageRecordset and PackageRecord, on any record set handed in.
#pragma once

#include "platform/ado/recordset.h"
#include "platform/lumo/dictionary.h"
#include "platform/lumo/vector.h"

namespace cost {

// The current row as a dictionary: one key per field (the field's name; a later field of the
// same name replaces an earlier one), the value as trimmed text, Null as "". Nothing at EOF.
// The position stays. Raises when `rs` is nothing or closed.
lumo::DictionaryRef PackageRecord(const ado::RecordsetRef& rs);

// Every row from the current one to the end, in order; an empty list (not nothing) at EOF.
// Leaves `rs` at EOF.
lumo::VectorRef PackageRecordset(const ado::RecordsetRef& rs);

// The two members as the cost report classes expose them.
class RecordPackaging {
 public:
  virtual ~RecordPackaging() = default;
  lumo::VectorRef PackageRecordset(ado::RecordsetRef& rs);
  lumo::DictionaryRef PackageRecord(ado::RecordsetRef& rs);
};

}  // namespace cost
