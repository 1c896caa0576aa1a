// The COM automation types the archive library exchanges: property
// variants and length-prefixed wide strings (BSTR).
//
// A BSTR points at its first character; the 32-bit byte length (without
// the terminator) sits right before it, and the whole block comes from
// malloc. The archive library built for this platform allocates its BSTRs
// the same way, so a string it returns is freed here and the other way
// round.
#pragma once

#include "win32/Types.h"

typedef WCHAR OLECHAR;
typedef OLECHAR* BSTR;
typedef const OLECHAR* LPCOLESTR;
typedef unsigned short VARTYPE;
typedef short VARIANT_BOOL;
typedef ULONG PROPID;
typedef LONG SCODE;

#define VARIANT_TRUE ((VARIANT_BOOL)-1)
#define VARIANT_FALSE ((VARIANT_BOOL)0)

enum VARENUM {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_CY = 6,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_UNKNOWN = 13,
  VT_DECIMAL = 14,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_I8 = 20,
  VT_UI8 = 21,
  VT_INT = 22,
  VT_UINT = 23,
  VT_VOID = 24,
  VT_HRESULT = 25,
  VT_FILETIME = 64,
};

typedef struct tagPROPVARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    CHAR cVal;
    BYTE bVal;
    SHORT iVal;
    USHORT uiVal;
    LONG lVal;
    ULONG ulVal;
    INT intVal;
    UINT uintVal;
    LARGE_INTEGER hVal;
    ULARGE_INTEGER uhVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    FILETIME filetime;
    BSTR bstrVal;
  };
} PROPVARIANT, *LPPROPVARIANT;
typedef PROPVARIANT VARIANT;
typedef PROPVARIANT VARIANTARG;

// Null for a null text or when memory runs out.
BSTR WINAPI SysAllocString(LPCOLESTR psz);
// len characters of psz (or uninitialised ones when psz is null), terminated.
BSTR WINAPI SysAllocStringLen(const OLECHAR* psz, UINT len);
void WINAPI SysFreeString(BSTR bstrString);
// Characters, without the terminator; 0 for a null BSTR.
UINT WINAPI SysStringLen(BSTR bstr);
UINT WINAPI SysStringByteLen(BSTR bstr);

// Frees what the variant owns (a BSTR) and makes it VT_EMPTY. Types this
// layer cannot free give DISP_E_BADVARTYPE and stay as they are.
HRESULT WINAPI PropVariantClear(PROPVARIANT* pvar);
HRESULT WINAPI VariantClear(VARIANTARG* pvarg);
void WINAPI PropVariantInit(PROPVARIANT* pvar);

#define DISP_E_BADVARTYPE ((HRESULT)0x80020008L)
