// Reference counting shared by every object handed to the archive library.
// The count starts at 0; the creator takes the first reference at once.
// Plain arithmetic: these objects live on the update worker thread only.
#pragma once

#include "Win32.h"

class CMyUnknownImp {
 protected:
  ULONG AddRefImp() { return ++m_refCount; }

  // Drops one reference and deletes self when it was the last. Self's class
  // has a virtual destructor of its own (IUnknown has none).
  template <typename T>
  static ULONG ReleaseImp(T* self) {
    const ULONG count = --self->m_refCount;
    if (count == 0) delete self;
    return count;
  }

  ULONG m_refCount = 0;
};

// Stores p (and one more reference) in out; the QueryInterface success path.
template <typename I>
HRESULT AnswerInterface(I* p, void** out) {
  *out = p;
  p->AddRef();
  return S_OK;
}

inline HRESULT RefuseInterface(void** out) {
  *out = nullptr;
  return E_NOINTERFACE;
}
