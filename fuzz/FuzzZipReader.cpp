// ZipReader on arbitrary bytes: open from memory, look an entry up, and
// extract every entry into a buffer that fits and into one that is short.
#include <vector>

#include "render/ZipReader.h"

using namespace SkinUI;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::unique_ptr<ZipReader> zip = ZipReader::OpenMemory(data, static_cast<DWORD>(size));
  if (!zip) return 0;
  ZipEntry found;
  if (zip->FindEntry(L"MainWnd.xml", &found) && found.uncompressedSize <= (1u << 20)) {
    std::vector<BYTE> buffer(found.uncompressedSize);
    zip->Extract(found, buffer.data(), found.uncompressedSize);
  }
  std::vector<BYTE> buffer(1 << 16);
  for (int i = 0; i < zip->GetEntryCount(); i++) {
    ZipEntry entry;
    entry.index = i;
    zip->Extract(entry, buffer.data(), static_cast<DWORD>(buffer.size()));
    zip->Extract(entry, buffer.data(), 3);
  }
  return 0;
}
