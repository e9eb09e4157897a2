#pragma once
// The recordset a query hands back: the members of an ADO recordset that callers
// use, over rows already read (so RecordCount is exact). Fields and Field objects
// read the recordset's current row when they are read, as ADO's do.
//   Recordset: RecordCount, MoveFirst, MoveNext, EOF, AbsolutePosition (get, put),
//              Fields; rs("name") and rs(0) reach a field through the default member.
//   Fields:    Count, Item (default) by name (case-insensitive) or by index.
//   Field:     Value (default), Name, Type.
#include <memory>

#include "com/com_object.h"
#include "dataaccess/named_dispatch.h"
#include "dataaccess/rowset.h"

namespace vk::data {

// The rows and the current position, shared by a recordset and its fields.
struct Cursor {
  std::shared_ptr<const Rowset> rows;
  size_t position = 0;  // 0-based; RowCount() means past the end
  bool AtEnd() const { return position >= rows->RowCount(); }
};

class Recordset : public com::ComObject<Recordset, NamedDispatch<Recordset>> {
 public:
  static constexpr const wchar_t* kSource = L"QdPoolConnection.Recordset";
  static std::span<const Member> Members();
  explicit Recordset(std::shared_ptr<const Rowset> rows);
  HRESULT Call(DISPID id, WORD flags, const Arguments& args, VARIANT* result);

 private:
  std::shared_ptr<Cursor> cursor_;
};

class Fields : public com::ComObject<Fields, NamedDispatch<Fields>> {
 public:
  static constexpr const wchar_t* kSource = L"QdPoolConnection.Fields";
  static std::span<const Member> Members();
  explicit Fields(std::shared_ptr<Cursor> cursor) : cursor_(std::move(cursor)) {}
  HRESULT Call(DISPID id, WORD flags, const Arguments& args, VARIANT* result);
  // The Field object for a name or an index; raises when there is none.
  static IDispatch* Item(const std::shared_ptr<Cursor>& cursor, const VARIANT& key);

 private:
  std::shared_ptr<Cursor> cursor_;
};

class Field : public com::ComObject<Field, NamedDispatch<Field>> {
 public:
  static constexpr const wchar_t* kSource = L"QdPoolConnection.Field";
  static std::span<const Member> Members();
  Field(std::shared_ptr<Cursor> cursor, size_t column) : cursor_(std::move(cursor)), column_(column) {}
  HRESULT Call(DISPID id, WORD flags, const Arguments& args, VARIANT* result);

 private:
  std::shared_ptr<Cursor> cursor_;
  size_t column_;
};

}  // namespace vk::data
