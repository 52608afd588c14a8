// An ADO-like disconnected record set: typed fields appended before Open, rows added with
// AddNew, a current position moved with MoveFirst/MoveNext. Storage is columnar and compact
// (numbers as 32-bit integers while they are whole, each distinct text of a field kept once),
// so that millions of rows take about as much memory as their text export.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include "platform/ado/column_store.h"
#include "platform/core/object.h"
#include "platform/core/variant.h"

namespace ado {

// ADO's DataTypeEnum values in use.
enum DataType : int {
  adSmallInt = 2,
  adInteger = 3,
  adDouble = 5,
  adDate = 7,
  adBoolean = 11,
  adDecimal = 14,
  adBigInt = 20,
  adNumeric = 131,
  adDBDate = 133,
  adVarChar = 200,
  adVarWChar = 202,
};

enum class Storage { Text, Number, Date };

struct FieldInfo {
  std::string name;
  int type = adVarChar;
  long definedSize = 0;
  int precision = 0;
  int numericScale = -1;  // -1: unspecified, values kept as given
  long attributes = -1;
  Storage storage() const;
};

class Recordset;

// A field of the current row, as ADO's Field object.
class Field {
 public:
  Field(Recordset& rs, size_t index) : rs_(&rs), index_(index) {}
  const std::string& Name() const;
  int Type() const;
  long DefinedSize() const;
  int Precision() const;
  int NumericScale() const;
  plat::Variant Value() const;
  void SetValue(const plat::Variant& v);
  Field& operator=(const plat::Variant& v) {
    SetValue(v);
    return *this;
  }

 private:
  Recordset* rs_;
  size_t index_;
};

class Recordset : public plat::Object {
 public:
  // --- structure (before Open) ---
  void Append(std::string name, int type, long definedSize = 0, long attributes = -1);
  void SetNumericScale(std::string_view name, int precision, int scale);
  void Open();
  bool IsOpen() const { return open_; }
  long FieldCount() const { return static_cast<long>(fields_.size()); }
  const FieldInfo& FieldAt(size_t index) const { return fields_.at(index); }
  // 0-based position of a field by name (case-insensitive); -1 when absent.
  long FieldIndex(std::string_view name) const;

  // --- rows and position ---
  void AddNew();        // appends an all-Null row and makes it current
  void Update() {}      // rows are stored as they are written
  void MoveFirst();
  void MoveNext();      // raises at EOF
  void Move(long n);
  bool Eof() const { return pos_ >= static_cast<long>(rows_); }
  bool Bof() const { return pos_ < 0 || rows_ == 0; }
  long RecordCount() const { return static_cast<long>(rows_); }
  long AbsolutePosition() const { return Eof() ? -3 : static_cast<long>(pos_) + 1; }  // 1-based
  void SetAbsolutePosition(long position);

  // --- values of the current row ---
  Field Fields(std::string_view name);   // raises for an unknown name
  Field Fields(size_t index);
  plat::Variant Value(std::string_view name) const { return ValueAt(CurrentRow(), Index(name)); }
  void SetValue(std::string_view name, const plat::Variant& v) { SetValueAt(CurrentRow(), Index(name), v); }

  // --- direct access by row (0-based) and field index, for readers of whole columns ---
  plat::Variant ValueAt(size_t row, size_t field) const;
  void SetValueAt(size_t row, size_t field, const plat::Variant& v);
  bool IsNullAt(size_t row, size_t field) const;
  // Text storage only; "" for Null. The view stays valid while the record set lives: stored
  // texts never move, and a later SetText of the cell leaves the viewed text in place (the view
  // then shows the cell's former text).
  std::string_view TextAt(size_t row, size_t field) const;
  double NumberAt(size_t row, size_t field) const;          // number or date storage; 0 for Null
  // Raises a plat::Error for a text of about 4 GiB or more, and past 2^32 - 1 different texts in
  // one field; the cell keeps its value then.
  void SetText(size_t row, size_t field, std::string_view s);
  void SetNumber(size_t row, size_t field, double d);
  void SetNull(size_t row, size_t field);
  size_t CurrentRow() const;  // raises when there is no current row

 private:
  using Column = std::variant<detail::NumberColumn, detail::TextColumn>;
  size_t Index(std::string_view name) const;
  void RequireOpen(const char* what) const;
  void CheckCell(size_t row, size_t field) const;  // raises for a row or field out of range

  std::vector<FieldInfo> fields_;
  std::vector<Column> columns_;
  std::unordered_map<std::string, size_t> byName_;
  size_t rows_ = 0;
  long pos_ = 0;
  bool open_ = false;
};

using RecordsetRef = std::shared_ptr<Recordset>;

inline RecordsetRef newRecordset() { return std::make_shared<Recordset>(); }

}  // namespace ado
