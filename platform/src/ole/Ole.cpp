// BSTRs and property variants, laid out as the archive library on this
// platform expects (see win32/Ole.h).
#include "win32/Ole.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <limits>


namespace {

typedef uint32_t BstrLength;

BstrLength* PrefixOf(BSTR bstr) { return reinterpret_cast<BstrLength*>(bstr) - 1; }

}  // namespace

BSTR WINAPI SysAllocStringLen(const OLECHAR* psz, UINT len) {
  constexpr size_t limit = (std::numeric_limits<BstrLength>::max() - sizeof(BstrLength)) / sizeof(OLECHAR) - 1;
  if (len > limit) return nullptr;
  void* block = std::malloc(sizeof(BstrLength) + (static_cast<size_t>(len) + 1) * sizeof(OLECHAR));
  if (!block) return nullptr;
  *static_cast<BstrLength*>(block) = static_cast<BstrLength>(len * sizeof(OLECHAR));
  BSTR text = reinterpret_cast<BSTR>(static_cast<BstrLength*>(block) + 1);
  if (psz) std::memcpy(text, psz, len * sizeof(OLECHAR));
  text[len] = 0;
  return text;
}

BSTR WINAPI SysAllocString(LPCOLESTR psz) {
  if (!psz) return nullptr;
  return SysAllocStringLen(psz, static_cast<UINT>(std::wcslen(psz)));
}

void WINAPI SysFreeString(BSTR bstrString) {
  if (bstrString) std::free(PrefixOf(bstrString));
}

UINT WINAPI SysStringByteLen(BSTR bstr) { return bstr ? *PrefixOf(bstr) : 0; }

UINT WINAPI SysStringLen(BSTR bstr) { return SysStringByteLen(bstr) / sizeof(OLECHAR); }

void WINAPI PropVariantInit(PROPVARIANT* pvar) { std::memset(pvar, 0, sizeof *pvar); }

HRESULT WINAPI PropVariantClear(PROPVARIANT* pvar) {
  if (!pvar) return S_OK;
  switch (pvar->vt) {
    case VT_EMPTY: case VT_NULL: case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_BOOL:
    case VT_I4: case VT_UI4: case VT_R4: case VT_INT: case VT_UINT: case VT_ERROR: case VT_HRESULT:
    case VT_I8: case VT_UI8: case VT_R8: case VT_CY: case VT_DATE: case VT_FILETIME:
      break;
    case VT_BSTR:
      SysFreeString(pvar->bstrVal);
      break;
    default:
      return DISP_E_BADVARTYPE;
  }
  PropVariantInit(pvar);
  return S_OK;
}

HRESULT WINAPI VariantClear(VARIANTARG* pvarg) { return PropVariantClear(pvarg); }
