#include "base/vb_error.h"

#include <windows.h>


namespace vk {
namespace {

struct ErrorText {
  long number;
  const wchar_t* text;
};

// The platform's own texts, for every number the component, its controls and the
// outside components it calls can raise.
const ErrorText kErrorTexts[] = {
    {3, L"Return without GoSub"},
    {5, L"Invalid procedure call or argument"},
    {6, L"Overflow"},
    {7, L"Out of memory"},
    {9, L"Subscript out of range"},
    {10, L"This array is fixed or temporarily locked"},
    {11, L"Division by zero"},
    {13, L"Type mismatch"},
    {14, L"Out of string space"},
    {16, L"Expression too complex"},
    {17, L"Can't perform requested operation"},
    {18, L"User interrupt occurred"},
    {20, L"Resume without error"},
    {28, L"Out of stack space"},
    {35, L"Sub or Function not defined"},
    {47, L"Too many DLL application clients"},
    {48, L"Error in loading DLL"},
    {49, L"Bad DLL calling convention"},
    {51, L"Internal error"},
    {52, L"Bad file name or number"},
    {53, L"File not found"},
    {54, L"Bad file mode"},
    {55, L"File already open"},
    {57, L"Device I/O error"},
    {58, L"File already exists"},
    {59, L"Bad record length"},
    {61, L"Disk full"},
    {62, L"Input past end of file"},
    {63, L"Bad record number"},
    {67, L"Too many files"},
    {68, L"Device unavailable"},
    {70, L"Permission denied"},
    {71, L"Disk not ready"},
    {74, L"Can't rename with different drive"},
    {75, L"Path/File access error"},
    {76, L"Path not found"},
    {91, L"Object variable or With block variable not set"},
    {92, L"For loop not initialized"},
    {93, L"Invalid pattern string"},
    {94, L"Invalid use of Null"},
    {298, L"System DLL could not be loaded"},
    {321, L"Invalid file format"},
    {322, L"Can't create necessary temporary file"},
    {335, L"Could not access system registry"},
    {336, L"Component not correctly registered"},
    {337, L"Component not found"},
    {338, L"Component did not run correctly"},
    {340, L"Control array element does not exist"},
    {360, L"Object already loaded"},
    {361, L"Can't load or unload this object"},
    {362, L"Can't unload controls created at design time"},
    {364, L"Object was unloaded"},
    {365, L"Unable to unload within this context"},
    {380, L"Invalid property value"},
    {381, L"Invalid property array index"},
    {400, L"Form already displayed; can't show modally"},
    {402, L"Must close or hide topmost modal form first"},
    {419, L"Permission to use object denied"},
    {422, L"Property not found"},
    {423, L"Property or method not found"},
    {424, L"Object required"},
    {425, L"Invalid object use"},
    {429, L"ActiveX component can't create object"},
    {430, L"Class does not support Automation or does not support expected interface"},
    {432, L"File name or class name not found during Automation operation"},
    {438, L"Object doesn't support this property or method"},
    {440, L"Automation error"},
    {443, L"Automation object does not have a default value"},
    {445, L"Object doesn't support this action"},
    {446, L"Object doesn't support named arguments"},
    {447, L"Object doesn't support current locale setting"},
    {448, L"Named argument not found"},
    {449, L"Argument not optional"},
    {450, L"Wrong number of arguments or invalid property assignment"},
    {451, L"Property let procedure not defined and property get procedure did not return an object"},
    {453, L"Specified DLL function not found"},
    {457, L"This key is already associated with an element of this collection"},
    {458, L"Variable uses an Automation type not supported in Visual Basic"},
    {460, L"Invalid clipboard format"},
    {461, L"Method or data member not found"},
    {462, L"The remote server machine does not exist or is unavailable"},
    {463, L"Class not registered on local machine"},
    {481, L"Invalid picture"},
    {482, L"Printer error"},
    {735, L"Can't save file to TEMP"},
    {3021, L"Either BOF or EOF is True, or the current record has been deleted. "
           L"Requested operation requires a current record."},
    {3265, L"Item cannot be found in the collection corresponding to the requested name or ordinal."},
    {3704, L"Operation is not allowed when the object is closed."},
};

// An HRESULT passed on as the error number: the system's text for it.
std::wstring SystemText(long number) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(number), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer ? buffer : L"", length);
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  return text;
}

}  // namespace

std::wstring StandardErrorText(long number) {
  if (number == 0) return {};
  for (const ErrorText& e : kErrorTexts)
    if (e.number == number) return e.text;
  if (number < 0) {
    const std::wstring text = SystemText(number);
    return text.empty() ? L"Automation error" : text;
  }
  return L"Application-defined or object-defined error";
}

void Raise(long number, std::wstring source) {
  throw VbError{number, std::move(source), StandardErrorText(number)};
}

}  // namespace vk
