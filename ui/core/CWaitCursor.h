// Shows the wait cursor for the lifetime of the object.
#pragma once

#include "Win32.h"

namespace SkinUI {

class CWaitCursor {
 public:
  CWaitCursor();
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
  ~CWaitCursor();

 private:
  HCURSOR m_hOrigCursor;
};

}  // namespace SkinUI
