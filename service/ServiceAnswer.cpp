#include "ServiceAnswer.h"

#include "Win32.h"

#include <json/json.h>

#include <algorithm>
#include <array>
#include <exception>
#include <utility>

namespace {

constexpr unsigned char kScrambleSeed = 0x3C;

// An answer is an object with a "data" object; a few levels more leave
// room for members the launcher does not read. Deeper documents are
// refused before jsoncpp sees them: it refuses them only by throwing, one
// frame per level, which is slow and, under the sanitizers, costly.
constexpr int kNestingLimit = 8;

// Whether arrays and objects nest at most kNestingLimit deep; brackets
// inside strings do not count.
bool NestsWithinLimit(const std::string& json) {
  int depth = 0;
  bool inString = false;
  for (size_t i = 0; i < json.size(); ++i) {
    const char c = json[i];
    if (inString) {
      if (c == '\\') ++i;
      else if (c == '"') inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > kNestingLimit) return false;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return true;
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 0;
}

std::string ToAnsi(const std::string& utf8) { return Utf8ToAnsi(utf8.c_str()).get(); }

// The member's text as jsoncpp gives it; false when it holds an array or
// an object, which make the whole answer unusable.
bool ReadMember(const Json::Value& parent, const char* key, std::string* field) {
  const Json::Value& value = parent[key];
  if (value.isArray() || value.isObject()) return false;
  *field = value.asString();
  return true;
}

}  // namespace

std::string DecodeServiceAnswer(std::string body) {
  size_t pairs = body.size() / 2;
  if (pairs > kServiceAnswerCapacity) return std::string();

  std::array<unsigned char, kServiceAnswerCapacity + 1> scrambled{};
  for (size_t i = 0; i < pairs; ++i)
    scrambled[i] = static_cast<unsigned char>(16 * DigitValue(body[2 * i]) + DigitValue(body[2 * i + 1]));

  std::array<char, kServiceAnswerCapacity + 1> plain{};
  unsigned char running = kScrambleSeed;
  for (size_t k = pairs; k-- > 0;) {
    running ^= scrambled[k];
    plain[k] = static_cast<char>(running);
  }
  plain[pairs] = '\0';
  return std::string(plain.data());
}

std::unique_ptr<char[]> Utf8ToAnsi(const char* utf8) {
  int wideCount = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  if (wideCount <= 0) {
    auto empty = std::make_unique<char[]>(1);
    return empty;
  }
  auto wide = std::make_unique<WCHAR[]>(static_cast<size_t>(wideCount));
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.get(), wideCount);

  int ansiCount = WideCharToMultiByte(CP_ACP, 0, wide.get(), -1, nullptr, 0, nullptr, nullptr);
  auto ansi = std::make_unique<char[]>(static_cast<size_t>(std::max(ansiCount, 1)));
  if (ansiCount > 0) WideCharToMultiByte(CP_ACP, 0, wide.get(), -1, ansi.get(), ansiCount, nullptr, nullptr);
  return ansi;
}

LaunchInfo ParseServiceAnswer(const std::string& json) {
  if (!NestsWithinLimit(json)) return LaunchInfo();
  Json::CharReaderBuilder builder;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value root;
  std::string errors;
  bool parsed = false;
  try {
    parsed = reader->parse(json.data(), json.data() + json.size(), &root, &errors);
  } catch (const std::exception&) {
    // Not expected within the nesting limit; still never a crash.
    parsed = false;
  }
  if (!parsed || !errors.empty() || !root.isObject()) return LaunchInfo();

  const Json::Value& data = std::as_const(root)["data"];
  if (!data.isNull() && !data.isObject()) return LaunchInfo();

  LaunchInfo utf8;
  bool usable = ReadMember(root, "code", &utf8.code) && ReadMember(root, "info", &utf8.info) &&
                ReadMember(data, "open", &utf8.open) && ReadMember(data, "uid", &utf8.uid) &&
                ReadMember(data, "sid", &utf8.sid) && ReadMember(data, "extraInfo", &utf8.extraInfo) &&
                ReadMember(data, "token", &utf8.token) && ReadMember(data, "up_version", &utf8.up_version) &&
                ReadMember(data, "up_bg", &utf8.up_bg) && ReadMember(data, "game_url", &utf8.game_url) &&
                ReadMember(data, "game_version", &utf8.game_version) &&
                ReadMember(data, "up_url", &utf8.up_url);
  if (!usable) return LaunchInfo();

  // Backslashes are replaced while the text is still UTF-8, where 0x5C is
  // always a backslash and never the trail byte of a double-byte character.
  for (std::string* url : {&utf8.up_bg, &utf8.game_url, &utf8.up_url}) std::replace(url->begin(), url->end(), '\\', ' ');

  LaunchInfo info;
  info.code = ToAnsi(utf8.code);
  info.info = ToAnsi(utf8.info);
  info.token = ToAnsi(utf8.token);
  info.open = ToAnsi(utf8.open);
  info.uid = ToAnsi(utf8.uid);
  info.sid = ToAnsi(utf8.sid);
  info.extraInfo = ToAnsi(utf8.extraInfo);
  info.game_version = ToAnsi(utf8.game_version);
  info.up_version = ToAnsi(utf8.up_version);
  info.up_bg = ToAnsi(utf8.up_bg);
  info.game_url = ToAnsi(utf8.game_url);
  info.up_url = ToAnsi(utf8.up_url);
  return info;
}
