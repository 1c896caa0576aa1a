#include "core/CDelegate.h"

namespace SkinUI {

CEventSource::~CEventSource() {
  for (int i = 0; i < m_aDelegates.GetSize(); ++i) delete static_cast<CDelegateBase*>(m_aDelegates[i]);
}

void CEventSource::operator+=(const CDelegateBase& d) {
  for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
    CDelegateBase* pObject = static_cast<CDelegateBase*>(m_aDelegates[i]);
    if (pObject != nullptr && pObject->Equals(d)) return;
  }
  m_aDelegates.Add(d.MakeCopy());
}

void CEventSource::operator+=(FnType pFn) { (*this) += MakeDelegate(pFn); }

void CEventSource::operator-=(const CDelegateBase& d) {
  for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
    CDelegateBase* pObject = static_cast<CDelegateBase*>(m_aDelegates[i]);
    if (pObject != nullptr && pObject->Equals(d)) {
      delete pObject;
      m_aDelegates.Remove(i);
      return;
    }
  }
}

void CEventSource::operator-=(FnType pFn) { (*this) -= MakeDelegate(pFn); }

bool CEventSource::operator()(void* param) {
  auto alive = m_life.Watch();
  for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
    CDelegateBase* pObject = static_cast<CDelegateBase*>(m_aDelegates[i]);
    if (pObject == nullptr) continue;
    bool bContinue = pObject->Call(param);
    if (!*alive) return false;
    if (!bContinue) return false;
  }
  return true;
}

}  // namespace SkinUI
