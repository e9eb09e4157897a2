#include "host/audit_log.h"

#include "host/data_access.h"
#include "host/host_seams.h"
#include "host/shared_functions.h"
#include "host/shared_state.h"
#include "host/sql_text.h"
#include "runtime/clock.h"

namespace vk {
namespace {

// The component's name from the security database; its id when the query fails.
// A component id with no row raises, as reading a field with no current row does.
std::wstring ComponentName(const DataAccess& data) {
  const std::wstring& id = Shared().gObjectId;
  auto rs = data.GetData(L"VkS", L"Select * From Components Where ComponentId = " + SqlQuoted(id));
  if (!rs) return id;
  return Trim(rs->Field(L"ComponentName").toText());
}

std::wstring Detail(long detailMode, long actionType, const std::wstring& subject) {
  if (detailMode == 0) return L"N/A";
  if (detailMode == 99) {
    if (actionType == 10 || actionType == 11) return L"Grupo = '" + subject + L"'";
    if (actionType == 12 || actionType == 13) return L"Usuario = '" + subject + L"'";
  }
  return subject;
}

}  // namespace

std::wstring ActionText(long actionType) {
  switch (actionType) {
    case 1: return L"ERROR";
    case 2: case 10: case 12: return L"ALTA-CREACION";
    case 11: case 13: return L"MODIFICACION-GRABACION";
    default: return L"N/A - MENSAJE NO DISPONIBLE";
  }
}

bool LogAcciones_Add(long detailMode, long actionType, const std::wstring& subject, const std::wstring& message,
                     const std::wstring& extra) {
  return WithOwnDataAccess([&](const DataAccess& data) {
    const std::wstring& key = Shared().gApplicationName;
    double eventId = 1;
    if (auto rs = data.GetData(key, L"Select (Coalesce(Max(EventoId),0)+1) As EventoId From LogAcciones"))
      eventId = rs->Field(L"EventoId").toDouble();
    const std::wstring componentName = ComponentName(data);
    Variant parameters = Variant::Array({
        eventId, detailMode, Shared().gObjectId, componentName, actionType, ActionText(actionType),
        Detail(detailMode, actionType, subject), message, extra, GetComputerNameNT(), GetUserNameNT(),
        Variant::FromDate(Now()),
    });
    return data.ExecuteProcedure(key, L"LogAcciones_Add", parameters);
  });
}

bool DocumentosLog_Add(double documentId, const std::wstring&) {
  return WithOwnDataAccess([&](const DataAccess& data) {
    const std::wstring& key = Shared().gApplicationName;
    const std::wstring user = GetUserNameNT();
    long entryId = 1;
    if (auto rs = data.GetData(key, L"Select (Coalesce(Max(RegistroId),0)+1) As RegistroId From DocumentosLog "
                                    L"Where DocumentoId = " + Variant(documentId).toText() +
                                    L" And Usuario = " + SqlQuoted(user)))
      entryId = rs->Field(L"RegistroId").toLong();
    const DATE now = Now();
    Variant parameters = Variant::Array({
        documentId, user, entryId, Variant::FromDate(now), Shared().gGerenciaId, Shared().gObjectId,
        ComponentName(data), GetComputerNameNT(), Variant::FromDate(now),
    });
    return data.ExecuteProcedure(key, L"DocumentosLog_Add", parameters);
  });
}

}  // namespace vk
