// Where the layouts put their children: line layouts, floating and
// relative placement, scroll bars appearing and leaving, tabs, tiles, and
// arithmetic at the edges of 32 bits. The trees are attached to a paint
// manager without a window, as a skin's tree is before its window shows.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "controls/CContainerUI.h"
#include "controls/CHorizontalLayoutUI.h"
#include "controls/CScrollBarUI.h"
#include "controls/CTabLayoutUI.h"
#include "controls/CTileLayoutUI.h"
#include "controls/CVerticalLayoutUI.h"
#include "manager/CPaintManagerUI.h"

namespace SkinUI {
namespace {

std::string Str(const RECT& rc) {
  return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
         std::to_string(rc.bottom);
}

// A root of type T with the given attributes and children, laid out at
// (0, 0, width, height).
template <class T>
struct Tree {
  CPaintManagerUI pm;
  T* root = new T;

  explicit Tree(LPCWSTR rootAttributes = L"") {
    root->ApplyAttributeList(rootAttributes);
    pm.AttachDialog(root);
  }
  CControlUI* Add(LPCWSTR attributes, CContainerUI* parent = nullptr) {
    auto* child = new CControlUI;
    child->ApplyAttributeList(attributes);
    (parent ? parent : root)->Add(child);
    return child;
  }
  void Layout(int width, int height) { root->SetPos(RECT{0, 0, width, height}); }
  std::string Child(int i) { return Str(root->GetItemAt(i)->GetPos()); }
  std::string Children() {
    std::string out;
    for (int i = 0; i < root->GetCount(); ++i) out += (i ? " " : "") + Child(i);
    return out;
  }
};

struct LineCase {
  const wchar_t* root;
  std::vector<const wchar_t*> children;
  int width, height;
  const char* expected;
};

template <class T, size_t N>
void CheckLines(const LineCase (&cases)[N]) {
  for (const LineCase& row : cases) {
    SCOPED_TRACE(row.expected);
    Tree<T> tree(row.root);
    for (const wchar_t* child : row.children) tree.Add(child);
    tree.Layout(row.width, row.height);
    EXPECT_EQ(tree.Children(), row.expected);
  }
}

TEST(Layout, VerticalLayoutSharesTheRestAmongAutoChildren) {
  const LineCase cases[] = {
      // 100 / 3 = 33 each; the last pixel stays empty.
      {L"", {L"", L"", L""}, 200, 100, "0,0,200,33 0,33,200,66 0,66,200,99"},
      {L"", {L"height=\"20\"", L"", L"height=\"30\""}, 200, 100, "0,0,200,20 0,20,200,70 0,70,200,100"},
      // The minimum beats the fixed height; the maximum caps an auto child.
      {L"", {L"height=\"50\" minheight=\"60\"", L""}, 200, 100, "0,0,200,60 0,60,200,100"},
      {L"", {L"maxheight=\"20\"", L""}, 200, 100, "0,0,200,20 0,20,200,70"},
      {L"inset=\"5,5,5,5\" childpadding=\"10\"", {L"", L""}, 200, 100, "5,5,195,45 5,55,195,95"},
      {L"", {L"padding=\"3,4,5,6\" height=\"20\"", L"height=\"10\""}, 200, 100, "3,4,195,24 0,30,200,40"},
      {L"", {L"width=\"50\"", L"minwidth=\"250\"", L"maxwidth=\"80\""}, 200, 90,
       "0,0,50,30 0,30,250,60 0,60,80,90"},
      // Fixed heights past the space: auto children get nothing.
      {L"", {L"height=\"80\"", L"height=\"80\"", L""}, 200, 100, "0,0,200,80 0,80,200,160 0,160,200,160"},
      // Invisible and floating children take no share.
      {L"", {L"visible=\"false\"", L"", L"float=\"true\" pos=\"1,2,11,12\""}, 200, 100,
       "0,0,0,0 0,0,200,100 1,2,11,12"},
  };
  CheckLines<CVerticalLayoutUI>(cases);
}

TEST(Layout, HorizontalLayoutSharesTheRestAmongAutoChildren) {
  const LineCase cases[] = {
      {L"", {L"", L"", L""}, 100, 50, "0,0,33,50 33,0,66,50 66,0,99,50"},
      {L"", {L"width=\"20\"", L"", L"width=\"30\""}, 100, 50, "0,0,20,50 20,0,70,50 70,0,100,50"},
      {L"", {L"width=\"50\" minwidth=\"60\"", L"maxwidth=\"10\""}, 100, 50, "0,0,60,50 60,0,70,50"},
      {L"inset=\"2,3,4,5\" childpadding=\"6\"", {L"", L""}, 100, 50, "2,3,46,45 52,3,96,45"},
      {L"", {L"padding=\"1,2,3,4\" width=\"10\" height=\"20\"", L"minheight=\"60\""}, 100, 50,
       "1,2,11,22 14,0,100,60"},
  };
  CheckLines<CHorizontalLayoutUI>(cases);
}

TEST(Layout, ContainerWithoutLayoutOverlapsItsChildrenOnTheInnerArea) {
  Tree<CContainerUI> tree(L"inset=\"10,10,10,10\"");
  tree.Add(L"width=\"5\"");
  tree.Add(L"padding=\"3,3,3,3\"");
  tree.Layout(100, 60);
  EXPECT_EQ(tree.Children(), "10,10,90,50 10,10,90,50");
}

TEST(Layout, VerticalBarAppearsNarrowsTheChildrenAndLeavesAgain) {
  Tree<CVerticalLayoutUI> tree(L"vscrollbar=\"true\"");
  for (int i = 0; i < 3; ++i) tree.Add(L"height=\"50\"");
  tree.Layout(200, 100);
  CScrollBarUI* bar = tree.root->GetVerticalScrollBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->IsVisible());
  EXPECT_EQ(bar->GetScrollRange(), 50);
  EXPECT_EQ(Str(bar->GetPos()), "184,0,200,100");
  EXPECT_EQ(tree.Children(), "0,0,184,50 0,50,184,100 0,100,184,150");

  tree.root->SetScrollPos(SIZE{0, 30});
  EXPECT_EQ(tree.Child(0), "0,-30,184,20");
  // Content that fits again: the bar goes, the children take the width.
  tree.root->RemoveAt(2);
  tree.Layout(200, 100);
  EXPECT_FALSE(bar->IsVisible());
  EXPECT_EQ(bar->GetScrollPos(), 0);
  EXPECT_EQ(tree.Children(), "0,0,200,50 0,50,200,100");
}

TEST(Layout, HorizontalBarAppearsTakesItsHeightAndLeavesAgain) {
  Tree<CHorizontalLayoutUI> tree(L"hscrollbar=\"true\"");
  for (int i = 0; i < 3; ++i) tree.Add(L"width=\"80\"");
  tree.Layout(200, 100);
  CScrollBarUI* bar = tree.root->GetHorizontalScrollBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->IsVisible());
  EXPECT_EQ(bar->GetScrollRange(), 40);
  EXPECT_EQ(Str(bar->GetPos()), "0,84,200,100");
  EXPECT_EQ(tree.Children(), "0,0,80,84 80,0,160,84 160,0,240,84");
  tree.Layout(300, 100);
  EXPECT_FALSE(bar->IsVisible());
  EXPECT_EQ(tree.Children(), "0,0,80,100 80,0,160,100 160,0,240,100");
}

// Auto children decide the bar at their minimum width: shown while they
// do not fit, gone once the layout is wide enough, and they share the
// content width in both cases.
TEST(Layout, HorizontalBarWithAutoChildrenHidesAgainWhenTheWindowGrows) {
  Tree<CHorizontalLayoutUI> tree(L"hscrollbar=\"true\"");
  tree.Add(L"minwidth=\"120\"");
  tree.Add(L"minwidth=\"120\"");
  tree.Layout(200, 100);
  CScrollBarUI* bar = tree.root->GetHorizontalScrollBar();
  EXPECT_TRUE(bar->IsVisible());
  EXPECT_EQ(bar->GetScrollRange(), 40);
  EXPECT_EQ(tree.Children(), "0,0,120,84 120,0,240,84");
  tree.Layout(300, 100);
  EXPECT_FALSE(bar->IsVisible());
  EXPECT_EQ(tree.Children(), "0,0,150,100 150,0,300,100");
  tree.Layout(200, 100);
  EXPECT_TRUE(bar->IsVisible());
}

TEST(Layout, ScrollPositionIsClampedAndLinesAndPagesMoveIt) {
  Tree<CVerticalLayoutUI> tree(L"vscrollbar=\"true\" scrollstepsize=\"10\"");
  for (int i = 0; i < 4; ++i) tree.Add(L"height=\"50\"");
  tree.Layout(200, 100);
  ASSERT_EQ(tree.root->GetScrollRange().cy, 100);
  struct Step {
    void (CContainerUI::*op)();
    int expected;
  };
  const Step steps[] = {
      {&CContainerUI::LineDown, 10}, {&CContainerUI::LineDown, 20}, {&CContainerUI::LineUp, 10},
      {&CContainerUI::PageDown, 100}, {&CContainerUI::LineDown, 100}, {&CContainerUI::PageUp, 0},
      {&CContainerUI::LineUp, 0},     {&CContainerUI::EndDown, 100},  {&CContainerUI::HomeUp, 0},
  };
  for (const Step& step : steps) {
    (tree.root->*step.op)();
    EXPECT_EQ(tree.root->GetScrollPos().cy, step.expected);
    EXPECT_EQ(tree.root->GetItemAt(0)->GetPos().top, -step.expected);
  }
  // Beyond the range the children move only as far as the bar did.
  tree.root->SetScrollPos(SIZE{0, 70});
  tree.root->SetScrollPos(SIZE{0, 5000});
  EXPECT_EQ(tree.root->GetScrollPos().cy, 100);
  EXPECT_EQ(tree.Child(0), "0,-100,184,-50");
  tree.root->SetScrollPos(SIZE{0, -40});
  EXPECT_EQ(tree.Child(0), "0,0,184,50");
}

TEST(Layout, FloatingChildrenKeepTheirPlaceFromTheEdgeTheyName) {
  Tree<CContainerUI> tree;
  tree.Add(L"float=\"true\" pos=\"-50,-50,-10,-10\"");
  tree.Add(L"float=\"true\" pos=\"10,10,60,60\" relativepos=\"50,0,0,0\"");
  tree.Add(L"float=\"true\" pos=\"0,0,20,20\" relativepos=\"0,0,50,50\"");
  tree.Layout(200, 100);
  EXPECT_EQ(tree.Children(), "150,50,190,90 10,10,60,60 0,0,20,20");
  tree.Layout(300, 200);
  EXPECT_EQ(tree.Children(), "250,150,290,190 60,10,110,60 0,0,70,70");
}

// Half of a one-pixel growth is nothing, but a hundred of them are fifty.
TEST(Layout, RelativePositionsCarryTheirRemainder) {
  Tree<CContainerUI> tree;
  tree.Add(L"float=\"true\" pos=\"10,10,60,60\" relativepos=\"50,0,33,0\"");
  tree.Layout(200, 100);
  for (int w = 201; w <= 300; ++w) tree.Layout(w, 100);
  EXPECT_EQ(tree.Child(0), "60,10,143,60");
  for (int w = 299; w >= 200; --w) tree.Layout(w, 100);
  EXPECT_EQ(tree.Child(0), "10,10,60,60");
}

TEST(Layout, TabLayoutPlacesOnlyTheSelectedPage) {
  Tree<CTabLayoutUI> tree(L"inset=\"5,5,5,5\"");
  CControlUI* pages[3];
  for (auto& page : pages) page = tree.Add(L"");
  EXPECT_EQ(tree.root->GetCurSel(), 0);
  tree.Layout(200, 100);
  EXPECT_EQ(Str(pages[0]->GetPos()), "5,5,195,95");
  EXPECT_FALSE(pages[1]->IsVisible());

  EXPECT_TRUE(tree.root->SelectItem(2));
  EXPECT_TRUE(pages[2]->IsVisible());
  EXPECT_FALSE(pages[0]->IsVisible());
  EXPECT_EQ(Str(pages[2]->GetPos()), "5,5,195,95");
  EXPECT_EQ(Str(pages[0]->GetPos()), "5,5,195,95");  // hidden pages keep their place
  EXPECT_FALSE(tree.root->SelectItem(3));
  EXPECT_FALSE(tree.root->SelectItem(-1));
  EXPECT_EQ(tree.root->GetCurSel(), 2);

  // Inserting before the selection keeps the same page selected, hidden.
  CControlUI* first = new CControlUI;
  EXPECT_TRUE(tree.root->AddAt(first, 0));
  EXPECT_EQ(tree.root->GetCurSel(), 3);
  EXPECT_FALSE(first->IsVisible());
  EXPECT_TRUE(pages[2]->IsVisible());
}

TEST(Layout, TabPagesRemovedAndAddedBackCanBeSelectedAgain) {
  Tree<CTabLayoutUI> tree;
  tree.root->SetAutoDestroy(false);
  CControlUI* pages[3];
  for (auto& page : pages) page = tree.Add(L"");
  ASSERT_TRUE(tree.root->SelectItem(2));
  // Removing the selected page by index moves the selection to a page that
  // exists and shows it.
  EXPECT_TRUE(tree.root->RemoveAt(2));
  EXPECT_EQ(tree.root->GetCurSel(), 0);
  EXPECT_TRUE(pages[0]->IsVisible());
  EXPECT_TRUE(tree.root->Add(pages[2]));
  EXPECT_FALSE(pages[2]->IsVisible());
  EXPECT_TRUE(tree.root->SelectItem(2));
  EXPECT_TRUE(pages[2]->IsVisible());
  EXPECT_FALSE(pages[0]->IsVisible());
  // Removing a page before the selection keeps the selected page.
  EXPECT_TRUE(tree.root->Remove(pages[0]));
  EXPECT_EQ(tree.root->GetCurSel(), 1);
  EXPECT_EQ(tree.root->GetItemAt(1), pages[2]);
  tree.root->RemoveAll();
  EXPECT_EQ(tree.root->GetCurSel(), -1);
  EXPECT_TRUE(tree.root->Add(pages[0]));
  EXPECT_EQ(tree.root->GetCurSel(), -1);  // still hidden from before: not selected
  EXPECT_TRUE(tree.root->SelectItem(0));
  EXPECT_TRUE(pages[0]->IsVisible());
  tree.root->RemoveAll();
  delete pages[0];
  delete pages[1];
  delete pages[2];
}

TEST(Layout, TileColumnsFollowTheItemWidthAndShareTheChildPadding) {
  struct TileCase {
    const wchar_t* root;
    int width, count;
    const char* expected;
  };
  const TileCase cases[] = {
      {L"itemsize=\"100,40\" columns=\"5\" childpadding=\"10\"", 300, 4,
       "0,0,95,40 105,0,195,40 205,0,300,40 0,50,95,90"},
      {L"columns=\"2\"", 200, 3, "0,0,100,40 100,0,200,40 0,40,100,80"},
      // Narrower than one item: still one column.
      {L"itemsize=\"100,40\"", 50, 2, "0,0,50,40 0,40,50,80"},
      {L"itemsize=\"100,40\"", -20, 1, "0,0,0,40"},
  };
  for (const TileCase& row : cases) {
    SCOPED_TRACE(row.expected);
    Tree<CTileLayoutUI> tree(row.root);
    for (int i = 0; i < row.count; ++i) tree.Add(L"height=\"40\"");
    tree.Layout(row.width, 200);
    EXPECT_EQ(tree.Children(), row.expected);
  }
  Tree<CTileLayoutUI> sized(L"itemsize=\"100,40\" columns=\"5\"");
  sized.Add(L"");
  sized.Layout(320, 100);
  EXPECT_EQ(sized.root->GetColumns(), 3);  // the item width decided
  Tree<CTileLayoutUI> tree;
  tree.root->SetColumns(0);
  tree.root->SetColumns(-3);
  EXPECT_EQ(tree.root->GetColumns(), 1);
}

// Sizes and positions at the edges of 32 bits neither overflow nor wrap.
TEST(Layout, ArithmeticSaturatesAtTheEdges) {
  const LONG kMax = INT_MAX;
  {
    Tree<CVerticalLayoutUI> tree(L"childpadding=\"2147483647\"");
    tree.Add(L"height=\"2147483647\" maxheight=\"2147483647\"");
    tree.Add(L"height=\"2147483647\" maxheight=\"2147483647\"");
    tree.Add(L"");
    tree.Layout(100, 100);
    EXPECT_EQ(tree.Child(0), "0,0,100,2147483647");
    EXPECT_EQ(tree.root->GetItemAt(1)->GetPos().top, kMax);
    EXPECT_EQ(tree.root->GetItemAt(2)->GetPos().bottom, kMax);
  }
  {
    Tree<CHorizontalLayoutUI> tree(L"inset=\"-2147483648,0,2147483647,0\" hscrollbar=\"true\"");
    tree.Add(L"minwidth=\"2147483647\" maxwidth=\"2147483647\"");
    tree.Add(L"");
    tree.Layout(100, 100);
    EXPECT_EQ(tree.root->GetItemAt(0)->GetWidth(), kMax);
  }
  {
    Tree<CTileLayoutUI> tree(L"itemsize=\"1,1\" childpadding=\"-2147483648\"");
    tree.Add(L"padding=\"2147483647,2147483647,2147483647,2147483647\"");
    tree.Layout(3, 3);
    SUCCEED();
  }
  {
    Tree<CContainerUI> tree;
    tree.Add(L"float=\"true\" pos=\"-2147483648,-2147483648,2147483647,2147483647\" relativepos=\"100,100,100,100\"");
    tree.Layout(100, 100);
    tree.Layout(2000000000, 2000000000);
    EXPECT_LE(tree.root->GetItemAt(0)->GetPos().left, tree.root->GetItemAt(0)->GetPos().right);
  }
}

}  // namespace
}  // namespace SkinUI
