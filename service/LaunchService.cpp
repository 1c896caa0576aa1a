#include "LaunchService.h"

#include "HttpScheme.h"
#include "ServiceAnswer.h"
#include "Win32.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// One character past the longest body the decoder accepts.
constexpr size_t kBodyLimit = 2 * kServiceAnswerCapacity + 2;
constexpr long kTransferSeconds = 7;

void ShowServiceMessage(const std::string& text) {
  int count = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::vector<WCHAR> wide(static_cast<size_t>(std::max(count, 1)), L'\0');
  if (count > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), count);
  MessageBoxW(nullptr, wide.data(), L"提示", MB_OK);
}

}  // namespace

size_t AppendToBuffer(char* data, size_t size, size_t count, void* body) {
  auto* text = static_cast<std::string*>(body);
  size_t length = size * count;
  if (text->size() < kBodyLimit) text->append(data, std::min(length, kBodyLimit - text->size()));
  return length;
}

LaunchInfo QueryLaunchService(const char* url) {
  std::string body;
  std::string document;

  curl_global_init(CURL_GLOBAL_ALL);
  // No request at all for a URL without its scheme.
  CURL* curl = HasHttpScheme(url) ? curl_easy_init() : nullptr;
  curl_slist* headers = nullptr;
  if (curl) {
    headers = curl_slist_append(headers, "Content-Type: application/json");
    headers = curl_slist_append(headers, "Accept: application/json");
    headers = curl_slist_append(headers, "charsets: utf-8");
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, "GET");
    curl_easy_setopt(curl, CURLOPT_URL, url);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, kTransferSeconds);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kTransferSeconds);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    // The answer decides which program is downloaded and run: its server
    // must prove who it is.
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &AppendToBuffer);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    curl_easy_perform(curl);

    document = DecodeServiceAnswer(body);
    std::printf("%s\n", document.c_str());
    std::printf("%s\n", Utf8ToAnsi(document.c_str()).get());
  }
  curl_slist_free_all(headers);
  curl_easy_cleanup(curl);
  curl_global_cleanup();

  // Parsed as the UTF-8 it is; the fields are converted one by one.
  LaunchInfo info = ParseServiceAnswer(document);
  if (!info.code.empty() && info.code != "1") ShowServiceMessage(info.info);
  return info;
}
