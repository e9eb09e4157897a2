// The data-access object end to end: each SQL Server construct the callers send,
// the stored procedures, and every kind of bad input (a null result or False with a
// reason, nothing written, nothing raised).
#include "data_fixture.h"

#include <sqlite3.h>

#include "dataaccess/connection_keys.h"
#include "dataaccess/qd_procedure.h"
#include "dataaccess/sqlite_db.h"
#include "support/outside_wine.h"

namespace vk::test {
namespace {

using QdProcedureTest = DataTest;

// The 24 parameters of Documentos_Add / Documentos_Update.
VARIANT DocumentParameters(double id, const wchar_t* categoria, const wchar_t* observacion, bool flag = true) {
  std::vector<VARIANT> p = {Double(id), Text(categoria), Text(L"2"), Text(L"OP"), Long(2), Text(L"scan.TIF"),
                            Text(L"C:\\Docs\\00001\\00002\\00000000000000000010.TIF")};
  for (int i = 1; i <= 10; ++i) p.push_back(Text((L"campo" + std::to_wstring(i)).c_str()));
  p.push_back(Date(2026, 12, 6));
  p.push_back(Text(L"779000"));
  p.push_back(Text(L"REF-10"));
  p.push_back(Text(observacion));
  p.push_back(Bool(flag));
  p.push_back(Text(L"ana"));
  p.push_back(Text(L"2026-12-07"));
  return Array(std::move(p));
}

TEST_F(QdProcedureTest, EachTranslatedConstructRuns) {
  struct Case {
    const char* what;
    const wchar_t* sql;
    long rows;
  };
  const Case cases[] = {
      {"top", L"Select Top 2 * From Documentos Order By DocumentoId Desc", 2},
      {"top over a derived table with alias",
       L"Select Top 500 * From ( Select * From Documentos ) A  Order By DocumentoId Desc", 3},
      {"convert with style 101", L"Select * From Documentos Where FechaAlta >= Convert(DateTime, '01/01/2026', 101)", 2},
      {"convert of an ISO day bound",
       L"Select * From Documentos Where FechaAlta < Convert(DateTime, '2026-03-03', 101) And FechaAlta >= "
       L"Convert(DateTime, '2026-03-02', 101)",
       1},
      {"sysobjects names a view", L"Select * From SysObjects Where Name = 'V_DocumentosExternos'", 1},
      {"sysobjects compares without case", L"Select * From SysObjects Where Name = 'documentos'", 1},
      {"sysobjects of what is not there", L"Select * From SysObjects Where Name = 'NoExiste'", 0},
      {"getdate", L"Select * From Documentos Where FechaAlta < GetDate()", 3},
      {"text keys without case", L"Select * From Documentos Where GerenciaId = 'ad' And CategoriaId In ( '1' , '2' )", 1},
      {"an unquoted number against a text key", L"Select * From Documentos Where CategoriaId = 3", 1},
      {"the search list with external documents",
       L"Select * From ( Select A.* , Coalesce(B.IsNew,0) As IsNew From Documentos A Left Join ( Select DocumentoId , "
       L"Usuario , 1 As IsNew From DocumentosLog Where Usuario = 'ana' Group By DocumentoId , Usuario ) B On "
       L"A.DocumentoId = B.DocumentoId Union All Select * From V_DocumentosExternos ) A Where  CategoriaId = '1' ",
       1},
      {"the document view", L"Select * From DocumentosView", 3},
      {"the dictionary of the document lists",
       L"Select * From DictionaryFields Where TableName = 'DocumentosView' Order By FieldId", 23},
  };
  for (const Case& c : cases) {
    com::ComPtr<IDispatch> rs = GetData(kApp, c.sql);
    ASSERT_TRUE(rs) << c.what << ": " << ErrDescription();
    EXPECT_EQ(LongOf(CallByName(rs.get(), L"RecordCount")), c.rows) << c.what;
  }
  com::ComPtr<IDispatch> top = GetData(kApp, L"Select Top 1 DocumentoId From Documentos Order By DocumentoId Desc");
  EXPECT_EQ(LongOf(Field(top.get(), L"DocumentoId")), 3);

  // A picker's "last six months" filter: a short date in the user's order.
  wchar_t shortDate[40] = {};
  SYSTEMTIME day{2026, 3, 0, 2, 0, 0, 0, 0};
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &day, nullptr, shortDate, 40);
  std::wstring filter =
      L"Select * From ( Select * From Documentos ) A Where FechaAlta >= '" + std::wstring(shortDate) + L"'";
  EXPECT_EQ(LongOf(CallByName(GetData(kApp, filter.c_str()).get(), L"RecordCount")), 2) << shortDate;

  // Delete without From.
  EXPECT_TRUE(Sql(kApp, L"Delete Documentos Where DocumentoId = 3")) << ErrDescription();
  EXPECT_EQ(Count(kApp, L"Select Count(*) From Documentos"), 2);
}

TEST_F(QdProcedureTest, TheFieldPickerListOfATextBox) {
  com::ComPtr<IDispatch> rs = GetData(kApp,
      L"Select Distinct Contraparte As D_Contraparte From ( Select Campo01 As Contraparte From Documentos Where "
      L"TipoDocumentoId = 1 ) A");
  ASSERT_TRUE(rs) << ErrDescription();
  EXPECT_EQ(TextOf(Field(rs.get(), L"D_Contraparte")), L"Inmobiliaria Sur");
}

TEST_F(QdProcedureTest, CommandMayBeAFieldHoldingTheText) {
  com::ComPtr<IDispatch> holder = GetData(kApp, L"Select 'Select * From Gerencias Where IsEnabled = 1' As Q");
  ASSERT_TRUE(holder);
  com::ComPtr<IDispatch> field = ObjectOf(CallByName(holder.get(), L"Fields", {Text(L"Q")}));
  com::ComPtr<IDispatch> rs = GetData(kApp, Object(field.get()));
  ASSERT_TRUE(rs) << ErrDescription();
  EXPECT_EQ(LongOf(CallByName(rs.get(), L"RecordCount")), 3);
}

TEST_F(QdProcedureTest, QuotesInsideValuesAreTheCallersToDouble) {
  ASSERT_TRUE(Sql(kApp, L"Insert Into Gerencias (GerenciaId, Gerencia) Values ('QQ', 'O''Brien -- y ; Select')"));
  com::ComPtr<IDispatch> rs = GetData(kApp, L"Select Gerencia From Gerencias Where Gerencia = 'O''Brien -- y ; Select'");
  ASSERT_TRUE(rs) << ErrDescription();
  EXPECT_EQ(TextOf(Field(rs.get(), L"Gerencia")), L"O'Brien -- y ; Select");
}

TEST_F(QdProcedureTest, DocumentsAreAddedAndUpdatedByTheirProcedures) {
  ASSERT_TRUE(Execute(kApp, L"Documentos_Add", DocumentParameters(10, L"1", L"ana - alta\r\n"), 4)) << ErrDescription();
  com::ComPtr<IDispatch> rs = GetData(kApp, L"Select * From Documentos Where DocumentoId = 10");
  ASSERT_EQ(LongOf(CallByName(rs.get(), L"RecordCount")), 1);
  EXPECT_EQ(TypeOf(Field(rs.get(), L"DocumentoId")), VT_I4);
  EXPECT_EQ(TextOf(Field(rs.get(), L"Campo10")), L"campo10");
  EXPECT_EQ(TypeOf(Field(rs.get(), L"Fecha")), VT_DATE);
  EXPECT_EQ(TextOf(Field(rs.get(), L"Comentarios")), L"ana - alta\r\n");
  EXPECT_EQ(TextOf(Field(rs.get(), L"UsuarioAlta")), L"ana");
  EXPECT_EQ(TypeOf(Field(rs.get(), L"FechaAlta")), VT_DATE);
  EXPECT_FALSE(IsTrue(Field(rs.get(), L"IsEnabled"))) << "a new document waits for validation";
  EXPECT_EQ(Count(kApp, L"Select Count(*) From Documentos Where FechaAlta = '2026-12-07 00:00:00'"), 1);

  ASSERT_TRUE(Execute(kApp, L"documentos_update", DocumentParameters(10, L"3", L"ana - cambio\r\n"), 4))
      << ErrDescription();
  rs = GetData(kApp, L"Select * From Documentos Where DocumentoId = 10");
  EXPECT_EQ(TextOf(Field(rs.get(), L"CategoriaId")), L"3");
  EXPECT_EQ(TextOf(Field(rs.get(), L"Comentarios")), L"ana - alta\r\nana - cambio\r\n");
  EXPECT_EQ(TextOf(Field(rs.get(), L"UsuarioModificacion")), L"ana");

  // With the flag off the history is left alone.
  ASSERT_TRUE(Execute(kApp, L"Documentos_Update", DocumentParameters(10, L"3", L"otra\r\n", false), 4));
  EXPECT_EQ(TextOf(Field(GetData(kApp, L"Select Comentarios From Documentos Where DocumentoId = 10").get(),
                         L"Comentarios")),
            L"ana - alta\r\nana - cambio\r\n");
}

TEST_F(QdProcedureTest, LogWritersProceduresFillTheirTables) {
  std::vector<VARIANT> action = {Double(1), Long(1), Text(L"I01CAT"), Text(L"Catalogación"), Long(2),
                                 Text(L"ALTA-CREACION"), Text(L"10"), Text(L"Se ha Catalogado"), Text(L""),
                                 Text(L"PC01"), Text(L"ana"), Date(2026, 12, 7, 9, 30)};
  ASSERT_TRUE(Execute(kApp, L"LogAcciones_Add", Array(action), 4)) << ErrDescription();
  EXPECT_EQ(Count(kApp, L"Select (Coalesce(Max(EventoId),0)+1) As EventoId From LogAcciones"), 2);

  std::vector<VARIANT> read = {Double(2), Text(L"ana"), Long(1), Date(2026, 12, 7, 9, 31), Text(L"OP"),
                               Text(L"R01VIE"), Text(L"No Leídos"), Text(L"PC01"), Date(2026, 12, 7, 9, 31)};
  ASSERT_TRUE(Execute(kApp, L"DocumentosLog_Add", Array(read), 4)) << ErrDescription();
  EXPECT_EQ(Count(kApp, L"Select (Coalesce(Max(RegistroId),0)+1) As RegistroId From DocumentosLog Where "
                        L"DocumentoId = 2 And Usuario = 'ANA'"),
            2);
  com::ComPtr<IDispatch> rs = GetData(kApp, L"Select * From DocumentosLog Where 1 = 1 And Usuario = 'ana'");
  EXPECT_EQ(TextOf(Field(rs.get(), L"Modulo")), L"No Leídos");
  EXPECT_EQ(TypeOf(Field(rs.get(), L"FechaAlta")), VT_DATE);
}

TEST_F(QdProcedureTest, BadInputFailsWithAReasonAndWritesNothing) {
  ASSERT_TRUE(Execute(kApp, L"Documentos_Add", DocumentParameters(20, L"1", L"x"), 4));
  ASSERT_TRUE(Sql(kApp, L"Insert Into Procedures (Name, ParameterTypes, Body) Values ('Prueba_DosPasos', 'T', "
                        L"'Insert Into Gerencias (GerenciaId, Gerencia) Values (?1, ''Nueva''); "
                        L"Select RaiseError(''segundo paso'');')"));
  std::vector<VARIANT> tooFew = {Double(21), Text(L"1")};
  // The parameters of a document with another first value.
  auto withId = [](VARIANT id) {
    VARIANT all = DocumentParameters(22, L"1", L"x");
    LONG zero = 0;
    SafeArrayPutElement(V_ARRAY(&all), &zero, &id);
    VariantClear(&id);
    return all;
  };
  struct Case {
    const char* what;
    const wchar_t* command;
    VARIANT parameters;
    long kind;
    const wchar_t* reason;  // part of ErrDescription
  };
  const Case cases[] = {
      {"a second add of one id", L"Documentos_Add", DocumentParameters(20, L"1", L"x"), 4, L"UNIQUE"},
      {"an update of an id that does not exist", L"Documentos_Update", DocumentParameters(99, L"1", L"x"), 4,
       L"No existe el documento 99"},
      {"an unknown procedure", L"Documentos_Borrar", Array({}), 4, L"Documentos_Borrar"},
      {"too few parameters", L"Documentos_Add", Array(tooFew), 4, L"24"},
      {"a text where a whole number goes", L"Documentos_Add", withId(Text(L"veintidós")), 4, L"parámetro 1"},
      {"a Null key", L"Documentos_Add", withId(Null()), 4, L"NOT NULL constraint failed: Documentos.DocumentoId"},
      {"a Null key in SQL text", L"Insert Into LogAcciones (EventoId, Accion) Values (Null, 'x')", Null(), 1,
       L"NOT NULL"},
      {"a body that fails halfway", L"Prueba_DosPasos", Array({Text(L"NW")}), 4, L"segundo paso"},
      {"malformed SQL text", L"Update Documentos Set Where", Null(), 1, L"syntax error"},
      {"an unknown table", L"Update NoExiste Set A = 1", Null(), 1, L"NoExiste"},
      {"a violated constraint", L"Insert Into Gerencias (GerenciaId) Values ('ZZ')", Null(), 1, L"NOT NULL"},
      {"an empty command", L"   ", Null(), 1, L"vac"},
      {"an unknown command kind", L"Select 1", Null(), 2, L"2"},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(Execute(kApp, c.command, c.parameters, c.kind)) << c.what;
    std::wstring reason = ErrDescription();
    EXPECT_NE(reason.find(c.reason), std::wstring::npos) << c.what << ": " << std::string(reason.begin(), reason.end());
  }
  EXPECT_EQ(Count(kApp, L"Select Count(*) From Documentos"), 4);
  EXPECT_EQ(Count(kApp, L"Select Count(*) From Gerencias Where GerenciaId In ('NW', 'ZZ')"), 0);

  // A success clears the last reason.
  EXPECT_TRUE(Sql(kApp, L"Update Documentos Set IsEnabled = 1 Where DocumentoId = 20"));
  EXPECT_EQ(ErrDescription(), L"");
}

TEST_F(QdProcedureTest, FailedReadsGiveNothingAndAReason) {
  struct Case {
    const char* what;
    const wchar_t* key;
    const wchar_t* sql;
    const wchar_t* reason;
  };
  const Case cases[] = {
      {"malformed SQL", kApp, L"Select * Fromm Documentos", L"syntax error"},
      {"an unknown column", kApp, L"Select NoExiste From Documentos", L"NoExiste"},
      {"an empty command", kApp, L"", L"vac"},
      {"two statements", kApp, L"Select 1; Select 2", L"una sola"},
      {"a statement that writes", kApp, L"Delete Documentos", L"no es una consulta"},
      {"a key without a database", L"NoHay", L"Select 1", L"NoHay.db"},
      {"a key that reaches outside", L"..\\App", L"Select 1", L"no es válida"},
      {"no key", L"", L"Select 1", L"clave"},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(GetData(c.key, c.sql)) << c.what;
    std::wstring reason = ErrDescription();
    EXPECT_NE(reason.find(c.reason), std::wstring::npos) << c.what << ": " << std::string(reason.begin(), reason.end());
  }
  EXPECT_EQ(Count(kApp, L"Select Count(*) From Documentos"), 3) << "the refused delete did not run";
  EXPECT_EQ(GetFileAttributesW(PathOf(L"NoHay").c_str()), INVALID_FILE_ATTRIBUTES) << "no empty database is made";
}

// Takes the process's free address space down to holes smaller than `hole` while it
// lives, so that any larger allocation fails as it would in a full process.
class AddressSpaceTaken {
 public:
  explicit AddressSpaceTaken(size_t hole) {
    blocks_.reserve(8192);
    for (size_t size = size_t(1) << 30; size >= hole; size /= 2) {
      while (blocks_.size() < blocks_.capacity()) {
        void* block = VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS);
        if (!block) break;
        blocks_.push_back(block);
      }
    }
  }
  ~AddressSpaceTaken() {
    for (void* block : blocks_) VirtualFree(block, 0, MEM_RELEASE);
  }
  AddressSpaceTaken(const AddressSpaceTaken&) = delete;
  AddressSpaceTaken& operator=(const AddressSpaceTaken&) = delete;

 private:
  std::vector<void*> blocks_;
};

TEST_F(QdProcedureTest, AReadTooLargeForMemoryFailsAsAReadFails) {
  // Half a million rows need blocks of megabytes; the process has none left.
  const wchar_t* large =
      L"With Recursive n(x) As (Select 1 Union All Select x + 1 From n Where x < 500000) Select x From n";
  DispResult result = [&] {
    AddressSpaceTaken taken(1 << 20);
    return CallByName(data_.get(), L"GetData", {Text(kApp), Text(large), Null(), Bool(true), Long(0), Long(1), Long(0)});
  }();
  EXPECT_HRESULT_SUCCEEDED(result.hr) << result.description;
  EXPECT_EQ(TypeOf(result), VT_DISPATCH);
  EXPECT_FALSE(ObjectOf(result));
  EXPECT_NE(ErrDescription().find(L"memor"), std::wstring::npos) << ErrDescription();
  EXPECT_EQ(Count(kApp, large), 1) << "the same object reads again once there is memory";
}

TEST_F(QdProcedureTest, ALockedDatabaseFailsAfterTheTimeLimitAndRecovers) {
  data::Database::SetTimeLimit(200);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(data::Narrow(PathOf(kApp)).c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_FALSE(Sql(kApp, L"Update Documentos Set IsEnabled = 1"));
  EXPECT_NE(ErrDescription().find(L"locked"), std::wstring::npos);
  EXPECT_FALSE(Execute(kApp, L"Documentos_Add", DocumentParameters(30, L"1", L"x"), 4));
  EXPECT_FALSE(GetData(kApp, L"Select * From Documentos"));
  EXPECT_NE(ErrDescription().find(L"locked"), std::wstring::npos);
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  EXPECT_TRUE(Execute(kApp, L"Documentos_Add", DocumentParameters(30, L"1", L"x"), 4)) << ErrDescription();
  EXPECT_EQ(Count(kApp, L"Select Count(*) From Documentos"), 4);
}

// A registry value of the key, written for the length of one test.
class ConnectionValue {
 public:
  ConnectionValue(const std::wstring& key, DWORD type, const void* data, DWORD bytes) : key_(key) {
    EXPECT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, data::kConnectionsKey, key.c_str(), type, data, bytes), ERROR_SUCCESS);
  }
  ~ConnectionValue() { RegDeleteKeyValueW(HKEY_CURRENT_USER, data::kConnectionsKey, key_.c_str()); }

 private:
  std::wstring key_;
};

DWORD TextBytes(const std::wstring& text) { return static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)); }

TEST_F(QdProcedureTest, TheRegistryNamesADatabaseForAKeyOfAnyLength) {
  // A path well past MAX_PATH: nested folders holding a copy of the security database.
  std::wstring deep = folder_;
  while (deep.size() < 400) {
    deep += L"\\carpeta_de_documentos_escaneados";
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr));
  }
  std::wstring longPath = deep + L"\\Seguridad.db";
  ASSERT_TRUE(CopyFileW(PathOf(kSec).c_str(), (L"\\\\?\\" + longPath).c_str(), FALSE));
  for (const std::wstring& path : {PathOf(kSec), longPath}) {
    std::wstring key = L"Prueba" + std::to_wstring(GetCurrentProcessId());
    ConnectionValue value(key, REG_SZ, path.c_str(), TextBytes(path));
    com::ComPtr<IDispatch> rs = GetData(key.c_str(), L"Select * From Users Where UserName = 'USUARIO1'");
    ASSERT_TRUE(rs) << path.size() << ": " << ErrDescription();
    EXPECT_EQ(LongOf(Field(rs.get(), L"UserLevel")), 1);
  }
}

TEST_F(QdProcedureTest, ARegistryValueThatCannotBeUsedFailsInsteadOfOpeningTheSample) {
  // The key also has a database in the default folder, which must not be opened.
  const std::wstring key = L"Prueba" + std::to_wstring(GetCurrentProcessId());
  ASSERT_TRUE(CopyFileW(PathOf(kApp).c_str(), PathOf(key.c_str()).c_str(), FALSE));
  const DWORD number = 7;
  const std::wstring blanks = L"   ";
  struct Case {
    const char* what;
    DWORD type;
    const void* data;
    DWORD bytes;
    const wchar_t* reason;
  };
  const Case cases[] = {
      {"a number", REG_DWORD, &number, sizeof number, L"REG_DWORD"},
      {"an empty text", REG_SZ, L"", sizeof(wchar_t), L"vacío"},
      {"blanks", REG_SZ, blanks.c_str(), TextBytes(blanks), L"vacío"},
      {"bytes", REG_BINARY, "abc", 3, L"REG_BINARY"},
  };
  for (const Case& c : cases) {
    ConnectionValue value(key, c.type, c.data, c.bytes);
    data_ = com::ComPtr<IDispatch>::Attach(data::QdProcedure::Create());  // no connection kept from before
    EXPECT_FALSE(GetData(key.c_str(), L"Select * From Documentos")) << c.what;
    std::wstring reason = ErrDescription();
    EXPECT_NE(reason.find(L"Connections\\" + key), std::wstring::npos) << c.what;
    EXPECT_NE(reason.find(c.reason), std::wstring::npos) << c.what << ": " << std::string(reason.begin(), reason.end());
    EXPECT_FALSE(Sql(key.c_str(), L"Delete From Documentos")) << c.what;
  }
  EXPECT_EQ(Count(key.c_str(), L"Select Count(*) From Documentos"), 3) << "without the value the default serves again";
}

TEST_F(QdProcedureTest, ObjectsLivingTogetherShareConnectionsThatStillFollowTheFiles) {
  // Each object below is made while another lives, so it takes the connections the
  // first opened from the pool: they must see what happened to the files meanwhile.
  const std::wstring key = L"Prueba" + std::to_wstring(GetCurrentProcessId());
  const std::wstring app = PathOf(kApp), sec = PathOf(kSec);
  auto another = [this] {
    com::ComPtr<IDispatch> previous = data_;
    data_ = com::ComPtr<IDispatch>::Attach(data::QdProcedure::Create());
    return previous;
  };
  com::ComPtr<IDispatch> first = data_;
  ASSERT_TRUE(Sql(kApp, L"Insert Into Procedures (Name, ParameterTypes, Body) Values ('Prueba_Gerencia', 'T', "
                        L"'Insert Into Gerencias (GerenciaId, Gerencia) Values (?1, ''Primera'')')"));
  ASSERT_TRUE(Execute(kApp, L"Prueba_Gerencia", Array({Text(L"G1")}), 4));
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(data::Narrow(app).c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other,
                         "INSERT INTO Gerencias (GerenciaId, Gerencia) VALUES ('G2', 'Fuera');"
                         "UPDATE Procedures SET Body = 'INSERT INTO Gerencias (GerenciaId, Gerencia) "
                         "VALUES (?1, ''Segunda'')' WHERE Name = 'Prueba_Gerencia'",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(other);
  another();
  EXPECT_EQ(Count(kApp, L"Select Count(*) From Gerencias Where GerenciaId = 'G2'"), 1) << "another's write";
  ASSERT_TRUE(Execute(kApp, L"Prueba_Gerencia", Array({Text(L"G3")}), 4));
  EXPECT_EQ(Count(kApp, L"Select Count(*) From Gerencias Where Gerencia = 'Segunda'"), 1) << "the changed body";
  // A key the registry points at another file.
  {
    ConnectionValue value(key, REG_SZ, app.c_str(), TextBytes(app));
    EXPECT_EQ(Count(key.c_str(), L"Select Count(*) From Gerencias Where GerenciaId = 'G3'"), 1);
  }
  {
    ConnectionValue value(key, REG_SZ, sec.c_str(), TextBytes(sec));
    another();
    EXPECT_EQ(Count(key.c_str(), L"Select Count(*) From Users Where UserName = 'USUARIO1'"), 1);
  }
  // Once no object lives, no file stays open.
  first.reset();
  data_.reset();
  EXPECT_TRUE(DeleteFileW(app.c_str()));
  EXPECT_TRUE(DeleteFileW(sec.c_str()));
}

// A count read by plain SQLite from the file at the path, apart from the component.
long CountInFile(const std::wstring& path, const char* sql) {
  sqlite3* db = nullptr;
  long count = -1;
  if (sqlite3_open_v2(data::Narrow(path).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
      count = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
  }
  sqlite3_close(db);
  return count;
}

TEST_F(QdProcedureTest, EachCallFollowsTheKeysFileWhenItIsReplacedOrDeleted) {
  // An administrator restores copies of the database and deletes it while the object
  // holds it open, with its statements prepared.
  const std::wstring app = PathOf(kApp), aside = DataFolder() + L"\\App.aside.db";
  const std::wstring copies[] = {DataFolder() + L"\\copy1.db", DataFolder() + L"\\copy2.db"};
  for (const std::wstring& copy : copies) ASSERT_TRUE(CopyFileW(app.c_str(), copy.c_str(), FALSE));
  ASSERT_TRUE(Execute(kApp, L"Documentos_Add", DocumentParameters(30, L"1", L"x"), 4)) << ErrDescription();
  EXPECT_EQ(Count(kApp, L"Select Count(*) From Documentos"), 4);
  // A copy renamed over it: the next command writes into the copy.
  ASSERT_TRUE(MoveFromOutsideWine(copies[0], app));
  EXPECT_TRUE(Execute(kApp, L"Documentos_Add", DocumentParameters(31, L"1", L"x"), 4)) << ErrDescription();
  EXPECT_EQ(CountInFile(app, "Select Count(*) From Documentos Where DocumentoId In (30, 31)"), 1);
  EXPECT_EQ(Count(kApp, L"Select Count(*) From Documentos"), 4);
  // Moved aside, another copy in its place: nothing more reaches the one moved aside.
  ASSERT_TRUE(MoveFromOutsideWine(app, aside));
  ASSERT_TRUE(MoveFromOutsideWine(copies[1], app));
  EXPECT_TRUE(Execute(kApp, L"Documentos_Add", DocumentParameters(32, L"1", L"x"), 4)) << ErrDescription();
  EXPECT_EQ(CountInFile(app, "Select Count(*) From Documentos Where DocumentoId In (30, 31, 32)"), 1);
  EXPECT_EQ(CountInFile(aside, "Select Count(*) From Documentos Where DocumentoId In (30, 31, 32)"), 1);
  // Deleted: each call fails with the reason, and no file takes its name.
  ASSERT_TRUE(DeleteFromOutsideWine(app));
  EXPECT_FALSE(Execute(kApp, L"Documentos_Add", DocumentParameters(33, L"1", L"x"), 4));
  EXPECT_NE(ErrDescription().find(L"ya no existe"), std::wstring::npos) << ErrDescription();
  EXPECT_FALSE(GetData(kApp, L"Select Count(*) From Documentos"));
  EXPECT_NE(ErrDescription().find(L"ya no existe"), std::wstring::npos) << ErrDescription();
  EXPECT_EQ(GetFileAttributesW(app.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(CountInFile(aside, "Select Count(*) From Documentos Where DocumentoId = 33"), 0);
  // Put back, it serves again.
  ASSERT_TRUE(CopyFileW(aside.c_str(), app.c_str(), FALSE));
  EXPECT_TRUE(Execute(kApp, L"Documentos_Add", DocumentParameters(33, L"1", L"x"), 4)) << ErrDescription();
  EXPECT_EQ(CountInFile(app, "Select Count(*) From Documentos Where DocumentoId In (31, 33)"), 2);
}

TEST_F(QdProcedureTest, ACommandWhoseFileIsReplacedBeforeItCommitsWritesNowhere) {
  // The file changes hands while the command runs (it may wait 30 s for a lock).
  const std::wstring app = PathOf(kApp), aside = DataFolder() + L"\\App.aside.db";
  const std::wstring copy = DataFolder() + L"\\copy.db";
  ASSERT_TRUE(CopyFileW(app.c_str(), copy.c_str(), FALSE));
  auto db = data::Database::Open(app);
  db->StartCall();
  {
    data::Transaction transaction(*db);
    data::StepToEnd(*db, db->Prepare("INSERT INTO Gerencias (GerenciaId, Gerencia) VALUES ('G9', 'x')"));
    ASSERT_TRUE(MoveFromOutsideWine(app, aside));
    ASSERT_TRUE(MoveFromOutsideWine(copy, app));
    try {
      transaction.Commit();
      ADD_FAILURE() << "committed into the file moved aside";
    } catch (const data::DataError& e) {
      EXPECT_NE(e.message.find(L"se reemplazó"), std::wstring::npos) << data::Narrow(e.message);
    }
  }
  db.reset();
  EXPECT_EQ(CountInFile(aside, "Select Count(*) From Gerencias Where GerenciaId = 'G9'"), 0);
  EXPECT_EQ(CountInFile(app, "Select Count(*) From Gerencias Where GerenciaId = 'G9'"), 0);
}

TEST_F(QdProcedureTest, TheSecurityStatementsOfTheProfileLoad) {
  struct Case {
    const wchar_t* sql;
    long rows;
  };
  const Case cases[] = {
      {L"Select * From Users Where UserName = 'usuario1'", 1},
      {L"Select * From UsersPermissions Where UserName = 'usuario1' And ComponentId = 'I01CAT'", 1},
      {L"Select A.UserName , C.CategoriaN2Id As CategoriaId From UsersCategorias A Inner Join Categorias B On "
       L"A.CategoriaId = B.CategoriaId Inner Join CategoriasDetail C On B.CategoriaId = C.CategoriaN1Id Where "
       L"A.UserName = 'usuario1'",
       2},
      {L"Select * From Components Where ComponentId = 'R01MRK'", 1},
      {L"Select UserName , UserDescription From Users", 2},
  };
  for (const Case& c : cases) {
    com::ComPtr<IDispatch> rs = GetData(kSec, c.sql);
    ASSERT_TRUE(rs) << ErrDescription();
    EXPECT_EQ(LongOf(CallByName(rs.get(), L"RecordCount")), c.rows);
  }
}

TEST_F(QdProcedureTest, TheSessionUserCanBeMadeARestrictedUser) {
  ASSERT_TRUE(Sql(kSec, L"Insert Into Users (UserName, UserDescription, UserLevel) Values ('sesion', 'S', 0)"));
  ASSERT_TRUE(Sql(kSec, DbScript("restrict_session_user.sql").c_str())) << ErrDescription();
  EXPECT_EQ(Count(kSec, L"Select UserLevel From Users Where UserName = 'sesion'"), 1);
  EXPECT_EQ(Count(kSec, L"Select UserLevel From Users Where UserName = 'administrador'"), 0);
  EXPECT_EQ(Count(kSec, L"Select Count(*) From UsersPermissions Where UserName = 'sesion'"), 8);
  EXPECT_EQ(Count(kSec, L"Select Count(*) From UsersCategorias A Inner Join Categorias B On A.CategoriaId = "
                        L"B.CategoriaId Inner Join CategoriasDetail C On B.CategoriaId = C.CategoriaN1Id Where "
                        L"A.UserName = 'sesion'"),
            2);
}

}  // namespace
}  // namespace vk::test
