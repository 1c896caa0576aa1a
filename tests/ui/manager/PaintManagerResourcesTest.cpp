// Paths, transparency, timers, fonts and the parent resource chain of the
// paint manager, on windows of the headless display.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "TempDir.h"
#include "manager/CPaintManagerUI.h"

using namespace SkinUI;

namespace {

HWND MakeWindow() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.lpszClassName = L"ResourcesTestWindow";
  RegisterClassExW(&wc);  // a second registration fails harmlessly
  return CreateWindowExW(0, wc.lpszClassName, L"resources", WS_POPUP | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                         nullptr, nullptr, nullptr);
}

struct Window {
  HWND hwnd = MakeWindow();
  ~Window() { DestroyWindow(hwnd); }
};

// Fake controls: timers and groups only compare the pointers.
CControlUI* Control(int n) { return reinterpret_cast<CControlUI*>(static_cast<uintptr_t>(0x1000 + n * 16)); }

TEST(PaintManagerPathsTest, ResourcePathGetsOneSeparator) {
  struct Case {
    const wchar_t* given;
    const wchar_t* stored;
  };
  const Case cases[] = {{L"Skin", L"Skin" PLATFORM_PATH_SEPARATOR_W},
                        {L"Skin/", L"Skin/"},
                        {L"Skin\\", L"Skin\\"},
                        {L"", L""},
                        {nullptr, L""}};
  for (const Case& c : cases) {
    CPaintManagerUI::SetResourcePath(c.given);
    EXPECT_STREQ(CPaintManagerUI::GetResourcePath(), c.stored) << (c.given ? c.given : L"(null)");
  }
}

TEST(PaintManagerPathsTest, InstancePathIsTheModulesFolder) {
  EXPECT_STREQ(CPaintManagerUI::GetInstancePath(), L"");  // no instance yet
  CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
  WCHAR module[4096] = {};
  GetModuleFileNameW(nullptr, module, 4096);
  const std::filesystem::path folder = std::filesystem::path(module).parent_path();
  const std::wstring path = CPaintManagerUI::GetInstancePath().GetData();
  ASSERT_FALSE(path.empty());
  EXPECT_TRUE(path.back() == L'/' || path.back() == L'\\');
  EXPECT_TRUE(std::filesystem::equivalent(path, folder));
  EXPECT_EQ(CPaintManagerUI::GetResourceDll(), GetModuleHandleW(nullptr));
}

TEST(PaintManagerPathsTest, CurrentPathIsTheProcesssCurrentDirectory) {
  TempDir dir;
  const std::filesystem::path before = std::filesystem::current_path();
  CPaintManagerUI::SetCurrentPath(dir.wide().c_str());
  EXPECT_TRUE(std::filesystem::equivalent(CPaintManagerUI::GetCurrentPath().GetData(), dir.path()));
  std::filesystem::current_path(before);
}

TEST(PaintManagerSettingsTest, TransparencyClampsAndSetsTheLayeredStyle) {
  Window window;
  CPaintManagerUI manager;
  manager.Init(window.hwnd);
  struct Case {
    int given, stored;
    bool layered;
    BYTE alpha;
  };
  for (Case c : {Case{128, 128, true, 128}, Case{300, 255, false, 44}, Case{-5, 0, false, 251}, Case{0, 0, true, 0}}) {
    SCOPED_TRACE(c.given);
    manager.SetTransparent(c.given);
    EXPECT_EQ(manager.GetTransparent(), c.stored);
    EXPECT_EQ((GetWindowLongW(window.hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0, c.layered);
    BYTE alpha = 0;
    if (c.layered) {
      ASSERT_TRUE(GetLayeredWindowAttributes(window.hwnd, nullptr, &alpha, nullptr));
      EXPECT_EQ(alpha, c.alpha);
    }
  }
  CPaintManagerUI unbound;
  unbound.SetTransparent(400);
  EXPECT_EQ(unbound.GetTransparent(), 255);
}

TEST(PaintManagerSettingsTest, DefaultColoursComeFromTheTopOfTheChain) {
  CPaintManagerUI top, child;
  ASSERT_TRUE(child.UseParentResource(&top));
  child.SetDefaultFontColor(0xFF112233);
  EXPECT_EQ(child.GetDefaultFontColor(), 0xFF000001u);  // stored, not returned
  top.SetDefaultFontColor(0xFF445566);
  EXPECT_EQ(child.GetDefaultFontColor(), 0xFF445566u);
  EXPECT_EQ(child.GetDefaultSelectedBkColor(), 0xFFBAE4FFu);
  ASSERT_TRUE(child.UseParentResource(nullptr));
  EXPECT_EQ(child.GetDefaultFontColor(), 0xFF112233u);
}

// The platform timer a WM_TIMER names, waited for with a deadline.
bool TimerFires(HWND hwnd, UINT_PTR id, DWORD timeoutMs = 5000) {
  const DWORD start = GetTickCount();
  MSG msg;
  while (GetTickCount() - start < timeoutMs) {
    while (PeekMessageW(&msg, hwnd, WM_TIMER, WM_TIMER, PM_REMOVE))
      if (msg.wParam == id) return true;
    Sleep(1);
  }
  return false;
}

TEST(PaintManagerTimersTest, FirstIdentifierIs17AndRestartKeepsIt) {
  Window window;
  CPaintManagerUI manager;
  manager.Init(window.hwnd);
  ASSERT_TRUE(manager.SetTimer(Control(1), 5, 1));
  EXPECT_TRUE(TimerFires(window.hwnd, 17));
  EXPECT_FALSE(manager.SetTimer(Control(1), 5, 1));  // running already
  EXPECT_TRUE(manager.KillTimer(Control(1), 5));
  EXPECT_FALSE(manager.KillTimer(Control(1), 5));
  EXPECT_TRUE(manager.SetTimer(Control(1), 5, 1));  // the same platform timer again
  EXPECT_TRUE(TimerFires(window.hwnd, 17));
  EXPECT_TRUE(manager.SetTimer(Control(2), 5, 100000));
  manager.KillTimer(Control(1));
  EXPECT_FALSE(manager.KillTimer(Control(1), 5));
  manager.RemoveAllTimers();
  EXPECT_FALSE(manager.KillTimer(Control(2), 5));
}

TEST(PaintManagerTimersTest, WrappingNeverTakesAnIdentifierStillHeld) {
  Window window;
  CPaintManagerUI manager;
  manager.Init(window.hwnd);
  ASSERT_TRUE(manager.SetTimer(Control(1), 1, 1));  // holds 17
  ASSERT_TRUE(manager.SetTimer(Control(2), 1, 100000));  // holds 18, killed but kept
  ASSERT_TRUE(manager.KillTimer(Control(2), 1));
  for (int cycle = 0; cycle < 300; ++cycle) {
    ASSERT_TRUE(manager.SetTimer(Control(3), 1, 100000)) << cycle;
    manager.KillTimer(Control(3));
  }
  // Control 1's timer still runs under its identifier; control 2's restarts.
  EXPECT_TRUE(TimerFires(window.hwnd, 17));
  EXPECT_TRUE(manager.SetTimer(Control(2), 1, 1));
  EXPECT_TRUE(TimerFires(window.hwnd, 18));
}

TEST(PaintManagerTimersTest, AllIdentifiersHeldFailsUntilOneIsFreed) {
  Window window;
  CPaintManagerUI manager;
  manager.Init(window.hwnd);
  for (int i = 0; i < 240; ++i) ASSERT_TRUE(manager.SetTimer(Control(i), 1, 100000)) << i;
  EXPECT_FALSE(manager.SetTimer(Control(500), 1, 100000));
  manager.KillTimer(Control(7));
  EXPECT_TRUE(manager.SetTimer(Control(500), 1, 1));
  EXPECT_TRUE(TimerFires(window.hwnd, (17 + 7) % 240));
}

TEST(PaintManagerFontsTest, ListAndDefault) {
  CPaintManagerUI manager;
  TFontInfo* def = manager.GetDefaultFontInfo();
  ASSERT_NE(def->hFont, nullptr);
  HFONT a = manager.AddFont(L"WenQuanYi Micro Hei", 12, false, false, false);
  HFONT b = manager.AddFont(L"WenQuanYi Micro Hei", 14, true, false, false);
  HFONT c = manager.AddFontAt(0, L"WenQuanYi Micro Hei", 16, false, true, true);
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(manager.GetCustomFontCount(), 3u);
  EXPECT_EQ(manager.GetFont(0), c);
  EXPECT_EQ(manager.GetFont(2), b);
  EXPECT_EQ(manager.GetFont(7), def->hFont);
  EXPECT_EQ(manager.GetFont(-1), def->hFont);
  EXPECT_EQ(manager.GetFontInfo(7), def);
  EXPECT_EQ(manager.GetFontIndex(b), 2);
  EXPECT_EQ(manager.GetFontIndex(L"WenQuanYi Micro Hei", 14, true, false, false), 2);
  EXPECT_EQ(manager.GetFontIndex(L"wenquanyi micro hei", 14, true, false, false), -1);  // case counts
  EXPECT_EQ(manager.AddFontAt(9, L"WenQuanYi Micro Hei", 10, false, false, false), nullptr);
  EXPECT_EQ(manager.GetCustomFontCount(), 3u);

  LOGFONTW lf = {};
  GetObjectW(b, sizeof lf, &lf);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfHeight, -14);
  GetObjectW(c, sizeof lf, &lf);
  EXPECT_TRUE(lf.lfUnderline && lf.lfItalic);

  EXPECT_TRUE(manager.RemoveFont(c));
  EXPECT_FALSE(manager.RemoveFont(c));
  EXPECT_EQ(manager.GetFont(0), a);
  EXPECT_FALSE(manager.RemoveFontAt(5));

  manager.SetDefaultFont(L"WenQuanYi Micro Hei", 20, true, false, false);
  EXPECT_EQ(manager.GetDefaultFontInfo()->iSize, 20);
  EXPECT_TRUE(manager.GetDefaultFontInfo()->bBold);
}

TEST(PaintManagerFontsTest, MetricsAreMeasuredThroughThePaintContext) {
  Window window;
  CPaintManagerUI manager;
  manager.Init(window.hwnd);
  manager.AddFont(L"WenQuanYi Micro Hei", 18, false, false, false);
  EXPECT_GT(manager.GetFontInfo(0)->tm.tmHeight, 0);
  EXPECT_GT(manager.GetDefaultFontInfo()->tm.tmHeight, 0);
  EXPECT_GT(manager.GetClientSize().cx, 0);
}

TEST(PaintManagerChainTest, FontsAndListsComeFromParentsAndCyclesAreRefused) {
  CPaintManagerUI a, b, c;
  EXPECT_FALSE(a.UseParentResource(&a));
  ASSERT_TRUE(b.UseParentResource(&a));
  ASSERT_TRUE(c.UseParentResource(&b));
  EXPECT_FALSE(a.UseParentResource(&c));  // c -> b -> a
  EXPECT_FALSE(a.UseParentResource(&b));
  EXPECT_EQ(a.GetParentResource(), nullptr);

  HFONT font = a.AddFont(L"WenQuanYi Micro Hei", 13, false, false, false);
  EXPECT_EQ(c.GetFont(L"WenQuanYi Micro Hei", 13, false, false, false), font);
  EXPECT_TRUE(c.FindFont(font));
  EXPECT_EQ(c.GetFontInfo(font)->iSize, 13);
  EXPECT_EQ(c.GetFontIndex(font), -1);  // indices are the manager's own
  EXPECT_NE(c.GetFont(0), font);
  EXPECT_EQ(c.GetDefaultFontInfo(), a.GetDefaultFontInfo());

  a.AddDefaultAttributeList(L"Button", L"height=\"30\"");
  a.AddDefaultAttributeList(L"Button", L"height=\"99\"");  // the first stays
  EXPECT_STREQ(c.GetDefaultAttributeList(L"Button"), L"height=\"30\"");
  EXPECT_FALSE(c.RemoveDefaultAttributeList(L"Button"));
  EXPECT_TRUE(a.RemoveDefaultAttributeList(L"Button"));
  EXPECT_EQ(c.GetDefaultAttributeList(L"Button"), nullptr);
}

TEST(PaintManagerGroupsTest, OptionGroups) {
  CPaintManagerUI manager;
  EXPECT_TRUE(manager.AddOptionGroup(L"g", Control(1)));
  EXPECT_FALSE(manager.AddOptionGroup(L"g", Control(1)));
  EXPECT_TRUE(manager.AddOptionGroup(L"g", Control(2)));
  ASSERT_NE(manager.GetOptionGroup(L"g"), nullptr);
  EXPECT_EQ(manager.GetOptionGroup(L"g")->GetSize(), 2);
  manager.RemoveOptionGroup(L"g", Control(1));
  manager.RemoveOptionGroup(L"g", Control(2));
  EXPECT_EQ(manager.GetOptionGroup(L"g"), nullptr);
  manager.AddOptionGroup(L"h", Control(3));  // freed with the manager
}

}  // namespace
