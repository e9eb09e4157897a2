// Recordsets as callers use them: counts, moves, positions, fields and their types,
// and the errors ADO raises where the callers rely on them.
#include "data_fixture.h"

namespace vk::test {
namespace {

constexpr long kNoCurrentRecord = static_cast<long>(0x800A0BCD);  // 3021
constexpr long kItemNotFound = static_cast<long>(0x800A0CC1);     // 3265
constexpr long kOutOfRange = static_cast<long>(0x800A0BB9);       // 3001

using RecordsetTest = DataTest;

TEST_F(RecordsetTest, CountsMovesAndPositions) {
  com::ComPtr<IDispatch> rs = GetData(kApp, L"Select * From Gerencias Order By GerenciaId");
  ASSERT_TRUE(rs);
  EXPECT_EQ(LongOf(CallByName(rs.get(), L"RecordCount")), 4);
  EXPECT_EQ(LongOf(CallByName(rs.get(), L"AbsolutePosition")), 1);
  std::vector<std::wstring> keys;
  for (int guard = 0; guard < 10 && !IsTrue(CallByName(rs.get(), L"EOF")); ++guard) {
    DispResult key = Field(rs.get(), L"gerenciaid");  // names compare without case
    ASSERT_HRESULT_SUCCEEDED(key.hr);
    keys.push_back(TextOf(key));
    ASSERT_HRESULT_SUCCEEDED(CallByName(rs.get(), L"MoveNext").hr);
  }
  EXPECT_EQ(keys, (std::vector<std::wstring>{L"AD", L"OP", L"RH", L"XX"}));
  EXPECT_EQ(LongOf(CallByName(rs.get(), L"AbsolutePosition")), -3);  // past the end

  // Moving past the end and reading there raise "no current record".
  DispResult next = CallByName(rs.get(), L"MoveNext");
  EXPECT_EQ(next.hr, DISP_E_EXCEPTION);
  EXPECT_EQ(next.scode, kNoCurrentRecord);
  DispResult value = Field(rs.get(), L"Gerencia");
  EXPECT_EQ(value.scode, kNoCurrentRecord);
  EXPECT_FALSE(value.description.empty());

  // AbsolutePosition: 1-based, in range only.
  ASSERT_HRESULT_SUCCEEDED(PutByName(rs.get(), L"AbsolutePosition", Long(3)).hr);
  EXPECT_EQ(TextOf(Field(rs.get(), L"GerenciaId")), L"RH");
  for (long bad : {0L, 5L, -1L}) {
    DispResult put = PutByName(rs.get(), L"AbsolutePosition", Long(bad));
    EXPECT_EQ(put.scode, kOutOfRange) << bad;
    EXPECT_EQ(LongOf(CallByName(rs.get(), L"AbsolutePosition")), 3) << "a refused move stays put";
  }
  ASSERT_HRESULT_SUCCEEDED(CallByName(rs.get(), L"MoveFirst").hr);
  EXPECT_EQ(TextOf(Field(rs.get(), L"GerenciaId")), L"AD");
}

TEST_F(RecordsetTest, AnEmptyRecordsetRefusesToMove) {
  com::ComPtr<IDispatch> rs = GetData(kApp, L"Select * From Documentos Where DocumentoId = -1");
  ASSERT_TRUE(rs) << "an empty result is a recordset, not a failure";
  EXPECT_EQ(LongOf(CallByName(rs.get(), L"RecordCount")), 0);
  EXPECT_TRUE(IsTrue(CallByName(rs.get(), L"EOF")));
  EXPECT_EQ(CallByName(rs.get(), L"MoveFirst").scode, kNoCurrentRecord);
  EXPECT_EQ(Field(rs.get(), L"DocumentoId").scode, kNoCurrentRecord);
  EXPECT_EQ(PutByName(rs.get(), L"AbsolutePosition", Long(1)).scode, kOutOfRange);
  EXPECT_EQ(LongOf(CallByName(rs.get(), L"AbsolutePosition")), -1);
  // The columns are described even without rows.
  com::ComPtr<IDispatch> fields = ObjectOf(CallByName(rs.get(), L"Fields"));
  EXPECT_EQ(LongOf(CallByName(fields.get(), L"Count")), 26);
}

TEST_F(RecordsetTest, FieldsByNameIndexAndDefaultMember) {
  com::ComPtr<IDispatch> rs = GetData(kApp, L"Select GerenciaId , Gerencia From Gerencias Where GerenciaId = 'op'");
  ASSERT_TRUE(rs);
  ASSERT_EQ(LongOf(CallByName(rs.get(), L"RecordCount")), 1) << "text keys compare without case";
  com::ComPtr<IDispatch> fields = ObjectOf(CallByName(rs.get(), L"Fields"));
  EXPECT_EQ(LongOf(CallByName(fields.get(), L"Count")), 2);

  com::ComPtr<IDispatch> second = ObjectOf(CallByName(fields.get(), L"Item", {Long(1)}));
  ASSERT_TRUE(second);
  EXPECT_EQ(TextOf(CallByName(second.get(), L"Name")), L"Gerencia");
  EXPECT_EQ(TextOf(CallByName(second.get(), L"Value")), L"Operaciones");

  // rs("name"): the recordset's default member gives the field, whose default is its value.
  DISPPARAMS none{};
  VARIANT arg = Text(L"GERENCIA");
  DISPPARAMS one{&arg, nullptr, 1, 0};
  Var field;
  ASSERT_HRESULT_SUCCEEDED(rs->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &one,
                                      field.get(), nullptr, nullptr));
  VariantClear(&arg);
  ASSERT_EQ(field.type(), VT_DISPATCH);
  Var value;
  ASSERT_HRESULT_SUCCEEDED(V_DISPATCH(&*field)->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_PROPERTYGET, &none,
                                                        value.get(), nullptr, nullptr));
  EXPECT_EQ(std::wstring(V_BSTR(&*value)), L"Operaciones");

  for (VARIANT missing : {Text(L"NoSuchField"), Long(2), Long(-1)}) {
    EXPECT_EQ(CallByName(fields.get(), L"Item", {missing}).scode, kItemNotFound);
  }
}

TEST_F(RecordsetTest, ValuesKeepTheirTypes) {
  ASSERT_TRUE(Sql(kApp, L"Create Table Tipos (Entero INTEGER, Real FLOAT, Importe MONEY, Dia DATE, Cuando DATETIME, "
                        L"Activo BIT, Monto NUMERIC(10,2), Corto VARCHAR(10), Largo TEXT)"))
      << ErrDescription();
  ASSERT_TRUE(Sql(kApp, L"Insert Into Tipos Values (42, 2.5, 10.25, '2026-12-07', '2026-12-07 10:30:00', 1, "
                        L"12.5, 'abc', 'texto largo')"));
  ASSERT_TRUE(Sql(kApp, L"Insert Into Tipos Values (Null, Null, Null, Null, Null, Null, Null, Null, Null)"));
  struct Expect {
    const wchar_t* column;
    long adoType;
    VARTYPE vt;
  };
  const Expect expected[] = {
      {L"Entero", 3, VT_I4},       {L"Real", 5, VT_R8},       {L"Importe", 6, VT_CY},
      {L"Dia", 7, VT_DATE},        {L"Cuando", 135, VT_DATE}, {L"Activo", 11, VT_BOOL},
      {L"Monto", 131, VT_DECIMAL}, {L"Corto", 200, VT_BSTR},  {L"Largo", 201, VT_BSTR},
  };
  com::ComPtr<IDispatch> rs = GetData(kApp, L"Select * From Tipos Order By Entero Desc");
  ASSERT_TRUE(rs);
  com::ComPtr<IDispatch> fields = ObjectOf(CallByName(rs.get(), L"Fields"));
  for (const Expect& e : expected) {
    com::ComPtr<IDispatch> field = ObjectOf(CallByName(fields.get(), L"Item", {Text(e.column)}));
    ASSERT_TRUE(field) << e.column;
    EXPECT_EQ(LongOf(CallByName(field.get(), L"Type")), e.adoType) << e.column;
    EXPECT_EQ(TypeOf(CallByName(field.get(), L"Value")), e.vt) << e.column;
  }
  DispResult when = Field(rs.get(), L"Cuando");
  SYSTEMTIME t{};
  VariantTimeToSystemTime(V_DATE(&when.value), &t);
  EXPECT_EQ((std::vector<int>{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute}),
            (std::vector<int>{2026, 12, 7, 10, 30}));
  EXPECT_EQ(LongOf(Field(rs.get(), L"Entero")), 42);
  EXPECT_TRUE(IsTrue(Field(rs.get(), L"Activo")));

  // Null stays Null, whatever the column's type.
  ASSERT_HRESULT_SUCCEEDED(CallByName(rs.get(), L"MoveNext").hr);
  for (const Expect& e : expected) EXPECT_EQ(TypeOf(Field(rs.get(), e.column)), VT_NULL) << e.column;
}

TEST_F(RecordsetTest, ExpressionsTakeTheTypeOfTheirValues) {
  struct Case {
    const wchar_t* sql;
    long adoType;
    VARTYPE vt;
  };
  const Case cases[] = {
      {L"Select (Coalesce(Max(DocumentoId),0)+1) As X From Documentos", 3, VT_I4},
      {L"Select (Coalesce(Max(EventoId),0)+1) As X From LogAcciones", 3, VT_I4},
      {L"Select Avg(DocumentoId) As X From Documentos", 5, VT_R8},
      {L"Select 'abc' As X", 200, VT_BSTR},
      {L"Select GetDate() As X", 135, VT_DATE},
      {L"Select Max(FechaAlta) As X From Documentos", 135, VT_DATE},
  };
  for (const Case& c : cases) {
    com::ComPtr<IDispatch> rs = GetData(kApp, c.sql);
    ASSERT_TRUE(rs) << ErrDescription();
    com::ComPtr<IDispatch> field = ObjectOf(CallByName(rs.get(), L"Fields", {Long(0)}));
    EXPECT_EQ(LongOf(CallByName(field.get(), L"Type")), c.adoType) << c.sql;
    EXPECT_EQ(TypeOf(CallByName(field.get(), L"Value")), c.vt) << c.sql;
  }
}

TEST_F(RecordsetTest, AWholeNumberInANumberColumnReadsAsANumber) {
  com::ComPtr<IDispatch> rs = GetData(kApp, L"Select X From ( Select 2.5 As X Union All Select 3 ) A Order By X");
  ASSERT_TRUE(rs) << ErrDescription();
  CallByName(rs.get(), L"MoveNext");
  DispResult three = Field(rs.get(), L"X");
  EXPECT_EQ(TypeOf(three), VT_R8);
  EXPECT_EQ(LongOf(three), 3);
}

TEST_F(RecordsetTest, AFieldReadsTheRowCurrentWhenItIsRead) {
  com::ComPtr<IDispatch> rs = GetData(kApp, L"Select DocumentoId From Documentos Order By DocumentoId");
  ASSERT_TRUE(rs);
  com::ComPtr<IDispatch> id = ObjectOf(CallByName(rs.get(), L"Fields", {Text(L"DocumentoId")}));
  EXPECT_EQ(LongOf(CallByName(id.get(), L"Value")), 1);
  CallByName(rs.get(), L"MoveNext");
  EXPECT_EQ(LongOf(CallByName(id.get(), L"Value")), 2);
}

}  // namespace
// A result that would not fit in the memory the process has left is refused while
// it is read, with the reason, instead of ending the process. The address space is
// taken here (reserved, never touched) until little is left.
TEST_F(RecordsetTest, AReadThatWouldNotFitInMemoryIsRefused) {
  ASSERT_TRUE(Sql(kApp, L"Create Table Muchas (N Integer, Texto VarChar(20))"));
  ASSERT_TRUE(Sql(kApp, L"Insert Into Muchas (N, Texto) Values (1, 'uno')"));
  for (int doubling = 0; doubling < 15; ++doubling)  // 32,768 rows
    ASSERT_TRUE(Sql(kApp, L"Insert Into Muchas (N, Texto) Select N + (Select Count(*) From Muchas), Texto From Muchas"));
  // All the address space there is, then 128 MB of it back.
  std::vector<std::pair<void*, SIZE_T>> taken;
  for (SIZE_T block = 64 << 20; block >= (64 << 10);) {
    if (void* p = VirtualAlloc(nullptr, block, MEM_RESERVE, PAGE_NOACCESS)) taken.emplace_back(p, block);
    else block /= 2;
  }
  for (SIZE_T released = 0; released < (128 << 20) && !taken.empty(); taken.erase(taken.begin())) {
    VirtualFree(taken.front().first, 0, MEM_RELEASE);
    released += taken.front().second;
  }
  com::ComPtr<IDispatch> rs = GetData(kApp, L"Select * From Muchas");
  const std::wstring reason = ErrDescription();
  for (const auto& block : taken) VirtualFree(block.first, 0, MEM_RELEASE);
  EXPECT_FALSE(rs);
  EXPECT_NE(reason.find(L"memoria"), std::wstring::npos) << reason;
  // With the memory back, the same read succeeds.
  EXPECT_TRUE(GetData(kApp, L"Select * From Muchas"));
}

}  // namespace vk::test
