#include "ItemPath.h"

#include "FileSystem.h"

bool ItemPathStaysInside(const std::wstring& outputDirectory, const std::wstring& itemPath) {
  if (itemPath.empty()) return true;
  if (IsPathSeparator(itemPath[0])) return false;
  // "C:x" names the current directory of drive C wherever drives exist.
  const WCHAR first = itemPath[0];
  const bool letter = (first >= L'a' && first <= L'z') || (first >= L'A' && first <= L'Z');
  if (letter && itemPath.size() >= 2 && itemPath[1] == L':') return false;

  size_t start = 0;
  while (start <= itemPath.size()) {
    size_t end = start;
    while (end < itemPath.size() && !IsPathSeparator(itemPath[end])) ++end;
    if (itemPath.compare(start, end - start, L"..") == 0) return false;
    // A directory on the way that is a link may lead anywhere.
    if (end < itemPath.size() && end > start) {
      const std::wstring ancestor = outputDirectory + itemPath.substr(0, end);
      const DWORD attributes = GetFileAttributesW(ancestor.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
    }
    start = end + 1;
  }
  return true;
}
