#include "MainWindowHandle.h"

HWND MainWindowHandle = nullptr;
