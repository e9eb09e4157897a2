#include "dataaccess/named_dispatch.h"

namespace vk::data {

Arguments::Arguments(const DISPPARAMS* params) {
  if (!params) return;
  values_.resize(params->cArgs);
  for (UINT i = 0; i < params->cArgs; ++i) {
    VARIANT& target = values_[params->cArgs - 1 - i];
    VariantInit(&target);
    const VARIANT& source = params->rgvarg[i];
    if (FAILED(VariantCopyInd(&target, const_cast<VARIANT*>(&source)))) throw VbError{err::TypeMismatch, L"", StandardErrorText(err::TypeMismatch)};
  }
  // A property put's value is rgvarg[0], so it lands last.
}

Arguments::~Arguments() {
  for (VARIANT& v : values_) VariantClear(&v);
}

void RaiseNoCurrentRecord() {
  throw VbError{err::NoCurrentRecord, L"",
                L"Either BOF or EOF is True, or the current record has been deleted. "
                L"Requested operation requires a current record."};
}

void RaiseItemNotFound() {
  throw VbError{3265, L"", L"Item cannot be found in the collection corresponding to the requested name or ordinal."};
}

void RaiseOutOfRange() {
  throw VbError{3001, L"",
                L"Arguments are of the wrong type, are out of acceptable range, or are in conflict with one another."};
}

}  // namespace vk::data
