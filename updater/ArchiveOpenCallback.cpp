#include "ArchiveOpenCallback.h"

#include "Console.h"

HRESULT RefusePassword() {
  PrintError("Password is not defined");
  return E_ABORT;
}

HRESULT CArchiveOpenCallback::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_ICryptoGetTextPassword)
    return AnswerInterface(static_cast<ICryptoGetTextPassword*>(this), out);
  return RefuseInterface(out);
}

HRESULT CArchiveOpenCallback::SetTotal(const ULONGLONG*, const ULONGLONG*) { return S_OK; }

HRESULT CArchiveOpenCallback::SetCompleted(const ULONGLONG*, const ULONGLONG*) { return S_OK; }

HRESULT CArchiveOpenCallback::CryptoGetTextPassword(BSTR*) { return RefusePassword(); }
