#include "runtime/vb_error.h"

namespace vk {

std::wstring StandardErrorText(long number) {
  switch (number) {
    case 5: return L"Invalid procedure call or argument";
    case 6: return L"Overflow";
    case 7: return L"Out of memory";
    case 9: return L"Subscript out of range";
    case 11: return L"Division by zero";
    case 13: return L"Type mismatch";
    case 51: return L"Internal error";
    case 52: return L"Bad file name or number";
    case 53: return L"File not found";
    case 57: return L"Device I/O error";
    case 58: return L"File already exists";
    case 70: return L"Permission denied";
    case 75: return L"Path/File access error";
    case 76: return L"Path not found";
    case 91: return L"Object variable or With block variable not set";
    case 94: return L"Invalid use of Null";
    case 340: return L"Control array element does not exist";
    case 360: return L"Object already loaded";
    case 362: return L"Can't unload controls created at design time";
    case 380: return L"Invalid property value";
    case 424: return L"Object required";
    case 429: return L"ActiveX component can't create object";
    case 438: return L"Object doesn't support this property or method";
    case 481: return L"Invalid picture";
    case 3021: return L"Either BOF or EOF is True, or the current record has been deleted. "
                      L"Requested operation requires a current record.";
    default: return {};
  }
}

void Raise(long number, std::wstring source) {
  throw VbError{number, std::move(source), StandardErrorText(number)};
}

}  // namespace vk
