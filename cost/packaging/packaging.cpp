#include "cost/packaging/packaging.h"

#include "platform/core/error.h"
#include "platform/lumo/globals.h"

namespace cost {
namespace {

ado::Recordset& require(const ado::RecordsetRef& rs) {
  if (!rs) throw plat::Error(91, "TavShopRpt", "Object variable or With block variable not set");
  return *rs;
}

}  // namespace

lumo::DictionaryRef PackageRecord(const ado::RecordsetRef& rs) {
  ado::Recordset& records = require(rs);
  if (records.Eof()) return nullptr;
  const size_t row = records.CurrentRow();
  auto record = lumo::newDictionary();
  for (size_t f = 0; f < static_cast<size_t>(records.FieldCount()); ++f) {
    const plat::Variant value = lumo::globals().NullToDefault(records.ValueAt(row, f), "");
    record->SetValue(records.FieldAt(f).name, plat::trim(value.text()));
  }
  return record;
}

lumo::VectorRef PackageRecordset(const ado::RecordsetRef& rs) {
  ado::Recordset& records = require(rs);
  auto rows = lumo::newVector();
  while (!records.Eof()) {
    rows->Add(PackageRecord(rs));
    records.MoveNext();
  }
  return rows;
}

lumo::VectorRef RecordPackaging::PackageRecordset(ado::RecordsetRef& rs) { return cost::PackageRecordset(rs); }

lumo::DictionaryRef RecordPackaging::PackageRecord(ado::RecordsetRef& rs) { return cost::PackageRecord(rs); }

}  // namespace cost
