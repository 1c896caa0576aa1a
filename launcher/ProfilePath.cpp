#include "ProfilePath.h"

#include "SplitString.h"
#include "Win32.h"

#include <algorithm>
#include <cstdio>

namespace {
constexpr size_t kPathCapacity = 500;
}

std::string BuildProfilePath(const std::string& directory, const std::string& open) {
  std::string program = open;
  std::replace(program.begin(), program.end(), '\\', PLATFORM_PATH_SEPARATOR_CHAR);

  char gamePath[kPathCapacity] = {};
  int length = std::snprintf(gamePath, sizeof gamePath, "%s" PLATFORM_PATH_SEPARATOR_A "%s", directory.c_str(),
                             program.c_str());
  if (length < 0 || static_cast<size_t>(length) >= kPathCapacity) return std::string();

  std::vector<std::string> pieces = SplitString(gamePath, PLATFORM_PATH_SEPARATOR_A);
  char gameDirectory[kPathCapacity] = {};
  if (pieces.empty() || !JoinPathPieces(pieces, pieces.size() - 1, gameDirectory, sizeof gameDirectory))
    return std::string();

  char profile[kPathCapacity] = {};
  length = std::snprintf(profile, sizeof profile, "%s" PLATFORM_PATH_SEPARATOR_A "Velmora.ini", gameDirectory);
  if (length < 0 || static_cast<size_t>(length) >= kPathCapacity) return std::string();
  return profile;
}
