// Where the installed game's profile lives: beside the game's program.
#pragma once

#include <string>

// `directory` (the launcher's directory) joined with the service's `open`
// field, its last piece replaced by "Velmora.ini". The backslashes of
// `open` count as path separators. Empty when a path does not fit the
// 500-byte buffers.
std::string BuildProfilePath(const std::string& directory, const std::string& open);
