// The program's resource table and the icons made from it.
#include "win32/Resources.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwctype>
#include <mutex>
#include <vector>

#include "kernel/Text.h"
#include "win32/Errors.h"
#include "win32/Windows.h"
#include "window/Icons.h"
#include "window/State.h"

namespace {

std::mutex g_mutex;
std::vector<PlatformResource>& Table() {
  static auto* table = new std::vector<PlatformResource>();
  return *table;
}

bool SameType(LPCWSTR a, LPCWSTR b) {
  if (IS_INTRESOURCE(a) || IS_INTRESOURCE(b)) return a == b;
  for (; *a && *b; ++a, ++b)
    if (std::towlower(*a) != std::towlower(*b)) return false;
  return *a == *b;
}

// A name is an id: MAKEINTRESOURCE, or "#123".
bool IdOf(LPCWSTR name, WORD* id) {
  if (IS_INTRESOURCE(name)) {
    *id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
    return true;
  }
  if (name && name[0] == L'#') {
    unsigned long v = wcstoul(name + 1, nullptr, 10);
    *id = static_cast<WORD>(v);
    return v > 0;
  }
  return false;
}

struct Reader {
  const unsigned char* data;
  size_t size;
  size_t at;
};

cairo_status_t Read(void* closure, unsigned char* out, unsigned int length) {
  auto* r = static_cast<Reader*>(closure);
  if (r->size - r->at < length) return CAIRO_STATUS_READ_ERROR;
  memcpy(out, r->data + r->at, length);
  r->at += length;
  return CAIRO_STATUS_SUCCESS;
}

// A PNG scaled to cx x cy (0: its own size), or null.
cairo_surface_t* DecodeIcon(const void* data, size_t size, int cx, int cy) {
  static const unsigned char kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (!data || size < sizeof kPng || memcmp(data, kPng, sizeof kPng) != 0) return nullptr;
  Reader reader{static_cast<const unsigned char*>(data), size, 0};
  cairo_surface_t* png = cairo_image_surface_create_from_png_stream(Read, &reader);
  if (cairo_surface_status(png) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(png);
    return nullptr;
  }
  int w = cairo_image_surface_get_width(png), h = cairo_image_surface_get_height(png);
  if (cx <= 0) cx = w;
  if (cy <= 0) cy = h;
  cairo_surface_t* icon = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cx, cy);
  cairo_t* cr = cairo_create(icon);
  cairo_scale(cr, static_cast<double>(cx) / w, static_cast<double>(cy) / h);
  cairo_set_source_surface(cr, png, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_destroy(png);
  return icon;
}

HICON MakeIcon(cairo_surface_t* image) {
  if (!image) return nullptr;
  auto* icon = new platform::window::IconObject();
  icon->image = image;
  return reinterpret_cast<HICON>(icon);
}

}  // namespace

void PlatformRegisterResources(const PlatformResource* table, size_t count) {
  if (!table) return;
  std::lock_guard<std::mutex> lock(g_mutex);
  Table().insert(Table().end(), table, table + count);
}

HRSRC WINAPI FindResourceW(HMODULE, LPCWSTR lpName, LPCWSTR lpType) {
  WORD id;
  if (!lpType || !IdOf(lpName, &id)) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  std::lock_guard<std::mutex> lock(g_mutex);
  auto& t = Table();
  for (auto it = t.rbegin(); it != t.rend(); ++it)
    if (it->id == id && SameType(it->type, lpType)) return reinterpret_cast<HRSRC>(const_cast<PlatformResource*>(&*it));
  SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}

HGLOBAL WINAPI LoadResource(HMODULE, HRSRC hResInfo) {
  if (!hResInfo) return nullptr;
  return const_cast<void*>(reinterpret_cast<const PlatformResource*>(hResInfo)->data);
}

LPVOID WINAPI LockResource(HGLOBAL hResData) { return hResData; }

DWORD WINAPI SizeofResource(HMODULE, HRSRC hResInfo) {
  return hResInfo ? reinterpret_cast<const PlatformResource*>(hResInfo)->size : 0;
}

BOOL WINAPI FreeResource(HGLOBAL) { return FALSE; }

HANDLE WINAPI LoadImageW(HINSTANCE hInst, LPCWSTR name, UINT type, int cx, int cy, UINT fuLoad) {
  if (type == IMAGE_CURSOR && IS_INTRESOURCE(name)) return LoadCursorW(nullptr, name);
  if (type != IMAGE_ICON) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  if (fuLoad & LR_DEFAULTSIZE) {
    if (cx == 0) cx = GetSystemMetrics(SM_CXICON);
    if (cy == 0) cy = GetSystemMetrics(SM_CYICON);
  }
  if (fuLoad & LR_LOADFROMFILE) {
    if (!name || IS_INTRESOURCE(name)) return nullptr;
    std::string path = platform::kernel::NativePath(name);
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) {
      SetLastError(ERROR_FILE_NOT_FOUND);
      return nullptr;
    }
    std::vector<unsigned char> bytes;
    unsigned char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0 && bytes.size() < (64u << 20)) bytes.insert(bytes.end(), buffer, buffer + n);
    fclose(f);
    HICON icon = MakeIcon(DecodeIcon(bytes.data(), bytes.size(), cx, cy));
    if (!icon) SetLastError(ERROR_INVALID_DATA);
    return icon;
  }
  HRSRC res = FindResourceW(hInst, name, RT_GROUP_ICON);
  if (!res) res = FindResourceW(hInst, name, RT_ICON);
  if (!res) return nullptr;
  HICON icon = MakeIcon(DecodeIcon(LockResource(LoadResource(hInst, res)), SizeofResource(hInst, res), cx, cy));
  if (!icon) SetLastError(ERROR_INVALID_DATA);
  return icon;
}

HICON WINAPI LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName) {
  return static_cast<HICON>(LoadImageW(hInstance, lpIconName, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}
