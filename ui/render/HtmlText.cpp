// Mark-up text: runs in fonts and colours, links that report their
// rectangles, inline images, line and paragraph breaks, spacing, raw and
// selected text, laid out line by line with word break, end ellipsis and
// alignment.
//
// Each line is laid out once into pieces (runs, images, an ellipsis) while
// its height is collected; the pieces are then drawn with the final height
// and, for a multi-line centred or right-aligned text, shifted by the line's
// own width. Drawing therefore always agrees with the measure.
//
// Limits that keep hostile mark-up harmless: tag arguments saturate and are
// clamped (offsets and heights to +-9999, font sizes to 1..9999, image frame
// counts to at least 1); every look-ahead stops at the terminator; every
// line consumes at least one character or tag; positions stay within a
// fixed distance of the box, so no sum overflows.
#include <algorithm>
#include <vector>

#include "core/AttributeValues.h"
#include "manager/CPaintManagerUI.h"
#include "render/CImageAttribute.h"
#include "render/CRenderClip.h"
#include "render/CRenderEngine.h"

namespace SkinUI {

namespace {

constexpr LONG kArgumentLimit = 9999;
constexpr LONG kMaxFontSize = 9999;
// How far from the box a position may go; lines stop below it too. Boxes
// are cut to the same range first, so no sum of positions overflows.
constexpr LONGLONG kCoordinateRange = 1 << 28;
constexpr WCHAR kEllipsis[] = L"...";

bool IsOpening(WCHAR ch) { return ch == L'<' || ch == L'{'; }
bool IsClosing(WCHAR ch) { return ch == L'>' || ch == L'}'; }
bool IsTagLetter(WCHAR ch) { return ch >= L'a' && ch <= L'z'; }
bool IsLatinLetter(WCHAR ch) { return (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z'); }
bool IsBlank(WCHAR ch) { return ch == L' ' || ch == L'\t'; }

LONG ClampArgument(LONG value) { return std::clamp(value, -kArgumentLimit, kArgumentLimit); }

LONG ClampCoordinate(LONG value) {
  return static_cast<LONG>(std::clamp<LONGLONG>(value, -kCoordinateRange, kCoordinateRange));
}

COLORREF ToColorRef(DWORD argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

// A tag at the current position. Arguments run from the blank after the
// letter to the first '>' or '}', or to the end of the text.
struct Tag {
  WCHAR letter = 0;
  bool closing = false;
  LPCWSTR args = nullptr;
  LPCWSTR argsEnd = nullptr;
  LPCWSTR next = nullptr;
};

// Each test reads a unit only after the one before it proved not to be the
// terminator.
bool ReadTag(LPCWSTR p, Tag* tag) {
  if (!IsOpening(p[0])) return false;
  if (p[1] == L'/') {
    if (!IsTagLetter(p[2]) || !IsClosing(p[3])) return false;
    *tag = Tag{p[2], true, p + 3, p + 3, p + 4};
    return true;
  }
  if (!IsTagLetter(p[1]) || !(p[2] == L' ' || IsClosing(p[2]))) return false;
  LPCWSTR end = p + 2;
  while (*end != L'\0' && !IsClosing(*end)) ++end;
  *tag = Tag{p[1], false, p + 2, end, *end != L'\0' ? end + 1 : end};
  return true;
}

// The character a three-unit escape stands for, or 0.
WCHAR ReadEscape(LPCWSTR p) {
  if (p[0] == L'<' && (p[1] == L'{' || p[1] == L'}') && p[2] == L'>') return p[1];
  if (p[0] == L'{' && (p[1] == L'<' || p[1] == L'>') && p[2] == L'}') return p[1];
  return 0;
}

bool IsRawEnd(LPCWSTR p) { return IsOpening(p[0]) && p[1] == L'/' && p[2] == L'r' && IsClosing(p[3]); }

LPCWSTR SkipBlanks(LPCWSTR p, LPCWSTR end) {
  while (p < end && IsBlank(*p)) ++p;
  return p;
}

LPCWSTR SkipWord(LPCWSTR p, LPCWSTR end) {
  while (p < end && !IsBlank(*p)) ++p;
  return p;
}

// One drawable part of a line, positioned relative to the unshifted line.
struct Piece {
  enum Kind { kText, kImage } kind = kText;
  LONG x = 0;
  LONG width = 0;
  TFontInfo* font = nullptr;
  DWORD colour = 0;
  bool selected = false;
  LPCWSTR text = nullptr;
  int length = 0;
  const TImageInfo* image = nullptr;
  RECT source = {0, 0, 0, 0};
};

class HtmlLayout {
 public:
  HtmlLayout(HDC hDC, CPaintManagerUI* pManager, const RECT& box, DWORD dwTextColor, UINT uStyle)
      : m_hDC(hDC),
        m_pManager(pManager),
        m_box(box),
        m_dwTextColor(dwTextColor),
        m_uStyle(uStyle),
        m_bDraw((uStyle & DT_CALCRECT) == 0),
        m_bSingleLine((uStyle & DT_SINGLELINE) != 0),
        m_pDefaultFont(pManager->GetDefaultFontInfo()),
        m_nMaxRight(box.left),
        m_nImageBottom(box.top),
        m_nBottom(box.top) {}
  HtmlLayout(const HtmlLayout&) = delete;
  HtmlLayout& operator=(const HtmlLayout&) = delete;
  ~HtmlLayout() {
    if (m_hOldFont != nullptr) ::SelectObject(m_hDC, m_hOldFont);
  }

  // The link arrays of the caller, and the link under the mouse as the
  // last painting recorded it (its text decides the hover colour).
  void SetLinks(RECT* pLinks, CDuiString* sLinks, int nCapacity) {
    m_pLinks = pLinks;
    m_sLinks = sLinks;
    m_nCapacity = nCapacity;
    const POINT pt = m_pManager->GetMousePos();
    for (int i = 0; i < nCapacity; ++i)
      if (::PtInRect(&pLinks[i], pt)) {
        m_bHover = true;
        m_sHoverLink = sLinks[i];
        break;
      }
  }

  void Run(LPCWSTR pstrText) {
    m_p = pstrText;
    LONG top = m_box.top;
    while (*m_p != L'\0') {
      LayOutLine(top);
      if (m_bDraw) DrawLine(top);
      top += m_nLineHeight;
      if (m_bSingleLine || (m_bDraw && top >= m_box.bottom) || top - m_box.top > kCoordinateRange) break;
    }
    m_nBottom = std::max<LONG>(top, m_nImageBottom);
  }

  int LinkCount() const { return m_nLinks; }
  LONG Right() const { return m_nMaxRight; }
  LONG Bottom() const { return m_nBottom; }

 private:
  enum class Step { kContinue, kLineEnd };

  TFontInfo* Font() const { return m_fonts.empty() ? m_pDefaultFont : m_fonts.back(); }
  DWORD Colour() const { return m_colours.empty() ? m_dwTextColor : m_colours.back(); }
  LONG Spacing() const { return m_spacings.empty() ? 0 : m_spacings.back(); }
  bool LineEmpty() const { return m_x == m_box.left; }

  void Select(TFontInfo* font) {
    if (font->hFont == m_hSelected) return;
    HGDIOBJ old = ::SelectObject(m_hDC, font->hFont);
    if (m_hOldFont == nullptr) m_hOldFont = old;
    m_hSelected = font->hFont;
  }

  // The font's metrics, measured on this context when the manager has no
  // paint context to measure them on.
  const TEXTMETRICW& Metrics(TFontInfo* font) {
    if (font->tm.tmHeight == 0) {
      Select(font);
      ::GetTextMetricsW(m_hDC, &font->tm);
    }
    return font->tm;
  }

  LONG FontLineHeight(TFontInfo* font) {
    const TEXTMETRICW& tm = Metrics(font);
    return tm.tmHeight + tm.tmExternalLeading;
  }

  void RaiseLineHeight(LONGLONG height) {
    m_nLineHeight =
        std::max(m_nLineHeight, static_cast<LONG>(std::clamp<LONGLONG>(height, 1, kCoordinateRange)));
  }

  void Advance(LONGLONG dx) {
    m_x = static_cast<LONG>(
        std::clamp<LONGLONG>(m_x + dx, m_box.left - kCoordinateRange, m_box.right + kCoordinateRange));
    m_nLineRight = std::max(m_nLineRight, m_x);
  }

  // [SECTION] Lines

  void LayOutLine(LONG top) {
    m_pieces.clear();
    m_x = m_box.left;
    m_nLineRight = m_box.left;
    m_nLineHeight = 1;
    RaiseLineHeight(FontLineHeight(Font()) + Spacing());
    m_nLineTop = top;
    m_nFirstLink = m_nLinks;
    const LPCWSTR start = m_p;
    while (*m_p != L'\0' && Item(start) == Step::kContinue) {
    }
    EndLine();
  }

  void EndLine() {
    // A link still open goes on with a rectangle on the next line.
    if (m_bLinkOpen) {
      RecordLink();
      m_nLinkStart = m_box.left;
      if (*m_p == L'\0') m_bLinkOpen = false;
    }
    m_nShift = 0;
    if (!m_bSingleLine && (m_uStyle & (DT_CENTER | DT_RIGHT)) != 0) {
      const LONG spare = m_box.right - InkRight();
      m_nShift = (m_uStyle & DT_CENTER) ? spare / 2 : spare;
    }
    for (int i = m_nFirstLink; i < std::min(m_nLinks, m_nCapacity); ++i) {
      m_pLinks[i].left += m_nShift;
      m_pLinks[i].right += m_nShift;
      m_pLinks[i].bottom = m_nLineTop + m_nLineHeight;
    }
    m_nMaxRight = std::max(m_nMaxRight, m_nLineRight);
  }

  // Where the line's content ends, without the blanks a wrap left at its
  // end, so that aligned lines are placed by what they show.
  LONG InkRight() {
    LONG right = m_nLineRight;
    for (auto piece = m_pieces.rbegin(); piece != m_pieces.rend(); ++piece) {
      if (piece->kind != Piece::kText || piece->x + piece->width != right) break;
      int length = piece->length;
      while (length > 0 && piece->text[length - 1] == L' ') --length;
      if (length == piece->length) break;
      Select(piece->font);
      right = piece->x + Extent(piece->text, length);
      if (length > 0) break;
    }
    return right;
  }

  void DrawLine(LONG top) {
    for (const Piece& piece : m_pieces) {
      const LONG x = piece.x + m_nShift;
      if (piece.kind == Piece::kImage) {
        const LONG height = piece.image->nY;
        const LONG imageTop =
            height < m_nLineHeight ? top + (m_nLineHeight - height) / 2 : top + m_nLineHeight - height;
        const RECT rc = {x, imageTop, x + piece.width, imageTop + height};
        RECT paint;
        if (!::IntersectRect(&paint, &rc, &m_box)) continue;
        CRenderEngine::DrawImage(m_hDC, piece.image->hBitmap, rc, paint, piece.source, RECT{0, 0, 0, 0},
                                 piece.image->alphaChannel || m_pManager->IsLayeredWindow());
        continue;
      }
      Select(piece.font);
      ::SetTextColor(m_hDC, ToColorRef(piece.colour));
      ::SetBkMode(m_hDC, piece.selected ? OPAQUE : TRANSPARENT);
      const TEXTMETRICW& tm = Metrics(piece.font);
      ::TextOutW(m_hDC, x, top + m_nLineHeight - tm.tmHeight - tm.tmExternalLeading, piece.text,
                 piece.length);
    }
  }

  // [SECTION] Items

  // Lays out what starts at m_p; kLineEnd leaves m_p at what the next line
  // starts with.
  Step Item(LPCWSTR lineStart) {
    if (*m_p == L'\r') {
      ++m_p;
      return Step::kContinue;
    }
    if (*m_p == L'\n') {
      ++m_p;
      return m_bSingleLine ? Step::kContinue : Step::kLineEnd;
    }
    if (m_bRaw) {
      if (IsRawEnd(m_p)) {
        m_p += 4;
        m_bRaw = false;
        return Step::kContinue;
      }
      return Text(m_p == lineStart);
    }
    // An escape draws its middle unit.
    if (ReadEscape(m_p) != 0) return TextRun(m_p == lineStart, m_p + 1, 1, m_p + 3);
    Tag tag;
    if (ReadTag(m_p, &tag)) return tag.closing ? CloseTag(tag) : OpenTag(tag);
    return Text(m_p == lineStart);
  }

  Step OpenTag(const Tag& tag) {
    const LPCWSTR args = SkipBlanks(tag.args, tag.argsEnd);
    switch (tag.letter) {
      case L'a':
        if (m_bLinkOpen) RecordLink();  // a nested link closes the open one
        OpenLink(CDuiString(args, static_cast<int>(tag.argsEnd - args)));
        break;
      case L'b':
        PushVariant(true, false, false);
        break;
      case L'c':
        m_colours.push_back(ParseColor(args));
        break;
      case L'f':
        PushFont(args, tag.argsEnd);
        break;
      case L'i':
        if (args == tag.argsEnd) {
          PushVariant(false, false, true);
          break;
        }
        if (!PlaceImage(args, tag.argsEnd)) return Step::kLineEnd;  // tried again on the next line
        break;
      case L'n':
        m_p = tag.next;
        return m_bSingleLine ? Step::kContinue : Step::kLineEnd;
      case L'p':
        if (!LineEmpty() && !m_bSingleLine) return Step::kLineEnd;
        m_spacings.push_back(ClampArgument(ParseInt(args)));
        RaiseLineHeight(FontLineHeight(Font()) + Spacing());
        break;
      case L'r':
        m_bRaw = true;
        break;
      case L's':
        m_bSelected = !m_bSelected;
        break;
      case L'u':
        PushVariant(false, true, false);
        break;
      case L'x':
        Advance(ClampArgument(ParseInt(args)));
        break;
      case L'y':
        m_nLineHeight = std::max<LONG>(1, ClampArgument(ParseInt(args)));
        break;
      default:
        break;  // unknown tags are skipped
    }
    m_p = tag.next;
    return Step::kContinue;
  }

  Step CloseTag(const Tag& tag) {
    m_p = tag.next;
    switch (tag.letter) {
      case L'a':
        if (m_bLinkOpen) {
          RecordLink();
          m_bLinkOpen = false;
        }
        if (!m_colours.empty()) m_colours.pop_back();
        PopFont();
        break;
      case L'b':
      case L'f':
      case L'i':
      case L'u':
        PopFont();
        break;
      case L'c':
        if (!m_colours.empty()) m_colours.pop_back();
        break;
      case L'p':
        if (!m_spacings.empty()) m_spacings.pop_back();
        if (!LineEmpty() && !m_bSingleLine) return Step::kLineEnd;
        break;
      case L's':
        m_bSelected = !m_bSelected;
        break;
      default:
        break;
    }
    return Step::kContinue;
  }

  // [SECTION] Fonts

  void Push(TFontInfo* font) {
    if (font == nullptr) return;
    m_fonts.push_back(font);
    RaiseLineHeight(FontLineHeight(font) + Spacing());
  }

  TFontInfo* Find(LPCWSTR name, int size, bool bold, bool underline, bool italic) {
    HFONT hFont = m_pManager->GetFont(name, size, bold, underline, italic);
    if (hFont == nullptr) hFont = m_pManager->AddFont(name, size, bold, underline, italic);
    return hFont != nullptr ? m_pManager->GetFontInfo(hFont) : nullptr;
  }

  void PushVariant(bool bold, bool underline, bool italic) {
    TFontInfo* font = Font();
    if ((bold && font->bBold) || (underline && font->bUnderline) || (italic && font->bItalic)) return;
    Push(Find(font->sFontName, font->iSize, font->bBold || bold, font->bUnderline || underline,
              font->bItalic || italic));
  }

  // A font index, or a face name with an optional size and style words.
  void PushFont(LPCWSTR args, LPCWSTR end) {
    if (args < end && *args >= L'0' && *args <= L'9') {
      Push(m_pManager->GetFontInfo(ParseInt(args)));
      return;
    }
    const LPCWSTR nameEnd = SkipWord(args, end);
    if (nameEnd == args) return;
    const CDuiString name(args, static_cast<int>(nameEnd - args));
    LPCWSTR rest = SkipBlanks(nameEnd, end);
    LONG size = 10;
    if (rest < end && *rest >= L'0' && *rest <= L'9') {
      size = std::clamp<LONG>(ParseInt(rest), 1, kMaxFontSize);
      rest = SkipWord(rest, end);
    }
    CDuiString words(rest, static_cast<int>(end - rest));
    words.MakeLower();
    Push(Find(name, size, words.Find(L"bold") >= 0, words.Find(L"underline") >= 0,
              words.Find(L"italic") >= 0));
  }

  // Leaving an italic font for an upright one makes room for its slant.
  void PopFont() {
    TFontInfo* before = Font();
    if (!m_fonts.empty()) m_fonts.pop_back();
    if (!before->bItalic || Font()->bItalic) return;
    Select(before);
    ABC abc = {};
    if (::GetCharABCWidthsW(m_hDC, L' ', L' ', &abc)) Advance(abc.abcC / 2);
  }

  // [SECTION] Links

  void OpenLink(const CDuiString& text) {
    m_bLinkOpen = true;
    m_nLinkStart = m_x;
    m_sLink = text;
    const bool hover = m_bHover && m_sHoverLink == text.GetData();
    m_colours.push_back(hover ? m_pManager->GetDefaultLinkHoverFontColor()
                              : m_pManager->GetDefaultLinkFontColor());
    PushVariant(false, true, false);
  }

  // Records the open link's rectangle on this line while slots remain; its
  // bottom is set when the line ends.
  void RecordLink() {
    if (m_nLinks >= m_nCapacity) return;
    m_pLinks[m_nLinks] = RECT{m_nLinkStart, m_nLineTop, m_x, m_nLineTop};
    m_sLinks[m_nLinks] = m_sLink;
    ++m_nLinks;
  }

  // [SECTION] Images

  // False when the image does not fit on a line that already has content:
  // the tag then starts the next line.
  bool PlaceImage(LPCWSTR args, LPCWSTR end) {
    const CDuiString description(args, static_cast<int>(end - args));
    CDuiString name, type;
    LONG count = 1, index = 0;
    if (description.Find(L'=') >= 0) {
      CImageAttribute attribute;
      attribute.SetAttributeString(description);
      name = attribute.m_sImage;
      type = attribute.m_sResType;
    } else {
      const LPCWSTR nameEnd = SkipWord(args, end);
      name.Assign(args, static_cast<int>(nameEnd - args));
      LPCWSTR rest = SkipBlanks(nameEnd, end);
      if (rest < end) {
        count = std::max<LONG>(1, ParseInt(rest));
        rest = SkipBlanks(SkipWord(rest, end), end);
        index = ParseInt(rest);
        if (index < 0 || index >= count) index = 0;
      }
    }
    const TImageInfo* image = m_pManager->GetImageEx(name, type.IsEmpty() ? nullptr : type.GetData(), 0);
    if (image == nullptr || image->hBitmap == nullptr) return true;  // skipped
    const LONG width = image->nX / count;
    if (m_x + width > m_box.right && !LineEmpty() && !m_bSingleLine) return false;
    Piece piece;
    piece.kind = Piece::kImage;
    piece.x = m_x;
    piece.width = width;
    piece.image = image;
    piece.source = RECT{index * width, 0, index * width + width, image->nY};
    m_pieces.push_back(piece);
    RaiseLineHeight(image->nY);
    m_nImageBottom = std::max<LONG>(m_nImageBottom, m_nLineTop + std::min<LONG>(image->nY, kCoordinateRange));
    Advance(width);
    return true;
  }

  // [SECTION] Text

  // A space on its own, or a run up to the next tag start, newline or end
  // (in raw mode up to the raw end); a bracket that starts no tag is text.
  Step Text(bool lineStart) {
    if (*m_p == L' ') return TextRun(lineStart, m_p, 1, m_p + 1);
    LPCWSTR end = m_p + 1;
    if (m_bRaw) {
      while (*end != L'\0' && *end != L'\n' && *end != L'\r' && !IsRawEnd(end)) ++end;
    } else {
      while (*end != L'\0' && *end != L'\n' && *end != L'\r' && !IsOpening(*end)) ++end;
    }
    return TextRun(lineStart, m_p, static_cast<int>(end - m_p), end);
  }

  LONG Extent(LPCWSTR text, int length) {
    SIZE size = {0, 0};
    ::GetTextExtentPoint32W(m_hDC, text, length, &size);
    return size.cx;
  }

  // Lays out text[0, length) in the current font; after is where the
  // source continues when the whole run is taken, lineStart whether nothing
  // of this line was taken yet.
  Step TextRun(bool lineStart, LPCWSTR text, int length, LPCWSTR after) {
    TFontInfo* font = Font();
    Select(font);
    const LONG available = m_box.right - m_x;
    // Far from the edge one measure does; a character drawn from another
    // face may still be wider than the font's widest, so it is checked.
    if (static_cast<LONGLONG>(length) * Metrics(font).tmMaxCharWidth < available) {
      const LONG width = Extent(text, length);
      if (width <= available) {
        AddText(font, text, length, width);
        m_p = after;
        return Step::kContinue;
      }
    }
    m_extents.resize(static_cast<size_t>(length));
    int fit = 0;
    SIZE size = {0, 0};
    ::GetTextExtentExPointW(m_hDC, text, length, std::max<LONG>(available, 0), &fit, m_extents.data(), &size);
    if (fit >= length) {
      AddText(font, text, length, size.cx);
      m_p = after;
      return Step::kContinue;
    }
    auto width = [&](int n) { return n > 0 ? m_extents[n - 1] : 0; };
    int cut = fit;
    if (LineEmpty()) cut = m_bSingleLine ? fit + 1 : std::max(fit, 1);
    if (m_uStyle & DT_WORDBREAK) {
      // After the last non-letter that fits; a space just past the edge
      // ends the line too.
      int lastBreak = text[fit] == L' ' ? fit + 1 : 0;
      for (int i = fit - 1; i >= 0 && lastBreak == 0; --i)
        if (!IsLatinLetter(text[i])) lastBreak = i + 1;
      if (lastBreak > 0)
        cut = lastBreak;
      else if (!m_bSingleLine && !LineEmpty())
        cut = 0;  // the word moves to the next line whole
    }
    if (cut == 0 && lineStart) cut = 1;  // every line takes something
    if (m_uStyle & DT_END_ELLIPSIS) {
      const LONG dots = Extent(kEllipsis, 3);
      while (cut > 0 && width(cut) + dots > available) --cut;
      if (cut > 0) AddText(font, text, cut, width(cut));
      MakeRoomForEllipsis(dots);
      AddText(font, kEllipsis, 3, dots);
      if (cut == 0 && lineStart) cut = 1;
      m_x = m_box.right;
      m_nLineRight = std::max(m_nLineRight, m_x);
    } else if (cut > 0) {
      AddText(font, text, cut, width(cut));
    }
    // Nothing taken leaves an escape whole for the next line.
    if (cut >= length)
      m_p = after;
    else if (cut > 0)
      m_p = text + cut;
    return Step::kLineEnd;
  }

  void AddText(TFontInfo* font, LPCWSTR text, int length, LONG width) {
    Piece piece;
    piece.x = m_x;
    piece.width = width;
    piece.font = font;
    piece.colour = Colour();
    piece.selected = m_bSelected;
    piece.text = text;
    piece.length = length;
    m_pieces.push_back(piece);
    Advance(width);
  }

  // Takes characters (and images) off the end of the line until an
  // ellipsis of the given width fits before the right edge.
  void MakeRoomForEllipsis(LONG dots) {
    const LONG limit = m_box.right - dots;
    while (!m_pieces.empty()) {
      Piece& last = m_pieces.back();
      if (last.x + last.width <= limit) break;
      if (last.kind == Piece::kText && last.x < limit) {
        Select(last.font);
        m_extents.resize(static_cast<size_t>(last.length));
        int fit = 0;
        SIZE size = {0, 0};
        ::GetTextExtentExPointW(m_hDC, last.text, last.length, limit - last.x, &fit, m_extents.data(), &size);
        if (fit > 0) {
          last.length = fit;
          last.width = m_extents[fit - 1];
          break;
        }
      }
      m_pieces.pop_back();
    }
    m_x = m_pieces.empty() ? std::min(m_x, std::max(m_box.left, limit))
                           : m_pieces.back().x + m_pieces.back().width;
    Select(Font());
  }

  HDC m_hDC;
  CPaintManagerUI* m_pManager;
  RECT m_box;
  DWORD m_dwTextColor;
  UINT m_uStyle;
  bool m_bDraw;
  bool m_bSingleLine;
  TFontInfo* m_pDefaultFont;
  HGDIOBJ m_hOldFont = nullptr;
  HFONT m_hSelected = nullptr;

  // Where the text is, and the state carried from line to line.
  LPCWSTR m_p = nullptr;
  std::vector<TFontInfo*> m_fonts;
  std::vector<DWORD> m_colours;
  std::vector<LONG> m_spacings;
  bool m_bRaw = false;
  bool m_bSelected = false;

  // The line being laid out.
  std::vector<Piece> m_pieces;
  std::vector<int> m_extents;
  LONG m_x = 0;
  LONG m_nLineTop = 0;
  LONG m_nLineHeight = 1;
  LONG m_nLineRight = 0;
  LONG m_nShift = 0;
  int m_nFirstLink = 0;

  // Links: the caller's slots, the open link, the hovered one.
  RECT* m_pLinks = nullptr;
  CDuiString* m_sLinks = nullptr;
  int m_nCapacity = 0;
  int m_nLinks = 0;
  bool m_bLinkOpen = false;
  LONG m_nLinkStart = 0;
  CDuiString m_sLink;
  bool m_bHover = false;
  CDuiString m_sHoverLink;

  // The extent of everything laid out.
  LONG m_nMaxRight;
  LONG m_nImageBottom;
  LONG m_nBottom;
};

}  // namespace

void CRenderEngine::DrawHtmlText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCWSTR pstrText,
                                 DWORD dwTextColor, RECT* pLinks, CDuiString* sLinks, int& nLinkRects,
                                 UINT uStyle) {
  const int nCapacity = pLinks != nullptr && sLinks != nullptr ? std::max(nLinkRects, 0) : 0;
  nLinkRects = 0;
  if (hDC == nullptr || pManager == nullptr || pstrText == nullptr || ::IsRectEmpty(&rc)) return;
  rc = RECT{ClampCoordinate(rc.left), ClampCoordinate(rc.top), ClampCoordinate(rc.right),
            ClampCoordinate(rc.bottom)};
  const bool bDraw = (uStyle & DT_CALCRECT) == 0;

  if (bDraw && (uStyle & (DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM)) != 0) {
    // The size first: a single line at its natural width, several lines
    // wrapped in the box. Wider or taller than the box counts as the box.
    const bool single = (uStyle & DT_SINGLELINE) != 0;
    RECT measure = {0, 0, single ? 9999 : rc.right - rc.left, 100};
    int none = 0;
    DrawHtmlText(hDC, pManager, measure, pstrText, dwTextColor, nullptr, nullptr, none, uStyle | DT_CALCRECT);
    const LONG width = std::min(measure.right - measure.left, rc.right - rc.left);
    const LONG height = std::min(measure.bottom - measure.top, rc.bottom - rc.top);
    if (single) {
      if (uStyle & DT_CENTER) {
        rc.left += (rc.right - rc.left - width) / 2;
        rc.right = rc.left + width;
      } else if (uStyle & DT_RIGHT) {
        rc.left = rc.right - width;
      }
    }
    if (uStyle & DT_VCENTER) {
      rc.top += (rc.bottom - rc.top - height) / 2;
      rc.bottom = rc.top + height;
    } else if (uStyle & DT_BOTTOM) {
      rc.top = rc.bottom - height;
    }
    if (::IsRectEmpty(&rc)) return;
  }

  HtmlLayout layout(hDC, pManager, rc, dwTextColor, uStyle);
  if (nCapacity > 0) layout.SetLinks(pLinks, sLinks, nCapacity);
  if (bDraw) {
    ::SetTextColor(hDC, ToColorRef(dwTextColor));
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetBkColor(hDC, ToColorRef(pManager->GetDefaultSelectedBkColor()));
    CRenderClip clip;
    CRenderClip::GenerateClip(hDC, rc, clip);
    layout.Run(pstrText);
  } else {
    layout.Run(pstrText);
    rc.right = std::min(rc.right, layout.Right());
    rc.bottom = layout.Bottom();
  }
  nLinkRects = layout.LinkCount();
}

}  // namespace SkinUI
