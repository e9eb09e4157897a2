// Values: the conversions screens rely on, case by case.
#include <gtest/gtest.h>

#include <cmath>

#include "base/variant.h"
#include "base/vb_error.h"
#include "support/error_of.h"

namespace vk {
namespace {

using test::ErrorOf;

TEST(Variant, EmptyNullAndKinds) {
  Variant empty;
  EXPECT_TRUE(empty.isEmpty());
  EXPECT_EQ(empty.toText(), L"");
  EXPECT_EQ(empty.toLong(), 0);
  EXPECT_FALSE(empty.toBool());

  Variant blank(L"");
  EXPECT_FALSE(blank.isEmpty()) << "an empty text is not Empty";
  EXPECT_EQ(blank.vt(), VT_BSTR);

  Variant null = Variant::Null();
  EXPECT_TRUE(null.isNull());
  EXPECT_EQ(ErrorOf([&] { null.toText(); }), err::InvalidUseOfNull);
  EXPECT_EQ(ErrorOf([&] { null.toLong(); }), err::InvalidUseOfNull);
  EXPECT_EQ(ErrorOf([&] { null.toDouble(); }), err::InvalidUseOfNull);
  EXPECT_EQ(ErrorOf([&] { null.toBool(); }), err::InvalidUseOfNull);

  Variant nothing(static_cast<IDispatch*>(nullptr));
  EXPECT_TRUE(nothing.isNothing());
  EXPECT_EQ(ErrorOf([&] { nothing.toText(); }), err::ObjectNotSet);
}

TEST(Variant, CopyMoveAndAttach) {
  Variant a(L"texto");
  Variant b = a;
  Variant c = std::move(a);
  EXPECT_TRUE(a.isEmpty());
  EXPECT_EQ(b.toText(), L"texto");
  EXPECT_EQ(c.toText(), L"texto");
  b = Variant(7);
  EXPECT_EQ(b.vt(), VT_I4);
  EXPECT_EQ(c.toText(), L"texto") << "a copy is deep";

  VARIANT raw;
  VariantInit(&raw);
  raw.vt = VT_BSTR;
  raw.bstrVal = SysAllocString(L"owned");
  Variant attached = Variant::Attach(raw);
  EXPECT_EQ(raw.vt, VT_EMPTY);
  EXPECT_EQ(attached.toText(), L"owned");
  VARIANT out = attached.detach();
  EXPECT_TRUE(attached.isEmpty());
  VariantClear(&out);
}

struct LongCase {
  Variant value;
  long expected;  // or the error number when error != 0
  long error;
};

TEST(Variant, CLngRoundsHalfToEvenAndChecksRange) {
  const LongCase cases[] = {
      {Variant(0.5), 0, 0},        {Variant(1.5), 2, 0},         {Variant(2.5), 2, 0},
      {Variant(-0.5), 0, 0},       {Variant(-1.5), -2, 0},       {Variant(2.4999), 2, 0},
      {Variant(2.5001), 3, 0},     {Variant(true), -1, 0},       {Variant(false), 0, 0},
      {Variant(L" 42 "), 42, 0},   {Variant(L"abc"), 0, err::TypeMismatch},
      {Variant(L""), 0, err::TypeMismatch},
      {Variant(3e9), 0, err::Overflow},
      {Variant(-2147483648.0), -2147483647L - 1, 0},
      {Variant(2147483647.4), 2147483647L, 0},
      {Variant(), 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value.vt());
    if (c.error) {
      EXPECT_EQ(ErrorOf([&] { c.value.toLong(); }), c.error);
    } else {
      EXPECT_EQ(c.value.toLong(), c.expected);
    }
  }
}

TEST(Variant, CBoolAndCDbl) {
  struct BoolCase { Variant v; bool expected; long error; };
  const BoolCase bools[] = {
      {Variant(L"True"), true, 0}, {Variant(L"false"), false, 0}, {Variant(L" TRUE "), true, 0},
      {Variant(L"0"), false, 0},   {Variant(L"-1"), true, 0},     {Variant(2), true, 0},
      {Variant(0.0), false, 0},    {Variant(L"sí"), false, err::TypeMismatch},
  };
  for (const auto& c : bools) {
    if (c.error) EXPECT_EQ(ErrorOf([&] { c.v.toBool(); }), c.error);
    else EXPECT_EQ(c.v.toBool(), c.expected);
  }
  EXPECT_DOUBLE_EQ(Variant(L"12").toDouble(), 12.0);
  EXPECT_DOUBLE_EQ(Variant(7).toDouble(), 7.0);
  EXPECT_DOUBLE_EQ(Variant(true).toDouble(), -1.0);
  EXPECT_EQ(ErrorOf([] { Variant(L"doce").toDouble(); }), err::TypeMismatch);
}

TEST(Variant, CStrOfValues) {
  EXPECT_EQ(Variant(true).toText(), L"True");
  EXPECT_EQ(Variant(false).toText(), L"False");
  EXPECT_EQ(Variant(-12).toText(), L"-12");
  EXPECT_EQ(Variant(L"tal cual").toText(), L"tal cual");
  EXPECT_EQ(Variant(2.0).toText(), L"2");
}

TEST(Dates, MakeAndSplitRoundTrip) {
  struct Case { int y, m, d, h, n, s; double serial; };
  const Case cases[] = {
      {1899, 12, 30, 0, 0, 0, 0.0},      {1900, 1, 1, 0, 0, 0, 2.0},
      {2024, 2, 29, 0, 0, 0, 45351.0},   {2000, 1, 1, 12, 0, 0, 36526.5},
      {1899, 12, 29, 6, 0, 0, -1.25},    {2025, 12, 31, 23, 59, 59, 46022.0 + 86399.0 / 86400},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.serial);
    const DATE d = MakeDate(c.y, c.m, c.d, c.h, c.n, c.s);
    EXPECT_NEAR(d, c.serial, 1e-9);
    const DateParts p = SplitDate(d);
    EXPECT_EQ(p.year, c.y);
    EXPECT_EQ(p.month, c.m);
    EXPECT_EQ(p.day, c.d);
    EXPECT_EQ(p.hour, c.h);
    EXPECT_EQ(p.minute, c.n);
    EXPECT_EQ(p.second, c.s);
  }
  EXPECT_EQ(ErrorOf([] { MakeDate(2023, 2, 29); }), err::InvalidProcedureCall);
  EXPECT_EQ(ErrorOf([] { MakeDate(2023, 13, 1); }), err::InvalidProcedureCall);
}

TEST(Dates, DayFirstTexts) {
  struct Case { const wchar_t* text; int y, m, d, h, n, s; bool ok; };
  const Case cases[] = {
      {L"31/12/2024", 2024, 12, 31, 0, 0, 0, true},
      {L"05-1-2025", 2025, 1, 5, 0, 0, 0, true},
      {L"1/2/2025", 2025, 2, 1, 0, 0, 0, true},  // day first: 1 February
      {L"07.03.99", 1999, 3, 7, 0, 0, 0, true},
      {L"07/03/05", 2005, 3, 7, 0, 0, 0, true},
      {L" 15/06/2024 13:45 ", 2024, 6, 15, 13, 45, 0, true},
      {L"15/06/2024 13:45:30", 2024, 6, 15, 13, 45, 30, true},
      {L"31/02/2024", 0, 0, 0, 0, 0, 0, false},
      {L"12/31/2024", 0, 0, 0, 0, 0, 0, false},
      {L"15/06-2024", 0, 0, 0, 0, 0, 0, false},
      {L"2024-06-15", 0, 0, 0, 0, 0, 0, false},
      {L"hoy", 0, 0, 0, 0, 0, 0, false},
      {L"", 0, 0, 0, 0, 0, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.text, c.text + wcslen(c.text)));
    auto parsed = ParseDayFirstDate(c.text);
    ASSERT_EQ(parsed.has_value(), c.ok);
    if (!c.ok) continue;
    EXPECT_NEAR(*parsed, MakeDate(c.y, c.m, c.d, c.h, c.n, c.s), 1e-9);
  }
}

TEST(Dates, FormatPatterns) {
  const DATE d = MakeDate(2025, 3, 7, 9, 5, 4);
  const std::wstring sep = RegionalDateSeparator();
  struct Case { const wchar_t* pattern; std::wstring expected; };
  const Case cases[] = {
      {L"yyyy-mm-dd", L"2025-03-07"},
      {L"dd-m-yyyy", L"07-3-2025"},
      {L"DD/MM/YYYY", L"07" + sep + L"03" + sep + L"2025"},
      {L"d/m/yy", L"7" + sep + L"3" + sep + L"25"},
      {L"hh:mm:ss", L"09" + RegionalTimeSeparator() + L"05" + RegionalTimeSeparator() + L"04"},
      {L"yyyymmdd hhnn", L"20250307 0905"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDate(d, c.pattern), c.expected) << c.pattern;
}

TEST(Dates, CStrShowsTimeOnlyWhenNotMidnight) {
  const DATE midnight = MakeDate(2025, 3, 7);
  const DATE afternoon = MakeDate(2025, 3, 7, 15, 30, 0);
  const std::wstring dateText = Variant::FromDate(midnight).toText();
  const std::wstring fullText = Variant::FromDate(afternoon).toText();
  EXPECT_NE(dateText.find(L"2025"), std::wstring::npos);
  EXPECT_EQ(dateText.find(L"30"), std::wstring::npos) << "no time at midnight";
  EXPECT_EQ(fullText.rfind(dateText + L" ", 0), 0u) << "the date, then the time";
  EXPECT_NE(fullText.find(L"30"), std::wstring::npos);
  // Reading the text back gives the same date.
  EXPECT_NEAR(Variant(dateText).toDate(), midnight, 1e-9);
  // With no date part the value is a time of day, midnight included.
  const std::wstring zero = Variant::FromDate(0).toText();
  const std::wstring noon = Variant::FromDate(0.5).toText();
  EXPECT_EQ(zero.find(L"1899"), std::wstring::npos) << zero;
  EXPECT_NE(zero.find(RegionalTimeSeparator()), std::wstring::npos) << zero;
  EXPECT_EQ(noon.rfind(L"12", 0), 0u) << noon;
}

TEST(Dates, TextCacheWritesWhatCStrWrites) {
  // Days and times repeat across rows; midnight, time-only values and a rounding that
  // reaches the next day take the same paths as one conversion does.
  DateTextCache cache;
  std::vector<DATE> dates = {0.0, 0.5, MakeDate(2026, 3, 1), MakeDate(2026, 12, 31, 23, 59, 59),
                             MakeDate(2026, 3, 1) + 0.999999999, -1.25};
  for (int i = 0; i < 400; ++i) dates.push_back(MakeDate(2025, 1 + i % 12, 1 + i % 28, i % 24, i % 60, i % 7));
  for (int pass = 0; pass < 2; ++pass)
    for (DATE d : dates) EXPECT_EQ(cache.Text(d), DateToText(d)) << d;
}

TEST(Variant, Arrays) {
  Variant a = Variant::Array({Variant(1), Variant(L"dos"), Variant::Null()}, 1);
  EXPECT_TRUE(a.isArray());
  EXPECT_EQ(a.lbound(), 1);
  EXPECT_EQ(a.ubound(), 3);
  EXPECT_EQ(a.at(2).toText(), L"dos");
  EXPECT_TRUE(a.at(3).isNull());
  EXPECT_EQ(ErrorOf([&] { a.at(4); }), err::SubscriptOutOfRange);
  EXPECT_EQ(ErrorOf([&] { a.toText(); }), err::TypeMismatch);
  Variant copy = a;
  EXPECT_EQ(copy.at(1).toLong(), 1);
  EXPECT_EQ(ErrorOf([] { Variant(5).ubound(); }), err::TypeMismatch);
}

// An object whose default property gives a text, as a combo box's does.
class DefaultValueObject : public IDispatch {
 public:
  explicit DefaultValueObject(const wchar_t* value) : value_(value) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result,
                                   EXCEPINFO*, UINT*) override {
    if (id != DISPID_VALUE || !(flags & DISPATCH_PROPERTYGET) || !value_) return DISP_E_MEMBERNOTFOUND;
    result->vt = VT_BSTR;
    result->bstrVal = SysAllocString(value_);
    return S_OK;
  }
  long refs = 1;

 private:
  const wchar_t* value_;
};

TEST(Variant, ObjectsAndReferencesConvertThroughTheirValue) {
  DefaultValueObject combo(L" 12 - Contratos");
  {
    Variant object(static_cast<IDispatch*>(&combo));
    EXPECT_EQ(combo.refs, 2);
    EXPECT_TRUE(object.isObject());
    EXPECT_EQ(object.object(), &combo);
    EXPECT_EQ(object.toText(), L" 12 - Contratos") << "the default property";
    EXPECT_EQ(ErrorOf([&] { object.toLong(); }), err::TypeMismatch);
  }
  EXPECT_EQ(combo.refs, 1) << "the Variant released its reference";

  DefaultValueObject noDefault(nullptr);
  Variant bare(static_cast<IDispatch*>(&noDefault));
  EXPECT_EQ(ErrorOf([&] { bare.toText(); }), err::ObjectDoesNotSupport);

  // By reference, as a connection key is passed: the referenced value converts.
  BSTR key = SysAllocString(L"VkS");
  VARIANT ref;
  VariantInit(&ref);
  ref.vt = VT_BYREF | VT_BSTR;
  ref.pbstrVal = &key;
  EXPECT_EQ(Variant(ref).toText(), L"VkS");
  long number = 41;
  ref.vt = VT_BYREF | VT_I4;
  ref.plVal = &number;
  EXPECT_EQ(Variant(ref).toLong(), 41);
  SysFreeString(key);
}

TEST(Variant, TypedArraysGiveTheirElements) {
  SAFEARRAYBOUND bound{2, 0};
  SAFEARRAY* array = SafeArrayCreate(VT_BSTR, 1, &bound);
  LONG i = 1;
  BSTR second = SysAllocString(L"segundo");
  SafeArrayPutElement(array, &i, second);
  SysFreeString(second);
  VARIANT raw;
  VariantInit(&raw);
  raw.vt = VT_ARRAY | VT_BSTR;
  raw.parray = array;
  Variant texts = Variant::Attach(raw);
  EXPECT_EQ(texts.ubound(), 1);
  EXPECT_EQ(texts.at(1).toText(), L"segundo");
  EXPECT_EQ(texts.at(0).vt(), VT_BSTR);
  EXPECT_EQ(texts.at(0).toText(), L"");
}

TEST(Variant, NumericAndDateTests) {
  EXPECT_TRUE(IsNumeric(Variant(L"12")));
  EXPECT_FALSE(IsNumeric(Variant(L"12a")));
  EXPECT_FALSE(IsNumeric(Variant::Null()));
  EXPECT_TRUE(IsDate(Variant(L"31/12/2024")));
  EXPECT_FALSE(IsDate(Variant(L"31/13/2024")));
  EXPECT_FALSE(IsDate(Variant(12)));
}

}  // namespace
}  // namespace vk
