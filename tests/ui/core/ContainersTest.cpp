#include <gtest/gtest.h>

#include <vector>

#include "core/CStdPtrArray.h"
#include "core/CStdStringPtrMap.h"
#include "core/CStdValArray.h"

using SkinUI::CStdPtrArray;
using SkinUI::CStdStringPtrMap;
using SkinUI::CStdValArray;

namespace {

LPVOID P(intptr_t n) { return reinterpret_cast<LPVOID>(n); }

std::vector<std::wstring> Keys(const CStdStringPtrMap& map) {
  std::vector<std::wstring> keys;
  for (int i = 0; map.GetAt(i) != nullptr; i++) keys.emplace_back(map.GetAt(i));
  return keys;
}

}  // namespace

TEST(CStdPtrArray, GrowsFrom11ByDoubling) {
  struct Step {
    int adds;
    int allocated;
  } steps[] = {{1, 11}, {10, 11}, {11, 22}, {21, 22}, {22, 44}, {44, 88}};
  for (const Step& step : steps) {
    CStdPtrArray a;
    for (int i = 0; i < step.adds; i++) ASSERT_TRUE(a.Add(P(i + 1)));
    EXPECT_EQ(a.GetAllocated(), step.allocated) << step.adds;
    EXPECT_EQ(a.GetSize(), step.adds);
    EXPECT_EQ(a.GetAt(step.adds - 1), P(step.adds));
  }
  CStdPtrArray pre(5);
  EXPECT_EQ(pre.GetAllocated(), 5);
  EXPECT_TRUE(pre.IsEmpty());
}

TEST(CStdPtrArray, InsertRemoveAndRangeChecks) {
  CStdPtrArray a;
  EXPECT_TRUE(a.InsertAt(0, P(2)));  // at the count: Add
  EXPECT_TRUE(a.InsertAt(0, P(1)));
  EXPECT_TRUE(a.InsertAt(2, P(4)));
  EXPECT_TRUE(a.InsertAt(2, P(3)));
  EXPECT_FALSE(a.InsertAt(5, P(9)));
  EXPECT_FALSE(a.InsertAt(-1, P(9)));
  ASSERT_EQ(a.GetSize(), 4);
  for (int i = 0; i < 4; i++) EXPECT_EQ(a[i], P(i + 1));
  EXPECT_EQ(a.Find(P(3)), 2);
  EXPECT_EQ(a.Find(P(9)), -1);
  EXPECT_EQ(a.GetAt(4), nullptr);
  EXPECT_EQ(a.GetAt(-1), nullptr);
  EXPECT_FALSE(a.SetAt(4, P(9)));
  EXPECT_TRUE(a.SetAt(3, P(5)));
  EXPECT_TRUE(a.Remove(0));
  EXPECT_FALSE(a.Remove(3));
  EXPECT_EQ(a.GetSize(), 3);
  EXPECT_EQ(a[0], P(2));
  EXPECT_EQ(a[2], P(5));

  CStdPtrArray copy(a);
  CStdPtrArray assigned;
  assigned = a;
  for (const CStdPtrArray* c : {&copy, &assigned}) {
    ASSERT_EQ(c->GetSize(), 3);
    EXPECT_EQ(c->GetAt(1), P(3));
  }
  a.Resize(3);
  EXPECT_EQ(a.GetSize(), 3);
  EXPECT_EQ(a.GetAllocated(), 3);
  EXPECT_EQ(a.GetAt(2), nullptr);
  a.Empty();
  EXPECT_EQ(a.GetData(), nullptr);
  EXPECT_EQ(a.GetAllocated(), 0);
}

TEST(CStdValArray, CopiesElementsAndKeepsTheBlockOnEmpty) {
  struct Pair {
    int a;
    double b;
  };
  CStdValArray v(sizeof(Pair));
  for (int i = 0; i < 12; i++) {
    Pair p{i, i * 0.5};
    ASSERT_TRUE(v.Add(&p));
  }
  EXPECT_EQ(v.GetAllocated(), 22);
  EXPECT_EQ(static_cast<Pair*>(v.GetAt(11))->a, 11);
  EXPECT_EQ(v.GetAt(12), nullptr);
  EXPECT_TRUE(v.Remove(0));
  EXPECT_FALSE(v.Remove(11));
  EXPECT_EQ(static_cast<Pair*>(v[0])->a, 1);
  EXPECT_EQ(static_cast<Pair*>(v.GetAt(10))->b, 5.5);

  CStdValArray copy(v);
  EXPECT_EQ(copy.GetSize(), 11);
  EXPECT_EQ(static_cast<Pair*>(copy.GetAt(3))->a, 4);

  LPVOID block = v.GetData();
  v.Empty();
  EXPECT_TRUE(v.IsEmpty());
  EXPECT_EQ(v.GetData(), block);
  Pair p{7, 7.0};
  v.Add(&p);
  EXPECT_EQ(v.GetData(), block);
}

// Growing a block of 0-byte elements would free it behind the array's back.
TEST(CStdValArray, AnElementSizeBelowOneHoldsNothing) {
  for (int size : {0, -4}) {
    CStdValArray v(size, 5);
    EXPECT_EQ(v.GetAllocated(), 0) << size;
    EXPECT_EQ(v.GetData(), nullptr) << size;
    const int value = 1;
    for (int i = 0; i < 30; i++) EXPECT_FALSE(v.Add(&value)) << size;
    EXPECT_TRUE(v.IsEmpty()) << size;
    EXPECT_EQ(v.GetAt(0), nullptr) << size;
    CStdValArray copy(v);
    EXPECT_TRUE(copy.IsEmpty()) << size;
  }
}

TEST(CStdStringPtrMap, HasAtLeast16Buckets) {
  struct Case {
    int requested;
    int buckets;
  } cases[] = {{10, 16}, {16, 16}, {100, 100}, {-5, 16}};
  for (const Case& c : cases) EXPECT_EQ(CStdStringPtrMap(c.requested).GetBucketCount(), c.buckets);
  EXPECT_EQ(CStdStringPtrMap().GetBucketCount(), 83);
  // h := h * 33 + unit, from the last unit to the first.
  EXPECT_EQ(CStdStringPtrMap::Hash(L"ab"), 98u * 33u + 97u);
  EXPECT_EQ(CStdStringPtrMap::Hash(L""), 0u);
}

TEST(CStdStringPtrMap, InsertDoesNotReplaceButSetDoes) {
  CStdStringPtrMap map;
  EXPECT_TRUE(map.Insert(L"key", P(1)));
  EXPECT_FALSE(map.Insert(L"key", P(2)));
  EXPECT_EQ(map.Find(L"key"), P(1));
  EXPECT_EQ(map.Set(L"key", P(3)), P(1));
  EXPECT_EQ(map.Find(L"key"), P(3));
  EXPECT_EQ(map.Set(L"new", P(4)), nullptr);
  EXPECT_EQ(map.Find(L"new"), P(4));
  EXPECT_EQ(map.Find(L"Key"), nullptr);  // case-sensitive
  EXPECT_EQ(map.GetSize(), 2);

  // A null value is invisible to Insert, which adds a second entry ahead.
  EXPECT_TRUE(map.Insert(L"null", nullptr));
  EXPECT_TRUE(map.Insert(L"null", P(5)));
  EXPECT_EQ(map.GetSize(), 4);
  EXPECT_EQ(map.Find(L"null"), P(5));
  EXPECT_TRUE(map.Remove(L"null"));
  EXPECT_EQ(map.Find(L"null"), nullptr);
  EXPECT_TRUE(map.Remove(L"null"));
  EXPECT_FALSE(map.Remove(L"null"));
  EXPECT_EQ(map.GetSize(), 2);
}

TEST(CStdStringPtrMap, IterationFollowsMoveToFront) {
  // "a", "q" and "A" share bucket 1 of 16 (97, 113 and 65 modulo 16);
  // "b" is in bucket 2, which iteration visits first.
  CStdStringPtrMap map(16);
  for (const wchar_t* key : {L"a", L"q", L"A", L"b"}) ASSERT_TRUE(map.Insert(key, P(1)));
  EXPECT_EQ(Keys(map), (std::vector<std::wstring>{L"b", L"A", L"q", L"a"}));
  map.Find(L"a", false);
  EXPECT_EQ(Keys(map), (std::vector<std::wstring>{L"b", L"A", L"q", L"a"}));
  map.Find(L"a");
  EXPECT_EQ(Keys(map), (std::vector<std::wstring>{L"b", L"a", L"A", L"q"}));
  map.Find(L"q");
  EXPECT_EQ(Keys(map), (std::vector<std::wstring>{L"b", L"q", L"a", L"A"}));
  map.Set(L"A", P(2));  // Set looks up without moving
  EXPECT_EQ(Keys(map), (std::vector<std::wstring>{L"b", L"q", L"a", L"A"}));
  EXPECT_TRUE(map.Remove(L"a"));
  EXPECT_EQ(Keys(map), (std::vector<std::wstring>{L"b", L"q", L"A"}));
  EXPECT_EQ(map.GetAt(3), nullptr);
  EXPECT_EQ(map.GetAt(-1), nullptr);
  EXPECT_STREQ(map[1], L"q");
}

TEST(CStdStringPtrMap, ResizeEmptiesAndZeroLeavesNoTable) {
  CStdStringPtrMap map(16);
  map.Insert(L"x", P(1));
  map.RemoveAll();
  EXPECT_EQ(map.GetSize(), 0);
  EXPECT_EQ(map.GetBucketCount(), 16);
  EXPECT_EQ(map.Find(L"x"), nullptr);
  map.Resize(5);  // no minimum here
  EXPECT_EQ(map.GetBucketCount(), 5);
  EXPECT_TRUE(map.Insert(L"x", P(1)));
  map.Resize(0);
  EXPECT_EQ(map.GetBucketCount(), 0);
  EXPECT_EQ(map.Find(L"x"), nullptr);
  EXPECT_FALSE(map.Insert(L"x", P(1)));
  EXPECT_EQ(map.Set(L"x", P(7)), P(7));
  EXPECT_FALSE(map.Remove(L"x"));
  EXPECT_EQ(map.GetAt(0), nullptr);
}
