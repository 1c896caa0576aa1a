#include "ProfilePath.h"
#include "ProfileReader.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kDefault = "<default>";

struct Lookup {
  std::string section, key, expected;
};

struct Case {
  const char* name;
  std::string content;
  std::vector<Lookup> lookups;
};

TEST(ProfileReader, ReadsSectionsKeysAndValuesAsTheFileGivesThem) {
  const Case cases[] = {
      {"version with blanks and a trailing comment",
       "[VERSION]\ngame_version =  1.0.3 \t# installed\n",
       {{"VERSION", "game_version", "1.0.3"}}},
      {"key lines before any header",
       "a=1\nb=2\n[S]\nc=3\n",
       {{"", "a", kDefault}, {"", "b", "2"}, {"S", "c", "3"}}},
      {"a repeated header takes the running table of the section read last",
       "[A]\nx=1\n[B]\ny=2\n[A]\n",
       {{"A", "x", kDefault}, {"A", "y", "2"}, {"A", "", ""}, {"B", "y", "2"}, {"B", "", kDefault}}},
      {"the last of a repeated key wins", "[S]\nk=1\nk=2\n", {{"S", "k", "2"}}},
      {"brackets in a value make a header",
       "[S]\nkey = [x]\ny=5\n",
       {{"S", "key", kDefault}, {"x", "y", "5"}}},
      {"a comment cuts the value; an = inside it makes no key",
       "[S]\na = b # c\nd # e = f\n",
       {{"S", "a", "b"}, {"S", "d", kDefault}}},
      {"section names are case-sensitive", "[version]\ngame_version=1\n", {{"VERSION", "game_version", kDefault}}},
      {"CR LF line ends", "[S]\r\nk = v\r\n", {{"S", "k", "v"}}},
      {"tabs and spaces trimmed, nothing else", "[S]\n\tk\t=\t v w \t\nb =  \t\n", {{"S", "k", "v w"}, {"S", "b", ""}}},
      {"an empty key is ignored", "[S]\n = v\n", {{"S", "", kDefault}}},
      {"section names are not trimmed", "[ S ]\nk=1\n", {{" S ", "k", "1"}, {"S", "k", kDefault}}},
      {"comment lines", "[S]\n#k=1\n# [T]\nk2=2\n", {{"S", "k", kDefault}, {"S", "k2", "2"}, {"T", "k2", kDefault}}},
      {"the first CR at index 1 or later goes", "[S]\nk=a\rb\rc\nj=\rx\n", {{"S", "k", "ab\rc"}, {"S", "j", "\rx"}}},
      {"the last line needs no line feed", "[S]\nk=v", {{"S", "k", "v"}}},
      {"a ] before the [ does not close it", "]a[b]\nk=1\n]x[\nm=2\n", {{"b", "k", "1"}, {"", "m", "2"}}},
      {"a = in the key part only", "[S]\n==x\nk==v=\n", {{"S", "k", "=v="}}},
      {"empty file", "", {{"VERSION", "game_version", kDefault}}},
  };
  TempDir dir;
  for (const Case& c : cases) {
    dir.Write("Velmora.ini", c.content);
    ProfileReader reader;
    ASSERT_TRUE(reader.Load((dir / "Velmora.ini").string())) << c.name;
    for (const Lookup& l : c.lookups)
      EXPECT_EQ(l.expected, reader.GetValue(l.section, l.key, kDefault)) << c.name << ": [" << l.section << "] " << l.key;
  }
}

TEST(ProfileReader, AMissingFileSaysSoAndForgetsTheLastOne) {
  TempDir dir;
  dir.Write("Velmora.ini", "[VERSION]\ngame_version=2\n");
  ProfileReader reader;
  ASSERT_TRUE(reader.Load((dir / "Velmora.ini").string()));
  EXPECT_EQ("2", reader.GetValue("VERSION", "game_version", ""));

  testing::internal::CaptureStdout();
  EXPECT_FALSE(reader.Load((dir / "missing.ini").string()));
  EXPECT_EQ("The profile does not exist!", testing::internal::GetCapturedStdout());
  EXPECT_EQ("", reader.GetValue("VERSION", "game_version", ""));
}

TEST(ProfileReader, LinesOfAnyShapeAreReadWithoutHarm) {
  std::string content = "[S]\n" + std::string(200000, 'k') + "=" + std::string(100000, 'v') + "\n";
  content += std::string("\0\0=\0[\0]\n", 8) + "\xff\xfe\x80=\x81\n" + std::string(50000, '[') + "\n";
  content += "[VERSION]\ngame_version=3\n";
  TempDir dir;
  dir.Write("Velmora.ini", content);
  ProfileReader reader;
  ASSERT_TRUE(reader.Load((dir / "Velmora.ini").string()));
  EXPECT_EQ(std::string(100000, 'v'), reader.GetValue("S", std::string(200000, 'k'), ""));
  EXPECT_EQ("3", reader.GetValue("VERSION", "game_version", ""));
}

TEST(ProfileReader, ParseLineAndTrimBlanks) {
  ProfileReader reader;
  std::string key, value;
  EXPECT_FALSE(reader.ParseLine("", &key, &value));
  EXPECT_FALSE(reader.ParseLine("# k = v", &key, &value));
  EXPECT_FALSE(reader.ParseLine("no equals sign", &key, &value));
  EXPECT_TRUE(reader.ParseLine("[Sec]", &key, &value));
  EXPECT_TRUE(reader.ParseLine(" k = v ", &key, &value));
  EXPECT_EQ("k", key);
  EXPECT_EQ("v", value);

  for (auto [in, out] : std::vector<std::pair<std::string, std::string>>{
           {"", ""}, {" \t ", ""}, {"\tx y\t ", "x y"}, {"\nx\n", "\nx\n"}, {"x", "x"}}) {
    ProfileReader::TrimBlanks(in);
    EXPECT_EQ(out, in);
  }
}

TEST(ProfilePath, SitsBesideTheGamesProgram) {
  EXPECT_EQ("/games/launcher/game/bin/Velmora.ini", BuildProfilePath("/games/launcher", "game\\bin\\game.exe"));
  EXPECT_EQ("/games/launcher/game/Velmora.ini", BuildProfilePath("/games/launcher", "game/game.exe"));
  EXPECT_EQ("/games/launcher/Velmora.ini", BuildProfilePath("/games/launcher", "game.exe"));
  EXPECT_EQ("/games/Velmora.ini", BuildProfilePath("/games/launcher", ""));
  EXPECT_EQ("", BuildProfilePath("/games/launcher", std::string(600, 'x')));
  EXPECT_EQ("", BuildProfilePath(std::string(495, 'd'), "game.exe"));
}

}  // namespace
