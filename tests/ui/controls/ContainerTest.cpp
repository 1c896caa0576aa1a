// The container's child list, its searches and hit tests, visibility and
// enabling passed down, and the scroll bar on its own.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "controls/CContainerUI.h"
#include "controls/CScrollBarUI.h"
#include "controls/CVerticalLayoutUI.h"
#include "manager/CPaintManagerUI.h"

namespace SkinUI {
namespace {

// Counts destructions, so that ownership shows.
struct Counted : CControlUI {
  explicit Counted(int* deaths, LPCWSTR name = L"") : m_deaths(deaths) { SetName(name); }
  ~Counted() override { ++*m_deaths; }
  int* m_deaths;
};

TEST(Container, ChildListChecksBeforeItChangesAnything) {
  int deaths = 0;
  CContainerUI box;
  auto* a = new Counted(&deaths, L"a");
  auto* b = new Counted(&deaths, L"b");
  EXPECT_FALSE(box.Add(nullptr));
  EXPECT_TRUE(box.Add(a));
  EXPECT_FALSE(box.Add(a));           // already held
  EXPECT_FALSE(box.AddAt(b, 2));      // past the end
  EXPECT_FALSE(box.AddAt(b, -1));
  EXPECT_TRUE(box.AddAt(b, 0));
  EXPECT_EQ(box.GetItemAt(0), b);
  EXPECT_EQ(box.GetItemAt(2), nullptr);
  EXPECT_EQ(box.GetItemAt(-1), nullptr);
  EXPECT_EQ(box.GetItemIndex(a), 1);
  EXPECT_EQ(box.GetItemIndex(nullptr), -1);

  // A bad index leaves the child where it was.
  EXPECT_FALSE(box.SetItemIndex(a, 2));
  EXPECT_FALSE(box.SetItemIndex(a, -1));
  EXPECT_EQ(box.GetCount(), 2);
  EXPECT_EQ(box.GetItemIndex(a), 1);
  EXPECT_TRUE(box.SetItemIndex(a, 0));
  EXPECT_EQ(box.GetItemAt(0), a);

  EXPECT_FALSE(box.RemoveAt(5));
  CControlUI stranger;
  EXPECT_FALSE(box.Remove(&stranger));
  EXPECT_FALSE(box.Remove(nullptr));
  EXPECT_TRUE(box.RemoveAt(0));  // no manager: deleted at once
  EXPECT_EQ(deaths, 1);
  EXPECT_EQ(box.GetCount(), 1);
}

TEST(Container, RefusesItselfItsAncestorsAndAControlHeldElsewhere) {
  auto* outer = new CContainerUI;
  auto* inner = new CContainerUI;
  auto* leaf = new CControlUI;
  ASSERT_TRUE(outer->Add(inner));
  ASSERT_TRUE(inner->Add(leaf));
  EXPECT_FALSE(inner->Add(inner));
  EXPECT_FALSE(inner->Add(outer));  // a cycle
  EXPECT_FALSE(outer->Add(leaf));   // a second parent
  CContainerUI other;
  EXPECT_FALSE(other.Add(inner));
  // Once let go, the control may join another container.
  inner->SetAutoDestroy(false);
  ASSERT_TRUE(inner->Remove(leaf));
  EXPECT_TRUE(other.Add(leaf));
  delete outer;
}

TEST(Container, RemoveAllWithoutAutoDestroyLeavesChildrenAliveNamingTheContainer) {
  int deaths = 0;
  CPaintManagerUI pm;
  auto* box = new CContainerUI;
  pm.AttachDialog(box);
  box->SetAutoDestroy(false);
  Counted a(&deaths), b(&deaths);
  box->Add(&a);
  box->Add(&b);
  box->RemoveAll();
  EXPECT_EQ(box->GetCount(), 0);
  EXPECT_EQ(deaths, 0);
  EXPECT_EQ(a.GetParent(), box);
  EXPECT_EQ(b.GetParent(), box);
}

TEST(Container, DeletingAListedChildTakesItOffTheList) {
  CContainerUI box;
  auto* a = new CControlUI;
  box.Add(a);
  box.Add(new CControlUI);
  delete a;
  EXPECT_EQ(box.GetCount(), 1);
  EXPECT_EQ(box.GetItemIndex(a), -1);
}

TEST(Container, RemovedChildrenDieAtTheNextCleanupWhenDelayed) {
  int deaths = 0;
  {
    CPaintManagerUI pm;
    auto* box = new CContainerUI;
    pm.AttachDialog(box);
    box->Add(new Counted(&deaths));
    box->Add(new Counted(&deaths));
    box->RemoveAt(0);
    EXPECT_EQ(deaths, 0);  // handed to the manager
    box->SetDelayedDestroy(false);
    box->RemoveAt(0);
    EXPECT_EQ(deaths, 1);
  }
  EXPECT_EQ(deaths, 2);
}

TEST(Container, VisibilityAndEnablingReachEveryDescendant) {
  CContainerUI outer;
  auto* inner = new CContainerUI;
  auto* leaf = new CControlUI;
  outer.Add(inner);
  inner->Add(leaf);
  outer.SetVisible(false);
  EXPECT_FALSE(leaf->IsVisible());
  outer.SetVisible(true);
  EXPECT_TRUE(leaf->IsVisible());
  leaf->SetVisible(false);
  outer.SetVisible(false);
  outer.SetVisible(true);
  EXPECT_FALSE(leaf->IsVisible());  // its own flag stays
  outer.SetEnabled(false);
  EXPECT_FALSE(leaf->IsEnabled());
  // A child added to a hidden container is hidden by it.
  outer.SetVisible(false);
  auto* late = new CControlUI;
  inner->Add(late);
  EXPECT_FALSE(late->IsVisible());
}

CControlUI* CALLBACK Everything(CControlUI* pThis, LPVOID pData) {
  static_cast<std::vector<CControlUI*>*>(pData)->push_back(pThis);
  return nullptr;
}

CControlUI* CALLBACK AtPoint(CControlUI* pThis, LPVOID pData) {
  return ::PtInRect(&pThis->GetPos(), *static_cast<POINT*>(pData)) ? pThis : nullptr;
}

TEST(Container, SearchOrderAndHitTests) {
  CPaintManagerUI pm;
  auto* root = new CVerticalLayoutUI;
  root->SetName(L"root");
  pm.AttachDialog(root);
  auto* first = new CContainerUI;
  first->SetName(L"first");
  auto* leaf = new CControlUI;
  leaf->SetName(L"Leaf");
  auto* second = new CControlUI;
  second->SetName(L"second");
  root->Add(first);
  first->Add(leaf);
  root->Add(second);
  root->SetPos(RECT{0, 0, 100, 100});

  auto names = [](const std::vector<CControlUI*>& list) {
    std::wstring out;
    for (CControlUI* c : list) out += std::wstring(c->GetName()) + L" ";
    return out;
  };
  std::vector<CControlUI*> visited;
  root->FindControl(Everything, &visited, UIFIND_ALL);
  EXPECT_EQ(names(visited), L"Leaf first second root ");
  visited.clear();
  root->FindControl(Everything, &visited, UIFIND_ME_FIRST | UIFIND_TOP_FIRST);
  EXPECT_EQ(names(visited), L"root second first Leaf ");

  EXPECT_EQ(pm.FindControl(POINT{10, 10}), leaf);
  EXPECT_EQ(pm.FindControl(POINT{10, 60}), second);
  EXPECT_EQ(pm.FindControl(POINT{100, 10}), nullptr);  // right edge excluded
  leaf->SetMouseEnabled(false);
  EXPECT_EQ(pm.FindControl(POINT{10, 10}), first);
  leaf->SetMouseEnabled(true);
  first->SetMouseChildEnabled(false);
  EXPECT_EQ(pm.FindControl(POINT{10, 10}), first);
  POINT pt = {10, 10};
  EXPECT_EQ(root->FindControl(AtPoint, &pt, UIFIND_HITTEST | UIFIND_TOP_FIRST), first);

  EXPECT_EQ(pm.FindSubControlByName(nullptr, L"leaf"), leaf);  // names ignore case here
  EXPECT_EQ(pm.FindSubControlByName(first, L"second"), nullptr);
  EXPECT_EQ(pm.FindControl(L"Leaf"), leaf);  // but not in the name table
  EXPECT_EQ(pm.FindControl(L"leaf"), nullptr);
  EXPECT_EQ(pm.FindSubControlByClass(nullptr, L"ControlUI", 1), second);
  EXPECT_EQ(pm.FindSubControlByClass(nullptr, L"ControlUI", 2), nullptr);
  EXPECT_EQ(pm.FindSubControlByClass(nullptr, L"*", 3), root);
  EXPECT_EQ(pm.FindSubControlByClass(nullptr, L"ControlUI", 2147483647), nullptr);
  EXPECT_EQ(pm.FindSubControlsByClass(nullptr, L"*")->GetSize(), 4);

  EXPECT_TRUE(root->SetSubControlText(L"second", L"t"));
  EXPECT_STREQ(root->GetSubControlText(L"second"), L"t");
  EXPECT_FALSE(root->SetSubControlText(L"none", L"t"));
  EXPECT_EQ(root->GetSubControlFixedHeight(L"none"), -1);
}

TEST(Container, NoRootOrNullNameFindsNothing) {
  CPaintManagerUI pm;
  EXPECT_EQ(pm.FindControl(POINT{1, 1}), nullptr);
  EXPECT_EQ(pm.FindControl(static_cast<LPCWSTR>(nullptr)), nullptr);
  EXPECT_EQ(pm.FindSubControlByName(nullptr, L"x"), nullptr);
  EXPECT_EQ(pm.FindSubControlByClass(nullptr, L"*", 0), nullptr);
  EXPECT_EQ(pm.FindSubControlsByClass(nullptr, L"*")->GetSize(), 0);
  EXPECT_FALSE(pm.AttachDialog(nullptr));
  EXPECT_TRUE(pm.SetNextTabControl(true));
  pm.SendNotify(nullptr, L"nobody");
}

TEST(Container, NamesFollowRenamedAndDeletedControls) {
  CPaintManagerUI pm;
  auto* root = new CContainerUI;
  root->SetAutoDestroy(true);
  root->SetDelayedDestroy(false);
  pm.AttachDialog(root);
  auto* child = new CControlUI;
  child->SetName(L"old");
  root->Add(child);
  EXPECT_EQ(pm.FindControl(L"old"), child);
  child->SetName(L"new");
  root->Remove(child);
  EXPECT_EQ(pm.FindControl(L"old"), nullptr);
  EXPECT_EQ(pm.FindControl(L"new"), nullptr);

  // When names repeat, the container registered after its children wins.
  auto* box = new CContainerUI;
  box->SetName(L"same");
  auto* inside = new CControlUI;
  inside->SetName(L"same");
  box->Add(inside);
  root->Add(box);
  EXPECT_EQ(pm.FindControl(L"same"), box);
  box->Remove(inside);
  EXPECT_EQ(pm.FindControl(L"same"), box);
}

struct ListItem : CControlUI {
  LPVOID GetInterface(LPCWSTR name) override {
    return wcscmp(name, L"ListItem") == 0 ? this : CControlUI::GetInterface(name);
  }
};

TEST(Container, FindSelectableLooksForVisibleEnabledListItems) {
  CContainerUI list;
  EXPECT_EQ(list.FindSelectable(0, true), -1);
  list.Add(new CControlUI);  // 0: not a list item
  list.Add(new ListItem);    // 1
  list.Add(new ListItem);    // 2: disabled
  list.Add(new ListItem);    // 3
  list.GetItemAt(2)->SetEnabled(false);
  EXPECT_EQ(list.FindSelectable(0, true), 1);
  EXPECT_EQ(list.FindSelectable(2, true), 3);
  EXPECT_EQ(list.FindSelectable(2, false), 1);
  EXPECT_EQ(list.FindSelectable(99, false), 3);  // clamped to the last
  EXPECT_EQ(list.FindSelectable(-5, false), 1);  // nothing before: forward from 0
  list.GetItemAt(3)->SetVisible(false);
  EXPECT_EQ(list.FindSelectable(3, true), -1);
}

TEST(Container, ScrollBarClampsAndDrawsItsThumbFromThePage) {
  CScrollBarUI bar;
  EXPECT_FALSE(bar.IsVisible());
  EXPECT_EQ(bar.GetFixedWidth(), CScrollBarUI::kThickness);
  bar.SetScrollRange(-5);
  EXPECT_EQ(bar.GetScrollRange(), 0);
  bar.SetScrollPos(3);
  EXPECT_EQ(bar.GetScrollPos(), 0);
  bar.SetScrollRange(100);
  bar.SetScrollPos(150);
  EXPECT_EQ(bar.GetScrollPos(), 100);
  bar.SetScrollRange(40);
  EXPECT_EQ(bar.GetScrollPos(), 40);
  bar.SetScrollPos(-1);
  EXPECT_EQ(bar.GetScrollPos(), 0);

  bar.SetPos(RECT{0, 0, 16, 100});
  bar.SetScrollRange(100);
  RECT thumb = bar.GetThumbRect();
  EXPECT_EQ(thumb.top, 0);
  EXPECT_EQ(thumb.bottom, 50);  // a page of 100 in 200
  bar.SetScrollPos(100);
  EXPECT_EQ(bar.GetThumbRect().bottom, 100);
  bar.SetScrollRange(1000000);
  EXPECT_EQ(bar.GetThumbRect().bottom - bar.GetThumbRect().top, CScrollBarUI::kMinThumb);
  // No length: no division.
  bar.SetPos(RECT{0, 0, 16, 0});
  EXPECT_EQ(bar.GetThumbRect().bottom, 0);

  bar.SetHorizontal(true);
  EXPECT_EQ(bar.GetFixedHeight(), CScrollBarUI::kThickness);
  EXPECT_EQ(bar.GetFixedWidth(), 0);
  EXPECT_STREQ(bar.GetClass(), L"ScrollBarUI");
  EXPECT_EQ(bar.GetInterface(L"ScrollBar"), &bar);
}

}  // namespace
}  // namespace SkinUI
