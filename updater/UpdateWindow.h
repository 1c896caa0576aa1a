// What the update worker needs of the main window. The window implements
// it so that each change reaches its controls on the UI thread, in the
// order of the calls; the worker never touches a control itself.
#pragma once

#include "Win32.h"

class IUpdateWindow {
 public:
  // The package URL in the ANSI code page (the record's game_url).
  virtual const char* GameUrl() const = 0;

  // Controls by their skin names: "myprogress", "Optionsum", "Optionbt",
  // "Optiontexe", "again".
  virtual void SetControlVisible(LPCWSTR control, bool visible) = 0;
  virtual void SetControlText(LPCWSTR control, LPCWSTR text) = 0;

  // The progress bar "myprogress".
  virtual void SetProgressMinValue(int value) = 0;
  virtual void SetProgressMaxValue(int value) = 0;
  virtual void SetProgressValue(int value) = 0;

  // 2: the update download failed; "again" then starts the flow anew.
  virtual void SetRetryMode(int mode) = 0;

  // Starts the game; called on the worker thread once unpacking is over.
  virtual void LaunchGame() = 0;

 protected:
  ~IUpdateWindow() = default;
};
