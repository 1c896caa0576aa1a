// The check every URL passes before it reaches an HTTP client.
#pragma once

// Whether `url` begins with "http://" or "https://" (in any case). A URL
// without its scheme is refused rather than guessed, as libcurl would.
bool HasHttpScheme(const char* url);
