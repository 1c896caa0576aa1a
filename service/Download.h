// Whole-file HTTP downloads made before the launcher's window exists.
// Both return 0 on success and −1 on any failure; on failure the
// destination is left as it was.
#pragma once

// At most this many characters of URL (the wide buffer holds one more).
constexpr int kDownloadUrlCapacity = 300;

// Fetches `url` and writes its body over `path` (both ANSI texts). The
// response must state its length and have a status below 400.
int DownloadToFile(const char* url, const char* path);

// Fetches `url` into Skin/bk/bg_1.png below the current directory; the
// directories must exist.
int DownloadBackgroundImage(const char* url);
