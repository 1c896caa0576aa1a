#include <gtest/gtest.h>

#include "render/CImageAttribute.h"

using namespace SkinUI;

namespace {

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

struct Case {
  const wchar_t* text;
  const wchar_t* image;
  const wchar_t* resType;
  RECT dest, source, corner;
  BYTE fade;
  DWORD mask;
  bool hole, xtiled, ytiled;
};

// Plain names stay whole; pairs fill their fields; a broken pair ends the
// parse and keeps what came before it.
const Case kCases[] = {
    {L"bg.png", L"bg.png", L"", {}, {}, {}, 255, 0, false, false, false},
    {L"my picture.png", L"my picture.png", L"", {}, {}, {}, 255, 0, false, false, false},
    {L"a=b.png", L"a=b.png", L"", {}, {}, {}, 255, 0, false, false, false},
    {L"file='btn.png' source='0,0,80,30' corner='4,4,4,4'", L"btn.png", L"", {}, {0, 0, 80, 30}, {4, 4, 4, 4}, 255, 0,
     false, false, false},
    {L"file='a.png' restype='PNG' dest='1,2,3,4' source='5,6,7,8' corner='1,1,2,2' mask='#FFFF00FF' fade='128' "
     L"hole='true' xtiled='true' ytiled='true'",
     L"a.png", L"PNG", {1, 2, 3, 4}, {5, 6, 7, 8}, {1, 1, 2, 2}, 128, 0xFFFF00FF, true, true, true},
    {L"res='101' restype='PNG'", L"101", L"PNG", {}, {}, {}, 255, 0, false, false, false},
    {L"file='a.png' mask='0x00FF00'", L"a.png", L"", {}, {}, {}, 255, 0x00FF00, false, false, false},
    {L"file='a.png' fade='300'", L"a.png", L"", {}, {}, {}, 255, 0, false, false, false},
    {L"file='a.png' fade='-5'", L"a.png", L"", {}, {}, {}, 0, 0, false, false, false},
    {L"file='a.png' hole='TRUE' xtiled='1'", L"a.png", L"", {}, {}, {}, 255, 0, false, false, false},
    // A value without its closing quote ends the parse there.
    {L"file='a.png' dest='1,2,3,4", L"a.png", L"", {}, {}, {}, 255, 0, false, false, false},
    {L"file='a.png", L"file='a.png", L"", {}, {}, {}, 255, 0, false, false, false},
    // Unknown keys and empty values are passed over.
    {L"file='a.png' shadow='x' size='' corner='2,2,2,2'", L"a.png", L"", {}, {}, {2, 2, 2, 2}, 255, 0, false, false,
     false},
    // Short and odd number lists.
    {L"file='a.png' dest='5'", L"a.png", L"", {5, 0, 0, 0}, {}, {}, 255, 0, false, false, false},
    {L"file='a.png' dest='1,2,'", L"a.png", L"", {1, 2, 0, 0}, {}, {}, 255, 0, false, false, false},
    {L"file='a.png' source='99999999999,-3'", L"a.png", L"", {}, {2147483647, -3, 0, 0}, {}, 255, 0, false, false,
     false},
    // Blanks around '=' and between pairs are allowed, but a pair must be
    // followed by a space for the next one to count.
    {L"  file = 'a.png' corner='3,3,3,3'", L"a.png", L"", {}, {}, {3, 3, 3, 3}, 255, 0, false, false, false},
    {L"file='a.png'  corner='3,3,3,3'", L"a.png", L"", {}, {}, {3, 3, 3, 3}, 255, 0, false, false, false},
    {L"file='a.png'\tcorner='3,3,3,3'", L"a.png", L"", {}, {}, {}, 255, 0, false, false, false},
    {L"file='a.png'corner='3,3,3,3'", L"a.png", L"", {}, {}, {}, 255, 0, false, false, false},
    {L"", L"", L"", {}, {}, {}, 255, 0, false, false, false},
};

TEST(CImageAttributeTest, DescriptionStrings) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::Message() << "text: " << c.text);
    CImageAttribute image;
    image.SetAttributeString(c.text);
    EXPECT_STREQ(image.GetAttributeString(), c.text);
    EXPECT_STREQ(image.m_sImage, c.image);
    EXPECT_STREQ(image.m_sResType, c.resType);
    EXPECT_TRUE(Same(image.m_rcDest, c.dest));
    EXPECT_TRUE(Same(image.m_rcSource, c.source));
    EXPECT_TRUE(Same(image.m_rcCorner, c.corner));
    EXPECT_EQ(image.m_bFade, c.fade);
    EXPECT_EQ(image.m_dwMask, c.mask);
    EXPECT_EQ(image.m_bHole, c.hole);
    EXPECT_EQ(image.m_bTiledX, c.xtiled);
    EXPECT_EQ(image.m_bTiledY, c.ytiled);
  }
}

TEST(CImageAttributeTest, NewStringResetsEveryFieldAndEqualStringKeepsThem) {
  CImageAttribute image;
  image.SetAttributeString(L"file='a.png' corner='1,1,1,1' hole='true'");
  image.m_bLoadSuccess = false;
  image.SetAttributeString(L"file='a.png' corner='1,1,1,1' hole='true'");
  EXPECT_FALSE(image.m_bLoadSuccess);  // same text: nothing happened
  image.SetAttributeString(L"file='b.png'");
  EXPECT_TRUE(image.m_bLoadSuccess);
  EXPECT_FALSE(image.m_bHole);
  EXPECT_TRUE(Same(image.m_rcCorner, RECT{0, 0, 0, 0}));
  EXPECT_TRUE(image.IsLoadSuccess());
  image.SetAttributeString(nullptr);
  EXPECT_FALSE(image.IsLoadSuccess());  // an empty description loads nothing
}

TEST(CImageAttributeTest, ModifyKeepsTheOtherFields) {
  CImageAttribute image;
  image.SetAttributeString(L"file='bar.png' corner='2,3,4,5' fade='200' mask='#FF00FF00'");
  CImageAttribute copy(image);
  copy.ModifyAttribute(L"dest='0,0,50,12' source='0,0,50,12'");
  EXPECT_STREQ(copy.m_sImage, L"bar.png");
  EXPECT_TRUE(Same(copy.m_rcCorner, RECT{2, 3, 4, 5}));
  EXPECT_EQ(copy.m_bFade, 200);
  EXPECT_EQ(copy.m_dwMask, 0xFF00FF00u);
  EXPECT_TRUE(Same(copy.m_rcDest, RECT{0, 0, 50, 12}));
  EXPECT_TRUE(Same(copy.m_rcSource, RECT{0, 0, 50, 12}));
  EXPECT_STREQ(copy.GetAttributeString(), image.GetAttributeString());
  // The original is untouched.
  EXPECT_TRUE(Same(image.m_rcDest, RECT{0, 0, 0, 0}));
}

}  // namespace
