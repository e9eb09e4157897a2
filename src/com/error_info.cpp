#include "com/error_info.h"

#include "com/com_ptr.h"

namespace vk::com {

HRESULT HresultOf(long number) {
  if (number < 0) return static_cast<HRESULT>(number);
  return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number & 0xFFFF);
}

HRESULT ReportError(const VbError& error, REFIID iid) {
  ComPtr<ICreateErrorInfo> create;
  if (SUCCEEDED(CreateErrorInfo(create.put()))) {
    create->SetGUID(iid);
    create->SetSource(const_cast<LPOLESTR>(error.source.c_str()));
    std::wstring text = error.description.empty() ? StandardErrorText(error.number) : error.description;
    create->SetDescription(const_cast<LPOLESTR>(text.c_str()));
    if (auto info = create.as<IErrorInfo>()) SetErrorInfo(0, info.get());
  }
  return HresultOf(error.number);
}

}  // namespace vk::com
