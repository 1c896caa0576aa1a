#include "ArchiveInterfaces.h"

namespace {

// The library's identifiers share one pattern: {23170F69-40C1-278A-0000-00yy00xx0000}.
constexpr IID LibraryIid(BYTE group, BYTE id) {
  return {0x23170F69, 0x40C1, 0x278A, {0x00, 0x00, 0x00, group, 0x00, id, 0x00, 0x00}};
}

}  // namespace

const IID IID_ISequentialInStream = LibraryIid(0x03, 0x01);
const IID IID_IInStream = LibraryIid(0x03, 0x03);
const IID IID_ISequentialOutStream = LibraryIid(0x03, 0x02);
const IID IID_IOutStream = LibraryIid(0x03, 0x04);
const IID IID_IStreamGetSize = LibraryIid(0x03, 0x06);
const IID IID_IStreamGetProps = LibraryIid(0x03, 0x08);
const IID IID_IStreamGetProps2 = LibraryIid(0x03, 0x09);
const IID IID_ICryptoGetTextPassword = LibraryIid(0x05, 0x10);
const IID IID_IInArchive = LibraryIid(0x06, 0x60);
const CLSID CLSID_CFormat7z = {0x23170F69, 0x40C1, 0x278A, {0x10, 0x00, 0x00, 0x01, 0x10, 0x07, 0x00, 0x00}};
