// The image decoder on arbitrary bytes, with and without a mask colour.
#include "manager/CPaintManagerUI.h"
#include "render/ImageDecoder.h"

using namespace SkinUI;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CPaintManagerUI::FreeImage(DecodeImage(data, size, 0));
  CPaintManagerUI::FreeImage(DecodeImage(data, size, 0xFFFF00FF));
  return 0;
}
