#include "dataaccess/qd_procedure.h"

#include <sqlite3.h>

#include <cwctype>

#include "com/com_ptr.h"
#include "com/module.h"
#include "dataaccess/connection_keys.h"
#include "dataaccess/procedures.h"
#include "dataaccess/recordset.h"

namespace vk::data {

namespace {

enum : DISPID { kGetData = 1, kExecute, kErrDescription };
enum CommandKind : long { kText = 1, kStoredProcedure = 4 };

std::wstring& DefaultFolder() {
  static std::wstring folder;
  return folder;
}

std::wstring TextOf(const VARIANT& value, const wchar_t* what) {
  VARIANT text;
  VariantInit(&text);
  if (V_VT(&value) == VT_DISPATCH && V_DISPATCH(&value)) {
    // A field object: its default member holds the text.
    DISPPARAMS none{};
    VARIANT inner;
    VariantInit(&inner);
    if (FAILED(V_DISPATCH(&value)->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &inner, nullptr,
                                           nullptr)))
      throw DataError{std::wstring(what) + L": el objeto no tiene valor"};
    HRESULT hr = VariantChangeType(&text, &inner, 0, VT_BSTR);
    VariantClear(&inner);
    if (FAILED(hr)) throw DataError{std::wstring(what) + L": se esperaba un texto"};
  } else if (V_VT(&value) == VT_BSTR) {
    VariantCopy(&text, const_cast<VARIANT*>(&value));
  } else {
    throw DataError{std::wstring(what) + L": se esperaba un texto"};
  }
  std::wstring out = V_BSTR(&text) ? V_BSTR(&text) : L"";
  VariantClear(&text);
  return out;
}

long LongOf(const VARIANT& value) {
  VARIANT v;
  VariantInit(&v);
  if (FAILED(VariantChangeType(&v, const_cast<VARIANT*>(&value), 0, VT_I4))) throw DataError{L"Tipo de comando no válido"};
  return V_I4(&v);
}

std::wstring Trimmed(const std::wstring& text) {
  size_t a = 0, b = text.size();
  while (a < b && std::iswspace(text[a])) ++a;
  while (b > a && std::iswspace(text[b - 1])) --b;
  return text.substr(a, b - a);
}

// The parameters of a procedure call: one Variant holding an array of Variants.
std::vector<VARIANT> ParameterList(const VARIANT* given) {
  std::vector<VARIANT> out;
  if (!given || V_VT(given) == VT_NULL || V_VT(given) == VT_EMPTY || V_VT(given) == VT_ERROR) return out;
  if (V_VT(given) != (VT_ARRAY | VT_VARIANT) || !V_ARRAY(given) || SafeArrayGetDim(V_ARRAY(given)) != 1)
    throw DataError{L"Los parámetros deben ser una lista de valores"};
  SAFEARRAY* array = V_ARRAY(given);
  LONG low = 0, high = -1;
  SafeArrayGetLBound(array, 1, &low);
  SafeArrayGetUBound(array, 1, &high);
  for (LONG i = low; i <= high; ++i) {
    VARIANT item;
    VariantInit(&item);
    SafeArrayGetElement(array, &i, &item);
    out.push_back(item);
  }
  return out;
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
        lastError_ = e.message;
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
  auto db = Database::Open(DatabasePathOfKey(name, folder));
  return *connections_.emplace(folded, std::move(db)).first->second;
}

IDispatch* QdProcedure::GetData(const VARIANT& key, const VARIANT& command) {
  lastError_.clear();
  try {
    Database& db = Connect(key);
    std::wstring sql = Trimmed(TextOf(command, L"Sentencia"));
    if (sql.empty()) throw DataError{L"La sentencia está vacía"};
    sqlite3_stmt* stmt = db.Prepare(TranslateSql(sql, dialect_));
    StatementReset reset(stmt);
    // A read never writes: a statement that would is refused before it runs.
    if (!sqlite3_stmt_readonly(stmt) || sqlite3_column_count(stmt) == 0)
      throw DataError{L"La sentencia no es una consulta: " + sql};
    return Recordset::Create(Rowset::Fetch(stmt));
  } catch (const DataError& e) {
    lastError_ = e.message;
  }
  return nullptr;
}

bool QdProcedure::Execute(const VARIANT& key, const VARIANT& command, const VARIANT* parameters, long kind) {
  lastError_.clear();
  Database& db = Connect(key);
  std::wstring text = Trimmed(TextOf(command, L"Comando"));
  if (text.empty()) throw DataError{L"El comando está vacío"};
  if (kind == kStoredProcedure) {
    std::vector<VARIANT> list = ParameterList(parameters);
    struct Clear { std::vector<VARIANT>& v; ~Clear() { for (VARIANT& x : v) VariantClear(&x); } } clear{list};
    RunProcedure(db, text, list, dialect_.shortDateOrder);
    return true;
  }
  if (kind != kText) throw DataError{L"Tipo de comando no admitido: " + std::to_wstring(kind)};
  Transaction transaction(db);
  ExecText(db, TranslateSql(text, dialect_));
  transaction.Commit();
  return true;
}

}  // namespace vk::data
