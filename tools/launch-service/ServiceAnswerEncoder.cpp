#include "ServiceAnswerEncoder.h"

std::string EncodeServiceAnswer(const std::string& plain) {
  static const char kHex[] = "0123456789abcdef";
  std::string body;
  body.reserve(plain.size() * 2);
  for (size_t k = 0; k < plain.size(); ++k) {
    unsigned char next = k + 1 < plain.size() ? static_cast<unsigned char>(plain[k + 1]) : 0x3C;
    unsigned char scrambled = static_cast<unsigned char>(plain[k]) ^ next;
    body += kHex[scrambled >> 4];
    body += kHex[scrambled & 0x0F];
  }
  return body;
}
