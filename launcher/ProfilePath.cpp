#include "ProfilePath.h"

#include "SplitString.h"
#include "TextLimits.h"
#include "Win32.h"

#include <algorithm>
#include <cstdio>

std::string BuildProfilePath(const std::string& directory, const std::string& open) {
  std::string program = open;
  std::replace(program.begin(), program.end(), '\\', PLATFORM_PATH_SEPARATOR_CHAR);

  char gamePath[kTextCapacity] = {};
  int length = std::snprintf(gamePath, sizeof gamePath, "%s" PLATFORM_PATH_SEPARATOR_A "%s", directory.c_str(),
                             program.c_str());
  if (length < 0 || static_cast<size_t>(length) >= kTextCapacity) return std::string();

  std::vector<std::string> pieces = SplitString(gamePath, PLATFORM_PATH_SEPARATOR_A);
  char gameDirectory[kTextCapacity] = {};
  if (pieces.empty() || !JoinPathPieces(pieces, pieces.size() - 1, gameDirectory, sizeof gameDirectory))
    return std::string();

  char profile[kTextCapacity] = {};
  length = std::snprintf(profile, sizeof profile, "%s" PLATFORM_PATH_SEPARATOR_A "Velmora.ini", gameDirectory);
  if (length < 0 || static_cast<size_t>(length) >= kTextCapacity) return std::string();
  return profile;
}
