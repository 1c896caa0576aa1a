// Delegates and event sources: how code outside a control subscribes to
// its life and its events. A source keeps its own copies of the delegates
// and calls them in the order they were added; the first one answering
// false ends the call.
#pragma once

#include <cstring>

#include "Win32.h"
#include "core/CLifeGuard.h"
#include "core/CStdPtrArray.h"

namespace SkinUI {

class CDelegateBase {
 public:
  CDelegateBase(void* pObject, void* pFn, void* pFnExtra = nullptr)
      : m_pObject(pObject), m_pFn(pFn), m_pFnExtra(pFnExtra) {}
  CDelegateBase(const CDelegateBase& rhs) = default;
  CDelegateBase& operator=(const CDelegateBase& rhs) = default;
  virtual ~CDelegateBase() = default;
  virtual CDelegateBase* MakeCopy() const = 0;
  virtual bool Call(void* param) = 0;

  bool Equals(const CDelegateBase& rhs) const {
    return m_pObject == rhs.m_pObject && m_pFn == rhs.m_pFn && m_pFnExtra == rhs.m_pFnExtra;
  }

 protected:
  void* GetFn() const { return m_pFn; }
  void* GetObject() const { return m_pObject; }

 private:
  void* m_pObject;
  void* m_pFn;
  // A member function pointer is two words on our compilers; the second
  // word (the this-adjustment) keeps two such pointers apart.
  void* m_pFnExtra;
};

class CDelegateStatic : public CDelegateBase {
 public:
  typedef bool (*Fn)(void*);
  explicit CDelegateStatic(Fn pFn) : CDelegateBase(nullptr, reinterpret_cast<void*>(pFn)) {}
  CDelegateBase* MakeCopy() const override { return new CDelegateStatic(*this); }
  bool Call(void* param) override { return reinterpret_cast<Fn>(GetFn())(param); }
};

// A member function of T called on an object of class O.
template <class O, class T>
class CDelegate : public CDelegateBase {
 public:
  typedef bool (T::*Fn)(void*);
  CDelegate(O* pObj, Fn pFn) : CDelegateBase(pObj, Word(pFn, 0), Word(pFn, 1)), m_pFn(pFn) {}
  CDelegateBase* MakeCopy() const override { return new CDelegate(*this); }
  bool Call(void* param) override {
    O* pObject = static_cast<O*>(GetObject());
    return (pObject->*m_pFn)(param);
  }

 private:
  static_assert(sizeof(Fn) <= 2 * sizeof(void*), "member function pointers of two words");
  static void* Word(Fn pFn, int index) {
    void* words[2] = {nullptr, nullptr};
    std::memcpy(words, &pFn, sizeof(pFn));
    return words[index];
  }

  Fn m_pFn;
};

template <class O, class T>
CDelegate<O, T> MakeDelegate(O* pObject, bool (T::*pFn)(void*)) {
  return CDelegate<O, T>(pObject, pFn);
}

inline CDelegateStatic MakeDelegate(bool (*pFn)(void*)) { return CDelegateStatic(pFn); }

class CEventSource {
 public:
  typedef bool (*FnType)(void*);

  CEventSource() = default;
  CEventSource(const CEventSource&) = delete;
  CEventSource& operator=(const CEventSource&) = delete;
  ~CEventSource();

  operator bool() const { return !m_aDelegates.IsEmpty(); }
  void operator+=(const CDelegateBase& d);
  void operator+=(FnType pFn);
  void operator-=(const CDelegateBase& d);
  void operator-=(FnType pFn);
  // Calls each delegate in order; false as soon as one answers false, or
  // when a delegate destroyed the source (its owner died in the call).
  bool operator()(void* param);

 private:
  CStdPtrArray m_aDelegates;
  CLifeGuard m_life;
};

}  // namespace SkinUI
