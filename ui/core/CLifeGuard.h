// Tells code that calls out of an object whether the object survived the
// call: handlers and listeners may delete the control (or the window) that
// is delivering to them. Watch() before the call, test the flag after it.
#pragma once

#include <memory>

namespace SkinUI {

class CLifeGuard {
 public:
  CLifeGuard() = default;
  CLifeGuard(const CLifeGuard&) = delete;
  CLifeGuard& operator=(const CLifeGuard&) = delete;
  ~CLifeGuard() {
    if (m_pAlive) *m_pAlive = false;
  }

  // True while the owner lives.
  std::shared_ptr<const bool> Watch() {
    if (!m_pAlive) m_pAlive = std::make_shared<bool>(true);
    return m_pAlive;
  }

 private:
  std::shared_ptr<bool> m_pAlive;
};

}  // namespace SkinUI
