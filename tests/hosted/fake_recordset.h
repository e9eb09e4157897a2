#pragma once
// A tiny recordset for tests: an IDispatch with the ADO members the controls call by
// name (RecordCount, MoveFirst, MoveNext, EOF, Fields.Item(i).Value, Fields.Count). A row
// value of nullopt reads as Null. It records the members called, in order.
#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <string>
#include <vector>

namespace vk::test {

using FakeRow = std::vector<std::optional<std::wstring>>;

class FakeDispatch : public IDispatch {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      for (size_t m = 0; m < Members().size(); ++m) {
        if (_wcsicmp(names[i], Members()[m]) == 0) ids[i] = static_cast<DISPID>(m + 1);
      }
      if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* info, UINT*) override {
    VariantInit(result);
    return Call(id, params, result, info);
  }

 protected:
  virtual ~FakeDispatch() = default;
  virtual const std::vector<const wchar_t*>& Members() const = 0;
  virtual HRESULT Call(DISPID id, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info) = 0;

 private:
  LONG refs_ = 1;
};

class FakeField : public FakeDispatch {
 public:
  explicit FakeField(std::optional<std::wstring> value) : value_(std::move(value)) {}

 protected:
  const std::vector<const wchar_t*>& Members() const override {
    static const std::vector<const wchar_t*> members{L"Value"};
    return members;
  }
  HRESULT Call(DISPID, DISPPARAMS*, VARIANT* result, EXCEPINFO*) override {
    if (!value_) {
      result->vt = VT_NULL;
    } else {
      result->vt = VT_BSTR;
      result->bstrVal = SysAllocString(value_->c_str());
    }
    return S_OK;
  }

 private:
  std::optional<std::wstring> value_;
};

class FakeRecordset : public FakeDispatch {
 public:
  explicit FakeRecordset(std::vector<FakeRow> rows, long columns = 2) : rows_(std::move(rows)), columns_(columns) {}
  std::vector<std::wstring> calls;

 protected:
  const std::vector<const wchar_t*>& Members() const override {
    static const std::vector<const wchar_t*> members{L"RecordCount", L"MoveFirst", L"MoveNext", L"EOF", L"Fields"};
    return members;
  }
  HRESULT Call(DISPID id, DISPPARAMS*, VARIANT* result, EXCEPINFO* info) override {
    calls.push_back(Members()[static_cast<size_t>(id - 1)]);
    switch (id) {
      case 1:
        result->vt = VT_I4;
        result->lVal = static_cast<long>(rows_.size());
        return S_OK;
      case 2:
        if (rows_.empty()) return Fail(info, L"Either BOF or EOF is True");
        row_ = 0;
        return S_OK;
      case 3:
        if (row_ >= rows_.size()) return Fail(info, L"Either BOF or EOF is True");
        ++row_;
        return S_OK;
      case 4:
        result->vt = VT_BOOL;
        result->boolVal = row_ >= rows_.size() ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
      default:
        result->vt = VT_DISPATCH;
        result->pdispVal = new Fields(this);
        return S_OK;
    }
  }

 private:
  static HRESULT Fail(EXCEPINFO* info, const wchar_t* text) {
    if (info) {
      *info = EXCEPINFO{};
      info->scode = 3021;
      info->bstrSource = SysAllocString(L"FakeRecordset");
      info->bstrDescription = SysAllocString(text);
    }
    return DISP_E_EXCEPTION;
  }

  class Fields : public FakeDispatch {
   public:
    explicit Fields(FakeRecordset* owner) : owner_(owner) { owner_->AddRef(); }

   protected:
    ~Fields() override { owner_->Release(); }
    const std::vector<const wchar_t*>& Members() const override {
      static const std::vector<const wchar_t*> members{L"Count", L"Item"};
      return members;
    }
    HRESULT Call(DISPID id, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info) override {
      if (id == 1) {
        result->vt = VT_I4;
        result->lVal = owner_->columns_;
        return S_OK;
      }
      // The default member: Fields(i).
      if (!params || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
      VARIANT index;
      VariantInit(&index);
      if (FAILED(VariantChangeType(&index, &params->rgvarg[0], 0, VT_I4))) return DISP_E_TYPEMISMATCH;
      if (owner_->row_ >= owner_->rows_.size()) return Fail(info, L"Either BOF or EOF is True");
      const FakeRow& row = owner_->rows_[owner_->row_];
      if (index.lVal < 0 || index.lVal >= owner_->columns_) return DISP_E_BADINDEX;
      result->vt = VT_DISPATCH;
      result->pdispVal = new FakeField(static_cast<size_t>(index.lVal) < row.size() ? row[static_cast<size_t>(index.lVal)]
                                                                                  : std::wstring());
      return S_OK;
    }

   private:
    FakeRecordset* owner_;
  };

  std::vector<FakeRow> rows_;
  long columns_;
  size_t row_ = 0;
};

}  // namespace vk::test
