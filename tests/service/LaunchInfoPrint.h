// Readable LaunchInfo values in test failures.
#pragma once

#include "LaunchInfo.h"

#include <ostream>

inline void PrintTo(const LaunchInfo& info, std::ostream* out) {
  *out << "{code=" << info.code << " info=" << info.info << " token=" << info.token << " open=" << info.open
       << " uid=" << info.uid << " sid=" << info.sid << " extraInfo=" << info.extraInfo
       << " game_version=" << info.game_version << " up_version=" << info.up_version << " up_bg=" << info.up_bg
       << " game_url=" << info.game_url << " up_url=" << info.up_url << "}";
}
