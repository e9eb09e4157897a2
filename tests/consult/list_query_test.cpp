// The statements of the document lists, exactly as the database receives them.
#include <gtest/gtest.h>

#include "consult/list_query.h"

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

}  // namespace
}  // namespace vk::consult
