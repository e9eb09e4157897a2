#include "dataaccess/procedures.h"

#include <sqlite3.h>

#include "dataaccess/parameters.h"

namespace vk::data {

namespace {

struct Definition {
  std::wstring types;
  std::string body;
};

Definition Lookup(Database& db, const std::wstring& name) {
  sqlite3_stmt* stmt = db.Prepare("SELECT ParameterTypes, Body FROM Procedures WHERE Name = ?1");
  StatementReset reset(stmt);
  std::string key = Utf8Of(name, L"El nombre del procedimiento");
  sqlite3_bind_text(stmt, 1, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
  int rc = sqlite3_step(stmt);
  if (rc == SQLITE_DONE) throw DataError{L"No existe el procedimiento \"" + name + L"\""};
  if (rc != SQLITE_ROW) db.Fail(L"Procedimiento " + name);
  return Definition{static_cast<const wchar_t*>(sqlite3_column_text16(stmt, 0)),
                    reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1))};
}

}  // namespace

void RunProcedure(Database& db, const std::wstring& name, const std::vector<VARIANT>& parameters,
                  DateOrder shortDateOrder) {
  Definition definition = Lookup(db, name);
  const std::wstring context = L"Procedimiento " + name;
  if (parameters.size() != definition.types.size())
    throw DataError{context + L": espera " + std::to_wstring(definition.types.size()) + L" parámetros y recibió " +
                    std::to_wstring(parameters.size())};
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
        throw DataError{context + L": el cuerpo nombra un parámetro que no existe"};
      BindValue(stmt, slot, parameters[number - 1], definition.types[number - 1], context, number - 1,
                shortDateOrder);
    }
    StepToEnd(db, stmt, context);
  }
  transaction.Commit();
}

}  // namespace vk::data
