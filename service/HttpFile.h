// HttpFile: one HTTP GET read as a file, pulled by the caller.
//
// It keeps the contract the launcher's downloads were written against
// (an internet session with agent "myagent" opening a URL with "reload" and
// "binary", then seek-to-end for the length and blocking reads):
//
//   HttpFile file;                        // or HttpFile(HttpFile::Timeouts{5, 5})
//   if (!file.Open(wideUrl)) {            // transport failure: no response at all
//     ... file.GetErrorText() ...
//   }
//   if (file.GetStatus() >= 400) ...      // an error page is not the file
//   if (!file.HasLength()) ...            // no Content-Length stated
//   ULONGLONG size = file.GetLength();
//   std::wstring name = file.GetFileName();
//   char piece[512];
//   for (;;) {
//     long n = file.Read(piece, sizeof piece);
//     if (n < 0) ...                      // broken, stalled, or shorter than announced
//     if (n == 0) break;                  // whole body read
//     ... write n bytes ...
//   }
//
// Details callers may rely on:
// - Open takes a wide, zero-terminated URL (the launcher converts its ANSI
//   URLs to wide text first). It is sent as UTF-8; spaces, control
//   characters and non-ASCII bytes are percent-encoded, as the system's
//   internet library canonicalises URLs. Only http and https are allowed:
//   a URL must name its scheme (HasHttpScheme), and redirects, which are
//   followed (at most 10), must lead to one of the two.
// - Every request sends "User-Agent: myagent", "Cache-Control: no-cache" and
//   "Pragma: no-cache", asks for no content encoding, so the bytes arrive
//   unchanged, and verifies the TLS peer and host name. Proxy settings come
//   from the usual environment variables.
// - Open returns once the final response's headers have arrived, so status
//   and length are known then; no body byte has been read yet. Open returns
//   false only when no response came (bad URL, host not found, refused, TLS
//   failure, connect time-out, stalled before the headers).
// - Read blocks until `count` bytes are delivered or the body ends: a short
//   count means the end follows; 0 is the end of the body; −1 is an error
//   (connection broken, stall time-out, fewer bytes than Content-Length).
//   Bytes delivered before an error are returned first, the −1 after.
// - Memory stays bounded: the transfer advances only inside Open and Read,
//   and between reads at most one network chunk (16 KiB) waits here, and
//   one more inside libcurl while the transfer is paused for the reader.
// - The time-outs: connecting may take `connectSeconds`; the transfer fails
//   when less than one byte per second arrives for `stallSeconds` while the
//   caller is reading. The defaults are the system internet library's 60 s.
// - Not thread-safe; one object per transfer and thread. Not copyable.
#pragma once

#include "Win32.h"

#include <memory>
#include <string>

class HttpFile {
 public:
  struct Timeouts {
    long connectSeconds = 60;
    long stallSeconds = 60;
  };

  HttpFile();
  explicit HttpFile(Timeouts timeouts);
  ~HttpFile();
  HttpFile(const HttpFile&) = delete;
  HttpFile& operator=(const HttpFile&) = delete;

  // Sends the request and waits for the response headers. A second Open
  // closes the first transfer.
  bool Open(LPCWSTR url);
  void Close();

  // The final response's status code (0 before a response arrived).
  long GetStatus() const;
  // Whether the response stated its body length (Content-Length).
  bool HasLength() const;
  // The stated body length; 0 when none was stated.
  ULONGLONG GetLength() const;
  // The last component of the URL's object part: the text after its last
  // '/', '\' or ':', query and fragment left out. Empty when the path ends
  // in a separator. Taken from the URL given to Open.
  std::wstring GetFileName() const;
  static std::wstring FileNameOf(const std::wstring& url);

  // Up to `count` bytes of the body into `buffer`; see above.
  long Read(void* buffer, DWORD count);

  // What went wrong in the last failing Open or Read (libcurl's words).
  const std::string& GetErrorText() const;

 private:
  struct Transfer;
  Timeouts m_timeouts;
  std::wstring m_url;
  std::unique_ptr<Transfer> m_transfer;
  std::string m_error;
};
