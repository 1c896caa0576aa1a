// Fuzzer: any file through the profile reader.
#include "ProfileReader.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/fuzz-profile-" + std::to_string(getpid()) + ".ini";
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  ProfileReader reader;
  reader.Load(path);
  reader.GetValue("VERSION", "game_version", "");
  return 0;
}
