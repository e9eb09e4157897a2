#include "screen_kit/audit_log.h"

#include "base/clock.h"
#include "screen_kit/data_access.h"
#include "screen_kit/host_seams.h"
#include "screen_kit/shared_functions.h"
#include "screen_kit/shared_state.h"
#include "screen_kit/sql_text.h"

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

// Inserts an entry under an id drawn as the highest plus one. Another writer may
// take that id between the draw and the insert (the two are separate calls); then the
// insert fails and a new draw gives a higher id, and the entry goes in under that one.
// Every such failure means another entry went in, so the tries are many: two writers
// in step can meet on the next id again and again (two processes writing at once on a
// loaded machine: 71 entries of 7,200 needed four to six tries; with at most ten, a
// loaded test run once lost an entry). An insert that fails while its id is still the
// one to draw fails for another reason: false. `mayInsert`, asked right before each
// insert, stops the writer with false.
template <class Id, class Draw, class Insert>
bool InsertRedrawingTakenIds(Id id, const Draw& draw, const Insert& insert,
                             const std::function<bool()>& mayInsert = {}) {
  constexpr int kTries = 100;
  for (int tries = 1;; ++tries) {
    if (mayInsert && !mayInsert()) return false;
    if (insert(id)) return true;
    if (tries == kTries) return false;
    const Id next = draw();
    if (next == id) return false;
    id = next;
  }
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
    auto draw = [&] {
      auto rs = data.GetData(key, L"Select (Coalesce(Max(EventoId),0)+1) As EventoId From LogAcciones");
      return rs ? rs->Field(L"EventoId").toDouble() : 1.0;
    };
    const double eventId = draw();
    const std::wstring componentName = ComponentName(data);
    const std::wstring computer = GetComputerNameNT(), user = GetUserNameNT();
    const DATE now = Now();
    return InsertRedrawingTakenIds(eventId, draw, [&](double id) {
      Variant parameters = Variant::Array({
          id, detailMode, Shared().gObjectId, componentName, actionType, ActionText(actionType),
          Detail(detailMode, actionType, subject), message, extra, computer, user, Variant::FromDate(now),
      });
      return data.ExecuteProcedure(key, L"LogAcciones_Add", parameters);
    });
  });
}

bool DocumentosLog_Add(double documentId, const std::wstring&, const ReadingStillLoggable& loggable) {
  return WithOwnDataAccess([&](const DataAccess& data) {
    const std::wstring& key = Shared().gApplicationName;
    const std::wstring user = GetUserNameNT();
    auto draw = [&] {
      auto rs = data.GetData(key, L"Select (Coalesce(Max(RegistroId),0)+1) As RegistroId From DocumentosLog "
                                  L"Where DocumentoId = " + Variant(documentId).toText() +
                                  L" And Usuario = " + SqlQuoted(user));
      return rs ? rs->Field(L"RegistroId").toLong() : 1L;
    };
    const long entryId = draw();
    const DATE now = Now();
    const std::wstring componentName = ComponentName(data), computer = GetComputerNameNT();
    std::function<bool()> mayInsert;
    if (loggable) mayInsert = [&] { return loggable(data); };
    return InsertRedrawingTakenIds(entryId, draw, [&](long id) {
      Variant parameters = Variant::Array({
          documentId, user, id, Variant::FromDate(now), Shared().gGerenciaId, Shared().gObjectId, componentName,
          computer, Variant::FromDate(now),
      });
      return data.ExecuteProcedure(key, L"DocumentosLog_Add", parameters);
    }, mayInsert);
  });
}

}  // namespace vk
