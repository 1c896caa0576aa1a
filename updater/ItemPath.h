// Whether an archive item's path keeps it inside the output directory.
#pragma once

#include <string>

// False for an absolute path (a leading separator, a drive), a ".."
// component, or a path through an existing link below outputDirectory
// (which ends with a separator).
bool ItemPathStaysInside(const std::wstring& outputDirectory, const std::wstring& itemPath);
