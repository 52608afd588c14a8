#include "platform/ado/recordset.h"

#include <cmath>

#include "platform/lumo/dictionary.h"

namespace ado {
namespace {

constexpr const char* kSource = "ADODB.Recordset";

plat::Error noCurrentRecord() {
  return plat::Error(3021, kSource,
                     "Either BOF or EOF is True, or the current record has been deleted. "
                     "Requested operation requires a current record.");
}

double roundTo(double d, int scale) {
  static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12};
  const double f = scale >= 0 && scale <= 12 ? kPowers[scale] : std::pow(10.0, scale);
  return std::round(d * f) / f;
}

}  // namespace

Storage FieldInfo::storage() const {
  switch (type) {
    case adVarChar:
    case adVarWChar: return Storage::Text;
    case adDate:
    case adDBDate: return Storage::Date;
    default: return Storage::Number;
  }
}

const std::string& Field::Name() const { return rs_->FieldAt(index_).name; }
int Field::Type() const { return rs_->FieldAt(index_).type; }
long Field::DefinedSize() const { return rs_->FieldAt(index_).definedSize; }
int Field::Precision() const { return rs_->FieldAt(index_).precision; }
int Field::NumericScale() const { return rs_->FieldAt(index_).numericScale; }
plat::Variant Field::Value() const { return rs_->ValueAt(rs_->CurrentRow(), index_); }
void Field::SetValue(const plat::Variant& v) { rs_->SetValueAt(rs_->CurrentRow(), index_, v); }

void Recordset::Append(std::string name, int type, long definedSize, long attributes) {
  if (open_) throw plat::Error(3219, kSource, "Operation is not allowed when the object is open: Fields.Append " + name);
  const std::string key = lumo::foldCase(name);
  if (byName_.count(key)) throw plat::Error(3367, kSource, "Object already in collection: field " + name);
  byName_.emplace(key, fields_.size());
  FieldInfo info;
  info.name = std::move(name);
  info.type = type;
  info.definedSize = definedSize;
  info.attributes = attributes;
  if (type == adDecimal || type == adNumeric) info.precision = static_cast<int>(definedSize);
  fields_.push_back(std::move(info));
}

void Recordset::SetNumericScale(std::string_view name, int precision, int scale) {
  FieldInfo& f = fields_[Index(name)];
  f.precision = precision;
  f.numericScale = scale;
}

void Recordset::Open() {
  if (open_) throw plat::Error(3705, kSource, "Operation is not allowed when the object is open.");
  columns_.clear();
  columns_.reserve(fields_.size());
  for (const FieldInfo& f : fields_) {
    if (f.storage() == Storage::Text)
      columns_.emplace_back(std::in_place_type<detail::TextColumn>);
    else
      columns_.emplace_back(std::in_place_type<detail::NumberColumn>);
  }
  rows_ = 0;
  pos_ = 0;
  open_ = true;
}

void Recordset::RequireOpen(const char* what) const {
  if (!open_) throw plat::Error(3704, kSource, std::string("Operation is not allowed when the object is closed: ") + what);
}

long Recordset::FieldIndex(std::string_view name) const {
  auto it = byName_.find(lumo::foldCase(name));
  return it == byName_.end() ? -1 : static_cast<long>(it->second);
}

size_t Recordset::Index(std::string_view name) const {
  long i = FieldIndex(name);
  if (i < 0)
    throw plat::Error(3265, kSource,
                      "Item cannot be found in the collection corresponding to the requested name or ordinal: " +
                          std::string(name));
  return static_cast<size_t>(i);
}

void Recordset::AddNew() {
  RequireOpen("AddNew");
  for (Column& c : columns_) std::visit([](auto& column) { column.addNull(); }, c);
  pos_ = static_cast<long>(rows_++);
}

void Recordset::MoveFirst() {
  RequireOpen("MoveFirst");
  pos_ = 0;
}

void Recordset::MoveNext() {
  RequireOpen("MoveNext");
  if (Eof()) throw noCurrentRecord();
  ++pos_;
}

void Recordset::Move(long n) {
  RequireOpen("Move");
  const long target = pos_ + n;
  if (target < 0 || target > static_cast<long>(rows_)) throw noCurrentRecord();
  pos_ = target;
}

void Recordset::SetAbsolutePosition(long position) {
  RequireOpen("AbsolutePosition");
  if (position < 1 || position > static_cast<long>(rows_)) throw noCurrentRecord();
  pos_ = position - 1;
}

size_t Recordset::CurrentRow() const {
  RequireOpen("field access");
  if (pos_ < 0 || pos_ >= static_cast<long>(rows_)) throw noCurrentRecord();
  return static_cast<size_t>(pos_);
}

Field Recordset::Fields(std::string_view name) { return Field(*this, Index(name)); }

Field Recordset::Fields(size_t index) {
  if (index >= fields_.size())
    throw plat::Error(3265, kSource, "Item cannot be found in the collection: ordinal " + std::to_string(index));
  return Field(*this, index);
}

bool Recordset::IsNullAt(size_t row, size_t field) const {
  CheckCell(row, field);
  return std::visit([row](const auto& column) { return column.isNull(row); }, columns_[field]);
}

std::string_view Recordset::TextAt(size_t row, size_t field) const {
  CheckCell(row, field);
  const auto* text = std::get_if<detail::TextColumn>(&columns_[field]);
  return text ? text->get(row) : std::string_view();
}

double Recordset::NumberAt(size_t row, size_t field) const {
  CheckCell(row, field);
  const auto* number = std::get_if<detail::NumberColumn>(&columns_[field]);
  return number && !number->isNull(row) ? number->get(row) : 0;
}

void Recordset::SetText(size_t row, size_t field, std::string_view s) {
  CheckCell(row, field);
  auto* text = std::get_if<detail::TextColumn>(&columns_[field]);
  if (!text) throw plat::Error(-2147217887, kSource, "Field " + fields_[field].name + " holds no text");
  text->set(row, s);
}

void Recordset::SetNumber(size_t row, size_t field, double d) {
  CheckCell(row, field);
  auto* number = std::get_if<detail::NumberColumn>(&columns_[field]);
  if (!number) throw plat::Error(-2147217887, kSource, "Field " + fields_[field].name + " holds no number");
  const FieldInfo& f = fields_[field];
  if (f.type == adInteger || f.type == adSmallInt || f.type == adBigInt)
    d = std::nearbyint(d);
  else if (f.numericScale >= 0 && (f.type == adDecimal || f.type == adNumeric))
    d = roundTo(d, f.numericScale);
  number->set(row, d);
}

void Recordset::SetNull(size_t row, size_t field) {
  CheckCell(row, field);
  std::visit([row](auto& column) { column.setNull(row); }, columns_[field]);
}

void Recordset::CheckCell(size_t row, size_t field) const {
  if (field >= columns_.size())
    throw plat::Error(3265, kSource, "Item cannot be found in the collection: ordinal " + std::to_string(field));
  if (row >= rows_) throw noCurrentRecord();
}

plat::Variant Recordset::ValueAt(size_t row, size_t field) const {
  if (IsNullAt(row, field)) return plat::Variant::null();
  const FieldInfo& f = fields_[field];
  switch (f.storage()) {
    case Storage::Text: return plat::Variant(TextAt(row, field));
    case Storage::Date:
      return plat::Variant(plat::Date(std::chrono::sys_days(std::chrono::days(static_cast<int>(NumberAt(row, field))))));
    case Storage::Number: break;
  }
  const double d = NumberAt(row, field);
  switch (f.type) {
    case adBoolean: return plat::Variant(d != 0);
    case adSmallInt: return plat::Variant(static_cast<int16_t>(d));
    case adInteger: return plat::Variant(static_cast<int32_t>(d));
    default: return plat::Variant(d);
  }
}

void Recordset::SetValueAt(size_t row, size_t field, const plat::Variant& v) {
  if (row >= rows_) throw noCurrentRecord();
  const FieldInfo& f = fields_.at(field);
  if (v.isNull() || v.isEmpty()) return SetNull(row, field);
  switch (f.storage()) {
    case Storage::Text: return SetText(row, field, v.text());
    case Storage::Date:
      return SetNumber(row, field, static_cast<double>(v.toDate().days().time_since_epoch().count()));
    case Storage::Number:
      // An empty text stored into a number field counts as Null, as the copy steps that
      // join values with "" expect.
      if (v.isText() && plat::trim(v.text()).empty()) return SetNull(row, field);
      return SetNumber(row, field, v.toDouble());
  }
}

}  // namespace ado
