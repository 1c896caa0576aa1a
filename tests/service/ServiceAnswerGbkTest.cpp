// The answer under a GBK system code page: texts reach the record in GBK,
// whatever bytes their characters are made of and however JSON wrote them.
#include "ServiceAnswer.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Before anything asks for the system code page, which is read once.
const bool kGbkLocale = setenv("LC_ALL", "zh_CN.GBK", 1) == 0;

TEST(ServiceAnswerGbk, FieldsAreConvertedAfterParsing) {
  ASSERT_TRUE(kGbkLocale);
  ASSERT_EQ(std::string("\xD6\xD0"), Utf8ToAnsi("中").get());

  // 嘰 is 0x87 0x5C in GBK: its trail byte is a backslash. \u4e2d is 中.
  LaunchInfo info = ParseServiceAnswer(
      R"({"code":"0","info":"嘰","data":{"uid":"\u4e2d","open":"游戏\\嘰.exe","up_url":"http://h/嘰\\x"}})");
  EXPECT_EQ("0", info.code);
  EXPECT_EQ("\x87\x5C", info.info);
  EXPECT_EQ("\xD6\xD0", info.uid);
  EXPECT_EQ("\xD3\xCE\xCF\xB7\\\x87\x5C.exe", info.open);
  // Only the real backslash becomes a space, not the trail byte.
  EXPECT_EQ("http://h/\x87\x5C x", info.up_url);
}

}  // namespace
