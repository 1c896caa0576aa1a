// Mark-up text through DrawHtmlText against Pango (pango_layout_set_markup
// with the equivalent tags, the same face, size and wrap width, drawn with
// pango-cairo) on the same kind of 32-bit surface. Goal: no slower than
// Pango in every case.
//
//   bench_htmltext [rounds]
//
// Cases: 20 centred single-line labels; a 2 KB paragraph with 40 tagged
// spans; the same pattern grown to 20 KB. Each is drawn (parse, layout and
// ink, as a paint does it) and measured (parse and layout for the size).
// Both sides run in alternating trials; the fastest trial of each counts.
// The ratio printed is Pango's time over ours: 1 or more meets the goal.
#include <pango/pangocairo.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "manager/CPaintManagerUI.h"
#include "render/CRenderEngine.h"

using namespace SkinUI;

namespace {

constexpr int kTrials = 21;
constexpr int kWrapWidth = 400;
constexpr const char* kFace = "WenQuanYi Micro Hei";
constexpr int kPixelSize = 12;

double BestSeconds(int rounds, const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) work();
  std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  return took.count() / rounds;
}

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// The same text in both mark-ups.
struct Markup {
  std::wstring ours;
  std::string pango;
  void Plain(const std::wstring& text) {
    ours += text;
    pango += Narrow(text);
  }
  // Spans of five kinds: bold, colour, underline, italic and link.
  void Span(int kind, const std::wstring& text) {
    static const wchar_t* const open[] = {L"<b>", L"<c #FF3D7BB8>", L"<u>", L"<i>", L"<a more>"};
    static const wchar_t* const close[] = {L"</b>", L"</c>", L"</u>", L"</i>", L"</a>"};
    static const char* const pangoOpen[] = {"<b>", "<span foreground='#3D7BB8'>", "<u>", "<i>",
                                            "<span foreground='#0000FF' underline='single'>"};
    static const char* const pangoClose[] = {"</b>", "</span>", "</u>", "</i>", "</span>"};
    ours += open[kind] + text + close[kind];
    pango += pangoOpen[kind] + Narrow(text) + pangoClose[kind];
  }
};

const wchar_t* const kWords[] = {L"launcher", L"update", L"package", L"download", L"speed",
                                 L"the",      L"of",     L"game",    L"version",  L"正在下载",
                                 L"解压",     L"skin",   L"window",  L"progress", L"network",
                                 L"retry",    L"file",   L"a",       L"is",       L"complete"};

// A paragraph of about the given number of characters with the given
// number of tagged spans spread evenly.
Markup Paragraph(size_t characters, int spans) {
  size_t letters = 0;
  for (const wchar_t* w : kWords) letters += wcslen(w) + 1;
  const size_t words = characters * std::size(kWords) / letters;
  const size_t every = std::max<size_t>(1, words / spans);
  Markup m;
  int placed = 0;
  for (size_t i = 0; m.ours.size() < characters; ++i) {
    const std::wstring word = kWords[(i * 7) % std::size(kWords)];
    if (i % every == every / 2 && placed < spans)
      m.Span(placed++ % 5, word);
    else
      m.Plain(word);
    m.Plain(L" ");
  }
  return m;
}

struct Label {
  Markup text;
  RECT box;
};

struct Ours {
  CPaintManagerUI manager;
  HDC dc = CreateCompatibleDC(nullptr);
  BYTE* bits = nullptr;
  HBITMAP bitmap;
  Ours(int w, int h) : bitmap(CRenderEngine::CreateBitmap(nullptr, w, h, &bits)) {
    SelectObject(dc, bitmap);
    manager.SetDefaultFont(L"WenQuanYi Micro Hei", kPixelSize, false, false, false);
  }
  RECT Draw(RECT rc, const std::wstring& text, UINT style) {
    int none = 0;
    CRenderEngine::DrawHtmlText(dc, &manager, rc, text.c_str(), 0xFF202020, nullptr, nullptr, none, style);
    return rc;
  }
};

struct Pango {
  cairo_surface_t* surface;
  cairo_t* cr;
  PangoLayout* layout;
  Pango(int w, int h)
      : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h)),
        cr(cairo_create(surface)),
        layout(pango_cairo_create_layout(cr)) {
    PangoFontDescription* font = pango_font_description_from_string(kFace);
    pango_font_description_set_absolute_size(font, kPixelSize * PANGO_SCALE);
    pango_layout_set_font_description(layout, font);
    pango_font_description_free(font);
    cairo_set_source_rgb(cr, 0x20 / 255.0, 0x20 / 255.0, 0x20 / 255.0);
  }
  // Lays out markup in width (-1: one line) and returns its pixel size.
  void Lay(const std::string& markup, int width, PangoAlignment align) {
    pango_layout_set_width(layout, width < 0 ? -1 : width * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_alignment(layout, align);
    pango_layout_set_markup(layout, markup.c_str(), -1);
  }
  void Draw(const std::string& markup, RECT box, bool centred) {
    const int width = box.right - box.left;
    Lay(markup, width, centred ? PANGO_ALIGN_CENTER : PANGO_ALIGN_LEFT);
    int w = 0, h = 0;
    pango_layout_get_pixel_size(layout, &w, &h);
    const int top = centred ? box.top + (box.bottom - box.top - h) / 2 : box.top;
    cairo_move_to(cr, box.left, top);
    pango_cairo_show_layout(cr, layout);
  }
  SIZE Measure(const std::string& markup, int width) {
    Lay(markup, width, PANGO_ALIGN_LEFT);
    int w = 0, h = 0;
    pango_layout_get_pixel_size(layout, &w, &h);
    return SIZE{w, h};
  }
};

struct Result {
  double ours = 1e9, pango = 1e9;
};

void Report(const char* name, const Result& r, bool* met) {
  const double ratio = r.pango / r.ours;
  *met = *met && ratio >= 1.0;
  std::printf("%-34s ours %9.1f us   pango %9.1f us   ratio %5.2f %s\n", name, r.ours * 1e6, r.pango * 1e6,
              ratio, ratio >= 1.0 ? "" : "(slower)");
}

void Compare(int rounds, Result* r, const std::function<void()>& ours, const std::function<void()>& pango) {
  for (int t = 0; t < kTrials; ++t) {
    r->ours = std::min(r->ours, BestSeconds(rounds, ours));
    r->pango = std::min(r->pango, BestSeconds(rounds, pango));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;

  std::vector<Label> labels;
  for (int i = 0; i < 20; ++i) {
    Label label;
    label.text.Span(0, L"Label " + std::to_wstring(i));
    label.text.Plain(L" status ");
    label.text.Span(1, i % 2 ? L"正在下载" : L"complete");
    const int x = (i % 4) * 200, y = (i / 4) * 30;
    label.box = RECT{x, y, x + 190, y + 24};
    labels.push_back(label);
  }
  const Markup small = Paragraph(2048, 40), large = Paragraph(20480, 400);
  std::printf("paragraphs: %zu and %zu characters, %d and %d spans\n", small.ours.size(), large.ours.size(),
              40, 400);

  Ours ours(800, 8000);
  Pango pango(800, 8000);
  const RECT paragraphBox = {0, 0, kWrapWidth, 8000};

  // Both sides agree on the size within a line or two: the same face and
  // the same wrap width.
  const RECT measured = ours.Draw(paragraphBox, small.ours, DT_WORDBREAK | DT_CALCRECT);
  const SIZE theirs = pango.Measure(small.pango, kWrapWidth);
  std::printf("2 KB paragraph: ours %ldx%ld, pango %ldx%ld pixels\n", static_cast<long>(measured.right),
              static_cast<long>(measured.bottom), static_cast<long>(theirs.cx), static_cast<long>(theirs.cy));

  bool met = true;
  Result r;
  Compare(
      rounds, &r,
      [&] {
        for (const Label& l : labels) ours.Draw(l.box, l.text.ours, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
      },
      [&] {
        for (const Label& l : labels) pango.Draw(l.text.pango, l.box, true);
      });
  Report("20 centred labels, draw", r, &met);

  for (const Markup* m : {&small, &large}) {
    const bool isSmall = m == &small;
    const int n = isSmall ? rounds : std::max(1, rounds / 10);
    Result draw, measure;
    Compare(
        n, &draw, [&] { ours.Draw(paragraphBox, m->ours, DT_WORDBREAK); },
        [&] { pango.Draw(m->pango, paragraphBox, false); });
    Report(isSmall ? "2 KB paragraph, 40 spans, draw" : "20 KB paragraph, 400 spans, draw", draw, &met);
    Compare(
        n, &measure, [&] { ours.Draw(paragraphBox, m->ours, DT_WORDBREAK | DT_CALCRECT); },
        [&] { pango.Measure(m->pango, kWrapWidth); });
    Report(isSmall ? "2 KB paragraph, 40 spans, measure" : "20 KB paragraph, 400 spans, measure", measure,
           &met);
  }
  std::printf("goal (no slower than Pango in every case): %s\n", met ? "met" : "not met");
  return 0;
}
