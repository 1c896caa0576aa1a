#include "core/AttributeValues.h"

#include <gtest/gtest.h>

#include "core/CDelegate.h"

namespace SkinUI {
namespace {

TEST(AttributeValues, IntegersReadAsWindowsReadsThem) {
  struct Case {
    LPCWSTR text;
    LONG value;
    int consumed;
  } cases[] = {
      {L"42", 42, 2},
      {L"  -17px", -17, 5},
      {L"+8", 8, 2},
      {L"abc", 0, 0},
      {L"", 0, 0},
      {L"-", 0, 0},
      {L"2147483647", 2147483647, 10},
      {L"2147483648", 2147483647, 10},
      {L"99999999999999999999999", 2147483647, 23},
      {L"-2147483648", INT32_MIN, 11},
      {L"-99999999999", INT32_MIN, 12},
  };
  for (const Case& c : cases) {
    LPCWSTR end = nullptr;
    EXPECT_EQ(ParseInt(c.text, &end), c.value) << c.text;
    EXPECT_EQ(end - c.text, c.consumed) << c.text;
  }
  EXPECT_EQ(ParseInt(nullptr), 0);
}

TEST(AttributeValues, ColoursAreHexadecimalAfterAnOptionalHash) {
  EXPECT_EQ(ParseColor(L"#FF3D7BB8"), 0xFF3D7BB8u);
  EXPECT_EQ(ParseColor(L"80ff0000"), 0x80FF0000u);
  EXPECT_EQ(ParseColor(L"#0x10"), 0x10u);
  EXPECT_EQ(ParseColor(L"##FF"), 0u);  // one '#' only
  EXPECT_EQ(ParseColor(L"#FFFFFFFFFF"), 0xFFFFFFFFu);
  EXPECT_EQ(ParseColor(L"#-1"), 0xFFFFFFFFu);
  EXPECT_EQ(ParseColor(L"#G0"), 0u);
  EXPECT_EQ(ParseColor(nullptr), 0u);
}

TEST(AttributeValues, BooleansAreTrueOnlyForTrue) {
  EXPECT_TRUE(ParseBool(L"true"));
  EXPECT_FALSE(ParseBool(L"True"));
  EXPECT_FALSE(ParseBool(L"true "));
  EXPECT_FALSE(ParseBool(L"1"));
  EXPECT_FALSE(ParseBool(nullptr));
}

TEST(AttributeValues, NumberListsStopAtTheTerminator) {
  struct Case {
    LPCWSTR text;
    RECT rect;
    int fields;
  } cases[] = {
      {L"10,20,30,40", {10, 20, 30, 40}, 4},
      {L"1 2x3;4", {1, 2, 3, 4}, 4},
      {L"10,20", {10, 20, 0, 0}, 2},
      {L"10,", {10, 0, 0, 0}, 1},
      {L"5", {5, 0, 0, 0}, 1},
      {L"", {0, 0, 0, 0}, 0},
      {L"10,,20,30", {10, 0, 20, 30}, 4},
      {L"-5,-6,7,8,9,10", {-5, -6, 7, 8}, 4},
  };
  for (const Case& c : cases) {
    LONG v[4];
    EXPECT_EQ(ParseIntList(c.text, v, 4), c.fields) << c.text;
    RECT rc = ParseRect(c.text);
    EXPECT_EQ(rc.left, c.rect.left) << c.text;
    EXPECT_EQ(rc.top, c.rect.top) << c.text;
    EXPECT_EQ(rc.right, c.rect.right) << c.text;
    EXPECT_EQ(rc.bottom, c.rect.bottom) << c.text;
  }
  SIZE sz = ParseSize(L"300,200");
  EXPECT_EQ(sz.cx, 300);
  EXPECT_EQ(sz.cy, 200);
  sz = ParseSize(L"300");
  EXPECT_EQ(sz.cy, 0);
}

// Delegates: equal ones are added once, the first false ends a call.
struct Counter {
  int calls = 0;
  bool answer = true;
  bool Hit(void*) { ++calls; return answer; }
  bool Other(void*) { ++calls; return true; }
};

int g_staticCalls = 0;
bool StaticHit(void*) { ++g_staticCalls; return true; }

TEST(EventSource, CallsEachDelegateOnceInOrderAndStopsAtFalse) {
  Counter a, b;
  CEventSource source;
  EXPECT_FALSE(source);
  EXPECT_TRUE(source(nullptr));
  source += MakeDelegate(&a, &Counter::Hit);
  source += MakeDelegate(&a, &Counter::Hit);  // equal: ignored
  source += MakeDelegate(&a, &Counter::Other);
  source += MakeDelegate(&b, &Counter::Hit);
  source += StaticHit;
  EXPECT_TRUE(source);
  EXPECT_TRUE(source(nullptr));
  EXPECT_EQ(a.calls, 2);
  EXPECT_EQ(b.calls, 1);
  EXPECT_EQ(g_staticCalls, 1);

  a.answer = false;  // the first delegate now ends the call
  EXPECT_FALSE(source(nullptr));
  EXPECT_EQ(a.calls, 3);
  EXPECT_EQ(b.calls, 1);

  source -= MakeDelegate(&a, &Counter::Hit);
  source -= StaticHit;
  EXPECT_TRUE(source(nullptr));
  EXPECT_EQ(a.calls, 4);
  EXPECT_EQ(b.calls, 2);
  EXPECT_EQ(g_staticCalls, 1);
}

// A delegate may delete the source that calls it (a control deleted by its
// own listener): the call ends there without touching the source again.
CEventSource* g_doomed = nullptr;
int g_afterDoomed = 0;
bool DeleteSource(void*) {
  delete g_doomed;
  return true;
}
bool AfterDoomed(void*) {
  ++g_afterDoomed;
  return true;
}

TEST(EventSource, ADelegateDeletingItsSourceEndsTheCall) {
  g_doomed = new CEventSource;
  *g_doomed += DeleteSource;
  *g_doomed += AfterDoomed;
  EXPECT_FALSE((*g_doomed)(nullptr));
  EXPECT_EQ(g_afterDoomed, 0);
}

}  // namespace
}  // namespace SkinUI
