#pragma once
// A run-time error as the component's callers know it: the platform's error number
// (or an HRESULT, which is negative), the source that raised it and its text.
#include <string>

namespace vk {

struct VbError {
  long number = 0;
  std::wstring source;
  std::wstring description;
};

// The platform's own text for an error number ("Invalid procedure call or argument" for
// 5, "ActiveX component can't create object" for 429); for an HRESULT the system's text
// ("Automation error" when it has none), for any other number the platform's
// "Application-defined or object-defined error". Empty only for 0, so no message shows
// an empty description.
std::wstring StandardErrorText(long number);

// Throws VbError{number, source, StandardErrorText(number)}.
[[noreturn]] void Raise(long number, std::wstring source = {});

// Well-known numbers the component raises.
namespace err {
inline constexpr long InvalidProcedureCall = 5;
inline constexpr long Overflow = 6;
inline constexpr long OutOfMemory = 7;
inline constexpr long SubscriptOutOfRange = 9;
inline constexpr long TypeMismatch = 13;
inline constexpr long FileNotFound = 53;
inline constexpr long FileAlreadyExists = 58;
inline constexpr long PermissionDenied = 70;
inline constexpr long PathFileAccessError = 75;
inline constexpr long PathNotFound = 76;
inline constexpr long ObjectNotSet = 91;
inline constexpr long InvalidUseOfNull = 94;
inline constexpr long InvalidPropertyValue = 380;
inline constexpr long InvalidPicture = 481;
inline constexpr long InternalError = 51;
inline constexpr long ObjectRequired = 424;
inline constexpr long CannotCreateObject = 429;
inline constexpr long ObjectDoesNotSupport = 438;
inline constexpr long ObjectAlreadyLoaded = 360;
inline constexpr long ControlArrayElementMissing = 340;
inline constexpr long CannotUnloadDesignControl = 362;
inline constexpr long NoCurrentRecord = 3021;  // ADO: BOF or EOF is True
}  // namespace err

}  // namespace vk
