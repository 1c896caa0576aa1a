// The launcher's own paths, from its program path split into pieces.
#pragma once

#include <string>

struct ProgramPaths {
  std::string program;    // as given
  std::string directory;  // every piece but the last, joined again
  std::string fileName;   // the last piece
  std::string oldCopy;    // directory + "old.exe"
  std::string download;   // program + ".new": where a new launcher lands first
};

// False when the path has no separator (no directory to work in), when a
// path does not fit the 500-byte buffers, or when the program itself is
// named old.exe, so that no step can remove or replace the running file.
bool SplitProgramPath(const std::string& programPath, ProgramPaths* paths);
