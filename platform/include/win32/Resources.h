// Resources: a table compiled into the program (icons; optionally skins),
// found by id and type, and the icons and images made from it.
//
// A program lists its resources once, at namespace scope:
//   static const PlatformResource kResources[] = {{RT_GROUP_ICON, 107, icon_png, sizeof icon_png}};
//   PLATFORM_RESOURCE_TABLE(kResources);
// Icons are PNG images (any size; they are scaled to the size asked for).
#pragma once

#include <cstddef>

#include "win32/Types.h"

#define RT_CURSOR MAKEINTRESOURCEW(1)
#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_RCDATA MAKEINTRESOURCEW(10)
#define RT_GROUP_CURSOR MAKEINTRESOURCEW(12)
#define RT_GROUP_ICON MAKEINTRESOURCEW(14)

struct PlatformResource {
  LPCWSTR type;  // RT_* or a name such as L"ZIPRES" (compared ignoring case)
  WORD id;
  const void* data;
  DWORD size;
};
// Adds a table to the program's resources; the table must outlive the
// program (a static array). Later tables win on equal id and type.
void PlatformRegisterResources(const PlatformResource* table, size_t count);

namespace platform::resources {
struct Registrar {
  Registrar(const PlatformResource* table, size_t count) { PlatformRegisterResources(table, count); }
};
}  // namespace platform::resources
#define PLATFORM_RESOURCE_TABLE(table) \
  static ::platform::resources::Registrar platform_resource_registrar_(table, sizeof(table) / sizeof((table)[0]))

// Every module handle (and null) finds the program's table.
HRSRC WINAPI FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType);
HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo);
LPVOID WINAPI LockResource(HGLOBAL hResData);
DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo);
BOOL WINAPI FreeResource(HGLOBAL hResData);

#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2
#define LR_DEFAULTCOLOR 0x00000000
#define LR_LOADFROMFILE 0x00000010
#define LR_DEFAULTSIZE 0x00000040
#define LR_SHARED 0x00008000

// Icons (IMAGE_ICON) from the table (RT_GROUP_ICON, else RT_ICON) or, with
// LR_LOADFROMFILE, from a PNG file. Sizes of 0 take the PNG's own size, or
// the system's icon size with LR_DEFAULTSIZE. Bitmaps are the drawing
// half's: IMAGE_BITMAP is not loaded here.
HANDLE WINAPI LoadImageW(HINSTANCE hInst, LPCWSTR name, UINT type, int cx, int cy, UINT fuLoad);
HICON WINAPI LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName);
BOOL WINAPI DestroyIcon(HICON hIcon);
