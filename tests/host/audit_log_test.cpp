// The two audit-log writers against a copy of the sample database: the rows they
// leave, read back, and the ids they take.
#include <gtest/gtest.h>

#include "host/audit_log.h"
#include "host/data_access.h"
#include "host/host_seams.h"
#include "host/shared_state.h"
#include "runtime/clock.h"
#include "support/com_test.h"
#include "test_databases.h"

namespace {

using namespace vk;

const wchar_t kAppKey[] = L"VkAuditTest";

class AuditLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HostSeams seams = HostSeams::Real();
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
  FixedClock clock_{MakeDate(2026, 12, 7, 10, 30)};
  ClockScope clockScope_{clock_};
  std::wstring user_ = L"usuario1";
};

TEST(ActionText, FollowsTheActionType) {
  EXPECT_EQ(ActionText(1), L"ERROR");
  for (long t : {2, 10, 12}) EXPECT_EQ(ActionText(t), L"ALTA-CREACION") << t;
  for (long t : {11, 13}) EXPECT_EQ(ActionText(t), L"MODIFICACION-GRABACION") << t;
  for (long t : {0, 3, 99}) EXPECT_EQ(ActionText(t), L"N/A - MENSAJE NO DISPONIBLE") << t;
}

TEST_F(AuditLogTest, ActionLogRowsCarryEveryParameter) {
  databases_.Sql(kAppKey, L"Delete From LogAcciones");
  ASSERT_TRUE(LogAcciones_Add(1, 2, L"15", L"Se ha Catalogado el Documento Nro. [ 15 ] - [ a.tif ]", L""));
  ASSERT_TRUE(LogAcciones_Add(0, 3, L"15", L"second", L"extra"));
  ASSERT_TRUE(LogAcciones_Add(99, 12, L"ana", L"third", L""));
  EXPECT_EQ(Count(L"LogAcciones"), 3);
  const std::wstring first = L"Select * From LogAcciones Where EventoId = 1";
  EXPECT_EQ(First(first, L"ComponentId").toText(), L"I01CAT");
  EXPECT_EQ(First(first, L"ComponentName").toText(), L"Catalogación de Documentos");
  EXPECT_EQ(First(first, L"Detalle").toText(), L"15");
  EXPECT_EQ(First(first, L"Accion").toText(), L"ALTA-CREACION");
  const std::wstring second = L"Select * From LogAcciones Where EventoId = 2";
  EXPECT_EQ(First(second, L"Detalle").toText(), L"N/A");
  EXPECT_EQ(First(second, L"Accion").toText(), L"N/A - MENSAJE NO DISPONIBLE");
  EXPECT_EQ(First(L"Select * From LogAcciones Where EventoId = 3", L"Detalle").toText(), L"Usuario = 'ana'");
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

}  // namespace
