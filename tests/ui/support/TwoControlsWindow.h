// The fixture of the event tests: a 200 x 100 headless window whose tree
// is a horizontal layout with two logging controls, A on the left and B on
// the right, and a notifier writing into the same log. Children removed
// from the layout die at once.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "EventLog.h"
#include "FrameworkPump.h"
#include "TestWindow.h"
#include "controls/CHorizontalLayoutUI.h"

namespace SkinUI::test {

class TwoControlsWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    Pump();
    window = std::make_unique<TestWindow>(200, 100);
    root = new CHorizontalLayoutUI;
    root->SetName(L"root");
    root->SetDelayedDestroy(false);
    a = new LogControl(&log, L"A");
    b = new LogControl(&log, L"B");
    root->Add(a);
    root->Add(b);
    pm().AddNotifier(&notifier);
    window->Attach(root);
    ::SetFocus(window->hwnd());
    window->MouseMove(-50, -50);
    ASSERT_TRUE(PumpUntil([&] { return log.Count("notify:windowinit:root") == 1; }));
    log.Clear();
  }
  void TearDown() override {
    window.reset();
    Pump();
  }
  CPaintManagerUI& pm() { return window->pm(); }
  // Pumps until the line was logged that many times.
  bool Logged(const std::string& line, int times = 1) {
    return PumpUntil([&] { return log.Count(line) >= times; });
  }

  EventLog log;
  LogNotifier notifier{&log};
  std::unique_ptr<TestWindow> window;
  CHorizontalLayoutUI* root = nullptr;
  LogControl* a = nullptr;
  LogControl* b = nullptr;
};

}  // namespace SkinUI::test
