// The installed game's profile (Velmora.ini): sections of key = value
// lines, read once into memory and looked up by exact, case-sensitive
// names. Only read, never written.
#pragma once

#include <map>
#include <string>

class ProfileReader {
 public:
  // Reads the file at `path` (narrow text). False when it cannot be opened,
  // after "The profile does not exist!" on standard output. The table is
  // emptied first in both cases.
  bool Load(const std::string& path);

  // The value of `key` in `section`, or `defaultValue` when either is missing.
  std::string GetValue(const std::string& section, const std::string& key, const std::string& defaultValue) const;

  // One line: a section header updates the current section; a key line
  // delivers its trimmed key and value. False for every ignored line.
  bool ParseLine(const std::string& line, std::string* key, std::string* value);

  // Removes leading and trailing spaces and tabs in place.
  static void TrimBlanks(std::string& text);

 private:
  using KeyTable = std::map<std::string, std::string>;
  std::map<std::string, KeyTable> m_profile;
  KeyTable m_running;
  std::string m_section;
};
