// The launch service's answer: twelve texts in the system ANSI code page.
// A new record is empty; copies are whole and independent.
#pragma once

#include <string>

struct LaunchInfo {
  std::string code;          // "1" is success; otherwise `info` is shown
  std::string info;          // the service's message text
  std::string token;         // handed to the game as auth_key
  std::string open;          // the game's program, relative to the launcher's directory
  std::string uid;
  std::string sid;
  std::string extraInfo;
  std::string game_version;  // newest game version
  std::string up_version;    // newest launcher version
  std::string up_bg;         // URL of the window's background image
  std::string game_url;      // URL of the game's update package
  std::string up_url;        // URL of the newest launcher program file

  bool operator==(const LaunchInfo&) const = default;
};
