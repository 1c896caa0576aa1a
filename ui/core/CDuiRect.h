// A rectangle (right and bottom exclusive) with the platform's rectangle
// arithmetic.
#pragma once

#include "Win32.h"

namespace SkinUI {

class CDuiRect : public tagRECT {
 public:
  CDuiRect();
  CDuiRect(const RECT& src);
  CDuiRect(int iLeft, int iTop, int iRight, int iBottom);

  int GetWidth() const;
  int GetHeight() const;
  void Empty();
  bool IsNull() const;
  void Join(const RECT& rc);
  void ResetOffset();
  void Normalize();
  bool Offset(int cx, int cy);
  bool Inflate(int cx, int cy);
  bool Deflate(int cx, int cy);
  // Bounding rectangle; an empty side gives the other. False (and all
  // zero) when both are empty.
  bool Union(const RECT& rc);
  // Overlapping part; false and all zero when there is none.
  bool Intersect(const RECT& rc);

 private:
  static bool IsEmptyRect(const RECT& rc);
};

}  // namespace SkinUI
