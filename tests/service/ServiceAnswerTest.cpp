#include "ServiceAnswer.h"
#include "ServiceAnswerEncoder.h"

#include "LaunchInfoPrint.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Hex pairs of exactly these scrambled bytes.
std::string Hex(const std::string& bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    out += kHex[c >> 4];
    out += kHex[c & 0x0F];
  }
  return out;
}

TEST(DecodeServiceAnswer, UnscramblesPairsFromTheEnd) {
  struct Case {
    const char* name;
    std::string body;
    std::string plain;
  } cases[] = {
      {"empty", "", ""},
      // One byte: plain = 0x3C ^ b.
      {"one pair", Hex(std::string(1, 0x3C ^ 'A')), "A"},
      // Two bytes: plain[1] = 0x3C ^ b1, plain[0] = plain[1] ^ b0.
      {"chained", Hex(std::string{static_cast<char>('h' ^ 'i'), static_cast<char>('i' ^ 0x3C)}), "hi"},
      {"odd length ignores the last character", Hex(std::string(1, 0x3C ^ 'A')) + "7", "A"},
      {"lower-case hex", "7d", "A"},
      // G..Z count 16..35: "0Z" is 35 = 0x23.
      {"letters beyond F", "0Z", std::string(1, static_cast<char>(0x23 ^ 0x3C))},
      {"letters beyond F, either case", "0z", std::string(1, static_cast<char>(0x23 ^ 0x3C))},
      {"high value kept to eight bits", "ZZ", std::string(1, static_cast<char>(((35 * 16 + 35) & 0xFF) ^ 0x3C))},
      {"other characters count as zero", "!!", std::string(1, 0x3C)},
      {"zero byte cuts the text", EncodeServiceAnswer(std::string("ab\0cd", 5)), "ab"},
      {"leading zero byte", EncodeServiceAnswer(std::string("\0cd", 3)), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.plain, DecodeServiceAnswer(c.body)) << c.name;
}

TEST(DecodeServiceAnswer, HoldsAtMost2999Bytes) {
  std::string full(kServiceAnswerCapacity, 'x');
  EXPECT_EQ(full, DecodeServiceAnswer(EncodeServiceAnswer(full)));
  EXPECT_EQ(full, DecodeServiceAnswer(EncodeServiceAnswer(full) + "f"));  // 5999 characters
  // 6000 characters and more cannot be unscrambled within the capacity.
  EXPECT_EQ("", DecodeServiceAnswer(EncodeServiceAnswer(full + "x")));
  EXPECT_EQ("", DecodeServiceAnswer(std::string(100000, 'a')));
}

TEST(DecodeServiceAnswer, RoundTripsTheReferenceEncoder) {
  std::string json = R"({"code":"1","info":"欢迎","data":{"open":"game\\game.exe"}})";
  EXPECT_EQ(json, DecodeServiceAnswer(EncodeServiceAnswer(json)));
}

TEST(ParseServiceAnswer, FillsEveryFieldFromItsKey) {
  LaunchInfo info = ParseServiceAnswer(R"({"code":"1","info":"ok","data":{
      "token":"t","open":"bin\\game.exe","uid":"u","sid":"s","extraInfo":"e",
      "game_version":"1.0.3","up_version":"1","up_bg":"http://h/bg\\1.png",
      "game_url":"http://h/a\\b.7z","up_url":"http://h/l\\x"}})");
  LaunchInfo expected{"1", "ok", "t", "bin\\game.exe", "u", "s", "e", "1.0.3", "1",
                      "http://h/bg 1.png", "http://h/a b.7z", "http://h/l x"};
  EXPECT_EQ(expected, info);
}

TEST(ParseServiceAnswer, ScalarMembersAndUnusableAnswers) {
  struct Case {
    const char* json;
    std::string code;
    std::string open;
  } cases[] = {
      {R"({"code":1,"data":{"open":"g"}})", "1", "g"},
      {R"({"code":true,"data":{"open":false}})", "true", "false"},
      {R"({"code":null,"data":{"open":2.5}})", "", "2.5"},
      {R"({"info":"x","data":{"open":"g"}})", "", "g"},
      {R"({"code":"1"})", "1", ""},
      {R"({"code":"1","data":null})", "1", ""},
      {R"({"code":"1","data":{}} trailing)", "1", ""},
      // Unusable: not an object, or a member that is no scalar.
      {R"([1,2])", "", ""},
      {R"("text")", "", ""},
      {R"(42)", "", ""},
      {R"(null)", "", ""},
      {R"({"code":"1","data":[1]})", "", ""},
      {R"({"code":"1","data":"x"})", "", ""},
      {R"({"code":["1"],"data":{"open":"g"}})", "", ""},
      {R"({"code":"1","info":{"a":1},"data":{"open":"g"}})", "", ""},
      {R"({"code":"1","data":{"open":{"x":1}}})", "", ""},
      {R"({"code":"1","data":{"up_url":[]}})", "", ""},
      {R"({"code":"1",)", "", ""},
      {"", "", ""},
      {R"({"code":"1","data":{"open":"a\u0000b"}})", "1", "a"},
  };
  for (const Case& c : cases) {
    LaunchInfo info = ParseServiceAnswer(c.json);
    EXPECT_EQ(c.code, info.code) << c.json;
    EXPECT_EQ(c.open, info.open) << c.json;
  }
  EXPECT_EQ(LaunchInfo(), ParseServiceAnswer(R"({"code":"1","data":{"uid":[]}})"));
}

TEST(ParseServiceAnswer, DeepNestingIsRefusedWithoutCrashing) {
  std::string deep = std::string(2000, '[') + std::string(2000, ']');
  EXPECT_EQ(LaunchInfo(), ParseServiceAnswer(deep));
  std::string deepMember = R"({"code":"1","data":{"open":)" + deep + "}}";
  EXPECT_EQ(LaunchInfo(), ParseServiceAnswer(deepMember));
}

// Eight levels are read, nine refused before parsing; brackets inside
// strings, escaped quotes among them, are no levels.
TEST(ParseServiceAnswer, NestingBeyondEightLevelsIsRefusedBeforeParsing) {
  auto answer = [](int extraLevels) {
    std::string unread = "1";
    for (int i = 0; i < extraLevels; ++i) unread = (i % 2 ? "{\"x\":" : "[") + unread + (i % 2 ? "}" : "]");
    return R"({"code":"1","info":"[[[[{{{{\"[[[[[","data":{"uid":"u","more":)" + unread + "}}";
  };
  LaunchInfo read = ParseServiceAnswer(answer(6));
  EXPECT_EQ("1", read.code);
  EXPECT_EQ("[[[[{{{{\"[[[[[", read.info);
  EXPECT_EQ("u", read.uid);
  EXPECT_EQ(LaunchInfo(), ParseServiceAnswer(answer(7)));
}

}  // namespace
