#include "screen_kit/profile_loaders.h"

#include "screen_kit/data_access.h"
#include "screen_kit/message_box.h"
#include "screen_kit/shared_functions.h"
#include "screen_kit/shared_state.h"
#include "screen_kit/sql_text.h"

namespace vk {
namespace {

const wchar_t kSecurityKey[] = L"VkS";

std::wstring ReplaceAll(std::wstring text, const std::wstring& marker, const std::wstring& by) {
  for (size_t at = text.find(marker); at != std::wstring::npos; at = text.find(marker, at + by.size()))
    text.replace(at, marker.size(), by);
  return text;
}

bool ReadParameters(const DataAccess& data, SharedState& state) {
  auto rs = data.GetData(state.gApplicationName, L"Select * From AplicationParameters");
  if (!rs) {
    std::wstring text = L"CObject.Build : Se produjo un Error al Cargar los Parametros - [ " +
                        data.ErrDescription() + L" ]";
    ShowMessage(text, 64, L"Ostrela");
    return false;
  }
  state.gLoadMax = 99;
  rs->MoveFirst();
  for (; !rs->IsEOF(); rs->MoveNext()) {
    const Variant parameter = rs->Field(L"ParameterId");
    if (parameter.isNull()) continue;  // a row without a key names no parameter
    const std::wstring id = parameter.toText();
    if (id == L"HKEY_DOCUMENTOS_LOAD_MAX") {
      state.gLoadMax = rs->Field(L"ParameterValue").toLong();
    } else if (id == L"HKEY_DOCUMENTOS_PATH_ORIGEN") {
      state.gPathOrigen = ReplaceAll(rs->Field(L"ParameterValue").toText(), L"[UserNameNT]", GetUserNameNT());
    } else if (id == L"HKEY_DOCUMENTOS_PATH_DESTINO") {
      state.gPathDestino = rs->Field(L"ParameterValue").toText();
    }
  }
  return true;
}

// Sets the permission flags named by a Verbos text such as "1|3|10".
void ApplyVerbs(const std::wstring& verbs, SharedState& state) {
  if (verbs.empty()) return;
  size_t start = 0;
  for (;;) {
    size_t bar = verbs.find(L'|', start);
    Variant piece(verbs.substr(start, bar == std::wstring::npos ? bar : bar - start));
    double number = piece.toDouble();  // a piece that is not a number raises
    for (int flag = 1; flag <= 10; ++flag)
      if (number == flag) state.gPermissions[flag] = true;
    if (bar == std::wstring::npos) break;
    start = bar + 1;
  }
}

bool ReadUser(const DataAccess& data, SharedState& state) {
  const std::wstring user = SqlQuoted(GetUserNameNT());
  auto users = data.GetData(kSecurityKey, L"Select * From Users Where UserName = " + user);
  if (!users) return false;
  state.gUserLevel = users->Field(L"UserLevel").toLong();
  state.gIsAdmin = state.gUserLevel == 0;
  if (state.gIsAdmin) {
    state.gEmpleadoId = L"ADMIN";
    state.gGerenciaId = L"AD";
    state.gPermissions.fill(true);
    state.gPermissions[0] = false;
    state.gCategorias = L"ALL";
    return true;
  }

  if (auto employee = data.GetData(state.gApplicationName,
                                   L"Select * From Empleados Where UserName = " + SqlQuoted(GetUserNameNT()))) {
    state.gEmpleadoId = employee->Field(L"EmpleadoId").toText();
    state.gGerenciaId = employee->Field(L"GerenciaId").toText();
  }

  // Flags from an earlier Build must not survive into this user's profile.
  state.gPermissions.fill(false);
  if (auto permissions = data.GetData(kSecurityKey, L"Select * From UsersPermissions Where UserName = " +
                                                        SqlQuoted(GetUserNameNT()) + L" And ComponentId = " +
                                                        SqlQuoted(state.gObjectId))) {
    ApplyVerbs(permissions->Field(L"Verbos").toText(), state);
  }

  auto categories = data.GetData(
      kSecurityKey,
      L"Select A.UserName , C.CategoriaN2Id As CategoriaId From UsersCategorias A Inner Join Categorias B On "
      L"A.CategoriaId = B.CategoriaId Inner Join CategoriasDetail C On B.CategoriaId = C.CategoriaN1Id Where "
      L"A.UserName = " + SqlQuoted(GetUserNameNT()));
  if (!categories) {
    state.gCategorias.clear();
    return true;
  }
  categories->MoveFirst();
  std::wstring list;
  for (; !categories->IsEOF(); categories->MoveNext())
    list += L"'" + SqlText(categories->Field(L"CategoriaId").toText()) + L"' , ";
  list.resize(list.size() - 3);
  state.gCategorias = list;
  return true;
}

}  // namespace

bool LoadParameters() {
  return WithOwnDataAccess([](const DataAccess& data) { return ReadParameters(data, Shared()); });
}

bool LoadUser() {
  return WithOwnDataAccess([](const DataAccess& data) { return ReadUser(data, Shared()); });
}

}  // namespace vk
