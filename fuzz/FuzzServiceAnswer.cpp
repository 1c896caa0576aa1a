// Fuzzer: any response body through the decoder and the answer reader.
#include "ServiceAnswer.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string body(reinterpret_cast<const char*>(data), size);
  DecodeServiceAnswer(body);
  // The bytes also as the plain document, so the JSON side sees them directly.
  ParseServiceAnswer(body);
  return 0;
}
