// Whole-file HTTP downloads made before the launcher's window exists.
// Both return 0 on success, kDownloadNetworkFailure when the whole file
// did not arrive, and kDownloadWriteFailure when it arrived but could not
// be written; on failure the destination is left as it was, or, when a
// write broke off, incomplete.
#pragma once

// At most this many characters of URL (the wide buffer holds one more).
constexpr int kDownloadUrlCapacity = 300;

constexpr int kDownloadNetworkFailure = -1;
constexpr int kDownloadWriteFailure = -2;

// Fetches `url` and writes its body over `path` (both ANSI texts). The
// response must state its length and have a status below 400. A path that
// does not fit 500 characters counts as a write failure.
int DownloadToFile(const char* url, const char* path);

// Fetches `url` into Skin/bk/bg_1.png below the current directory; the
// directories must exist.
int DownloadBackgroundImage(const char* url);
