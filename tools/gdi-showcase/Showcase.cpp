// gdi-showcase [out.png]: draws every primitive of the drawing layer and a
// few texts (Latin and Chinese, each alignment, ellipsis, wrapping) into a
// PNG (default gdi-showcase.png) for a person to look at. Each panel is
// labelled with what it shows.
#include <cairo.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "Win32.h"

namespace {

constexpr int kWidth = 960, kHeight = 720;
constexpr int kPanel = 240, kCaption = 18;

HFONT MakeFont(const wchar_t* face, LONG height, LONG weight = FW_NORMAL, bool italic = false, bool underline = false) {
  LOGFONTW lf{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  if (face) wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfItalic = italic;
  lf.lfUnderline = underline;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  return CreateFontIndirectW(&lf);
}

struct Panel {
  HDC dc;
  int x, y;  // top-left of the drawing area under the caption
  RECT Rect(int l, int t, int r, int b) const { return {x + l, y + t, x + r, y + b}; }
};

void Fill(HDC dc, RECT r, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void Frame(HDC dc, RECT r, COLORREF color) {
  HPEN pen = CreatePen(PS_SOLID, 1, color);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, r.left, r.top, nullptr);
  LineTo(dc, r.right - 1, r.top);
  LineTo(dc, r.right - 1, r.bottom - 1);
  LineTo(dc, r.left, r.bottom - 1);
  LineTo(dc, r.left, r.top);
  SelectObject(dc, old);
  DeleteObject(pen);
}

// Panel at column c, row r, with its caption.
Panel Begin(HDC dc, HFONT caption, int c, int r, const wchar_t* title) {
  int x = c * kPanel, y = r * kPanel;
  Fill(dc, {x + 2, y + 2, x + kPanel - 2, y + kPanel - 2}, RGB(250, 250, 250));
  HGDIOBJ old = SelectObject(dc, caption);
  SetTextColor(dc, RGB(90, 90, 90));
  SetBkMode(dc, TRANSPARENT);
  TextOutW(dc, x + 6, y + 4, title, static_cast<int>(wcslen(title)));
  SelectObject(dc, old);
  return {dc, x + 6, y + kCaption + 6};
}

void Checker(HDC dc, RECT r, int size) {
  for (int y = r.top; y < r.bottom; y += size)
    for (int x = r.left; x < r.right; x += size)
      Fill(dc, {x, y, std::min<LONG>(x + size, r.right), std::min<LONG>(y + size, r.bottom)},
           ((x - r.left) / size + (y - r.top) / size) % 2 ? RGB(200, 200, 200) : RGB(255, 255, 255));
}

HDC MemoryImage(HDC like, int w, int h, uint32_t** bits, HBITMAP* bitmap) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC dc = CreateCompatibleDC(like);
  void* p = nullptr;
  *bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &p, nullptr, 0);
  *bits = static_cast<uint32_t*>(p);
  SelectObject(dc, *bitmap);
  return dc;
}

void Fills(Panel p) {
  const COLORREF colors[] = {RGB(220, 50, 47), RGB(133, 153, 0), RGB(38, 139, 210), RGB(181, 137, 0)};
  for (int i = 0; i < 4; ++i) Fill(p.dc, p.Rect(i * 55, 0, i * 55 + 50, 40), colors[i]);
  TRIVERTEX h[2] = {{p.x, p.y + 50, 0xFF00, 0x8000, 0, 0xFF00}, {p.x + 225, p.y + 110, 0, 0x4000, 0xC000, 0xFF00}};
  TRIVERTEX v[2] = {{p.x, p.y + 120, 0xFF00, 0xFF00, 0xFF00, 0xFF00}, {p.x + 225, p.y + 190, 0x2000, 0x2000, 0x6000, 0xFF00}};
  GRADIENT_RECT g{0, 1};
  GradientFill(p.dc, h, 2, &g, 1, GRADIENT_FILL_RECT_H);
  GradientFill(p.dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
}

void Blits(Panel p) {
  uint32_t* bits;
  HBITMAP bitmap;
  HDC image = MemoryImage(p.dc, 4, 4, &bits, &bitmap);
  for (int i = 0; i < 16; ++i) bits[i] = (i + i / 4) % 2 ? 0xFF1E3C78 : 0xFFF0C828;
  BitBlt(p.dc, p.x, p.y, 4, 4, image, 0, 0, SRCCOPY);
  SetStretchBltMode(p.dc, COLORONCOLOR);
  StretchBlt(p.dc, p.x + 10, p.y, 100, 100, image, 0, 0, 4, 4, SRCCOPY);
  SetStretchBltMode(p.dc, HALFTONE);
  StretchBlt(p.dc, p.x + 120, p.y, 100, 100, image, 0, 0, 4, 4, SRCCOPY);
  StretchBlt(p.dc, p.x + 219, p.y + 110, -100, 80, image, 0, 0, 4, 4, SRCCOPY);  // mirrored
  StretchBlt(p.dc, p.x + 10, p.y + 110, 100, 80, image, 1, 1, 2, 2, SRCCOPY);  // a part
  DeleteDC(image);
  DeleteObject(bitmap);
}

void AlphaBlends(Panel p) {
  Checker(p.dc, p.Rect(0, 0, 228, 190), 10);
  uint32_t* bits;
  HBITMAP bitmap;
  HDC image = MemoryImage(p.dc, 64, 64, &bits, &bitmap);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      uint32_t a = x * 4;  // premultiplied red fading in from the left
      bits[y * 64 + x] = a << 24 | a << 16 | (y * a / 64) << 8;
    }
  const BYTE constants[] = {255, 160, 80};
  for (int i = 0; i < 3; ++i) {
    AlphaBlend(p.dc, p.x + 8 + i * 72, p.y + 8, 64, 64, image, 0, 0, 64, 64, {AC_SRC_OVER, 0, constants[i], AC_SRC_ALPHA});
    AlphaBlend(p.dc, p.x + 8 + i * 72, p.y + 90, 64, 64, image, 0, 0, 64, 64, {AC_SRC_OVER, 0, constants[i], 0});
  }
  SetStretchBltMode(p.dc, HALFTONE);
  AlphaBlend(p.dc, p.x + 8, p.y + 160, 216, 24, image, 0, 0, 64, 64, {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
  DeleteDC(image);
  DeleteObject(bitmap);
}

void Pens(Panel p) {
  const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT};
  for (int i = 0; i < 5; ++i) {
    HPEN pen = CreatePen(styles[i], 1, RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(p.dc, pen);
    MoveToEx(p.dc, p.x, p.y + 5 + i * 12, nullptr);
    LineTo(p.dc, p.x + 225, p.y + 5 + i * 12);
    SelectObject(p.dc, old);
    DeleteObject(pen);
  }
  for (int w = 1; w <= 5; ++w) {
    HPEN pen = CreatePen(PS_SOLID, w, RGB(38, 139, 210));
    HGDIOBJ old = SelectObject(p.dc, pen);
    MoveToEx(p.dc, p.x + w * 30, p.y + 75, nullptr);
    LineTo(p.dc, p.x + w * 30 + 60, p.y + 185);
    SelectObject(p.dc, old);
    DeleteObject(pen);
  }
}

void Regions(Panel p) {
  HRGN round = CreateRoundRectRgn(p.x, p.y, p.x + 101, p.y + 81, 30, 30);
  HRGN a = CreateRectRgn(p.x + 120, p.y, p.x + 200, p.y + 60);
  HRGN b = CreateRectRgn(p.x + 150, p.y + 30, p.x + 228, p.y + 90);
  HRGN x = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(x, a, b, RGN_XOR);
  HBRUSH green = CreateSolidBrush(RGB(133, 153, 0));
  FillRgn(p.dc, round, green);
  FillRgn(p.dc, x, green);
  // A rounded clip over a gradient and text: everything stays inside.
  HRGN clip = CreateRoundRectRgn(p.x, p.y + 100, p.x + 229, p.y + 191, 40, 40);
  SaveDC(p.dc);
  SelectClipRgn(p.dc, clip);
  TRIVERTEX v[2] = {{p.x, p.y + 100, 0x2000, 0x2000, 0x6000, 0xFF00}, {p.x + 228, p.y + 190, 0x8000, 0x2000, 0x6000, 0xFF00}};
  GRADIENT_RECT g{0, 1};
  GradientFill(p.dc, v, 2, &g, 1, GRADIENT_FILL_RECT_H);
  HFONT big = MakeFont(nullptr, -40, FW_BOLD);
  HGDIOBJ old = SelectObject(p.dc, big);
  SetTextColor(p.dc, RGB(255, 255, 255));
  TextOutW(p.dc, p.x - 10, p.y + 118, L"Clipped 剪裁", 10);
  SelectObject(p.dc, old);
  RestoreDC(p.dc, -1);
  for (HGDIOBJ o : {static_cast<HGDIOBJ>(round), static_cast<HGDIOBJ>(a), static_cast<HGDIOBJ>(b),
                    static_cast<HGDIOBJ>(x), static_cast<HGDIOBJ>(clip), static_cast<HGDIOBJ>(green),
                    static_cast<HGDIOBJ>(big)}) {
    DeleteObject(o);
  }
}

void Fonts(Panel p) {
  struct {
    const wchar_t* face;
    LONG height, weight;
    bool italic, underline;
    const wchar_t* text;
  } samples[] = {
      {nullptr, -12, FW_NORMAL, false, false, L"默认 GUI 字体 Default GUI font"},
      {L"DejaVu Sans", -14, FW_NORMAL, false, false, L"DejaVu Sans 中文回退"},
      {L"DejaVu Serif", -16, FW_BOLD, false, false, L"Bold serif 粗体"},
      {nullptr, -16, FW_NORMAL, true, false, L"Italic 斜体 flow"},
      {nullptr, -16, FW_NORMAL, false, true, L"Underlined 下划线"},
      {L"微软雅黑", -18, FW_NORMAL, false, false, L"正在下载...(45%)"},
      {L"Tahoma", -22, FW_BOLD, false, false, L"提示 again"},
  };
  int y = p.y;
  for (const auto& s : samples) {
    HFONT font = MakeFont(s.face, s.height, s.weight, s.italic, s.underline);
    HGDIOBJ old = SelectObject(p.dc, font);
    SetTextColor(p.dc, RGB(0, 0, 0));
    TextOutW(p.dc, p.x, y, s.text, static_cast<int>(wcslen(s.text)));
    TEXTMETRICW tm;
    GetTextMetricsW(p.dc, &tm);
    y += tm.tmHeight + 4;
    SelectObject(p.dc, old);
    DeleteObject(font);
  }
}

void Alignments(Panel p, HFONT font) {
  HGDIOBJ old = SelectObject(p.dc, font);
  SetTextColor(p.dc, RGB(0, 0, 0));
  const struct {
    UINT format;
    const wchar_t* text;
  } cases[] = {
      {DT_LEFT | DT_TOP, L"左上 left top"},     {DT_CENTER | DT_VCENTER, L"居中 centre"},
      {DT_RIGHT | DT_BOTTOM, L"右下 right bottom"},
  };
  for (int i = 0; i < 3; ++i) {
    RECT r = p.Rect(0, i * 64, 228, i * 64 + 58);
    Frame(p.dc, r, RGB(200, 100, 100));
    DrawTextW(p.dc, cases[i].text, -1, &r, cases[i].format | DT_SINGLELINE);
  }
  SelectObject(p.dc, old);
}

void Wrapping(Panel p, HFONT font) {
  HGDIOBJ old = SelectObject(p.dc, font);
  SetTextColor(p.dc, RGB(0, 0, 0));
  RECT r = p.Rect(0, 0, 228, 40);
  Frame(p.dc, r, RGB(200, 100, 100));
  DrawTextW(p.dc, L"A long label that does not fit in its box", -1, &r, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  r = p.Rect(0, 46, 228, 40 + 46);
  Frame(p.dc, r, RGB(200, 100, 100));
  DrawTextW(p.dc, L"网络连接失败，请检查您的网络设置后重试", -1, &r, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  r = p.Rect(0, 92, 110, 190);
  Frame(p.dc, r, RGB(200, 100, 100));
  DrawTextW(p.dc, L"Words wrap at the last space that fits.", -1, &r, DT_WORDBREAK | DT_CENTER);
  r = p.Rect(118, 92, 228, 190);
  Frame(p.dc, r, RGB(200, 100, 100));
  DrawTextW(p.dc, L"中文在表意文字之间换行，标点不在行首。", -1, &r, DT_WORDBREAK);
  SelectObject(p.dc, old);
}

void GdiplusShapes(Panel p) {
  Gdiplus::Graphics g(p.dc);
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::SolidBrush translucent(Gdiplus::Color(128, 38, 139, 210));
  g.FillRectangle(&translucent, p.x, p.y, 100, 60);
  g.FillRectangle(&translucent, p.x + 50, p.y + 30, 100, 60);
  const Gdiplus::DashStyle dashes[] = {Gdiplus::DashStyleSolid, Gdiplus::DashStyleDash, Gdiplus::DashStyleDot,
                                       Gdiplus::DashStyleDashDot, Gdiplus::DashStyleDashDotDot};
  for (int i = 0; i < 5; ++i) {
    Gdiplus::Pen pen(Gdiplus::Color(255, 0, 0, 0), 2);
    pen.SetDashStyle(dashes[i]);
    g.DrawLine(&pen, p.x + 160, p.y + i * 12 + 4, p.x + 228, p.y + i * 12 + 30);
  }
  Gdiplus::Pen inset(Gdiplus::Color(255, 220, 50, 47), 4);
  inset.SetAlignment(Gdiplus::PenAlignmentInset);
  g.DrawRectangle(&inset, p.x, p.y + 100, 100, 80);
  Gdiplus::Pen centre(Gdiplus::Color(120, 0, 0, 0), 1);
  g.DrawRectangle(&centre, p.x, p.y + 100, 100, 80);
  // The rounded rectangle the render engine strokes.
  int l = p.x + 115, t = p.y + 100, r = p.x + 229, b = p.y + 181, cw = 12, ch = 12;
  Gdiplus::GraphicsPath path;
  path.AddLine(l, b - ch, l, t + ch);
  path.AddArc(l, t, cw * 2, ch * 2, 180, 90);
  path.AddLine(l + cw, t, r - cw, t);
  path.AddArc(r - cw * 2 - 1, t, cw * 2, ch * 2, 270, 90);
  path.AddLine(r - 1, t + ch, r - 1, b - ch);
  path.AddArc(r - cw * 2 - 1, b - ch * 2 - 1, cw * 2, ch * 2, 0, 90);
  path.AddLine(r - cw, b - 1, l + cw, b - 1);
  path.AddArc(l, b - ch * 2 - 1, cw * 2, ch * 2, 90, 90);
  path.CloseFigure();
  Gdiplus::Pen round(Gdiplus::Color(255, 133, 153, 0), 3);
  round.SetAlignment(Gdiplus::PenAlignmentInset);
  g.DrawPath(&round, &path);
}

void GdiplusText(Panel p, HFONT hfont) {
  Gdiplus::Graphics g(p.dc);
  Gdiplus::Font font(p.dc, hfont);
  Gdiplus::SolidBrush black(Gdiplus::Color(255, 0, 0, 0));
  const struct {
    Gdiplus::StringAlignment h, v;
    const wchar_t* text;
  } cases[] = {
      {Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear, L"GDI+ near 左"},
      {Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter, L"GDI+ centre 中"},
      {Gdiplus::StringAlignmentFar, Gdiplus::StringAlignmentFar, L"GDI+ far 右"},
  };
  for (int i = 0; i < 3; ++i) {
    Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
    format.SetAlignment(cases[i].h);
    format.SetLineAlignment(cases[i].v);
    Gdiplus::RectF box(p.x, p.y + i * 46, 228, 40);
    Frame(p.dc, {p.x, p.y + i * 46, p.x + 228, p.y + i * 46 + 40}, RGB(100, 100, 200));
    g.DrawString(cases[i].text, -1, &font, box, &format, &black);
  }
  Gdiplus::StringFormat trimmed(Gdiplus::StringFormat::GenericTypographic());
  trimmed.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
  trimmed.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
  Gdiplus::RectF box(p.x, p.y + 150, 228, 40);
  Frame(p.dc, {p.x, p.y + 150, p.x + 228, p.y + 190}, RGB(100, 100, 200));
  g.DrawString(L"GDI+ trims this rather long label with an ellipsis", -1, &font, box, &trimmed, &black);
}

}  // namespace

int main(int argc, char** argv) {
  const char* out = argc > 1 ? argv[1] : "gdi-showcase.png";
  ULONG_PTR token;
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);

  uint32_t* bits;
  HBITMAP bitmap;
  HDC dc = MemoryImage(nullptr, kWidth, kHeight, &bits, &bitmap);
  Fill(dc, {0, 0, kWidth, kHeight}, RGB(225, 225, 225));
  HFONT caption = MakeFont(nullptr, -11);
  HFONT text = MakeFont(nullptr, -14);

  Fills(Begin(dc, caption, 0, 0, L"FillRect, GradientFill H and V"));
  Blits(Begin(dc, caption, 1, 0, L"BitBlt, StretchBlt colour-on-colour / halftone"));
  AlphaBlends(Begin(dc, caption, 2, 0, L"AlphaBlend 255/160/80, per-pixel / constant"));
  Pens(Begin(dc, caption, 3, 0, L"Pens: styles, widths 1-5"));
  Regions(Begin(dc, caption, 0, 1, L"Regions: round, XOR, rounded clip"));
  Fonts(Begin(dc, caption, 1, 1, L"Fonts: faces, fallback, styles"));
  Alignments(Begin(dc, caption, 2, 1, L"DrawTextW alignment"), text);
  Wrapping(Begin(dc, caption, 3, 1, L"DrawTextW ellipsis and word break"), text);
  GdiplusShapes(Begin(dc, caption, 0, 2, L"Gdiplus: alpha fill, dashes, inset pens, path"));
  GdiplusText(Begin(dc, caption, 1, 2, L"Gdiplus: DrawString alignment, trimming"), text);

  // The DIB's pixels are cairo's ARGB32 layout already.
  cairo_surface_t* surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(bits),
                                                                 CAIRO_FORMAT_ARGB32, kWidth, kHeight, kWidth * 4);
  cairo_status_t status = cairo_surface_write_to_png(surface, out);
  cairo_surface_destroy(surface);
  DeleteObject(caption);
  DeleteObject(text);
  DeleteDC(dc);
  DeleteObject(bitmap);
  Gdiplus::GdiplusShutdown(token);
  if (status != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "gdi-showcase: cannot write %s: %s\n", out, cairo_status_to_string(status));
    return 1;
  }
  std::printf("gdi-showcase: wrote %s\n", out);
  return 0;
}
