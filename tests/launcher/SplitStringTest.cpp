#include "ProgramPaths.h"
#include "SplitString.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Pieces = std::vector<std::string>;

TEST(SplitString, CutsAtEverySeparator) {
  struct Case {
    std::string text, separator;
    Pieces pieces;
  } cases[] = {
      {"C:\\Games\\launcher.exe", "\\", {"C:", "Games", "launcher.exe"}},
      {"a\\\\b", "\\", {"a", "", "b"}},
      {"\\a", "\\", {"", "a"}},
      {"a\\", "\\", {"a"}},
      {"a\\\\", "\\", {"a", ""}},
      {"", "\\", {}},
      {"\\", "\\", {""}},
      {"abc", "\\", {"abc"}},
      {"/usr/games/game-launcher", "/", {"", "usr", "games", "game-launcher"}},
      {"a::b::", "::", {"a", "b"}},
      {"a:::b", "::", {"a", ":b"}},
      {"abc", "", {"abc"}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.pieces, SplitString(c.text, c.separator)) << c.text;
}

TEST(SplitString, JoinsPiecesWithinTheBuffer) {
  Pieces pieces{"", "usr", "games", "game-launcher"};
  char out[16];
  ASSERT_TRUE(JoinPathPieces(pieces, 3, out, sizeof out));
  EXPECT_STREQ("/usr/games", out);
  ASSERT_TRUE(JoinPathPieces(pieces, 0, out, sizeof out));
  EXPECT_STREQ("", out);
  EXPECT_FALSE(JoinPathPieces(pieces, 4, out, sizeof out));  // 24 bytes
  EXPECT_STREQ("", out);
  EXPECT_FALSE(JoinPathPieces(pieces, 3, out, 10));  // "/usr/games" needs 11
}

TEST(ProgramPaths, NameTheDirectoryTheOldCopyAndTheDownload) {
  ProgramPaths paths;
  ASSERT_TRUE(SplitProgramPath("/opt/game/game-launcher", &paths));
  EXPECT_EQ("/opt/game", paths.directory);
  EXPECT_EQ("game-launcher", paths.fileName);
  EXPECT_EQ("/opt/game/old.exe", paths.oldCopy);
  EXPECT_EQ("/opt/game/game-launcher.new", paths.download);

  ASSERT_TRUE(SplitProgramPath("./game-launcher", &paths));
  EXPECT_EQ("./old.exe", paths.oldCopy);

  // Nothing that could remove or replace the running file itself.
  for (std::string bad : {std::string("game-launcher"), std::string(""), std::string("/opt/old.exe"),
                          std::string("/opt/OLD.EXE"), "/" + std::string(495, 'x'), "/" + std::string(600, 'x')})
    EXPECT_FALSE(SplitProgramPath(bad, &paths)) << bad.substr(0, 20);
}

}  // namespace
