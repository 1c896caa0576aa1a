#include "core/CDuiRect.h"

#include <algorithm>

namespace SkinUI {

CDuiRect::CDuiRect() : tagRECT{0, 0, 0, 0} {}
CDuiRect::CDuiRect(const RECT& src) : tagRECT(src) {}
CDuiRect::CDuiRect(int iLeft, int iTop, int iRight, int iBottom) : tagRECT{iLeft, iTop, iRight, iBottom} {}

int CDuiRect::GetWidth() const { return right - left; }
int CDuiRect::GetHeight() const { return bottom - top; }

void CDuiRect::Empty() { left = top = right = bottom = 0; }
bool CDuiRect::IsNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }

void CDuiRect::Join(const RECT& rc) {
  left = std::min(left, rc.left);
  top = std::min(top, rc.top);
  right = std::max(right, rc.right);
  bottom = std::max(bottom, rc.bottom);
}

void CDuiRect::ResetOffset() { Offset(-left, -top); }

void CDuiRect::Normalize() {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
}

bool CDuiRect::Offset(int cx, int cy) {
  left += cx;
  right += cx;
  top += cy;
  bottom += cy;
  return true;
}

bool CDuiRect::Inflate(int cx, int cy) {
  left -= cx;
  top -= cy;
  right += cx;
  bottom += cy;
  return true;
}

bool CDuiRect::Deflate(int cx, int cy) { return Inflate(-cx, -cy); }

bool CDuiRect::IsEmptyRect(const RECT& rc) { return rc.right <= rc.left || rc.bottom <= rc.top; }

bool CDuiRect::Union(const RECT& rc) {
  bool thisEmpty = IsEmptyRect(*this), otherEmpty = IsEmptyRect(rc);
  if (thisEmpty && otherEmpty) {
    Empty();
    return false;
  }
  if (thisEmpty) {
    *static_cast<RECT*>(this) = rc;
  } else if (!otherEmpty) {
    Join(rc);
  }
  return true;
}

bool CDuiRect::Intersect(const RECT& rc) {
  RECT r{std::max(left, rc.left), std::max(top, rc.top), std::min(right, rc.right), std::min(bottom, rc.bottom)};
  if (IsEmptyRect(*this) || IsEmptyRect(rc) || IsEmptyRect(r)) {
    Empty();
    return false;
  }
  *static_cast<RECT*>(this) = r;
  return true;
}

}  // namespace SkinUI
