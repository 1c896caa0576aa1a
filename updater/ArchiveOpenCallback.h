// What the archive library calls while it opens the package.
#pragma once

#include "ArchiveInterfaces.h"
#include "MyUnknown.h"

class CArchiveOpenCallback final : public IArchiveOpenCallback, public ICryptoGetTextPassword, public CMyUnknownImp {
 public:
  // Only IUnknown and ICryptoGetTextPassword, both with the password view.
  HRESULT QueryInterface(REFIID iid, void** out) override;
  ULONG AddRef() override { return AddRefImp(); }
  ULONG Release() override { return ReleaseImp(this); }

  HRESULT SetTotal(const ULONGLONG* files, const ULONGLONG* bytes) override;
  HRESULT SetCompleted(const ULONGLONG* files, const ULONGLONG* bytes) override;

  // No password is ever supplied: an encrypted package cannot be opened.
  HRESULT CryptoGetTextPassword(BSTR* password) override;
};

// The answer of both callbacks to a password request.
HRESULT RefusePassword();
