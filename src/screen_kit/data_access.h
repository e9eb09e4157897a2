#pragma once
// The client side of the data-access component "QdPoolConnection.QdProcedure",
// reached by ProgID and called by member name only, so the real component or our
// stand-in serve alike. The component offers GetData, Execute and ErrDescription and
// nothing else: what a statement changed is learnt by reading the rows back. Every user
// creates one, uses it and lets it go; recordsets are released when their wrapper goes.
#include <optional>
#include <string>
#include <vector>

#include "base/steps.h"
#include "base/variant.h"
#include "com/com_ptr.h"
#include "com/late_bound.h"

namespace vk {

// An ADO recordset by member name. Reads raise as ADO does (MoveFirst on an empty
// recordset, a field with no current row).
class Recordset {
 public:
  explicit Recordset(com::ComPtr<IDispatch> recordset) : rs_(std::move(recordset)) {}

  long RecordCount() const;
  void MoveFirst() const;
  void MoveNext() const;
  bool IsEOF() const;
  long AbsolutePosition() const;
  void SetAbsolutePosition(long position) const;
  long FieldCount() const;
  Variant Field(const std::wstring& name) const;  // Fields(name).Value
  Variant Field(long index) const;                // Fields(index).Value
  std::wstring FieldName(long index) const;
  long FieldType(long index) const;
  // A field of the current row as a screen stages it: Null (and Empty) read as "" and
  // 0; any other value must convert, or the call raises.
  std::wstring FieldText(const std::wstring& name) const;
  long FieldLong(const std::wstring& name) const;
  IDispatch* get() const { return rs_.get(); }
  com::ComPtr<IDispatch> FieldObject(const Variant& key) const;

 private:
  com::ComPtr<IDispatch> rs_;
};

// Reads the named fields of a recordset row after row with every member looked up
// once: the field objects follow the current row, as ADO's do, so a row costs one
// Value per field and a MoveNext and EOF. Unknown names raise as Fields(name) does.
class RecordsetWalker {
 public:
  RecordsetWalker(const Recordset& recordset, const std::vector<std::wstring>& fieldNames);
  bool AtEnd() const { return eof_.Call().toBool(); }
  void Next() const { moveNext_.Call(); }
  Variant Value(size_t field) const { return values_[field].Call(); }

 private:
  com::BoundMember eof_, moveNext_;
  std::vector<com::BoundMember> values_;
};

class DataAccess {
 public:
  // A new data-access object; nullopt when the component cannot be created.
  static std::optional<DataAccess> Create();
  explicit DataAccess(com::ComPtr<IDispatch> procedure) : qd_(std::move(procedure)) {}

  // GetData(key, sql, Null, True, 0, 1, 0): a recordset, or nothing on failure.
  std::optional<Recordset> GetData(const std::wstring& key, const std::wstring& sql) const;
  // Execute(key, procedure, parameters, 0, 4, 0): true on success.
  bool ExecuteProcedure(const std::wstring& key, const std::wstring& procedure, const Variant& parameters) const;
  // Execute(key, sql, Null, 0, 1, 0): true on success.
  bool ExecuteSql(const std::wstring& key, const std::wstring& sql) const;
  // The text of the last failure.
  std::wstring ErrDescription() const;

  IDispatch* get() const { return qd_.get(); }

 private:
  bool Execute(const std::wstring& key, const std::wstring& command, const Variant& parameters, long kind) const;
  com::ComPtr<IDispatch> qd_;
};

// Runs work that answers true or false with a data-access object of its own, released
// when the work ends; false when the component cannot be created or when anything
// inside fails (a run-time error or any other C++ exception).
template <class Work>
bool WithOwnDataAccess(Work&& work) {
  return FalseOnError([&] {
    auto data = DataAccess::Create();
    return data && work(*data);
  });
}

}  // namespace vk
