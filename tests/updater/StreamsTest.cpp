// The file streams the archive library reads and writes through.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <vector>

#include "InFileStream.h"
#include "OutFileStream.h"
#include "TestSupport.h"

namespace {

constexpr UINT kMiB = 1u << 20;

// A stream object with the creator's first reference, released at the end.
template <typename T>
struct Owned {
  Owned() : p(new T) { p->AddRef(); }
  ~Owned() { p->Release(); }
  T* operator->() const { return p; }
  T* p;
};

class StreamsTest : public ::testing::Test {
 protected:
  void SetUp() override { test::WriteText(dir / "data.bin", std::string(10 * kMiB + 7, 'x')); }
  test::ScratchDir dir;
};

TEST_F(StreamsTest, ReadReturnsAtMostFourMiBPerCall) {
  Owned<CInFileStream> in;
  ASSERT_TRUE(in->Open(dir.Wide("data.bin")));
  std::vector<char> buffer(10 * kMiB + 100);
  struct Case {
    UINT ask;
    UINT expected;
  } cases[] = {{0, 0}, {10 * kMiB, 4 * kMiB}, {100, 100}, {10 * kMiB, 4 * kMiB}, {10 * kMiB, 2 * kMiB - 93},
               {10, 0}};  // last: end of file
  for (const Case& c : cases) {
    UINT processed = 12345;
    EXPECT_EQ(in->Read(buffer.data(), c.ask, &processed), S_OK);
    EXPECT_EQ(processed, c.expected) << "asked " << c.ask;
  }
  EXPECT_EQ(in->Read(buffer.data(), 10, nullptr), S_OK);
}

TEST_F(StreamsTest, SeekOrigins) {
  Owned<CInFileStream> in;
  ASSERT_TRUE(in->Open(dir.Wide("data.bin")));
  const LONGLONG size = 10 * kMiB + 7;
  struct Case {
    LONGLONG offset;
    UINT origin;
    HRESULT result;
    ULONGLONG position;
  } cases[] = {{100, 0, S_OK, 100},         {50, 1, S_OK, 150},   {-7, 2, S_OK, size - 7},
               {5, 3, STG_E_INVALIDFUNCTION, 0}, {0, 1, S_OK, size - 7}, {-1, 0, HRESULT_FROM_WIN32(ERROR_NEGATIVE_SEEK), static_cast<ULONGLONG>(-1)},
               {8LL << 32, 0, S_OK, 8ULL << 32}};
  for (const Case& c : cases) {
    ULONGLONG position = 0;
    EXPECT_EQ(in->Seek(c.offset, c.origin, &position), c.result) << c.offset << " from " << c.origin;
    if (c.result != STG_E_INVALIDFUNCTION) {
      EXPECT_EQ(position, c.position) << c.offset << " from " << c.origin;
    }
  }
  ULONGLONG size64 = 0;
  IStreamGetSize* getSize = nullptr;
  ASSERT_EQ(in->QueryInterface(IID_IStreamGetSize, reinterpret_cast<void**>(&getSize)), S_OK);
  EXPECT_EQ(getSize->GetSize(&size64), S_OK);
  EXPECT_EQ(size64, static_cast<ULONGLONG>(size));
  getSize->Release();
}

TEST_F(StreamsTest, InputViewsShareOneCount) {
  CInFileStream* in = new CInFileStream;
  EXPECT_EQ(in->AddRef(), 1u);
  void* unknown = nullptr;
  void* inStream = nullptr;
  void* views[3] = {};
  const IID* viewIids[3] = {&IID_IStreamGetSize, &IID_IStreamGetProps, &IID_IStreamGetProps2};
  ASSERT_EQ(in->QueryInterface(IID_IUnknown, &unknown), S_OK);
  ASSERT_EQ(in->QueryInterface(IID_IInStream, &inStream), S_OK);
  EXPECT_EQ(unknown, inStream);
  EXPECT_EQ(unknown, static_cast<IInStream*>(in));
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(in->QueryInterface(*viewIids[i], &views[i]), S_OK);
    EXPECT_NE(views[i], inStream);
  }
  // Six references now, whichever view counts.
  EXPECT_EQ(static_cast<IStreamGetProps2*>(views[2])->AddRef(), 7u);
  EXPECT_EQ(static_cast<IUnknown*>(inStream)->Release(), 6u);

  for (const IID* refused : {&IID_ISequentialInStream, &IID_IOutStream, &IID_ICryptoGetTextPassword}) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(in->QueryInterface(*refused, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
  }
  static_cast<IStreamGetSize*>(views[0])->Release();
  static_cast<IStreamGetProps*>(views[1])->Release();
  static_cast<IStreamGetProps2*>(views[2])->Release();
  static_cast<IStreamGetProps2*>(views[2])->Release();
  static_cast<IUnknown*>(unknown)->Release();
  EXPECT_EQ(in->Release(), 0u);  // freed; ASan watches
}

TEST_F(StreamsTest, PropsComeFromTheOpenFile) {
  Owned<CInFileStream> in;
  ASSERT_TRUE(in->Open(dir.Wide("data.bin")));
  ULONGLONG size = 0;
  FILETIME mtime = {};
  UINT attrib = 0;
  ASSERT_EQ(in->GetProps(&size, nullptr, nullptr, &mtime, &attrib), S_OK);
  EXPECT_EQ(size, 10 * kMiB + 7);
  EXPECT_NE(mtime.dwHighDateTime, 0u);
  EXPECT_EQ(attrib & FILE_ATTRIBUTE_DIRECTORY, 0u);
  CStreamFileProps props = {};
  ASSERT_EQ(in->GetProps2(&props), S_OK);
  EXPECT_EQ(props.Size, size);
  EXPECT_EQ(props.NumLinks, 1u);
  EXPECT_EQ(props.FileID_High, 0u);
  EXPECT_NE(props.FileID_Low, 0u);
  EXPECT_EQ(props.MTime.dwLowDateTime, mtime.dwLowDateTime);
  EXPECT_EQ(props.Attrib, attrib);

  Owned<CInFileStream> missing;
  EXPECT_FALSE(missing->Open(dir.Wide("none.bin")));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(StreamsTest, WriteSplitsLargeBuffersAndCountsEverything) {
  Owned<COutFileStream> out;
  ASSERT_TRUE(out->Open(dir.Wide("out.bin")));
  std::vector<char> data(10 * kMiB, 'y');
  UINT processed = 0;
  EXPECT_EQ(out->Write(data.data(), 10 * kMiB, &processed), S_OK);
  EXPECT_EQ(processed, 10 * kMiB);
  EXPECT_EQ(out->Write(data.data(), 0, &processed), S_OK);
  EXPECT_EQ(processed, 0u);
  EXPECT_EQ(out->Write(data.data(), 3, nullptr), S_OK);
  EXPECT_EQ(out->ProcessedSize(), 10 * kMiB + 3);
  EXPECT_EQ(out->Close(), S_OK);
  EXPECT_EQ(out->Close(), S_OK);
  EXPECT_EQ(test::ReadText(dir / "out.bin").size(), 10 * kMiB + 3);

  // Reopening truncates and starts the count anew.
  ASSERT_TRUE(out->Open(dir.Wide("data.bin")));
  EXPECT_EQ(out->ProcessedSize(), 0u);
  EXPECT_EQ(out->Close(), S_OK);
  EXPECT_EQ(test::ReadText(dir / "data.bin").size(), 0u);
}

TEST_F(StreamsTest, SetSizeKeepsThePosition) {
  Owned<COutFileStream> out;
  ASSERT_TRUE(out->Open(dir.Wide("out.bin")));
  ASSERT_EQ(out->Write("0123456789", 10, nullptr), S_OK);
  struct Case {
    ULONGLONG size;
    std::string content;
  } cases[] = {{4, "0123"}, {6, std::string("0123\0\0", 6)}, {0, ""}};
  for (const Case& c : cases) {
    EXPECT_EQ(out->SetSize(c.size), S_OK);
    ULONGLONG position = 0;
    EXPECT_EQ(out->Seek(0, kSeekCur, &position), S_OK);
    EXPECT_EQ(position, 10u) << "after SetSize(" << c.size << ")";
    EXPECT_EQ(test::ReadText(dir / "out.bin"), c.content);
  }
  ASSERT_EQ(out->Close(), S_OK);
  EXPECT_EQ(out->SetSize(3), E_FAIL);  // no file open
}

TEST_F(StreamsTest, OutputAnswersOnlyItsOwnInterface) {
  Owned<COutFileStream> out;
  for (const IID* iid : {&IID_IUnknown, &IID_IOutStream}) {
    void* p = nullptr;
    ASSERT_EQ(out->QueryInterface(*iid, &p), S_OK);
    EXPECT_EQ(p, static_cast<IOutStream*>(out.p));
    static_cast<IUnknown*>(p)->Release();
  }
  void* p = reinterpret_cast<void*>(1);
  EXPECT_EQ(out->QueryInterface(IID_ISequentialOutStream, &p), E_NOINTERFACE);
  EXPECT_EQ(p, nullptr);
}

TEST_F(StreamsTest, ModifiedTimeIsSetOnTheOpenFile) {
  Owned<COutFileStream> out;
  ASSERT_TRUE(out->Open(dir.Wide("out.bin")));
  // 2001-09-09 01:46:40 UTC = 1,000,000,000 s after 1970.
  const ULONGLONG units = 1000000000ULL * 10000000ULL + 116444736000000000ULL;
  const FILETIME time = {static_cast<DWORD>(units), static_cast<DWORD>(units >> 32)};
  out->SetModifiedTime(time);
  ASSERT_EQ(out->Close(), S_OK);
  struct stat st;
  ASSERT_EQ(stat((dir / "out.bin").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, 1000000000);
}

}  // namespace
