// The statements of the document lists, exactly as the database receives them.
#include <gtest/gtest.h>

#include "consult/list_query.h"
#include "hosted/fake_recordset.h"
#include "screen_kit/data_access.h"

namespace vk::consult {
namespace {

const std::wstring kWithIsNew =
    L"Select A.* , Coalesce(B.IsNew,0) As IsNew From Documentos A Left Join ( Select DocumentoId , Usuario , 1 As "
    L"IsNew From DocumentosLog Where Usuario = 'ana' Group By DocumentoId , Usuario ) B On A.DocumentoId = "
    L"B.DocumentoId";
const Reader kAdmin{L"ana", true, L"ALL"};
const Reader kClerk{L"ana", false, L"'1' , '2'"};

TEST(ListQuery, SearchStatements) {
  SearchFilters none;
  SearchFilters category;
  category.categoriaId = L"2";
  SearchFilters texts;
  texts.tipoDocumentoId = L"3";
  texts.referenciaId = L" o'k ";
  texts.cBarra = L" 77 ";
  texts.cBarraExact = true;
  struct Case {
    const Reader& reader;
    bool external;
    const SearchFilters& filters;
    std::wstring expected;
  };
  const Case cases[] = {
      {kAdmin, false, none, kWithIsNew + L" "},
      {kAdmin, true, none, kWithIsNew + L" Union All Select * From V_DocumentosExternos"},
      {kClerk, false, none, kWithIsNew + L" Where A.CategoriaId In ( '1' , '2' )"},
      {kClerk, true, none,
       kWithIsNew + L" Where A.CategoriaId In ( '1' , '2' ) Union All Select * From V_DocumentosExternos Where "
                    L"CategoriaId In ( '1' , '2' )"},
      {kAdmin, false, category, L"Select * From ( " + kWithIsNew + L"  ) A Where  CategoriaId = '2' "},
      {kClerk, false, texts,
       L"Select * From ( " + kWithIsNew + L" Where A.CategoriaId In ( '1' , '2' ) ) A Where  TipoDocumentoId = 3 "
       L"And  ReferenciaId Like '% o''k %' And  CBarra = '77' "},
  };
  for (const Case& c : cases) EXPECT_EQ(SearchStatement(c.reader, c.external, c.filters), c.expected);
  SearchFilters noNumber;
  noNumber.tipoDocumentoId = L"3'--";
  EXPECT_EQ(SearchStatement(kAdmin, false, noNumber), L"Select * From ( " + kWithIsNew + L"  ) A Where  1 = 0 ");

  const Reader quoted{L"o'neil", true, L"ALL"};
  EXPECT_NE(SearchStatement(quoted, false, none).find(L"Where Usuario = 'o''neil' Group By"), std::wstring::npos);
}

TEST(ListQuery, UnreadStatements) {
  EXPECT_EQ(UnreadStatement(kAdmin), L"Select * From ( " + kWithIsNew + L" ) A Where IsNew = 0");
  EXPECT_EQ(UnreadStatement(kClerk),
            L"Select * From ( " + kWithIsNew + L" Where A.CategoriaId In ( '1' , '2' ) ) A Where IsNew = 0");
}

// Records whose fields are read by name and follow the current record, as ADO's do,
// with a RecordCount that may say anything (ADO gives -1 when it cannot count).
class CountedRecords : public test::FakeDispatch {
 public:
  CountedRecords(std::vector<long> ids, long reportedCount) : ids_(std::move(ids)), reported_(reportedCount) {}

 protected:
  const std::vector<const wchar_t*>& Members() const override {
    static const std::vector<const wchar_t*> members{L"RecordCount", L"MoveFirst", L"MoveNext", L"EOF", L"Fields",
                                                     L"Item", L"Value"};
    return members;
  }
  HRESULT Call(DISPID id, DISPPARAMS* params, VARIANT* result, EXCEPINFO*) override {
    switch (id) {
      case 1: V_VT(result) = VT_I4; V_I4(result) = reported_; return S_OK;
      case 2: row_ = 0; return S_OK;
      case 3: if (row_ >= ids_.size()) return E_FAIL; ++row_; return S_OK;
      case 4: V_VT(result) = VT_BOOL; V_BOOL(result) = row_ >= ids_.size() ? VARIANT_TRUE : VARIANT_FALSE; return S_OK;
      case 5: case 6:  // Fields, then Fields.Item(name): this object serves both, and only "DocumentoId"
        if (id == 6 && (!params || params->cArgs != 1 || V_VT(&params->rgvarg[0]) != VT_BSTR ||
                        std::wstring(V_BSTR(&params->rgvarg[0])) != L"DocumentoId"))
          return DISP_E_MEMBERNOTFOUND;
        AddRef();
        V_VT(result) = VT_DISPATCH;
        V_DISPATCH(result) = this;
        return S_OK;
      default:
        if (row_ >= ids_.size()) return E_FAIL;
        V_VT(result) = VT_I4;
        V_I4(result) = ids_[row_];
        return S_OK;
    }
  }

 private:
  std::vector<long> ids_;
  long reported_;
  size_t row_ = 0;
};

TEST(ListFill, TheRecordsAreWalkedToTheirEndWhateverTheirCountSays) {
  for (long reported : {-1L, 0L, 2L, 3L, 7L}) {
    grid::GridMembers grid;
    for (const wchar_t* name : kListFields) grid.Columns().Add(name);
    const Recordset records(com::ComPtr<IDispatch>::Attach(new CountedRecords({101, 102, 103}, reported)));
    EXPECT_TRUE(FillGrid(grid, &records)) << reported;
    ASSERT_EQ(grid.DataRowCount(), 3) << reported;
    for (int row = 0; row < 3; ++row) EXPECT_EQ(CellLong(grid, row, L"DocumentoId"), 101 + row) << reported;
  }
}

}  // namespace
}  // namespace vk::consult
