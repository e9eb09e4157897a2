#include "dataaccess/qd_procedure.h"

#include <sqlite3.h>

#include <cwctype>
#include <new>

#include "base/exception_error.h"
#include "com/com_ptr.h"
#include "com/module.h"
#include "dataaccess/connection_keys.h"
#include "dataaccess/parameters.h"
#include "dataaccess/procedures.h"
#include "dataaccess/recordset.h"
#include "dataaccess/text_command.h"

namespace vk::data {

namespace {

enum : DISPID { kGetData = 1, kExecute, kErrDescription };
enum CommandKind : long { kText = 1, kStoredProcedure = 4 };

std::wstring& DefaultFolder() {
  static std::wstring folder;
  return folder;
}

// The text of a key or a command: a string, or an object whose default member holds
// one (an ADO field). A NUL inside would cut the text short where SQLite or the
// file system reads it, so it is refused.
std::wstring TextOf(const VARIANT& value, const wchar_t* what) {
  VARIANT text;
  VariantInit(&text);
  if (V_VT(&value) == VT_DISPATCH && V_DISPATCH(&value)) {
    DISPPARAMS none{};
    VARIANT inner;
    VariantInit(&inner);
    if (FAILED(V_DISPATCH(&value)->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &inner, nullptr,
                                           nullptr)))
      throw DataError{std::wstring(what) + L": el objeto no tiene valor"};
    HRESULT hr = VariantChangeType(&text, &inner, 0, VT_BSTR);
    VariantClear(&inner);
    if (FAILED(hr)) throw DataError{std::wstring(what) + L": se esperaba un texto"};
  } else if (V_VT(&value) != VT_BSTR) {
    throw DataError{std::wstring(what) + L": se esperaba un texto"};
  }
  BSTR bstr = V_VT(&text) == VT_BSTR ? V_BSTR(&text) : V_BSTR(&value);
  std::wstring out(bstr ? bstr : L"", bstr ? SysStringLen(bstr) : 0);
  VariantClear(&text);
  if (size_t nul = out.find(L'\0'); nul != std::wstring::npos)
    throw DataError{std::wstring(what) + L": contiene un carácter nulo en la posición " + std::to_wstring(nul + 1)};
  return out;
}

long LongOf(const VARIANT& value) {
  VARIANT v;
  VariantInit(&v);
  if (FAILED(VariantChangeType(&v, const_cast<VARIANT*>(&value), 0, VT_I4))) throw DataError{L"Tipo de comando no válido"};
  return V_I4(&v);
}

bool IsBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

std::wstring Trimmed(std::wstring text) {
  size_t b = text.size();
  while (b > 0 && IsBlank(text[b - 1])) --b;
  text.resize(b);
  size_t a = 0;
  while (a < b && IsBlank(text[a])) ++a;
  text.erase(0, a);
  return text;
}

std::wstring TimeLimitText() {
  unsigned ms = Database::TimeLimit();
  return ms % 1000 == 0 ? std::to_wstring(ms / 1000) + L" s" : std::to_wstring(ms) + L" ms";
}

}  // namespace

DateOrder UserShortDateOrder() {
  wchar_t format[80] = {};
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, format, 80);
  for (const wchar_t* p = format; *p; ++p) {
    if (*p == L'd') return DateOrder::DayMonthYear;
    if (*p == L'M') return DateOrder::MonthDayYear;
    if (*p == L'y') return DateOrder::YearMonthDay;
  }
  return DateOrder::MonthDayYear;
}

void QdProcedure::SetDefaultFolder(std::wstring folder) { DefaultFolder() = std::move(folder); }

std::span<const Member> QdProcedure::Members() {
  static const Member members[] = {
      {L"GetData", kGetData}, {L"Execute", kExecute}, {L"ErrDescription", kErrDescription}};
  return members;
}

QdProcedure::QdProcedure() { dialect_.shortDateOrder = UserShortDateOrder(); }

HRESULT QdProcedure::Call(DISPID id, WORD flags, const Arguments& args, VARIANT* result) {
  if (IsPut(flags)) return DISP_E_MEMBERNOTFOUND;
  switch (id) {
    case kErrDescription:
      V_VT(result) = VT_BSTR;
      V_BSTR(result) = SysAllocString(lastError_.c_str());
      return S_OK;
    case kGetData:
      if (args.size() < 2) return DISP_E_BADPARAMCOUNT;
      V_VT(result) = VT_DISPATCH;
      V_DISPATCH(result) = GetData(args[0], args[1]);
      return S_OK;
    case kExecute: {
      if (args.size() < 2) return DISP_E_BADPARAMCOUNT;
      long kind = kText;
      bool ok = false;
      try {
        if (args.size() >= 5) kind = LongOf(args[4]);
        ok = Execute(args[0], args[1], args.size() >= 3 ? &args[2] : nullptr, kind);
      } catch (const DataError& e) {
        lastError_ = Reason(e);
      } catch (const std::exception& e) {
        lastError_ = Reason(e);
      }
      V_VT(result) = VT_BOOL;
      V_BOOL(result) = ok ? VARIANT_TRUE : VARIANT_FALSE;
      return S_OK;
    }
  }
  return DISP_E_MEMBERNOTFOUND;
}

Database& QdProcedure::Connect(const VARIANT& key) {
  std::wstring name = TextOf(key, L"Clave de conexión");
  std::wstring folded = name;
  for (wchar_t& c : folded) c = std::towlower(c);
  auto found = connections_.find(folded);
  if (found != connections_.end()) return *found->second;
  std::wstring folder = DefaultFolder().empty() ? com::ModuleFolder() : DefaultFolder();
  auto db = ConnectionPool::Connection(DatabasePathOfKey(name, folder));
  return *connections_.emplace(folded, std::move(db)).first->second;
}

DialectOptions QdProcedure::DialectOf(Database& db) const {
  DialectOptions options = dialect_;
  options.isDateColumn = [&db](std::wstring_view name) { return db.IsDateColumn(name); };
  return options;
}

std::wstring QdProcedure::Reason(const DataError& error) const {
  if (current_ && current_->TimedOut())
    return L"Se canceló al pasar el tiempo límite de " + TimeLimitText() + L"; no cambió nada";
  return error.message;
}

std::wstring QdProcedure::Reason(const std::exception& error) {
  if (dynamic_cast<const std::bad_alloc*>(&error))
    return L"No hay memoria suficiente para el resultado; no se leyó ni cambió nada";
  return L"Error interno: " + WideFromWhat(error.what());
}

IDispatch* QdProcedure::GetData(const VARIANT& key, const VARIANT& command) {
  lastError_.clear();
  current_ = nullptr;
  try {
    Database& db = Connect(key);
    current_ = &db;
    db.StartCall();
    std::wstring sql = Trimmed(TextOf(command, L"La sentencia"));
    if (sql.empty()) throw DataError{L"La sentencia está vacía"};
    sqlite3_stmt* stmt = db.Prepare(Utf8Of(TranslateSql(sql, DialectOf(db)), L"La sentencia"));
    StatementReset reset(stmt);
    // A read never writes: a statement that would is refused before it runs.
    if (!sqlite3_stmt_readonly(stmt) || sqlite3_column_count(stmt) == 0)
      throw DataError{L"La sentencia no es una consulta: " + sql};
    // A read takes no values, so a "?" would read as Null.
    if (int markers = sqlite3_bind_parameter_count(stmt)) FailUnboundMarkers(markers, 0);
    return Recordset::Create(Rowset::Fetch(stmt));
  } catch (const DataError& e) {
    lastError_ = Reason(e);
  } catch (const std::exception& e) {
    lastError_ = Reason(e);
  }
  return nullptr;
}

bool QdProcedure::Execute(const VARIANT& key, const VARIANT& command, const VARIANT* parameters, long kind) {
  lastError_.clear();
  current_ = nullptr;
  Database& db = Connect(key);
  current_ = &db;
  db.StartCall();
  std::wstring text = Trimmed(TextOf(command, L"Comando"));
  if (text.empty()) throw DataError{L"El comando está vacío"};
  if (kind != kStoredProcedure && kind != kText)
    throw DataError{L"Tipo de comando no admitido: " + std::to_wstring(kind)};
  std::vector<VARIANT> list = ParameterList(parameters);
  VariantsClear clear{list};
  if (kind == kStoredProcedure) RunProcedure(db, text, list, dialect_.shortDateOrder);
  else RunTextCommand(db, text, list, DialectOf(db));
  return true;
}

}  // namespace vk::data
