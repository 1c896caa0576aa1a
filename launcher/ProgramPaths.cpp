#include "ProgramPaths.h"

#include "SplitString.h"
#include "TextLimits.h"
#include "Win32.h"

#include <cstdio>

namespace {

constexpr char kOldCopyName[] = "old.exe";

bool Format(std::string* out, const char* format, const std::string& text) {
  char buffer[kTextCapacity] = {};
  int length = std::snprintf(buffer, sizeof buffer, format, text.c_str());
  if (length < 0 || static_cast<size_t>(length) >= kTextCapacity) return false;
  *out = buffer;
  return true;
}

bool SameNameIgnoringCase(const std::string& a, const char* b) {
  std::string lower = a;
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower == b;
}

}  // namespace

bool SplitProgramPath(const std::string& programPath, ProgramPaths* paths) {
  std::vector<std::string> pieces = SplitString(programPath, PLATFORM_PATH_SEPARATOR_A);
  if (pieces.size() < 2 || programPath.size() >= kTextCapacity) return false;

  char directory[kTextCapacity] = {};
  if (!JoinPathPieces(pieces, pieces.size() - 1, directory, sizeof directory)) return false;
  ProgramPaths result;
  result.program = programPath;
  result.directory = directory;
  result.fileName = pieces.back();
  if (SameNameIgnoringCase(result.fileName, kOldCopyName)) return false;
  if (!Format(&result.oldCopy, "%s" PLATFORM_PATH_SEPARATOR_A "old.exe", result.directory)) return false;
  if (!Format(&result.download, "%s.new", result.program)) return false;
  *paths = result;
  return true;
}
