// Unpacking real archives made by the 7z command through the real 7z.so,
// into a scratch directory, as the update worker does after its download.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "ArchiveExtractCallback.h"
#include "TestSupport.h"
#include "UpdateWorker.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class ExtractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(test::Shell(dir.path(), "mkdir -p src out"), 0);
    options.libraryDirectory = test::ProgramDir();
  }

  // Unpacks pkg.7z into out/ as the worker does; the console output.
  std::string Install(const std::string& package = "pkg.7z") {
    test::CurrentDirectory cwd(dir / "out");
    testing::internal::CaptureStdout();
    result = InstallPackage(window, test::Widen(dir / package), options);
    return testing::internal::GetCapturedStdout();
  }

  std::string Out(const std::string& name) const { return dir / ("out/" + name); }

  test::ScratchDir dir;
  test::RecordingWindow window{""};
  UpdateOptions options;
  DWORD result = 12345;
};

TEST_F(ExtractTest, UnpacksTheTreeWithTimesAndModes) {
  ASSERT_EQ(test::Shell(dir / "src",
                        "mkdir -p a/b && printf deep > a/b/c.txt && chmod 0640 a/b/c.txt && "
                        "printf ro > a/ro.txt && chmod 0444 a/ro.txt && printf '#!/bin/sh' > a/run.sh && "
                        "chmod 0755 a/run.sh && printf top > top.txt && touch -d @1000000000 a/b/c.txt && "
                        "ln -s top.txt link && mkdir locked && printf in > locked/in.txt && chmod 0555 locked && "
                        "7z a ../pkg.7z a top.txt link locked"),
            0);
  const std::string console = Install();
  EXPECT_EQ(result, 0u);
  EXPECT_EQ(window.calls, std::vector<std::string>{"launch"});
  EXPECT_EQ(test::ReadText(Out("a/b/c.txt")), "deep");
  EXPECT_EQ(test::ReadText(Out("top.txt")), "top");
  EXPECT_EQ(test::ModeOf(Out("a/b/c.txt")), 0640u);
  EXPECT_EQ(test::ModeOf(Out("a/ro.txt")), 0444u);
  EXPECT_EQ(test::ModeOf(Out("a/run.sh")), 0755u);
  // A link arrives as a plain file of its target's name, without the link's mode.
  EXPECT_EQ(test::ReadText(Out("link")), "top.txt");
  EXPECT_EQ(test::ModeOf(Out("link")) & 0777, 0644u);
  // A read-only directory stays open for its items.
  EXPECT_EQ(test::ModeOf(Out("locked")), 0755u);
  EXPECT_EQ(test::ReadText(Out("locked/in.txt")), "in");
  struct stat st;
  ASSERT_EQ(stat(Out("a/b/c.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, 1000000000);
  EXPECT_THAT(console, HasSubstr("Extracting  a/b/c.txt\n"));
  EXPECT_THAT(console, HasSubstr("100.00\n"));
  EXPECT_THAT(console, Not(HasSubstr("Error")));
}

TEST_F(ExtractTest, CreatesTheDirectoriesOfAFileItem) {
  // Only the file is stored: its directories exist in no item.
  ASSERT_EQ(test::Shell(dir / "src", "mkdir -p a/b && printf deep > a/b/c.txt && 7z a ../pkg.7z a/b/c.txt"), 0);
  Install();
  EXPECT_EQ(test::ReadText(Out("a/b/c.txt")), "deep");
}

TEST_F(ExtractTest, ItemWithoutAPathIsWrittenAsContent) {
  ASSERT_EQ(test::Shell(dir.path(), "printf data | 7z a -si pkg.7z"), 0);
  const std::string console = Install();
  EXPECT_EQ(test::ReadText(Out("[Content]")), "data");
  EXPECT_THAT(console, HasSubstr("Extracting  [Content]"));
}

TEST_F(ExtractTest, ReadOnlyFileInTheWayIsReplaced) {
  ASSERT_EQ(test::Shell(dir.path(), "printf new > src/c.txt && cd src && 7z a ../pkg.7z c.txt"), 0);
  ASSERT_EQ(test::Shell(dir / "out", "printf old > c.txt && chmod a-w c.txt"), 0);
  Install();
  EXPECT_EQ(test::ReadText(Out("c.txt")), "new");
}

TEST_F(ExtractTest, DirectoryInTheWayOfAFileAborts) {
  ASSERT_EQ(test::Shell(dir / "src", "printf new > c.txt && 7z a ../pkg.7z c.txt"), 0);
  ASSERT_EQ(test::Shell(dir / "out", "mkdir c.txt"), 0);

  test::RealArchive archive;
  ASSERT_EQ(archive.Open(dir / "pkg.7z"), S_OK);
  CArchiveExtractCallback* callback = new CArchiveExtractCallback;
  callback->AddRef();
  callback->Setup(archive.get(), dir.Wide("out"));
  ISequentialOutStream* stream = reinterpret_cast<ISequentialOutStream*>(1);
  testing::internal::CaptureStdout();
  EXPECT_EQ(callback->GetStream(0, &stream, kAskExtract), E_ABORT);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error: \nCan not delete output file\n" + Out("c.txt"));
  EXPECT_EQ(stream, nullptr);
  callback->Release();

  // The worker still hands over to the game.
  Install();
  EXPECT_EQ(window.calls, std::vector<std::string>{"launch"});
}

TEST_F(ExtractTest, DamagedArchiveStillEndsWithTheGameStart) {
  ASSERT_EQ(test::Shell(dir / "src",
                        "head -c 4000 /dev/zero | tr '\\0' a > f.txt && printf ok > g.txt && 7z a -mx0 ../pkg.7z f.txt g.txt && "
                        "printf '\\377' | dd of=../pkg.7z bs=1 seek=40 conv=notrunc"),
            0);
  const std::string console = Install();
  EXPECT_THAT(console, HasSubstr("  :   Error : CRC Failed"));
  EXPECT_EQ(test::ReadText(Out("g.txt")), "ok");
  EXPECT_EQ(window.calls, std::vector<std::string>{"launch"});
  EXPECT_EQ(result, 0u);
}

TEST_F(ExtractTest, EncryptedArchiveIsRefused) {
  ASSERT_EQ(test::Shell(dir / "src", "printf secret > f.txt && 7z a -pSECRET ../enc.7z f.txt && "
                                     "7z a -pSECRET -mhe=on ../hidden.7z f.txt"),
            0);
  std::string console = Install("enc.7z");
  EXPECT_THAT(console, HasSubstr("Error: \nPassword is not defined\n"));
  EXPECT_NE(test::ReadText(Out("f.txt")), "secret");
  EXPECT_EQ(window.calls, std::vector<std::string>{"launch"});

  // With encrypted headers the package cannot even be opened.
  window.calls.clear();
  console = Install("hidden.7z");
  EXPECT_THAT(console, HasSubstr("Error: \nPassword is not defined\n"));
  EXPECT_THAT(console, HasSubstr("Error: \nCan not open file as archive\n" + dir / "hidden.7z"));
  EXPECT_TRUE(window.calls.empty());
  EXPECT_EQ(result, 0xFFFFFFFFu);

  CArchiveExtractCallback* callback = new CArchiveExtractCallback;
  callback->AddRef();
  BSTR password = nullptr;
  testing::internal::CaptureStdout();
  EXPECT_EQ(callback->CryptoGetTextPassword(&password), E_ABORT);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(password, nullptr);
  callback->Release();
}

// Mended: a package never writes outside the directory it is unpacked into.
TEST_F(ExtractTest, ItemsLeadingOutsideAreSkipped) {
  ASSERT_EQ(test::Shell(dir.path(), "mkdir -p src/inner src/lnk abs elsewhere out/x && printf evil > src/evil.txt && "
                                    "printf evil > abs/evil.txt && printf evil > src/lnk/evil.txt && "
                                    "printf good > src/inner/good.txt && ln -s ../../elsewhere out/x/lnk"),
            0);
  struct Case {
    const char* name;
    std::string make;      // in src/inner
    std::string outside;   // where the item would land
    std::string item;
  } cases[] = {
      {"dot-dot", "7z a -spf ../../pkg.7z ../evil.txt good.txt", dir / "out/evil.txt", "../evil.txt"},
      {"absolute", "7z a -spf ../../pkg.7z " + dir / "abs/evil.txt" + " good.txt", dir / "abs/evil.txt",
       dir / "abs/evil.txt"},
      {"through a link", "cd .. && 7z a ../pkg.7z lnk/evil.txt inner/good.txt", dir / "elsewhere/evil.txt",
       "lnk/evil.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(test::Shell(dir.path(), "rm -f pkg.7z out/x/good.txt out/x/inner/good.txt"), 0);
    ASSERT_EQ(test::Shell(dir / "src/inner", c.make), 0);
    // What is already outside must stay as it is.
    if (test::Exists(c.outside)) test::WriteText(c.outside, "before");
    test::CurrentDirectory cwd(dir / "out/x");
    testing::internal::CaptureStdout();
    EXPECT_EQ(InstallPackage(window, test::Widen(dir / "pkg.7z"), options), 0u);
    const std::string console = testing::internal::GetCapturedStdout();
    EXPECT_THAT(console, HasSubstr("Error: \nItem path leads outside the output directory\n" +
                                   c.item + "\nSkipping    " + c.item + "\n"));
    if (test::Exists(c.outside)) {
      EXPECT_EQ(test::ReadText(c.outside), "before");
    }
    EXPECT_TRUE(test::Exists(dir / "out/x/good.txt") || test::Exists(dir / "out/x/inner/good.txt"));
  }
}

// Mended: a link already at an item's place is replaced by the item, never
// followed; what lies beside the output directory keeps its modes and bytes.
TEST_F(ExtractTest, ALinkAtAnItemsPlaceIsReplacedNotFollowed) {
  ASSERT_EQ(test::Shell(dir.path(), "mkdir -p outside/dir && printf outside > outside/notes.txt && "
                                    "chmod 0444 outside/notes.txt && chmod 0750 outside/dir && "
                                    "ln -s ../outside/notes.txt out/notes.txt && ln -s ../outside/dir out/shared && "
                                    "ln -s ../outside/gone out/dangling"),
            0);
  ASSERT_EQ(test::Shell(dir / "src", "printf inside > notes.txt && chmod 0666 notes.txt && mkdir shared && "
                                     "chmod 0777 shared && printf new > dangling && 7z a ../pkg.7z notes.txt shared dangling"),
            0);
  const std::string console = Install();
  EXPECT_THAT(console, Not(HasSubstr("Error")));
  EXPECT_EQ(window.calls, std::vector<std::string>{"launch"});

  EXPECT_EQ(test::ReadText(dir / "outside/notes.txt"), "outside");
  EXPECT_EQ(test::ModeOf(dir / "outside/notes.txt"), 0444u);
  EXPECT_EQ(test::ModeOf(dir / "outside/dir"), 0750u);
  EXPECT_FALSE(test::Exists(dir / "outside/gone"));

  struct stat st;
  for (const char* item : {"notes.txt", "shared", "dangling"}) {
    ASSERT_EQ(lstat(Out(item).c_str(), &st), 0) << item;
    EXPECT_FALSE(S_ISLNK(st.st_mode)) << item;
  }
  EXPECT_EQ(test::ReadText(Out("notes.txt")), "inside");
  EXPECT_EQ(test::ModeOf(Out("notes.txt")), 0666u);
  EXPECT_EQ(test::ModeOf(Out("shared")), 0777u);
  EXPECT_EQ(test::ReadText(Out("dangling")), "new");
}

// Mended: '?' and '*' in an item's name are letters, not a search pattern
// that finds another file and stops the unpacking half-way.
TEST_F(ExtractTest, NamesWithWildcardsAreTheirOwnNames) {
  ASSERT_EQ(test::Shell(dir / "src", "printf literal > 'a?b' && printf star > 'a*' && printf one > z1.txt && "
                                     "mkdir d && printf two > d/z2.txt && 7z a ../pkg.7z 'a?b' 'a*' z1.txt d"),
            0);
  ASSERT_EQ(test::Shell(dir / "out", "printf other > axb && printf other > aaa"), 0);
  const std::string console = Install();
  EXPECT_THAT(console, Not(HasSubstr("Error")));
  EXPECT_EQ(result, 0u);
  EXPECT_EQ(test::ReadText(Out("a?b")), "literal");
  EXPECT_EQ(test::ReadText(Out("a*")), "star");
  EXPECT_EQ(test::ReadText(Out("z1.txt")), "one");
  EXPECT_EQ(test::ReadText(Out("d/z2.txt")), "two");
  EXPECT_EQ(test::ReadText(Out("axb")), "other");
  EXPECT_EQ(test::ReadText(Out("aaa")), "other");
}

// An archive that answers chosen property values: the real library cannot
// produce every attribute combination.
class ChosenItemArchive : public IInArchive {
 public:
  struct Item {
    const wchar_t* path;
    VARTYPE attribType;
    UINT attrib;
  };
  explicit ChosenItemArchive(std::vector<Item> items) : m_items(std::move(items)) {}

  HRESULT QueryInterface(REFIID, void** out) override { return *out = nullptr, E_NOINTERFACE; }
  ULONG AddRef() override { return ++m_count; }
  ULONG Release() override { return --m_count; }  // lives on the test's stack
  HRESULT Open(IInStream*, const ULONGLONG*, IArchiveOpenCallback*) override { return E_NOTIMPL; }
  HRESULT Close() override { return S_OK; }
  HRESULT GetNumberOfItems(UINT* n) override { return *n = static_cast<UINT>(m_items.size()), S_OK; }
  HRESULT GetProperty(UINT index, PROPID id, PROPVARIANT* value) override {
    const Item& item = m_items.at(index);
    if (id == kpidPath) {
      value->vt = VT_BSTR;
      value->bstrVal = SysAllocString(item.path);
    } else if (id == kpidAttrib) {
      value->vt = item.attribType;
      value->ulVal = item.attrib;
    } else if (id == kpidIsDir) {
      value->vt = VT_BOOL;
      value->boolVal = VARIANT_FALSE;
    }
    return S_OK;
  }
  HRESULT Extract(const UINT*, UINT, INT, IArchiveExtractCallback*) override { return E_NOTIMPL; }
  HRESULT GetArchiveProperty(PROPID, PROPVARIANT*) override { return E_NOTIMPL; }
  HRESULT GetNumberOfProperties(UINT*) override { return E_NOTIMPL; }
  HRESULT GetPropertyInfo(UINT, BSTR*, PROPID*, VARTYPE*) override { return E_NOTIMPL; }
  HRESULT GetNumberOfArchiveProperties(UINT*) override { return E_NOTIMPL; }
  HRESULT GetArchivePropertyInfo(UINT, BSTR*, PROPID*, VARTYPE*) override { return E_NOTIMPL; }

  ULONG m_count = 1;

 private:
  std::vector<Item> m_items;
};

// One item through GetStream, a write, PrepareOperation, SetOperationResult.
struct ItemRun {
  HRESULT stream;
  HRESULT result;
  std::string console;
};

ItemRun RunItem(CArchiveExtractCallback* callback, UINT index, INT askMode, INT operationResult) {
  testing::internal::CaptureStdout();
  ISequentialOutStream* out = nullptr;
  ItemRun run;
  run.stream = callback->GetStream(index, &out, askMode);
  callback->PrepareOperation(askMode);
  if (out) {
    out->Write("abc", 3, nullptr);
    out->Release();
  }
  run.result = callback->SetOperationResult(operationResult);
  run.console = testing::internal::GetCapturedStdout();
  return run;
}

TEST(ExtractCallback, AppliesAttributesAndReportsResults) {
  test::ScratchDir dir;
  ChosenItemArchive archive({
      {L"plain.txt", VT_UI4, 0x80000020},           // high bits: low 14 bits only
      {L"ro.txt", VT_UI4, 0x21},                    // applied unchanged
      {L"mode.txt", VT_UI4, (0100700u << 16) | 0x8020},
      {L"tested.txt", VT_UI4, 0x21},
      {L"odd.txt", VT_I4, 0x20},
      {L"bad.txt", VT_EMPTY, 0},
  });
  CArchiveExtractCallback* callback = new CArchiveExtractCallback;
  callback->AddRef();
  callback->Setup(&archive, dir.Wide());
  EXPECT_EQ(archive.m_count, 2u);

  ItemRun run = RunItem(callback, 0, kAskExtract, kResultOK);
  EXPECT_EQ(run.stream, S_OK);
  EXPECT_EQ(run.console, "Extracting  plain.txt\n");
  EXPECT_EQ(test::ReadText(dir / "plain.txt"), "abc");
  EXPECT_TRUE(test::ModeOf(dir / "plain.txt") & 0200);

  run = RunItem(callback, 1, kAskExtract, kResultOK);
  EXPECT_EQ(test::ModeOf(dir / "ro.txt") & 0222, 0u);

  run = RunItem(callback, 2, kAskExtract, kResultOK);
  EXPECT_EQ(test::ModeOf(dir / "mode.txt"), 0700u);

  // Tested: no stream, no attributes, the item never reaches the disk.
  run = RunItem(callback, 3, kAskTest, kResultOK);
  EXPECT_EQ(run.console, "Testing     tested.txt\n");
  EXPECT_FALSE(test::Exists(dir / "tested.txt"));

  run = RunItem(callback, 4, kAskExtract, kResultOK);
  EXPECT_EQ(run.stream, E_FAIL);

  struct Case {
    INT result;
    const char* text;
  } cases[] = {{kResultUnsupportedMethod, "Unsupported Method"}, {kResultDataError, "Data Error"},
               {kResultCRCError, "CRC Failed"}, {7, "Unknown Error"}};
  for (const Case& c : cases) {
    run = RunItem(callback, 5, kAskSkip, c.result);
    EXPECT_EQ(run.result, S_OK);
    EXPECT_EQ(run.console, std::string("Skipping    bad.txt  :   Error : ") + c.text + "\n");
  }

  callback->SetTotal(5ULL << 30);
  const ULONGLONG done = 3ULL << 30;
  testing::internal::CaptureStdout();
  EXPECT_EQ(callback->SetCompleted(&done), S_OK);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "60.00\n");

  void* view = nullptr;
  EXPECT_EQ(callback->QueryInterface(IID_IUnknown, &view), S_OK);
  EXPECT_EQ(view, static_cast<ICryptoGetTextPassword*>(callback));
  static_cast<IUnknown*>(view)->Release();
  EXPECT_EQ(callback->QueryInterface(IID_IInArchive, &view), E_NOINTERFACE);
  EXPECT_EQ(view, nullptr);

  callback->Release();
  EXPECT_EQ(archive.m_count, 1u);  // the callback's reference went with it
}

}  // namespace
