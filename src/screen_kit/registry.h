#pragma once
// CRegistry: the component's access to the Windows registry. An instance holds a
// position (root, key path, value name, value type, default) and operates on it.
// Only the regional separators are read at start-up; the rest is complete for
// whoever needs it.
#include <windows.h>

#include <string>
#include <vector>

#include "base/variant.h"

namespace vk {

class CRegistry {
 public:
  static constexpr long kClassesRoot = static_cast<long>(0x80000000);
  static constexpr long kCurrentUser = static_cast<long>(0x80000001);
  static constexpr long kLocalMachine = static_cast<long>(0x80000002);

  bool KeyExists() const;
  bool CreateKey();
  bool DeleteKey();
  bool DeleteValue();
  Variant Value();                        // read: typed by what is stored; Default when unreadable
  void SetValue(const Variant& vValue);   // write with ValueType (text may choose REG_EXPAND_SZ)
  bool EnumerateValues(std::vector<std::wstring>& names, long& count) const;
  bool EnumerateSections(std::vector<std::wstring>& names, long& count) const;
  void CreateEXEAssociation(const std::wstring& programPath, const std::wstring& className,
                            const std::wstring& classDescription, const std::wstring& extension,
                            const std::wstring& openText, bool withPrint, const std::wstring& printText,
                            bool withNew, const std::wstring& newText, bool withAdd, const std::wstring& addText,
                            long iconIndex);
  // vItems holds triples (verb, menu text, command line). Raises when the list is not
  // made of triples or the class key does not exist.
  void CreateAdditionalEXEAssociations(const std::wstring& sClassName, const Variant& vItems);

  long ValueType() const { return valueType_; }
  void SetValueType(long eValueType) { valueType_ = eValueType; }
  long ClassKey() const { return classKey_; }
  void SetClassKey(long eKey) { classKey_ = eKey; }
  const std::wstring& SectionKey() const { return sectionKey_; }
  void SetSectionKey(const std::wstring& sSectionKey) { sectionKey_ = sSectionKey; }
  const std::wstring& ValueKey() const { return valueKey_; }
  void SetValueKey(const std::wstring& sValueKey) { valueKey_ = sValueKey; }
  const Variant& Default() const { return default_; }
  void SetDefault(const Variant& vDefault) { default_ = vDefault; }

 private:
  HKEY Root() const;
  void SetClassValue(const std::wstring& text);
  [[noreturn]] void RaiseValueWrite(long number, const Variant& value) const;

  long classKey_ = 0;
  std::wstring sectionKey_;
  std::wstring valueKey_;
  long valueType_ = REG_NONE;
  Variant default_;
};

// The four bytes of a Long in reverse order.
long SwapEndian(long value);
// The text with its environment-variable references expanded.
std::wstring ExpandEnvStr(const std::wstring& text);

// Reads the user's decimal and list separators into the shared state (Empty when
// missing). False only on a run-time error.
bool LoadInternationalSettings();

}  // namespace vk
