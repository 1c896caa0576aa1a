// One 800x600 frame through the render engine against pixman compositing
// the same list of pieces on the same kind of buffers. Goal: at most 1.25
// times pixman's time.
//
//   bench_render [rounds] [part]
//
// part limits both sides to one kind of piece: background, buttons,
// progress, tiles or fills (all when absent).
// The frame: a stretched opaque background, 24 nine-grid buttons from a
// sprite sheet with alpha, a progress bar (nine-grid back, unscaled cut
// front), a tiled opaque pattern and translucent fills. Both sides run in
// alternating trials; the fastest trial of each counts. Stretched pieces
// are bilinear on both sides (halftone stretching is bilinear upwards; the
// frame only stretches upwards).
#include <pixman.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "manager/CPaintManagerUI.h"
#include "render/CImageAttribute.h"
#include "render/CRenderEngine.h"

using namespace SkinUI;

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr int kTrials = 31;

double BestSeconds(int rounds, const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) work();
  std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  return took.count() / rounds;
}

// A premultiplied image and its pixels, shared by both sides.
struct Image {
  int width, height;
  HBITMAP bitmap;
  uint32_t* bits;
  pixman_image_t* pixman;
  Image(int w, int h, const std::function<uint32_t(int, int)>& colour) : width(w), height(h) {
    BYTE* p = nullptr;
    bitmap = CRenderEngine::CreateBitmap(nullptr, w, h, &p);
    bits = reinterpret_cast<uint32_t*>(p);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) bits[y * w + x] = colour(x, y);
    pixman = pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, bits, w * 4);
  }
};

uint32_t Premultiplied(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return a << 24 | (r * a / 255) << 16 | (g * a / 255) << 8 | (b * a / 255);
}

struct Piece {
  RECT dst, src;
};

// The nine-grid pieces in the blitter's order and geometry (middle first).
std::vector<Piece> NineGrid(RECT r, RECT s, RECT c) {
  const RECT m = {r.left + c.left, r.top + c.top, r.right - c.right, r.bottom - c.bottom};
  const RECT ms = {s.left + c.left, s.top + c.top, s.right - c.right, s.bottom - c.bottom};
  return {{m, ms},
          {{r.left, r.top, m.left, m.top}, {s.left, s.top, ms.left, ms.top}},
          {{m.left, r.top, m.right, m.top}, {ms.left, s.top, ms.right, ms.top}},
          {{m.right, r.top, r.right, m.top}, {ms.right, s.top, s.right, ms.top}},
          {{r.left, m.top, m.left, m.bottom}, {s.left, ms.top, ms.left, ms.bottom}},
          {{m.right, m.top, r.right, m.bottom}, {ms.right, ms.top, s.right, ms.bottom}},
          {{r.left, m.bottom, m.left, r.bottom}, {s.left, ms.bottom, ms.left, s.bottom}},
          {{m.left, m.bottom, m.right, r.bottom}, {ms.left, ms.bottom, ms.right, s.bottom}},
          {{m.right, m.bottom, r.right, r.bottom}, {ms.right, ms.bottom, s.right, s.bottom}}};
}

void Composite(pixman_op_t op, const Image& image, const Piece& piece, pixman_image_t* target) {
  const int w = piece.dst.right - piece.dst.left, h = piece.dst.bottom - piece.dst.top;
  const int sw = piece.src.right - piece.src.left, sh = piece.src.bottom - piece.src.top;
  if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
  if (w == sw && h == sh) {
    pixman_image_set_transform(image.pixman, nullptr);
    pixman_image_set_filter(image.pixman, PIXMAN_FILTER_NEAREST, nullptr, 0);
    pixman_image_composite32(op, image.pixman, nullptr, target, piece.src.left, piece.src.top, 0, 0, piece.dst.left,
                             piece.dst.top, w, h);
    return;
  }
  pixman_transform_t t;
  pixman_transform_init_scale(&t, pixman_double_to_fixed(double(sw) / w), pixman_double_to_fixed(double(sh) / h));
  pixman_transform_translate(&t, nullptr, pixman_int_to_fixed(piece.src.left), pixman_int_to_fixed(piece.src.top));
  pixman_image_set_transform(image.pixman, &t);
  pixman_image_set_filter(image.pixman, PIXMAN_FILTER_BILINEAR, nullptr, 0);
  pixman_image_set_repeat(image.pixman, PIXMAN_REPEAT_PAD);
  pixman_image_composite32(op, image.pixman, nullptr, target, 0, 0, 0, 0, piece.dst.left, piece.dst.top, w, h);
}

struct Fill {
  RECT rc;
  uint32_t colour;  // 0xAARRGGBB, straight
};

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  const std::string part = argc > 2 ? argv[2] : "";
  auto wanted = [&](const char* name) { return part.empty() || part == name; };
  std::mt19937 random(11);

  Image background(400, 300, [&](int x, int y) { return 0xFF000000u | (x * 255 / 400) << 16 | (y * 255 / 300) << 8 | 0x40; });
  Image sprite(96, 120, [&](int x, int y) {
    const bool edge = x < 4 || x >= 92 || y % 30 < 4 || y % 30 >= 26;
    return edge ? Premultiplied(160 + (x + y) % 60, 30, 60, 200) : Premultiplied(230, 40 + y, 120, 220);
  });
  Image barBack(40, 12, [&](int x, int) { return Premultiplied(200, 20, 20 + x, 20); });
  Image barFront(400, 12, [&](int x, int y) { return Premultiplied(255 - y * 4, 40, 200, 40 + x / 4); });
  Image tile(16, 16, [&](int x, int y) { return ((x / 4 + y / 4) % 2) ? 0xFF303030u : 0xFF505050u; });

  CPaintManagerUI manager;
  manager.AddImage(L"bg", background.bitmap, 400, 300, false);
  manager.AddImage(L"sprite", sprite.bitmap, 96, 120, true);
  manager.AddImage(L"bar_bk", barBack.bitmap, 40, 12, true);
  manager.AddImage(L"bar_fore", barFront.bitmap, 400, 12, true);
  manager.AddImage(L"tile", tile.bitmap, 16, 16, false);

  struct Drawn {
    CImageAttribute attribute;
    RECT item;
    bool wanted;
  };
  std::vector<Drawn> draws;
  auto add = [&](LPCWSTR text, RECT item, const char* kind) {
    Drawn d;
    d.wanted = wanted(kind);
    d.attribute.SetAttributeString(text);
    d.attribute.LoadImage(&manager);
    d.item = item;
    draws.push_back(d);
  };
  add(L"file='bg'", RECT{0, 0, kWidth, kHeight}, "background");
  const wchar_t* states[4] = {L"file='sprite' source='0,0,96,30' corner='4,4,4,4'",
                              L"file='sprite' source='0,30,96,60' corner='4,4,4,4'",
                              L"file='sprite' source='0,60,96,90' corner='4,4,4,4'",
                              L"file='sprite' source='0,90,96,120' corner='4,4,4,4'"};
  for (int i = 0; i < 24; ++i) {
    const int x = 20 + (i % 6) * 125, y = 40 + (i / 6) * 50;
    add(states[i % 4], RECT{x, y, x + 110, y + 34}, "buttons");
  }
  add(L"file='bar_bk' corner='5,5,5,5'", RECT{100, 300, 700, 312}, "progress");
  add(L"file='bar_fore' dest='0,0,250,12' source='0,0,250,12'", RECT{100, 300, 700, 312}, "progress");
  add(L"file='tile' xtiled='true' ytiled='true'", RECT{40, 340, 340, 540}, "tiles");
  std::vector<Fill> fills;
  for (int i = 0; i < 8 && wanted("fills"); ++i)
    fills.push_back({RECT{400 + (i % 4) * 95, 340 + (i / 4) * 100, 480 + (i % 4) * 95, 430 + (i / 4) * 100},
                     (0x30u + i * 0x18) << 24 | 0x00FFFFFF});
  if (wanted("fills")) fills.push_back({RECT{0, 560, kWidth, kHeight}, 0x80000000});

  // Our side: the engine's calls on a DIB section in a memory DC.
  BYTE* oursBits = nullptr;
  HBITMAP oursBitmap = CRenderEngine::CreateBitmap(nullptr, kWidth, kHeight, &oursBits);
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, oursBitmap);
  const RECT paint = {0, 0, kWidth, kHeight};
  auto ours = [&] {
    for (Drawn& d : draws)
      if (d.wanted) CRenderEngine::DrawImage(dc, &manager, d.item, paint, d.attribute);
    for (const Fill& f : fills) CRenderEngine::DrawColor(dc, f.rc, f.colour);
  };

  // Pixman's side: the same pieces, listed once.
  struct Job {
    const Image* image;
    pixman_op_t op;
    Piece piece;
  };
  std::vector<Job> jobs;
  if (wanted("background")) jobs.push_back({&background, PIXMAN_OP_SRC, {paint, RECT{0, 0, 400, 300}}});
  for (int i = 0; i < 24 && wanted("buttons"); ++i)
    for (const Piece& p : NineGrid(draws[1 + i].item, draws[1 + i].attribute.m_rcSource, RECT{4, 4, 4, 4}))
      jobs.push_back({&sprite, PIXMAN_OP_OVER, p});
  if (wanted("progress")) {
    for (const Piece& p : NineGrid(RECT{100, 300, 700, 312}, RECT{0, 0, 40, 12}, RECT{5, 5, 5, 5}))
      jobs.push_back({&barBack, PIXMAN_OP_OVER, p});
    jobs.push_back({&barFront, PIXMAN_OP_OVER, {RECT{100, 300, 350, 312}, RECT{0, 0, 250, 12}}});
  }
  for (int y = 340; y < 540 && wanted("tiles"); y += 16)
    for (int x = 40; x < 340; x += 16) {
      const int w = std::min(16, 340 - x), h = std::min(16, 540 - y);
      jobs.push_back({&tile, PIXMAN_OP_SRC, {RECT{x, y, x + w, y + h}, RECT{0, 0, w, h}}});
    }
  std::vector<uint32_t> theirsBits(size_t(kWidth) * kHeight);
  pixman_image_t* target = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, theirsBits.data(), kWidth * 4);
  std::vector<pixman_image_t*> solids;
  for (const Fill& f : fills) {
    const uint16_t a = (f.colour >> 24) * 257;
    auto channel = [&](int shift) { return uint16_t(((f.colour >> shift) & 0xFF) * 257 * (f.colour >> 24) / 255); };
    pixman_color_t colour = {channel(16), channel(8), channel(0), a};
    solids.push_back(pixman_image_create_solid_fill(&colour));
  }
  auto theirs = [&] {
    for (const Job& job : jobs) Composite(job.op, *job.image, job.piece, target);
    for (size_t i = 0; i < fills.size(); ++i) {
      const RECT& rc = fills[i].rc;
      pixman_image_composite32(PIXMAN_OP_OVER, solids[i], nullptr, target, 0, 0, 0, 0, rc.left, rc.top,
                               rc.right - rc.left, rc.bottom - rc.top);
    }
  };

  double load[3] = {};
  if (getloadavg(load, 3) > 0) std::printf("load average before: %.2f\n", load[0]);
  double best_ours = 1e9, best_theirs = 1e9;
  for (int trial = 0; trial < kTrials; ++trial) {
    best_ours = std::min(best_ours, BestSeconds(rounds, ours));
    best_theirs = std::min(best_theirs, BestSeconds(rounds, theirs));
  }
  // The two frames should agree but for filtering at piece edges.
  const uint32_t* a = reinterpret_cast<const uint32_t*>(oursBits);
  double difference = 0;
  for (size_t i = 0; i < theirsBits.size(); ++i)
    for (int shift = 0; shift < 32; shift += 8)
      difference += std::abs(int((a[i] >> shift) & 0xFF) - int((theirsBits[i] >> shift) & 0xFF));
  difference /= theirsBits.size() * 4.0;

  const double ratio = best_ours / best_theirs;
  if (!part.empty()) std::printf("part: %s\n", part.c_str());
  std::printf("frame 800x600: %zu image draws, %zu fills (pixman: %zu pieces)\n", draws.size(), fills.size(),
              jobs.size());
  std::printf("render engine %9.1f us   pixman %9.1f us   ratio %.2f (goal <= 1.25) %s\n", best_ours * 1e6,
              best_theirs * 1e6, ratio, ratio <= 1.25 ? "ok" : "OVER");
  std::printf("mean channel difference between the frames: %.2f\n", difference);
  if (getloadavg(load, 3) > 0) std::printf("load average after: %.2f\n", load[0]);

  for (pixman_image_t* s : solids) pixman_image_unref(s);
  pixman_image_unref(target);
  DeleteDC(dc);
  DeleteObject(oursBitmap);
  return 0;
}
