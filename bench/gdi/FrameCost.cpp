// Prints what the drawing layer costs per frame against the libraries it
// stands on. Goals: AlphaBlend of a window-sized image at most 1.1 times
// pixman compositing the same buffers; DrawTextW of short labels at most
// 1.5 times cairo showing the same glyphs.
//
//   gdi_bench [rounds]
//
// Each workload runs in alternating trials; the fastest trial of each
// counts, which keeps most noise from other processes out of the ratio.
// The load average is printed before and after.
#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <pixman.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "Win32.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr int kTrials = 41;

double BestSeconds(int trials, int rounds, const std::function<void()>& work) {
  double best = 1e9;
  for (int t = 0; t < trials; ++t) {
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) work();
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count() / rounds);
  }
  return best;
}

struct Dib {
  HDC dc;
  HBITMAP bitmap;
  uint32_t* bits;
  Dib(int w, int h) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    dc = CreateCompatibleDC(nullptr);
    void* p = nullptr;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = static_cast<uint32_t*>(p);
    SelectObject(dc, bitmap);
  }
};

void Report(const char* name, double ours, double theirs, double goal) {
  double ratio = ours / theirs;
  std::printf("%-34s %9.1f us   baseline %9.1f us   ratio %.2f (goal <= %.1f) %s\n", name, ours * 1e6, theirs * 1e6,
              ratio, goal, ratio <= goal ? "ok" : "OVER");
}

void AlphaBlendVersusPixman(int rounds) {
  Dib src(kWidth, kHeight), dst(kWidth, kHeight);
  std::mt19937 random(7);
  for (int i = 0; i < kWidth * kHeight; ++i) {
    uint32_t a = random() & 0xFF, r = (random() & 0xFF) * a / 255, g = (random() & 0xFF) * a / 255,
             b = (random() & 0xFF) * a / 255;
    src.bits[i] = a << 24 | r << 16 | g << 8 | b;
  }
  pixman_image_t* ps = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, src.bits, kWidth * 4);
  pixman_image_t* pd = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, dst.bits, kWidth * 4);
  for (BYTE constant : {BYTE(255), BYTE(180)}) {
    auto reset = [&] { std::fill(dst.bits, dst.bits + kWidth * kHeight, 0xFF336699u); };
    pixman_color_t alpha{0, 0, 0, static_cast<uint16_t>(constant * 257)};
    pixman_image_t* mask = constant == 255 ? nullptr : pixman_image_create_solid_fill(&alpha);
    reset();
    BLENDFUNCTION blend{AC_SRC_OVER, 0, constant, AC_SRC_ALPHA};
    double ours = 1e9, theirs = 1e9;
    for (int trial = 0; trial < kTrials; ++trial) {
      ours = std::min(ours, BestSeconds(1, rounds, [&] {
                        AlphaBlend(dst.dc, 0, 0, kWidth, kHeight, src.dc, 0, 0, kWidth, kHeight, blend);
                      }));
      theirs = std::min(theirs, BestSeconds(1, rounds, [&] {
                          pixman_image_composite32(PIXMAN_OP_OVER, ps, mask, pd, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
                        }));
    }
    if (mask) pixman_image_unref(mask);
    std::string name = "AlphaBlend 800x600, alpha " + std::to_string(constant);
    Report(name.c_str(), ours, theirs, 1.1);
  }
  pixman_image_unref(ps);
  pixman_image_unref(pd);
}

const wchar_t* const kLabels[] = {L"正在下载...(45%)", L"512KB/s", L"again", L"正在解压...(80%)", L"提示",
                                  L"Start game", L"版本 1.0.3", L"网络连接失败", L"OK", L"Settings"};

void DrawTextVersusCairo(int rounds) {
  Dib canvas(kWidth, kHeight);
  LOGFONTW lf{};
  lf.lfHeight = -12;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  wcscpy(lf.lfFaceName, L"WenQuanYi Micro Hei");
  HFONT font = CreateFontIndirectW(&lf);
  SelectObject(canvas.dc, font);
  SetBkMode(canvas.dc, TRANSPARENT);
  SetTextColor(canvas.dc, RGB(20, 20, 20));
  constexpr int kCount = sizeof kLabels / sizeof kLabels[0];
  auto rect_of = [](int i) { return RECT{20 + (i % 2) * 300, 20 + (i / 2) * 40, 300 + (i % 2) * 300, 50 + (i / 2) * 40}; };

  // The same face at the same size through cairo, glyphs prepared in advance.
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("WenQuanYi Micro Hei:pixelsize=12"));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  for (const char* option : {FC_ANTIALIAS, FC_RGBA, FC_HINTING, FC_HINT_STYLE, FC_AUTOHINT, FC_LCD_FILTER}) FcPatternDel(match, option);
  cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(match);
  cairo_matrix_t size, identity;
  cairo_matrix_init_scale(&size, 12, 12);
  cairo_matrix_init_identity(&identity);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  cairo_scaled_font_t* scaled = cairo_scaled_font_create(face, &size, &identity, options);
  std::vector<std::vector<cairo_glyph_t>> glyphs(kCount);
  TEXTMETRICW tm;
  GetTextMetricsW(canvas.dc, &tm);
  for (int i = 0; i < kCount; ++i) {
    std::string utf8;
    for (const wchar_t* c = kLabels[i]; *c; ++c) {
      char buffer[8];
      int n = WideCharToMultiByte(CP_UTF8, 0, c, 1, buffer, sizeof buffer, nullptr, nullptr);
      utf8.append(buffer, n);
    }
    RECT r = rect_of(i);
    cairo_glyph_t* list = nullptr;
    int count = 0;
    cairo_scaled_font_text_to_glyphs(scaled, r.left, r.top + tm.tmAscent, utf8.data(), static_cast<int>(utf8.size()),
                                     &list, &count, nullptr, nullptr, nullptr);
    glyphs[i].assign(list, list + count);
    cairo_glyph_free(list);
  }
  cairo_surface_t* surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(canvas.bits),
                                                                 CAIRO_FORMAT_ARGB32, kWidth, kHeight, kWidth * 4);
  cairo_t* cr = cairo_create(surface);

  auto clear = [&] { std::fill(canvas.bits, canvas.bits + kWidth * kHeight, 0xFFFFFFFFu); };
  clear();
  double ours = 1e9, theirs = 1e9;
  for (int trial = 0; trial < kTrials; ++trial) {
    ours = std::min(ours, BestSeconds(1, rounds, [&] {
                      for (int i = 0; i < kCount; ++i) {
                        RECT r = rect_of(i);
                        DrawTextW(canvas.dc, kLabels[i], -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
                      }
                    }));
    theirs = std::min(theirs, BestSeconds(1, rounds, [&] {
                        for (int i = 0; i < kCount; ++i) {
                          cairo_set_scaled_font(cr, scaled);
                          cairo_set_source_rgb(cr, 20 / 255.0, 20 / 255.0, 20 / 255.0);
                          cairo_show_glyphs(cr, glyphs[i].data(), static_cast<int>(glyphs[i].size()));
                        }
                        cairo_surface_flush(surface);
                      }));
  }
  Report("DrawTextW, 10 short labels", ours, theirs, 1.5);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  cairo_scaled_font_destroy(scaled);
  cairo_font_options_destroy(options);
  cairo_font_face_destroy(face);
  FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  DeleteObject(font);
}

// The machine's load, so a reader can judge how noisy the numbers are.
std::string LoadAverage() {
  char text[128] = "unknown\n";
  if (FILE* f = std::fopen("/proc/loadavg", "r")) {
    if (!std::fgets(text, sizeof text, f)) std::snprintf(text, sizeof text, "unknown\n");
    std::fclose(f);
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  std::printf("gdi_bench: %d rounds per trial, best of %d alternating trials; load average %s", rounds, kTrials,
              LoadAverage().c_str());
  AlphaBlendVersusPixman(rounds);
  DrawTextVersusCairo(rounds * 20);
  std::printf("load average afterwards %s", LoadAverage().c_str());
  return 0;
}
