#pragma once
// The one conversion of a C++ exception into the run-time error its callers see: the
// COM methods, the data-access dispatcher, the steps that skip failures and the edges
// of window procedures all go through it.
#include <exception>
#include <string>

#include "base/vb_error.h"

namespace vk {

// An exception's what() as text. The library and our own code write UTF-8 (or plain
// ASCII); bytes that are not valid UTF-8 came from the system in the ANSI code page.
std::wstring WideFromWhat(const char* what);

// The run-time error a C++ exception stands for: 7 for memory, 51 otherwise, with its
// what() as the description.
VbError ToVbError(const std::exception& e);

// Inside a catch block: the run-time error the exception being handled stands for. A
// VbError is itself; what is not even a std::exception is error 51 "unknown failure".
VbError CurrentVbError();

}  // namespace vk
