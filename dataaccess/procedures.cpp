#include "dataaccess/procedures.h"

#include <sqlite3.h>

#include <cmath>

#include "com/com_ptr.h"
#include "dataaccess/stored_date.h"

namespace vk::data {

namespace {

struct Definition {
  std::wstring types;
  std::wstring body;
};

Definition Lookup(Database& db, const std::wstring& name) {
  sqlite3_stmt* stmt = db.Prepare(L"SELECT ParameterTypes, Body FROM Procedures WHERE Name = ?1");
  StatementReset reset(stmt);
  sqlite3_bind_text16(stmt, 1, name.c_str(), -1, SQLITE_TRANSIENT);
  int rc = sqlite3_step(stmt);
  if (rc == SQLITE_DONE) throw DataError{L"No existe el procedimiento \"" + name + L"\""};
  if (rc != SQLITE_ROW) db.Fail(L"Procedimiento " + name);
  return Definition{static_cast<const wchar_t*>(sqlite3_column_text16(stmt, 0)),
                    static_cast<const wchar_t*>(sqlite3_column_text16(stmt, 1))};
}

std::wstring Position(size_t index) { return L"el parámetro " + std::to_wstring(index + 1); }

[[noreturn]] void WrongType(const std::wstring& name, size_t index, const wchar_t* expected) {
  throw DataError{L"Procedimiento " + name + L": " + Position(index) + L" debe ser " + expected};
}

// Binds one value as its declared type; a value that cannot be one is refused.
void Bind(sqlite3_stmt* stmt, int slot, const VARIANT& given, wchar_t type, const std::wstring& name,
          size_t index, DateOrder order) {
  VARIANT value;
  VariantInit(&value);
  if (FAILED(VariantCopyInd(&value, const_cast<VARIANT*>(&given)))) WrongType(name, index, L"un valor");
  struct Clear { VARIANT* v; ~Clear() { VariantClear(v); } } clear{&value};
  VARTYPE vt = V_VT(&value);
  if (vt == VT_NULL || vt == VT_EMPTY) {
    sqlite3_bind_null(stmt, slot);
    return;
  }
  if (vt == VT_DISPATCH || vt == VT_UNKNOWN || (vt & VT_ARRAY) || vt == VT_ERROR)
    WrongType(name, index, L"un valor simple");
  switch (type) {
    case L'I': {
      if (FAILED(VariantChangeType(&value, &value, 0, VT_R8)) || V_R8(&value) != std::floor(V_R8(&value)) ||
          std::fabs(V_R8(&value)) > 9.0e15)
        WrongType(name, index, L"un número entero");
      sqlite3_bind_int64(stmt, slot, static_cast<sqlite3_int64>(V_R8(&value)));
      return;
    }
    case L'F':
      if (FAILED(VariantChangeType(&value, &value, 0, VT_R8))) WrongType(name, index, L"un número");
      sqlite3_bind_double(stmt, slot, V_R8(&value));
      return;
    case L'B':
      if (FAILED(VariantChangeType(&value, &value, 0, VT_BOOL))) WrongType(name, index, L"un valor lógico");
      sqlite3_bind_int(stmt, slot, V_BOOL(&value) ? 1 : 0);
      return;
    case L'D': {
      std::wstring stored;
      if (vt == VT_DATE) {
        stored = StoredFromOleDate(V_DATE(&value));
      } else if (vt == VT_BSTR) {
        auto date = StoredDateFromText(V_BSTR(&value) ? V_BSTR(&value) : L"", order);
        if (!date) WrongType(name, index, L"una fecha");
        stored = *date;
      } else {
        WrongType(name, index, L"una fecha");
      }
      sqlite3_bind_text16(stmt, slot, stored.c_str(), -1, SQLITE_TRANSIENT);
      return;
    }
    default:
      if (FAILED(VariantChangeType(&value, &value, VARIANT_ALPHABOOL, VT_BSTR))) WrongType(name, index, L"un texto");
      sqlite3_bind_text16(stmt, slot, V_BSTR(&value), static_cast<int>(SysStringByteLen(V_BSTR(&value))),
                          SQLITE_TRANSIENT);
      return;
  }
}

}  // namespace

void RunProcedure(Database& db, const std::wstring& name, const std::vector<VARIANT>& parameters,
                  DateOrder shortDateOrder) {
  Definition definition = Lookup(db, name);
  if (parameters.size() != definition.types.size())
    throw DataError{L"Procedimiento " + name + L": espera " + std::to_wstring(definition.types.size()) +
                    L" parámetros y recibió " + std::to_wstring(parameters.size())};
  const std::vector<sqlite3_stmt*>& body = db.PrepareBody(name, definition.body);
  Transaction transaction(db);
  for (sqlite3_stmt* stmt : body) {
    sqlite3_clear_bindings(stmt);
    StatementReset reset(stmt);
    int slots = sqlite3_bind_parameter_count(stmt);
    for (int slot = 1; slot <= slots; ++slot) {
      const char* slotName = sqlite3_bind_parameter_name(stmt, slot);
      long number = slotName && slotName[0] == '?' ? strtol(slotName + 1, nullptr, 10) : 0;
      if (number < 1 || static_cast<size_t>(number) > parameters.size())
        throw DataError{L"Procedimiento " + name + L": el cuerpo nombra un parámetro que no existe"};
      Bind(stmt, slot, parameters[number - 1], definition.types[number - 1], name, number - 1, shortDateOrder);
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
      throw DataError{L"Procedimiento " + name + L": " + static_cast<const wchar_t*>(sqlite3_errmsg16(db.handle()))};
  }
  transaction.Commit();
}

}  // namespace vk::data
