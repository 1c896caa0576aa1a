// The one reader of attribute values: integers, hexadecimal colours,
// booleans and lists of numbers, as skins, attribute lists and image
// descriptions write them. Integers are 32 bits on every platform and
// saturate, as the Windows runtime's wcstol and wcstoul do.
#pragma once

#include "Win32.h"

namespace SkinUI {

// Decimal: leading white space and one sign allowed, reading stops at the
// first non-digit, no digits read 0. *ppEnd, when given, is where reading
// stopped (the start of the text when there were no digits).
LONG ParseInt(LPCWSTR pstr, LPCWSTR* ppEnd = nullptr);

// Unsigned hexadecimal: leading white space, one sign (a minus negates)
// and a "0x" prefix allowed; saturates at 0xFFFFFFFF.
DWORD ParseHex(LPCWSTR pstr, LPCWSTR* ppEnd = nullptr);

// A colour 0xAARRGGBB: one optional leading '#', then hexadecimal.
DWORD ParseColor(LPCWSTR pstr);

// True only for the exact text "true".
bool ParseBool(LPCWSTR pstr);

// Up to nCount (at most 4) decimal numbers, each separated from the next by
// exactly one arbitrary character. Reading never passes the terminator;
// numbers that are missing read 0, and so does a field without digits.
// Returns how many fields were read before the terminator.
int ParseIntList(LPCWSTR pstr, LONG* pValues, int nCount);

// Four numbers as left, top, right, bottom.
RECT ParseRect(LPCWSTR pstr);
// Two numbers as cx, cy.
SIZE ParseSize(LPCWSTR pstr);

}  // namespace SkinUI
