#include "render/ZipReader.h"

#include <unzip.h>

#include <cstring>

namespace SkinUI {

namespace {

constexpr uLong kUtf8NameFlag = 1u << 11;
constexpr int kMaxNameBytes = 65535;

// Names flagged as UTF-8, or that are valid UTF-8, are read as such; others
// are in the OEM code page, as DOS and Windows tools write them.
std::wstring DecodeName(const char* name, int length, uLong flags) {
  UINT codePage = CP_UTF8;
  if (!(flags & kUtf8NameFlag) &&
      ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, length, nullptr, 0) <= 0)
    codePage = CP_OEMCP;
  int cch = length > 0 ? ::MultiByteToWideChar(codePage, 0, name, length, nullptr, 0) : 0;
  std::wstring wide(static_cast<size_t>(cch > 0 ? cch : 0), L'\0');
  if (cch > 0) ::MultiByteToWideChar(codePage, 0, name, length, wide.data(), cch);
  return wide;
}

}  // namespace

std::wstring ZipReader::FoldName(LPCWSTR pstrName) {
  std::wstring folded(pstrName);
  for (WCHAR& ch : folded)
    if (ch == L'\\') ch = L'/';
  if (!folded.empty()) ::CharUpperW(folded.data());
  return folded;
}

// minizip reads the archive through these hooks, from the memory block.
static voidpf ZCALLBACK StreamOpen(voidpf opaque, const void*, int) { return opaque; }

static uLong ZCALLBACK StreamRead(voidpf, voidpf stream, void* buf, uLong size) {
  auto s = static_cast<ZipReader::Stream*>(stream);
  ULONGLONG left = s->size - s->offset;
  uLong n = size < left ? size : static_cast<uLong>(left);
  memcpy(buf, s->data + s->offset, n);
  s->offset += n;
  return n;
}

static uLong ZCALLBACK StreamWrite(voidpf, voidpf, const void*, uLong) { return 0; }

static ZPOS64_T ZCALLBACK StreamTell(voidpf, voidpf stream) { return static_cast<ZipReader::Stream*>(stream)->offset; }

static long ZCALLBACK StreamSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  auto s = static_cast<ZipReader::Stream*>(stream);
  ULONGLONG base = 0;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = s->offset; break;
    case ZLIB_FILEFUNC_SEEK_END: base = s->size; break;
    default: return -1;
  }
  if (offset > s->size - base) return -1;
  s->offset = base + offset;
  return 0;
}

static int ZCALLBACK StreamClose(voidpf, voidpf) { return 0; }
static int ZCALLBACK StreamError(voidpf, voidpf) { return 0; }

std::unique_ptr<ZipReader> ZipReader::OpenFile(LPCWSTR pstrPath) {
  if (pstrPath == nullptr) return nullptr;
  HANDLE hFile = ::CreateFileW(pstrPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
  if (hFile == INVALID_HANDLE_VALUE) return nullptr;
  std::unique_ptr<ZipReader> reader(new ZipReader);
  LARGE_INTEGER size{};
  bool read = ::GetFileSizeEx(hFile, &size) && size.QuadPart > 0 && size.QuadPart <= 0xFFFFFFFFLL;
  if (read) {
    reader->m_file.resize(static_cast<size_t>(size.QuadPart));
    DWORD done = 0;
    read = ::ReadFile(hFile, reader->m_file.data(), static_cast<DWORD>(size.QuadPart), &done, nullptr) &&
           done == static_cast<DWORD>(size.QuadPart);
  }
  ::CloseHandle(hFile);
  if (!read) return nullptr;
  reader->m_stream.data = reader->m_file.data();
  reader->m_stream.size = reader->m_file.size();
  if (!reader->Open()) return nullptr;
  return reader;
}

std::unique_ptr<ZipReader> ZipReader::OpenMemory(LPCVOID pData, DWORD dwSize) {
  if (pData == nullptr || dwSize == 0) return nullptr;
  std::unique_ptr<ZipReader> reader(new ZipReader);
  reader->m_stream.data = static_cast<const BYTE*>(pData);
  reader->m_stream.size = dwSize;
  if (!reader->Open()) return nullptr;
  return reader;
}

// Opens the central directory and lists every entry once.
bool ZipReader::Open() {
  zlib_filefunc64_def io{};
  io.zopen64_file = StreamOpen;
  io.zread_file = StreamRead;
  io.zwrite_file = StreamWrite;
  io.ztell64_file = StreamTell;
  io.zseek64_file = StreamSeek;
  io.zclose_file = StreamClose;
  io.zerror_file = StreamError;
  io.opaque = &m_stream;
  unzFile zip = unzOpen2_64("", &io);
  if (zip == nullptr) return false;
  m_zip = zip;

  std::vector<char> name(kMaxNameBytes + 1);
  for (int rc = unzGoToFirstFile(zip); rc != UNZ_END_OF_LIST_OF_FILE; rc = unzGoToNextFile(zip)) {
    if (rc != UNZ_OK) return false;
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip, &info, name.data(), static_cast<uLong>(name.size()), nullptr, 0, nullptr, 0) !=
        UNZ_OK)
      return false;
    unz64_file_pos pos{};
    if (unzGetFilePos64(zip, &pos) != UNZ_OK) return false;
    int length = static_cast<int>(info.size_filename < kMaxNameBytes ? info.size_filename : kMaxNameBytes);
    std::wstring decoded = DecodeName(name.data(), length, info.flag);
    m_entries.push_back({FoldName(decoded.c_str()), pos.pos_in_zip_directory, pos.num_of_file,
                         info.uncompressed_size});
  }
  return true;
}

ZipReader::~ZipReader() {
  if (m_zip != nullptr) unzClose(static_cast<unzFile>(m_zip));
}

int ZipReader::GetEntryCount() const { return static_cast<int>(m_entries.size()); }

bool ZipReader::FindEntry(LPCWSTR pstrName, ZipEntry* pEntry) const {
  if (pstrName == nullptr || pEntry == nullptr) return false;
  std::wstring folded = FoldName(pstrName);
  for (size_t i = 0; i < m_entries.size(); i++) {
    if (m_entries[i].foldedName != folded) continue;
    // An entry too large for a 32-bit buffer cannot be extracted here.
    if (m_entries[i].uncompressedSize > 0xFFFFFFFFull) return false;
    pEntry->index = static_cast<int>(i);
    pEntry->uncompressedSize = static_cast<DWORD>(m_entries[i].uncompressedSize);
    return true;
  }
  return false;
}

ZipResult ZipReader::Extract(const ZipEntry& entry, LPVOID pBuffer, DWORD dwSize) {
  if (entry.index < 0 || entry.index >= GetEntryCount() || (pBuffer == nullptr && dwSize > 0)) return ZR_ARGS;
  const Entry& e = m_entries[static_cast<size_t>(entry.index)];
  auto zip = static_cast<unzFile>(m_zip);
  unz64_file_pos pos{e.directoryOffset, e.fileNumber};
  if (unzGoToFilePos64(zip, &pos) != UNZ_OK) return ZR_CORRUPT;
  unz_file_info64 info{};
  if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return ZR_CORRUPT;
  if (info.flag & 1) return ZR_NOTSUPPORTED;
  if (info.compression_method != 0 && info.compression_method != Z_DEFLATED) return ZR_NOTSUPPORTED;
  if (unzOpenCurrentFile(zip) != UNZ_OK) return ZR_CORRUPT;

  // Reads in pieces: minizip takes an unsigned count per call.
  const ULONGLONG want = dwSize < e.uncompressedSize ? dwSize : e.uncompressedSize;
  ULONGLONG done = 0;
  int rc = 1;
  while (done < want) {
    ULONGLONG piece = want - done < (1u << 30) ? want - done : (1u << 30);
    rc = unzReadCurrentFile(zip, static_cast<BYTE*>(pBuffer) + done, static_cast<unsigned>(piece));
    if (rc <= 0) break;
    done += static_cast<ULONGLONG>(rc);
  }
  if (rc < 0 || done < want) {
    unzCloseCurrentFile(zip);
    return ZR_CORRUPT;
  }
  if (want < e.uncompressedSize) {
    unzCloseCurrentFile(zip);
    return ZR_MORE;
  }
  // A last read at the end of the entry lets minizip check the CRC on close.
  BYTE extra;
  rc = unzReadCurrentFile(zip, &extra, 1);
  int closed = unzCloseCurrentFile(zip);
  if (rc != 0 || closed != UNZ_OK) return ZR_CORRUPT;
  return ZR_OK;
}

}  // namespace SkinUI
