#pragma once
// Calls on an IDispatch object by member name, the way the component reaches outside
// components (the data-access object, its recordsets, Outlook). A member that fails
// raises VbError with the callee's own number, source and description.
#include <windows.h>
#include <oaidl.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "base/variant.h"
#include "com/com_ptr.h"

namespace vk::com {

// Method or property get (DISPATCH_METHOD | DISPATCH_PROPERTYGET); arguments in the
// caller's order.
Variant Call(IDispatch* object, std::wstring_view member, std::initializer_list<Variant> args = {});
// Property get only.
Variant Get(IDispatch* object, std::wstring_view member, std::initializer_list<Variant> args = {});
// Property put (or let) of one value.
void Put(IDispatch* object, std::wstring_view member, const Variant& value);

// A new object of the class a ProgID names ("Outlook.Application"), through IDispatch.
// Raises 429, "ActiveX component can't create object", when the class is unknown or
// will not start, and 430 when it offers no automation.
ComPtr<IDispatch> CreateObject(std::wstring_view progId);

// One member of one object with its DISPID looked up once, for a call made many times
// in a loop (a field's Value, a recordset's MoveNext). Raises as Call does.
class BoundMember {
 public:
  BoundMember(IDispatch* object, std::wstring_view member);
  // Method or property get without arguments.
  Variant Call() const;

 private:
  ComPtr<IDispatch> object_;
  std::wstring member_;
  DISPID id_ = 0;
};

// The platform error number an HRESULT stands for: the low word of a FACILITY_CONTROL
// error (0x800A0000 + n), the HRESULT itself otherwise.
long ErrorNumberOf(HRESULT hr);

}  // namespace vk::com
