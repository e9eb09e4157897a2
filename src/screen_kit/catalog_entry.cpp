#include "screen_kit/catalog_entry.h"

#include "base/vb_error.h"

namespace vk {
namespace {

constexpr std::wstring CatalogEntry::*kCampos[kCampoCount] = {
    &CatalogEntry::Campo01, &CatalogEntry::Campo02, &CatalogEntry::Campo03, &CatalogEntry::Campo04,
    &CatalogEntry::Campo05, &CatalogEntry::Campo06, &CatalogEntry::Campo07, &CatalogEntry::Campo08,
    &CatalogEntry::Campo09, &CatalogEntry::Campo10,
};
const wchar_t* const kCampoNames[kCampoCount] = {L"Campo01", L"Campo02", L"Campo03", L"Campo04", L"Campo05",
                                                 L"Campo06", L"Campo07", L"Campo08", L"Campo09", L"Campo10"};

int Slot(int n) {
  if (n < 1 || n > kCampoCount) Raise(err::SubscriptOutOfRange, L"CatalogEntry.Campo");
  return n - 1;
}

}  // namespace

std::wstring& CatalogEntry::Campo(int n) { return this->*kCampos[Slot(n)]; }
const std::wstring& CatalogEntry::Campo(int n) const { return this->*kCampos[Slot(n)]; }
const wchar_t* CampoName(int n) { return kCampoNames[Slot(n)]; }

}  // namespace vk
