#include "dataaccess/text_command.h"

#include <sqlite3.h>

#include "dataaccess/parameters.h"

namespace vk::data {

namespace {

const wchar_t kContext[] = L"Comando";

struct Finalize {
  sqlite3_stmt* stmt;
  ~Finalize() { sqlite3_finalize(stmt); }
};

}  // namespace

void FailUnboundMarkers(size_t markers, size_t values) {
  throw DataError{L"La sentencia tiene " + std::to_wstring(markers) + L" marcadores ? y recibió " +
                  std::to_wstring(values) + L" valores; no se ejecutó nada"};
}

void RunTextCommand(Database& db, const std::wstring& text, const std::vector<VARIANT>& parameters,
                    const DialectOptions& dialect) {
  CommandOutline outline;
  const std::wstring translated = TranslateSql(text, dialect, &outline);
  if (outline.statements == 0) throw DataError{L"El comando está vacío"};
  if (!outline.transactionControl.empty())
    throw DataError{L"El comando no puede usar " + outline.transactionControl +
                    L": cada comando corre en una sola transacción; no se ejecutó nada"};
  if (outline.markers != parameters.size()) FailUnboundMarkers(outline.markers, parameters.size());
  const std::string sql = Utf8Of(translated, L"El comando");

  Transaction transaction(db);
  size_t next = 0;  // the caller's value the next "?" takes
  const char* rest = sql.c_str();
  while (sqlite3_stmt* stmt = db.PrepareNext(rest)) {
    Finalize finalize{stmt};
    const int slots = sqlite3_bind_parameter_count(stmt);
    for (int slot = 1; slot <= slots; ++slot) {
      // Only "?" binds by position, as in ADO; a named one (":a", "@a", "?3") would stay Null.
      if (const char* name = sqlite3_bind_parameter_name(stmt, slot))
        throw DataError{L"El parámetro " + Wide(name) + L" no se admite: los valores se pasan con ?"};
      if (next >= parameters.size()) FailUnboundMarkers(next + 1, parameters.size());
      BindValue(stmt, slot, parameters[next], kAsGiven, kContext, next, dialect.shortDateOrder);
      ++next;
    }
    StepToEnd(db, stmt);
  }
  if (next != parameters.size()) FailUnboundMarkers(next, parameters.size());
  transaction.Commit();
}

}  // namespace vk::data
