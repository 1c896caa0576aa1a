// The installer's diagnostics on standard output. A windowed launcher's
// standard output normally reaches no one; these lines carry no behaviour.
#pragma once

#include <string>

// "Error: ", "\n", message, "\n".
void PrintError(const char* message);
// The same, then the path in the OEM code page, without a newline.
void PrintError(const char* message, const std::wstring& path);
// A wide text in the OEM code page, '_' for what it cannot carry.
void PrintOemText(const std::wstring& text);
void PrintText(const char* text);
