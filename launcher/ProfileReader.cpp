#include "ProfileReader.h"

#include <cstdio>
#include <fstream>

namespace {

// Removes the first `c` of `text` when it stands at index 1 or later.
void EraseFirstAfterStart(std::string& text, char c) {
  size_t found = text.find(c);
  if (found != std::string::npos && found >= 1) text.erase(found, 1);
}

}  // namespace

bool ProfileReader::Load(const std::string& path) {
  m_profile.clear();
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    std::printf("The profile does not exist!");
    return false;
  }
  m_section.clear();
  m_running.clear();
  std::string line, key, value;
  while (std::getline(file, line)) {
    // As a text-mode read gives it: a CR before the LF is not part of the line.
    if (!file.eof() && !line.empty() && line.back() == '\r') line.pop_back();
    if (ParseLine(line, &key, &value)) {
      auto section = m_profile.find(m_section);
      if (section == m_profile.end()) {
        m_running.clear();
        m_profile.emplace(m_section, KeyTable());
      } else {
        m_running[key] = value;
        section->second = m_running;
      }
    }
    key.clear();
    value.clear();
  }
  return true;
}

std::string ProfileReader::GetValue(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) const {
  auto found = m_profile.find(section);
  if (found == m_profile.end()) return defaultValue;
  auto entry = found->second.find(key);
  return entry == found->second.end() ? defaultValue : entry->second;
}

bool ProfileReader::ParseLine(const std::string& line, std::string* key, std::string* value) {
  if (line.empty() || line[0] == '#') return false;
  const std::string useful = line.substr(0, line.find('#'));

  size_t open = line.find('[');
  size_t close = line.find(']');
  if (open != std::string::npos && close != std::string::npos) {
    // A "]" before the first "[" does not close it; the next one does.
    if (close < open) close = line.find(']', open);
    m_section = close == std::string::npos ? std::string() : line.substr(open + 1, close - open - 1);
    return true;
  }

  size_t equals = useful.find('=');
  if (equals == std::string::npos) return false;
  std::string k = useful.substr(0, equals);
  std::string v = useful.substr(equals + 1);
  TrimBlanks(k);
  TrimBlanks(v);
  if (k.empty()) return false;
  EraseFirstAfterStart(v, '\r');
  EraseFirstAfterStart(v, '\n');
  *key = k;
  *value = v;
  return true;
}

void ProfileReader::TrimBlanks(std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) {
    text.clear();
    return;
  }
  size_t last = text.find_last_not_of(" \t");
  text = text.substr(first, last - first + 1);
}
