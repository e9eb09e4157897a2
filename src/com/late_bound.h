#pragma once
// Calls on an IDispatch object by member name, the way the component reaches outside
// components (the data-access object, its recordsets, Outlook). A member that fails
// raises VbError with the callee's own number, source and description.
#include <windows.h>
#include <oaidl.h>

#include <initializer_list>
#include <string_view>

#include "com/com_ptr.h"
#include "runtime/variant.h"

namespace vk::com {

// A new object of the class a ProgID names, as the platform's CreateObject makes it
// (in process or local server); raises 429 when the class is not registered or
// cannot be created.
ComPtr<IDispatch> CreateObject(std::wstring_view progId);

// Method or property get (DISPATCH_METHOD | DISPATCH_PROPERTYGET); arguments in the
// caller's order.
Variant Call(IDispatch* object, std::wstring_view member, std::initializer_list<Variant> args = {});
// Property get only.
Variant Get(IDispatch* object, std::wstring_view member, std::initializer_list<Variant> args = {});
// Property put (or let) of one value.
void Put(IDispatch* object, std::wstring_view member, const Variant& value);

// The platform error number an HRESULT stands for: the low word of a FACILITY_CONTROL
// error (0x800A0000 + n), the HRESULT itself otherwise.
long ErrorNumberOf(HRESULT hr);

}  // namespace vk::com
