// The control base's attributes, one table row per skin value, and the
// attribute-list reader.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "controls/CControlUI.h"

namespace SkinUI {
namespace {

struct AttributeCase {
  const wchar_t* name;
  const wchar_t* value;
  std::function<void(CControlUI&)> check;
};

TEST(ControlAttributes, EachValueLandsInItsField) {
  const AttributeCase cases[] = {
      {L"pos", L"10,20,110,70",
       [](CControlUI& c) {
         EXPECT_EQ(c.GetFixedXY().cx, 10);
         EXPECT_EQ(c.GetFixedXY().cy, 20);
         EXPECT_EQ(c.GetFixedWidth(), 100);
         EXPECT_EQ(c.GetFixedHeight(), 50);
       }},
      // Negative left or top: the offset is taken from the far edge.
      {L"pos", L"-10,-20,30,40",
       [](CControlUI& c) {
         EXPECT_EQ(c.GetFixedXY().cx, 30);
         EXPECT_EQ(c.GetFixedXY().cy, 40);
         EXPECT_EQ(c.GetFixedWidth(), 40);
         EXPECT_EQ(c.GetFixedHeight(), 60);
       }},
      {L"pos", L"-50,-50,-10,-10",
       [](CControlUI& c) {
         EXPECT_EQ(c.GetFixedXY().cx, -10);
         EXPECT_EQ(c.GetFixedWidth(), 40);
       }},
      // A short list: the missing numbers are 0, the negative sizes ignored.
      {L"pos", L"10,20",
       [](CControlUI& c) {
         EXPECT_EQ(c.GetFixedXY().cx, 10);
         EXPECT_EQ(c.GetFixedXY().cy, 20);
         EXPECT_EQ(c.GetFixedWidth(), 0);
         EXPECT_EQ(c.GetFixedHeight(), 0);
       }},
      // Extremes do not overflow the size.
      {L"pos", L"-2147483648,0,2147483647,1",
       [](CControlUI& c) { EXPECT_EQ(c.GetFixedWidth(), 2147483647); }},
      {L"relativepos", L"50",
       [](CControlUI& c) {
         TRelativePosUI r = c.GetRelativePos();
         EXPECT_TRUE(r.bRelative);
         EXPECT_EQ(r.nMoveXPercent, 50);
         EXPECT_EQ(r.nMoveYPercent, 0);
         EXPECT_EQ(r.nZoomYPercent, 0);
       }},
      {L"relativepos", L"10,20,30,40",
       [](CControlUI& c) {
         TRelativePosUI r = c.GetRelativePos();
         EXPECT_EQ(r.nMoveYPercent, 20);
         EXPECT_EQ(r.nZoomXPercent, 30);
         EXPECT_EQ(r.nZoomYPercent, 40);
       }},
      {L"padding", L"1,2,3,4",
       [](CControlUI& c) {
         RECT p = c.GetPadding();
         EXPECT_EQ(p.left, 1);
         EXPECT_EQ(p.bottom, 4);
       }},
      {L"padding", L"7", [](CControlUI& c) { EXPECT_EQ(c.GetPadding().left, 7); EXPECT_EQ(c.GetPadding().top, 0); }},
      // Background colours skip control characters and blanks, then one '#'.
      {L"bkcolor", L" #80FF0000", [](CControlUI& c) { EXPECT_EQ(c.GetBkColor(), 0x80FF0000u); }},
      {L"bkcolor1", L"\t\x01#FF00FF00", [](CControlUI& c) { EXPECT_EQ(c.GetBkColor(), 0xFF00FF00u); }},
      {L"bkcolor2", L"FF112233", [](CControlUI& c) { EXPECT_EQ(c.GetBkColor2(), 0xFF112233u); }},
      {L"bkcolor3", L"#FF445566", [](CControlUI& c) { EXPECT_EQ(c.GetBkColor3(), 0xFF445566u); }},
      // Border colours skip one '#' only.
      {L"bordercolor", L"#80FF0000", [](CControlUI& c) { EXPECT_EQ(c.GetBorderColor(), 0x80FF0000u); }},
      {L"bordercolor", L" #80FF0000", [](CControlUI& c) { EXPECT_EQ(c.GetBorderColor(), 0u); }},
      {L"focusbordercolor", L"#FF0000FF", [](CControlUI& c) { EXPECT_EQ(c.GetFocusBorderColor(), 0xFF0000FFu); }},
      {L"colorhsl", L"true", [](CControlUI& c) { EXPECT_TRUE(c.IsColorHSL()); }},
      {L"bordersize", L"2",
       [](CControlUI& c) {
         EXPECT_EQ(c.GetBorderSize(), 2);
         EXPECT_EQ(c.GetBottomBorderSize(), 0);
       }},
      {L"bordersize", L"0,0,0,3",
       [](CControlUI& c) {
         EXPECT_EQ(c.GetBorderSize(), 0);
         EXPECT_EQ(c.GetBottomBorderSize(), 3);
         EXPECT_EQ(c.GetLeftBorderSize(), 0);
       }},
      {L"leftbordersize", L"4", [](CControlUI& c) { EXPECT_EQ(c.GetLeftBorderSize(), 4); }},
      {L"topbordersize", L"5", [](CControlUI& c) { EXPECT_EQ(c.GetTopBorderSize(), 5); }},
      {L"rightbordersize", L"6", [](CControlUI& c) { EXPECT_EQ(c.GetRightBorderSize(), 6); }},
      {L"bottombordersize", L"7", [](CControlUI& c) { EXPECT_EQ(c.GetBottomBorderSize(), 7); }},
      {L"borderstyle", L"2", [](CControlUI& c) { EXPECT_EQ(c.GetBorderStyle(), 2); }},
      {L"borderround", L"4,6",
       [](CControlUI& c) {
         EXPECT_EQ(c.GetBorderRound().cx, 4);
         EXPECT_EQ(c.GetBorderRound().cy, 6);
       }},
      {L"width", L"30", [](CControlUI& c) { EXPECT_EQ(c.GetFixedWidth(), 30); EXPECT_EQ(c.GetFixedHeight(), 0); }},
      {L"width", L"-5", [](CControlUI& c) { EXPECT_EQ(c.GetFixedWidth(), 0); }},
      {L"height", L"12", [](CControlUI& c) { EXPECT_EQ(c.GetFixedHeight(), 12); }},
      {L"minwidth", L"3", [](CControlUI& c) { EXPECT_EQ(c.GetMinWidth(), 3); }},
      {L"minheight", L"4", [](CControlUI& c) { EXPECT_EQ(c.GetMinHeight(), 4); }},
      {L"maxwidth", L"50", [](CControlUI& c) { EXPECT_EQ(c.GetMaxWidth(), 50); }},
      {L"maxheight", L"-1", [](CControlUI& c) { EXPECT_EQ(c.GetMaxHeight(), 9999); }},
      {L"name", L"ok", [](CControlUI& c) { EXPECT_STREQ(c.GetName(), L"ok"); }},
      {L"text", L"hello", [](CControlUI& c) { EXPECT_STREQ(c.GetText(), L"hello"); }},
      {L"tooltip", L"two<n>lines", [](CControlUI& c) { EXPECT_STREQ(c.GetToolTip(), L"two\r\nlines"); }},
      {L"userdata", L"data", [](CControlUI& c) { EXPECT_STREQ(c.GetUserData(), L"data"); }},
      // Booleans are true only for the exact text.
      {L"enabled", L"false", [](CControlUI& c) { EXPECT_FALSE(c.IsEnabled()); }},
      {L"visible", L"TRUE", [](CControlUI& c) { EXPECT_FALSE(c.IsVisible()); }},
      {L"mouse", L"false", [](CControlUI& c) { EXPECT_FALSE(c.IsMouseEnabled()); }},
      {L"keyboard", L"false", [](CControlUI& c) { EXPECT_FALSE(c.IsKeyboardEnabled()); }},
      {L"float", L"true", [](CControlUI& c) { EXPECT_TRUE(c.IsFloat()); }},
      {L"menu", L"true", [](CControlUI& c) { EXPECT_TRUE(c.IsContextMenuUsed()); }},
      {L"shortcut", L"Kx", [](CControlUI& c) { EXPECT_EQ(c.GetShortcut(), L'K'); }},
      {L"shortcut", L"", [](CControlUI& c) { EXPECT_EQ(c.GetShortcut(), 0); }},
      {L"virtualwnd", L"page", [](CControlUI& c) { EXPECT_STREQ(c.GetVirtualWnd(), L"page"); }},
      {L"Name", L"case", [](CControlUI& c) { EXPECT_STREQ(c.GetName(), L""); }},
  };
  for (const AttributeCase& row : cases) {
    SCOPED_TRACE(std::wstring(row.name) + L"=" + row.value);
    CControlUI control;
    control.SetAttribute(row.name, row.value);
    row.check(control);
  }
}

TEST(ControlAttributes, PerSideBordersKeepTheFullSizeAndAFullSizeResetsThem) {
  CControlUI control;
  control.SetAttribute(L"bordersize", L"1,1,1,1");
  control.SetAttribute(L"bordersize", L"2");
  EXPECT_EQ(control.GetBorderSize(), 2);
  EXPECT_EQ(control.GetLeftBorderSize(), 0);
  control.SetAttribute(L"bordersize", L"0,0,0,3");
  EXPECT_EQ(control.GetBorderSize(), 2);
  EXPECT_EQ(control.GetBottomBorderSize(), 3);
}

TEST(ControlAttributes, VirtualWindowNameComesFromTheNearestAncestorThatHasOne) {
  CControlUI child;
  EXPECT_STREQ(child.GetVirtualWnd(), L"");
  CControlUI parent;
  parent.SetVirtualWnd(L"outer");
  child.SetManager(nullptr, &parent, false);
  EXPECT_STREQ(child.GetVirtualWnd(), L"outer");
  child.SetVirtualWnd(L"inner");
  EXPECT_STREQ(child.GetVirtualWnd(), L"inner");
}

// Attribute lists: name="value" pairs separated by exactly one blank.
TEST(ControlAttributes, AttributeListsApplyPairsUntilTheFirstFault) {
  struct ListCase {
    const wchar_t* list;
    const wchar_t* name;  // expected name afterwards
    int width;            // expected fixed width afterwards
  };
  const ListCase cases[] = {
      {L"name=\"a\" width=\"5\"", L"a", 5},
      {L"name=\"a\"  width=\"5\"", L"a", 0},  // second name begins with a blank
      {L"name=\"a\",width=\"5\"", L"a", 0},   // no blank: the list ends
      {L"name=\"a\" width", L"a", 0},         // a name without '=' at the end
      {L"name=\"a\" width=", L"a", 0},        // '=' at the very end
      {L"name=\"a\" width=\"5", L"a", 0},     // a value without its closing quote
      {L"name=a width=\"5\"", L"", 0},        // a value without quotes
      {L"name=\"\" width=\"7\"", L"", 7},     // an empty value
      {L"", L"", 0},
      {L"=\"x\"", L"", 0},                    // an empty name matches nothing
      {L"width=\"1\" width=\"2\" ", L"", 2},  // a trailing blank ends cleanly
  };
  for (const ListCase& row : cases) {
    SCOPED_TRACE(row.list);
    CControlUI control;
    EXPECT_EQ(control.ApplyAttributeList(row.list), &control);
    EXPECT_STREQ(control.GetName(), row.name);
    EXPECT_EQ(control.GetFixedWidth(), row.width);
  }
  CControlUI control;
  EXPECT_EQ(control.ApplyAttributeList(nullptr), &control);
}

TEST(ControlAttributes, SettersIgnoreInvalidAndUnchangedValues) {
  CControlUI control;
  control.SetFixedWidth(10);
  control.SetFixedWidth(-1);
  EXPECT_EQ(control.GetFixedWidth(), 10);
  control.SetMinHeight(-3);
  EXPECT_EQ(control.GetMinHeight(), 0);
  control.SetMaxWidth(-3);
  EXPECT_EQ(control.GetMaxWidth(), 9999);
  control.SetText(nullptr);
  EXPECT_STREQ(control.GetText(), L"");
  control.SetBkImage(L"a.png");
  EXPECT_STREQ(control.GetBkImage(), L"a.png");
  control.SetBkImage(nullptr);
  EXPECT_STREQ(control.GetBkImage(), L"");
  EXPECT_EQ(control.GetInterface(L"Control"), &control);
  EXPECT_EQ(control.GetInterface(L"Container"), nullptr);
  EXPECT_EQ(control.GetInterface(nullptr), nullptr);
  EXPECT_STREQ(control.GetClass(), L"ControlUI");
}

}  // namespace
}  // namespace SkinUI
