// Events and their mute switch, property bags, the module path and owned GDI handles.
#include <gtest/gtest.h>

#include "base/variant.h"
#include "runtime/app_path.h"
#include "runtime/event.h"
#include "runtime/gdi_object.h"
#include "runtime/property_bag.h"

namespace vk {
namespace {

TEST(Events, RaiseCallsHandlersInOrderWithArguments) {
  Event<int, const std::wstring&> changed;
  std::vector<std::wstring> seen;
  changed.Connect([&](int i, const std::wstring& s) { seen.push_back(L"a" + std::to_wstring(i) + s); });
  const int second = changed.Connect([&](int i, const std::wstring& s) { seen.push_back(L"b" + std::to_wstring(i) + s); });
  changed.Raise(1, L"x");
  changed.Disconnect(second);
  changed.Raise(2, L"y");
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"a1x", L"b1x", L"a2y"}));
}

TEST(Events, MuteSwitchesNestAndCoverOneEventOrTheThread) {
  Event<> a, b;
  int countA = 0, countB = 0;
  a.Connect([&] { ++countA; });
  b.Connect([&] { ++countB; });
  struct Step { std::function<void()> act; int expectA, expectB; };
  auto raiseBoth = [&] { a.Raise(); b.Raise(); };
  const Step steps[] = {
      {raiseBoth, 1, 1},
      {[&] { MuteEvents quiet(a); raiseBoth(); }, 1, 2},
      {[&] { MuteEvents quiet; raiseBoth(); }, 1, 2},
      {[&] { MuteEvents outer; { MuteEvents inner; } raiseBoth(); }, 1, 2},
      {[&] { MuteEvents quiet(a, b); raiseBoth(); }, 1, 2},
      {raiseBoth, 2, 3},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    steps[i].act();
    EXPECT_EQ(countA, steps[i].expectA) << "step " << i;
    EXPECT_EQ(countB, steps[i].expectB) << "step " << i;
  }
  EXPECT_FALSE(a.muted());
}

TEST(Events, AHandlerMayDisconnectOthersOrDestroyTheEvent) {
  auto event = std::make_unique<Event<>>();
  int calls = 0;
  int later = 0;
  event->Connect([&] {
    ++calls;
    event->Disconnect(later);
    event.reset();  // the event goes while it is being raised
  });
  later = event->Connect([&] { ++calls; });
  event->Raise();
  EXPECT_EQ(calls, 2) << "handlers copied before the first call all run";
  EXPECT_EQ(event, nullptr);
}

TEST(Events, ExceptionsReachTheRaiser) {
  Event<> failing;
  failing.Connect([] { Raise(err::InvalidPropertyValue); });
  EXPECT_THROW(failing.Raise(), VbError);
  EXPECT_EQ(HandlerScope::Depth(), 0) << "the handler count unwinds";
}

TEST(Events, ObjectsReleasedInsideHandlersLiveUntilTheOutermostReturns) {
  std::weak_ptr<int> watch;
  Event<> inner, outer;
  inner.Connect([&] {
    auto object = std::make_shared<int>(5);
    watch = object;
    ReleaseWhenHandlersReturn(object);
  });
  outer.Connect([&] {
    inner.Raise();
    EXPECT_FALSE(watch.expired()) << "still inside the outer handler";
  });
  outer.Raise();
  EXPECT_TRUE(watch.expired());
}

TEST(PropertyBag, ReadsDefaultsAndWritesOnlyDifferences) {
  PropertyBag bag;
  bag.Write(L"BackColor", Variant(static_cast<long>(0x8000000F)), Variant(static_cast<long>(0x8000000F)));
  EXPECT_FALSE(bag.Contains(L"BackColor")) << "a default is not written";
  bag.Write(L"Theme", Variant(4), Variant(0));
  bag.Write(L"Caption", Variant(L"Nombre"), Variant(L""));
  EXPECT_EQ(bag.size(), 2u);
  struct Case { const wchar_t* key; Variant fallback; Variant expected; };
  const Case cases[] = {
      {L"theme", Variant(0), Variant(4)},          // keys ignore case
      {L"THEME", Variant(1), Variant(4)},
      {L"Caption", Variant(L"x"), Variant(L"Nombre")},
      {L"Missing", Variant(L"def"), Variant(L"def")},
      {L"Missing", Variant(), Variant()},
  };
  for (const auto& c : cases) EXPECT_TRUE(SameValue(bag.Read(c.key, c.fallback), c.expected)) << c.key;

  bag.Write(L"THEME", Variant(0.0), Variant(0));  // back to its default (another number type)
  EXPECT_FALSE(bag.Contains(L"Theme"));
  bag.Write(L"caption", Variant(L"Otro"), Variant(L""));
  EXPECT_EQ(bag.Read(L"Caption").toText(), L"Otro");
  EXPECT_EQ(bag.entries().front().first, L"Caption") << "the first spelling of a key stays";
}

TEST(PropertyBag, SameValueRules) {
  struct Case { Variant a, b; bool same; };
  const Case cases[] = {
      {Variant(), Variant(), true},
      {Variant(), Variant(L""), false},
      {Variant::Null(), Variant::Null(), true},
      {Variant(L"a"), Variant(L"A"), false},
      {Variant(4), Variant(4.0), true},
      {Variant(true), Variant(-1), true},
      {Variant(L"4"), Variant(4), false},
  };
  for (const auto& c : cases) EXPECT_EQ(SameValue(c.a, c.b), c.same);
}


TEST(AppPath, IsTheFolderOfTheModuleHoldingTheCode) {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);  // the runtime is linked into this program
  std::wstring folder(path);
  folder.resize(folder.find_last_of(L"\\"));
  EXPECT_EQ(AppPath(), folder);
  EXPECT_NE(AppPath().back(), L'\\');
}

TEST(GdiObject, DeletesWhatItOwnsOnceAndNothingItHandedOver) {
  auto live = [](HGDIOBJ object) { return GetObjectType(object) != 0; };
  HBRUSH first = CreateSolidBrush(RGB(1, 2, 3));
  HBRUSH second = CreateSolidBrush(RGB(4, 5, 6));
  HBRUSH kept = CreateSolidBrush(RGB(7, 8, 9));
  {
    GdiObject<HBRUSH> brush(first);
    brush.reset(first);  // the same handle again is no change of owner
    EXPECT_TRUE(live(first));
    brush.reset(second);
    EXPECT_FALSE(live(first));
    GdiObject<HBRUSH> moved(std::move(brush));
    EXPECT_FALSE(brush);
    EXPECT_EQ(moved.get(), second);
    GdiObject<HBRUSH> handedOver(kept);
    EXPECT_EQ(handedOver.release(), kept);
  }
  EXPECT_FALSE(live(second));
  EXPECT_TRUE(live(kept));
  DeleteObject(kept);
}

}  // namespace
}  // namespace vk
