#include "HttpFile.h"

#include "HttpScheme.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

// libcurl's own buffer size, and so the most one Read keeps waiting.
constexpr long kChunkBytes = 16 * 1024;
constexpr long kMaxRedirects = 10;

void InitCurlOnce() {
  static std::once_flag once;
  // Never paired with a cleanup: libcurl counts its initialisations, so
  // another user's cleanup cannot pull the library away from a transfer.
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_ALL); });
}

// UTF-8 with every byte a request line cannot carry percent-encoded.
std::string EncodeUrl(LPCWSTR url) {
  std::string utf8;
  int bytes = WideCharToMultiByte(CP_UTF8, 0, url, -1, nullptr, 0, nullptr, nullptr);
  if (bytes > 1) {
    utf8.resize(static_cast<size_t>(bytes));
    WideCharToMultiByte(CP_UTF8, 0, url, -1, utf8.data(), bytes, nullptr, nullptr);
    utf8.resize(static_cast<size_t>(bytes - 1));
  }
  static const char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (unsigned char c : utf8) {
    if (c <= 0x20 || c >= 0x7F) {
      encoded += '%';
      encoded += kHex[c >> 4];
      encoded += kHex[c & 0x0F];
    } else {
      encoded += static_cast<char>(c);
    }
  }
  return encoded;
}

bool StartsWithNoCase(const char* text, size_t length, const char* prefix) {
  size_t n = std::strlen(prefix);
  if (length < n) return false;
  for (size_t i = 0; i < n; ++i) {
    char a = text[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (a != prefix[i]) return false;
  }
  return true;
}

}  // namespace

struct HttpFile::Transfer {
  CURLM* multi = nullptr;
  CURL* easy = nullptr;
  curl_slist* headers = nullptr;
  char errorBuffer[CURL_ERROR_SIZE] = {};

  std::vector<char> chunk;  // bytes delivered by libcurl, not yet read
  size_t chunkPos = 0;
  bool paused = false;      // libcurl holds a chunk we refused while full
  bool sawLocation = false; // within the response whose headers are arriving
  bool headersDone = false;
  bool done = false;
  CURLcode result = CURLE_OK;

  ~Transfer() {
    if (multi && easy) curl_multi_remove_handle(multi, easy);
    if (easy) curl_easy_cleanup(easy);
    if (multi) curl_multi_cleanup(multi);
    if (headers) curl_slist_free_all(headers);
  }

  bool HasUnread() const { return chunkPos < chunk.size(); }

  static size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto* self = static_cast<Transfer*>(user);
    size_t length = size * count;
    if (StartsWithNoCase(data, length, "http/")) {
      self->sawLocation = false;
    } else if (StartsWithNoCase(data, length, "location:")) {
      self->sawLocation = true;
    } else if ((length == 2 && data[0] == '\r' && data[1] == '\n') || (length == 1 && data[0] == '\n')) {
      // End of one response's headers. Interim answers (1xx, a proxy's
      // CONNECT reply) and redirects that will be followed are not the file.
      long status = 0;
      curl_easy_getinfo(self->easy, CURLINFO_RESPONSE_CODE, &status);
      bool redirect = status >= 300 && status < 400 && self->sawLocation;
      if (status >= 200 && !redirect) self->headersDone = true;
    }
    return length;
  }

  static size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* self = static_cast<Transfer*>(user);
    size_t length = size * count;
    self->headersDone = true;
    if (self->HasUnread()) {
      // Keep memory to one chunk: libcurl keeps this one and stops reading
      // until Read has drained ours.
      self->paused = true;
      return CURL_WRITEFUNC_PAUSE;
    }
    self->chunk.assign(data, data + length);
    self->chunkPos = 0;
    return length;
  }

  // Drives the transfer until `ready` holds or the transfer has ended.
  template <typename Ready>
  void PumpUntil(Ready ready) {
    while (!ready() && !done) {
      int running = 0;
      CURLMcode code = curl_multi_perform(multi, &running);
      if (code != CURLM_OK) {
        Finish(CURLE_FAILED_INIT, curl_multi_strerror(code));
        return;
      }
      int queued = 0;
      while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
        if (message->msg == CURLMSG_DONE) Finish(message->data.result, nullptr);
      }
      if (ready() || done) return;
      // Waits at most until libcurl's next time-out is due.
      curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
    }
  }

  void Finish(CURLcode code, const char* text) {
    done = true;
    result = code;
    if (text && !errorBuffer[0]) std::snprintf(errorBuffer, sizeof errorBuffer, "%s", text);
  }

  std::string ErrorText() const {
    if (errorBuffer[0]) return errorBuffer;
    return curl_easy_strerror(result);
  }
};

HttpFile::HttpFile() : HttpFile(Timeouts{}) {}

HttpFile::HttpFile(Timeouts timeouts) : m_timeouts(timeouts) {}

HttpFile::~HttpFile() = default;

bool HttpFile::Open(LPCWSTR url) {
  Close();
  m_error.clear();
  m_url = url ? url : L"";
  std::string encoded = EncodeUrl(m_url.c_str());
  if (!HasHttpScheme(encoded.c_str())) {
    m_error = "not an http:// or https:// URL";
    return false;
  }
  InitCurlOnce();

  auto transfer = std::make_unique<Transfer>();
  Transfer& t = *transfer;
  t.multi = curl_multi_init();
  t.easy = curl_easy_init();
  if (!t.multi || !t.easy) {
    m_error = "libcurl could not be initialised";
    return false;
  }
  t.headers = curl_slist_append(t.headers, "Cache-Control: no-cache");
  t.headers = curl_slist_append(t.headers, "Pragma: no-cache");

  CURL* easy = t.easy;
  curl_easy_setopt(easy, CURLOPT_URL, encoded.c_str());
  curl_easy_setopt(easy, CURLOPT_USERAGENT, "myagent");
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, t.headers);
  curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
  // HTTP/1.1 as the system library speaks it; pausing is simplest there.
  curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, m_timeouts.connectSeconds);
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, m_timeouts.stallSeconds);
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kChunkBytes);
  curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, t.errorBuffer);
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Transfer::OnHeader);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, &t);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Transfer::OnBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &t);

  if (curl_multi_add_handle(t.multi, easy) != CURLM_OK) {
    m_error = "libcurl could not start the transfer";
    return false;
  }
  t.PumpUntil([&t] { return t.headersDone; });
  if (!t.headersDone) {
    m_error = t.ErrorText();
    return false;
  }
  m_transfer = std::move(transfer);
  return true;
}

void HttpFile::Close() { m_transfer.reset(); }

long HttpFile::GetStatus() const {
  long status = 0;
  if (m_transfer) curl_easy_getinfo(m_transfer->easy, CURLINFO_RESPONSE_CODE, &status);
  return status;
}

bool HttpFile::HasLength() const {
  if (!m_transfer) return false;
  curl_off_t length = -1;
  curl_easy_getinfo(m_transfer->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
  return length >= 0;
}

ULONGLONG HttpFile::GetLength() const {
  if (!m_transfer) return 0;
  curl_off_t length = -1;
  curl_easy_getinfo(m_transfer->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
  return length >= 0 ? static_cast<ULONGLONG>(length) : 0;
}

std::wstring HttpFile::GetFileName() const { return FileNameOf(m_url); }

std::wstring HttpFile::FileNameOf(const std::wstring& url) {
  std::wstring object = url;
  size_t scheme = object.find(L"://");
  if (scheme != std::wstring::npos) {
    size_t path = object.find_first_of(L"/\\", scheme + 3);
    object = path == std::wstring::npos ? std::wstring() : object.substr(path);
  }
  object = object.substr(0, object.find_first_of(L"?#"));
  size_t last = object.find_last_of(L"/\\:");
  return last == std::wstring::npos ? object : object.substr(last + 1);
}

long HttpFile::Read(void* buffer, DWORD count) {
  if (!m_transfer) {
    m_error = "no open transfer";
    return -1;
  }
  Transfer& t = *m_transfer;
  auto* out = static_cast<char*>(buffer);
  // The count is returned as a long; keep it in range.
  if (count > 0x7FFFFFFF) count = 0x7FFFFFFF;
  DWORD copied = 0;
  while (copied < count) {
    if (t.HasUnread()) {
      size_t take = std::min<size_t>(count - copied, t.chunk.size() - t.chunkPos);
      std::memcpy(out + copied, t.chunk.data() + t.chunkPos, take);
      t.chunkPos += take;
      copied += static_cast<DWORD>(take);
      continue;
    }
    t.chunk.clear();
    t.chunkPos = 0;
    if (t.paused) {
      // libcurl hands the refused chunk over again inside this call.
      t.paused = false;
      curl_easy_pause(t.easy, CURLPAUSE_CONT);
      continue;
    }
    if (t.done) break;
    t.PumpUntil([&t] { return t.HasUnread() || t.paused; });
  }
  if (copied > 0) return static_cast<long>(copied);
  if (t.done && t.result != CURLE_OK) {
    m_error = t.ErrorText();
    return -1;
  }
  return 0;
}

const std::string& HttpFile::GetErrorText() const { return m_error; }
