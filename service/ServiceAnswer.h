// The launch service's wire format: hexadecimal pairs of a chained-XOR
// scrambled UTF-8 JSON document, and its reading into a LaunchInfo.
#pragma once

#include "LaunchInfo.h"

#include <memory>
#include <string>

// The decoder's fixed work space: at most this many plain bytes, so a body
// of at most 2 × kServiceAnswerCapacity + 1 characters.
constexpr size_t kServiceAnswerCapacity = 2999;

// The plain text of a response body, cut at its first zero byte. A final
// unpaired character is ignored; characters that are neither digits nor
// letters count as 0. A body beyond the capacity cannot be unscrambled
// (every plain byte depends on all scrambled bytes after it) and gives an
// empty text.
std::string DecodeServiceAnswer(std::string body);

// A zero-terminated UTF-8 text in the system ANSI code page; characters the
// code page cannot hold become its default character.
std::unique_ptr<char[]> Utf8ToAnsi(const char* utf8);

// Fills a record from the plain (UTF-8) JSON text; each field is converted
// to the ANSI code page after parsing. Anything but an object with string,
// number, boolean or null members (and a "data" object) gives an empty
// record, and so does a document whose arrays and objects nest more than
// 8 levels deep (it is refused before it is parsed).
LaunchInfo ParseServiceAnswer(const std::string& json);
