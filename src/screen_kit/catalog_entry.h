#pragma once
// CatalogEntry: the document-record fields that one catalogue entry carries, from
// CategoriaId to ReferenciaId (a DocumentRecord without its id and observation). A
// VkImage (a thumbnail, the large view) holds one; the screens copy it whole into
// and out of their record.
#include <windows.h>
#include <oaidl.h>

#include <string>

namespace vk {

struct CatalogEntry {
  std::wstring CategoriaId;
  std::wstring SubCategoriaId;
  std::wstring GerenciaId;
  long TipoDocumentoId = 0;
  std::wstring Documento;  // the source file's name, without folder
  std::wstring Path;       // the file's full path
  std::wstring Campo01, Campo02, Campo03, Campo04, Campo05, Campo06, Campo07, Campo08, Campo09, Campo10;
  DATE Fecha = 0;
  std::wstring CBarra;  // the bar code
  std::wstring ReferenciaId;

  // Campo01 ... Campo10 by their number, 1 to 10; any other number raises 9.
  std::wstring& Campo(int n);
  const std::wstring& Campo(int n) const;
};

inline constexpr int kCampoCount = 10;
// "Campo01" ... "Campo10": the column, and the property-bag key, of Campo n (1 to 10;
// any other number raises 9).
const wchar_t* CampoName(int n);

}  // namespace vk
