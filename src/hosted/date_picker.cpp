#include "hosted/date_picker.h"

#include <commctrl.h>

#include <cmath>
#include <cwctype>
#include <vector>

#include "base/vb_error.h"

namespace vk::hosted {
namespace {

std::optional<DATE> FromParts(int year, int month, int day) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(year);
  st.wMonth = static_cast<WORD>(month);
  st.wDay = static_cast<WORD>(day);
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
  DATE date = 0;
  if (!SystemTimeToVariantTime(&st, &date)) return std::nullopt;
  // SystemTimeToVariantTime rolls 31 April over to 1 May: check the round trip.
  SYSTEMTIME back{};
  VariantTimeToSystemTime(date, &back);
  if (back.wDay != day || back.wMonth != month) return std::nullopt;
  return date;
}

}  // namespace

std::optional<DATE> ParseDateText(const std::wstring& text) {
  std::vector<int> numbers;
  std::vector<int> digits;
  wchar_t separator = 0;
  size_t i = 0;
  while (i < text.size() && text[i] == L' ') ++i;
  while (i < text.size()) {
    if (!std::iswdigit(text[i])) return std::nullopt;
    int value = 0, count = 0;
    while (i < text.size() && std::iswdigit(text[i]) && count < 5) value = value * 10 + (text[i++] - L'0'), ++count;
    numbers.push_back(value);
    digits.push_back(count);
    if (i == text.size() || text[i] == L' ') break;
    if (text[i] != L'/' && text[i] != L'-' && text[i] != L'.') return std::nullopt;
    if (separator && text[i] != separator) return std::nullopt;
    separator = text[i++];
  }
  while (i < text.size() && text[i] == L' ') ++i;
  if (i != text.size() || numbers.size() != 3) return std::nullopt;
  if (digits[0] == 4) return FromParts(numbers[0], numbers[1], numbers[2]);
  int year = numbers[2];
  if (digits[2] <= 2) year += year < 30 ? 2000 : 1900;
  else if (digits[2] != 4) return std::nullopt;
  return FromParts(year, numbers[1], numbers[0]);
}

std::unique_ptr<Control> DatePicker::Clone(Form& form, const ControlArgs& args) const {
  auto copy = std::make_unique<DatePicker>(form, args);
  copy->checkNull_ = checkNull_;
  copy->fieldName_ = fieldName_;
  copy->Change.CopyHandlersFrom(Change);
  return copy;
}

void DatePicker::OnCreated() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES};
  InitCommonControlsEx(&icc);
  SYSTEMTIME now{};
  GetLocalTime(&now);
  DATE today = 0;
  SystemTimeToVariantTime(&now, &today);
  MakePicker(std::floor(today));
}

void DatePicker::MakePicker(const std::optional<DATE>& value) {
  if (inner_) DestroyWindow(inner_);
  // The "no date" box is a style fixed when the picker is made.
  CreateInner(DATETIMEPICK_CLASSW, DTS_SHORTDATEFORMAT | WS_TABSTOP | (checkNull_ ? DTS_SHOWNONE : 0));
  SendMessageW(inner_, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"dd/MM/yyyy"));
  settingValue_ = true;
  Put(value);
  settingValue_ = false;
}

void DatePicker::Put(const std::optional<DATE>& value) {
  hasDate_ = value.has_value();
  if (!value) {
    // Wine's picker ignores a "no date" that comes without a time record, and would
    // keep showing its box ticked; the system's own reads no time for GDT_NONE.
    SYSTEMTIME unused{};
    GetLocalTime(&unused);
    SendMessageW(inner(), DTM_SETSYSTEMTIME, GDT_NONE, reinterpret_cast<LPARAM>(&unused));
    return;
  }
  SYSTEMTIME st{};
  VariantTimeToSystemTime(std::floor(*value), &st);
  SendMessageW(inner(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

std::optional<DATE> DatePicker::Value() const {
  SYSTEMTIME st{};
  if (!hasDate_) return std::nullopt;
  if (SendMessageW(inner(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID) return std::nullopt;
  st.wHour = st.wMinute = st.wSecond = st.wMilliseconds = 0;
  DATE date = 0;
  SystemTimeToVariantTime(&st, &date);
  return date;
}

void DatePicker::SetValue(DATE value) {
  std::optional<DATE> before = Value();
  settingValue_ = true;
  Put(value);
  settingValue_ = false;
  if (before != Value()) Change.Raise(index());
}

void DatePicker::SetValueText(const std::wstring& text) {
  std::optional<DATE> date = ParseDateText(text);
  if (!date) throw VbError{err::TypeMismatch, L"DatePicker.Value", StandardErrorText(err::TypeMismatch)};
  SetValue(*date);
}

void DatePicker::ClearValue() {
  if (!checkNull_) Raise(err::InvalidPropertyValue, L"DatePicker.Value");
  std::optional<DATE> before = Value();
  settingValue_ = true;
  Put(std::nullopt);
  settingValue_ = false;
  if (before) Change.Raise(index());
}

void DatePicker::SetCheckNull(bool checkNull) {
  if (checkNull == checkNull_) return;
  std::optional<DATE> value = Value();
  const bool enabled = IsWindowEnabled(inner()) != FALSE;
  checkNull_ = checkNull;
  if (!checkNull_ && !value) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    DATE today = 0;
    SystemTimeToVariantTime(&now, &today);
    value = std::floor(today);
  }
  MakePicker(value);
  EnableWindow(inner(), enabled);
}

LRESULT DatePicker::OnNotify(NMHDR* header) {
  if (header->code != DTN_DATETIMECHANGE || settingValue_) return 0;
  hasDate_ = reinterpret_cast<NMDATETIMECHANGE*>(header)->dwFlags == GDT_VALID;
  Change.Raise(index());
  return 0;
}

}  // namespace vk::hosted
