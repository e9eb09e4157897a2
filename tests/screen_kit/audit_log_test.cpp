// The two audit-log writers against a copy of the sample database: the rows they
// leave, read back, and the ids they take, also with a second process writing at the
// same moment (this program started again with "--write-entries").
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/clock.h"
#include "screen_kit/audit_log.h"
#include "screen_kit/data_access.h"
#include "screen_kit/host_seams.h"
#include "screen_kit/shared_state.h"
#include "support/com_test.h"
#include "test_databases.h"

namespace {

using namespace vk;

const wchar_t kAppKey[] = L"VkAuditTest";
const DATE kClockTime = MakeDate(2026, 12, 7, 10, 30);

// Entries each of two processes writes at once into one log, all on document 7 for the
// read log, so both draw from the same ids.
constexpr int kEntriesEach = 150;

// The writes of one process; how many of them reported failure.
int WriteEntries(const std::string& log, const std::wstring& writer) {
  int failed = 0;
  for (int i = 0; i < kEntriesEach; ++i) {
    const bool ok = log == "actions" ? LogAcciones_Add(1, action::Catalogued, std::to_wstring(i),
                                                       writer + L" " + std::to_wstring(i), L"")
                                     : DocumentosLog_Add(7, L"N/A");
    failed += ok ? 0 : 1;
  }
  return failed;
}

std::wstring EventName(const wchar_t* what, DWORD parent) {
  return L"VkAuditTwin" + std::wstring(what) + std::to_wstring(parent);
}

// The second process: the same set-up as the fixture's on the databases the first one
// points the keys at; it says when it is ready, waits for the start and writes.
int RunSecondWriter(const std::string& log, DWORD parent) {
  test::ComApartment com;
  HostSeams seams = Seam<HostSeams>::Real();
  seams.logonName = [] { return std::wstring(L"usuario1"); };
  seams.computerName = [] { return std::wstring(L"PC-08"); };
  ScopedHostSeams scope(seams);
  Shared().gApplicationName = kAppKey;
  Shared().gObjectId = L"I01CAT";
  Shared().gGerenciaId = L"OP";
  HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, EventName(L"Ready", parent).c_str());
  HANDLE go = OpenEventW(SYNCHRONIZE, FALSE, EventName(L"Go", parent).c_str());
  if (!ready || !go) return 100;
  SetEvent(ready);
  if (WaitForSingleObject(go, 60000) != WAIT_OBJECT_0) return 101;
  return WriteEntries(log, L"second");
}

// A second copy of this program writing into the same log as this one.
class SecondWriter {
 public:
  explicit SecondWriter(const std::string& log)
      : ready_(CreateEventW(nullptr, TRUE, FALSE, EventName(L"Ready", GetCurrentProcessId()).c_str())),
        go_(CreateEventW(nullptr, TRUE, FALSE, EventName(L"Go", GetCurrentProcessId()).c_str())) {
    wchar_t program[MAX_PATH];
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(program) + L"\" --write-entries " +
                        std::wstring(log.begin(), log.end()) + L" " + std::to_wstring(GetCurrentProcessId());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    started_ = CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_);
  }
  ~SecondWriter() {
    if (started_) {
      CloseHandle(process_.hThread);
      CloseHandle(process_.hProcess);
    }
    CloseHandle(ready_);
    CloseHandle(go_);
  }
  // Starts both at once once the second is ready; false when it never was.
  bool Go() {
    HANDLE waits[] = {ready_, process_.hProcess};
    if (!started_ || WaitForMultipleObjects(2, waits, FALSE, 60000) != WAIT_OBJECT_0) return false;
    return SetEvent(go_);
  }
  // The second writer's count of failed writes.
  DWORD Finish() {
    DWORD code = 999;
    if (started_ && WaitForSingleObject(process_.hProcess, 120000) == WAIT_OBJECT_0)
      GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

 private:
  HANDLE ready_, go_;
  PROCESS_INFORMATION process_{};
  bool started_ = false;
};

class AuditLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HostSeams seams = Seam<HostSeams>::Real();
    seams.logonName = [this] { return user_; };
    seams.computerName = [] { return std::wstring(L"PC-07"); };
    seams_ = std::make_unique<ScopedHostSeams>(seams);
    Shared() = SharedState{};
    Shared().gApplicationName = kAppKey;
    Shared().gObjectId = L"I01CAT";
    Shared().gGerenciaId = L"OP";
  }
  // One value of the first row a query gives.
  Variant First(const std::wstring& sql, const wchar_t* field) {
    auto data = DataAccess::Create();
    auto rs = data->GetData(kAppKey, sql);
    EXPECT_TRUE(rs) << data->ErrDescription();
    if (!rs) return {};
    rs->MoveFirst();
    return rs->Field(field);
  }
  long Count(const std::wstring& table) {
    return First(L"Select Count(*) As N From " + table, L"N").toLong();
  }

  test::ComApartment com_;
  test::TestDatabases databases_{kAppKey};
  std::unique_ptr<ScopedHostSeams> seams_;
  FixedClock clock_{kClockTime};
  ClockScope clockScope_{clock_};
  std::wstring user_ = L"usuario1";
};

TEST(ActionText, FollowsTheActionType) {
  EXPECT_EQ(ActionText(1), L"ERROR");
  for (long t : {2, 10, 12}) EXPECT_EQ(ActionText(t), L"ALTA-CREACION") << t;
  for (long t : {11, 13}) EXPECT_EQ(ActionText(t), L"MODIFICACION-GRABACION") << t;
  for (long t : {0, 3, 99}) EXPECT_EQ(ActionText(t), L"N/A - MENSAJE NO DISPONIBLE") << t;
}

// The named columns of the first row a query gives, as text; a date shows as whether it
// is the fixed clock's time.
std::vector<std::wstring> RowOf(const std::wstring& sql, const std::vector<const wchar_t*>& columns) {
  auto data = DataAccess::Create();
  auto rs = data->GetData(kAppKey, sql);
  if (!rs) return {L"no recordset: " + data->ErrDescription()};
  rs->MoveFirst();
  std::vector<std::wstring> values;
  for (const wchar_t* column : columns) {
    const Variant v = rs->Field(column);
    values.push_back(v.vt() != VT_DATE ? v.toText() : v.toDate() == kClockTime ? L"clock" : L"another date");
  }
  return values;
}

TEST_F(AuditLogTest, BothLogsKeepEveryParameterInItsColumn) {
  databases_.Sql(kAppKey, L"Delete From LogAcciones");
  ASSERT_TRUE(LogAcciones_Add(1, 2, L"15", L"Se ha Catalogado el Documento Nro. [ 15 ] - [ a.tif ]", L""));
  ASSERT_TRUE(LogAcciones_Add(0, 3, L"15", L"second", L"extra"));
  ASSERT_TRUE(LogAcciones_Add(99, 12, L"ana", L"third", L""));
  ASSERT_TRUE(DocumentosLog_Add(900042, L"N/A"));
  const std::wstring name = L"Catalogación de Documentos";
  const std::vector<std::vector<std::wstring>> actions = {
      {L"1", L"1", L"I01CAT", name, L"2", L"ALTA-CREACION", L"15",
       L"Se ha Catalogado el Documento Nro. [ 15 ] - [ a.tif ]", L"", L"PC-07", L"usuario1", L"clock"},
      {L"2", L"0", L"I01CAT", name, L"3", L"N/A - MENSAJE NO DISPONIBLE", L"N/A", L"second", L"extra", L"PC-07",
       L"usuario1", L"clock"},
      {L"3", L"99", L"I01CAT", name, L"12", L"ALTA-CREACION", L"Usuario = 'ana'", L"third", L"", L"PC-07",
       L"usuario1", L"clock"},
  };
  for (size_t i = 0; i < actions.size(); ++i)
    EXPECT_EQ(RowOf(L"Select * From LogAcciones Where EventoId = " + std::to_wstring(i + 1),
                    {L"EventoId", L"ModoDetalle", L"ComponentId", L"ComponentName", L"TipoAccion", L"Accion",
                     L"Detalle", L"Mensaje", L"Extra", L"EquipoId", L"UsuarioId", L"Fecha"}),
              actions[i]);
  EXPECT_EQ(RowOf(L"Select * From DocumentosLog Where DocumentoId = 900042",
                  {L"DocumentoId", L"Usuario", L"RegistroId", L"Fecha", L"GerenciaId", L"ModuloId", L"Modulo",
                   L"EquipoId", L"FechaAlta"}),
            (std::vector<std::wstring>{L"900042", L"usuario1", L"1", L"clock", L"OP", L"I01CAT", name, L"PC-07",
                                       L"clock"}));
}

TEST_F(AuditLogTest, FallbacksOfBothWriters) {
  // Any failure inside a writer answers False and writes nothing.
  const long actions = Count(L"LogAcciones"), readings = Count(L"DocumentosLog");
  Seam<HostSeams>::Current().computerName = []() -> std::wstring { throw std::runtime_error("no computer name"); };
  EXPECT_FALSE(LogAcciones_Add(1, 2, L"1", L"m", L""));
  Seam<HostSeams>::Current().computerName = []() -> std::wstring { throw std::bad_alloc(); };
  EXPECT_FALSE(DocumentosLog_Add(1, L"N/A"));
  EXPECT_EQ(Count(L"LogAcciones"), actions);
  EXPECT_EQ(Count(L"DocumentosLog"), readings);
  // A failed component query: the component id stands as its name.
  Seam<HostSeams>::Current().computerName = [] { return std::wstring(L"PC-07"); };
  databases_.Sql(L"VkS", L"Alter Table Components Rename To ComponentesViejos");
  ASSERT_TRUE(LogAcciones_Add(1, 2, L"9", L"m", L""));
  ASSERT_TRUE(DocumentosLog_Add(900009, L"N/A"));
  EXPECT_EQ(RowOf(L"Select * From LogAcciones Order By EventoId Desc", {L"ComponentId", L"ComponentName"}),
            (std::vector<std::wstring>{L"I01CAT", L"I01CAT"}));
  EXPECT_EQ(RowOf(L"Select * From DocumentosLog Where DocumentoId = 900009", {L"ModuloId", L"Modulo"}),
            (std::vector<std::wstring>{L"I01CAT", L"I01CAT"}));
}

TEST_F(AuditLogTest, ReadLogCountsEntriesPerDocumentAndUser) {
  databases_.Sql(kAppKey, L"Delete From DocumentosLog");
  ASSERT_TRUE(DocumentosLog_Add(7, L"N/A"));
  ASSERT_TRUE(DocumentosLog_Add(7, L"N/A"));
  user_ = L"o'neil";
  ASSERT_TRUE(DocumentosLog_Add(7, L"N/A"));
  ASSERT_TRUE(DocumentosLog_Add(8, L"N/A"));
  EXPECT_EQ(First(L"Select Max(RegistroId) As R From DocumentosLog Where DocumentoId = 7 And Usuario = 'usuario1'",
                  L"R").toLong(), 2);
  EXPECT_EQ(First(L"Select RegistroId From DocumentosLog Where DocumentoId = 7 And Usuario = 'o''neil'",
                  L"RegistroId").toLong(), 1);
  const std::wstring row = L"Select * From DocumentosLog Where DocumentoId = 8";
  EXPECT_EQ(First(row, L"GerenciaId").toText(), L"OP");
  EXPECT_EQ(First(row, L"ModuloId").toText(), L"I01CAT");
  EXPECT_EQ(First(row, L"EquipoId").toText(), L"PC-07");
  EXPECT_EQ(First(row, L"Fecha").vt(), VT_DATE);
  EXPECT_EQ(First(row, L"Fecha").toDate(), MakeDate(2026, 12, 7, 10, 30));
}

TEST_F(AuditLogTest, UnknownComponentWritesNothing) {
  Shared().gObjectId = L"NOPE";
  const long before = Count(L"LogAcciones");
  EXPECT_FALSE(LogAcciones_Add(1, 2, L"1", L"m", L""));
  EXPECT_FALSE(DocumentosLog_Add(1, L"N/A"));
  EXPECT_EQ(Count(L"LogAcciones"), before);
}

TEST_F(AuditLogTest, TwoProcessesWritingAtOnceLoseNoEntry) {
  struct Case {
    const char* log;
    const wchar_t* table;
  };
  for (const Case& c : {Case{"actions", L"LogAcciones"}, Case{"reads", L"DocumentosLog"}}) {
    databases_.Sql(kAppKey, std::wstring(L"Delete From ") + c.table);
    SecondWriter second(c.log);
    ASSERT_TRUE(second.Go()) << c.log;
    EXPECT_EQ(WriteEntries(c.log, L"first"), 0) << c.log;
    EXPECT_EQ(second.Finish(), 0u) << c.log;
    EXPECT_EQ(Count(c.table), 2 * kEntriesEach) << c.log;
  }
  EXPECT_EQ(First(L"Select Count(Distinct Mensaje) As N From LogAcciones", L"N").toLong(), 2 * kEntriesEach);
  EXPECT_EQ(First(L"Select Max(RegistroId) As N From DocumentosLog", L"N").toLong(), 2 * kEntriesEach);
}

}  // namespace

// "--write-entries <log> <first process id>" makes this program the second writer.
int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--write-entries") == 0)
    return RunSecondWriter(argv[2], static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
