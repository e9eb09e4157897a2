#include "screen_kit/data_access.h"

#include "com/late_bound.h"
#include "screen_kit/host_seams.h"

namespace vk {

using com::Call;

long Recordset::RecordCount() const { return Call(rs_.get(), L"RecordCount").toLong(); }
void Recordset::MoveFirst() const { Call(rs_.get(), L"MoveFirst"); }
void Recordset::MoveNext() const { Call(rs_.get(), L"MoveNext"); }
bool Recordset::IsEOF() const { return Call(rs_.get(), L"EOF").toBool(); }
long Recordset::AbsolutePosition() const { return Call(rs_.get(), L"AbsolutePosition").toLong(); }
void Recordset::SetAbsolutePosition(long position) const { com::Put(rs_.get(), L"AbsolutePosition", position); }

long Recordset::FieldCount() const {
  Variant fields = Call(rs_.get(), L"Fields");
  return Call(fields.object(), L"Count").toLong();
}

com::ComPtr<IDispatch> Recordset::FieldObject(const Variant& key) const {
  Variant fields = Call(rs_.get(), L"Fields");
  Variant field = Call(fields.object(), L"Item", {key});
  if (!field.object()) Raise(err::ObjectRequired);
  return com::ComPtr<IDispatch>(field.object());
}

Variant Recordset::Field(const std::wstring& name) const { return Call(FieldObject(name).get(), L"Value"); }
Variant Recordset::Field(long index) const { return Call(FieldObject(index).get(), L"Value"); }
std::wstring Recordset::FieldName(long index) const { return Call(FieldObject(index).get(), L"Name").toText(); }
long Recordset::FieldType(long index) const { return Call(FieldObject(index).get(), L"Type").toLong(); }

std::wstring Recordset::FieldText(const std::wstring& name) const {
  const Variant value = Field(name);
  return value.isNull() || value.isEmpty() ? std::wstring() : value.toText();
}

long Recordset::FieldLong(const std::wstring& name) const {
  const Variant value = Field(name);
  return value.isNull() ? 0 : value.toLong();
}

RecordsetWalker::RecordsetWalker(const Recordset& recordset, const std::vector<std::wstring>& fieldNames)
    : eof_(recordset.get(), L"EOF"), moveNext_(recordset.get(), L"MoveNext") {
  values_.reserve(fieldNames.size());
  for (const std::wstring& name : fieldNames) values_.emplace_back(recordset.FieldObject(name).get(), L"Value");
}

std::optional<DataAccess> DataAccess::Create() {
  com::ComPtr<IDispatch> object = Seam<HostSeams>::Current().createDataAccess();
  if (!object) return std::nullopt;
  return DataAccess(std::move(object));
}

std::optional<Recordset> DataAccess::GetData(const std::wstring& key, const std::wstring& sql) const {
  Variant result = Call(qd_.get(), L"GetData", {key, sql, Variant::Null(), true, 0, 1, 0});
  if (!result.object()) return std::nullopt;
  return Recordset(com::ComPtr<IDispatch>(result.object()));
}

bool DataAccess::Execute(const std::wstring& key, const std::wstring& command, const Variant& parameters,
                         long kind) const {
  return Call(qd_.get(), L"Execute", {key, command, parameters, 0, kind, 0}).toBool();
}

bool DataAccess::ExecuteProcedure(const std::wstring& key, const std::wstring& procedure,
                                  const Variant& parameters) const {
  return Execute(key, procedure, parameters, 4);
}

bool DataAccess::ExecuteSql(const std::wstring& key, const std::wstring& sql) const {
  return Execute(key, sql, Variant::Null(), 1);
}

std::wstring DataAccess::ErrDescription() const { return Call(qd_.get(), L"ErrDescription").toText(); }

}  // namespace vk
