// The drawing surface: GDI edges of rectangles, ellipses and lines, opaque
// text cells, region fills, clipped copies and the call log.
#include "platform/canvas.h"

#include "test_plat_values.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

using plat::Brush;
using plat::Canvas;
using plat::Pen;
using plat::Point;
using plat::Rgb;

constexpr Rgb kRed = plat::MakeRgb(255, 0, 0);

// Every pixel of the rectangle has the colour.
bool AllOf(const Canvas& c, int l, int t, int r, int b, Rgb rgb) {
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x)
      if (c.Pixel(x, y) != rgb) return false;
  return true;
}

int CountNot(const Canvas& c, int l, int t, int r, int b, Rgb rgb) {
  int n = 0;
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x)
      if (c.Pixel(x, y) != rgb) ++n;
  return n;
}

TEST(Canvas, StartsWhiteAndAnswersOutsidePixelsAsInvalid) {
  Canvas c(2000, 1414);
  EXPECT_EQ(c.Width(), 2000);
  EXPECT_EQ(c.Height(), 1414);
  EXPECT_EQ(c.Image().format(), QImage::Format_RGB32);
  EXPECT_TRUE(AllOf(c, 0, 0, 40, 40, plat::kWhite));
  EXPECT_EQ(c.Pixel(1999, 1413), plat::kWhite);
  EXPECT_EQ(c.Pixel(2000, 0), plat::kInvalidColor);
  EXPECT_EQ(c.Pixel(-1, 5), plat::kInvalidColor);
}

TEST(Canvas, RectangleCoversLeftTopButNotRightBottomEdge) {
  Canvas c(100, 100);
  c.Rectangle(10, 20, 30, 25, Pen::Solid(1, plat::kBlack), Brush::Solid(kRed));
  // Outline on columns 10 and 29, rows 20 and 24; inside the fill.
  EXPECT_EQ(c.Pixel(10, 20), plat::kBlack);
  EXPECT_EQ(c.Pixel(29, 24), plat::kBlack);
  EXPECT_EQ(c.Pixel(29, 22), plat::kBlack);
  EXPECT_EQ(c.Pixel(15, 22), kRed);
  EXPECT_EQ(c.Pixel(30, 22), plat::kWhite);
  EXPECT_EQ(c.Pixel(15, 25), plat::kWhite);
  EXPECT_EQ(c.Pixel(9, 22), plat::kWhite);
  EXPECT_EQ(c.Pixel(15, 19), plat::kWhite);
}

TEST(Canvas, HollowEllipseTouchesItsBoxButLeavesTheInsideAlone) {
  Canvas c(200, 200);
  c.FillRect(0, 0, 200, 200, plat::kBlack);
  c.FillRect(60, 60, 140, 140, plat::kWhite);
  c.Ellipse(80, 80, 120, 120, Pen::Solid(1, kRed), Brush::Null());
  EXPECT_EQ(c.Pixel(80, 100), kRed);
  EXPECT_EQ(c.Pixel(119, 100), kRed);
  EXPECT_EQ(c.Pixel(100, 80), kRed);
  EXPECT_EQ(c.Pixel(100, 119), kRed);
  EXPECT_EQ(c.Pixel(120, 100), plat::kWhite);
  EXPECT_EQ(c.Pixel(100, 120), plat::kWhite);
  EXPECT_EQ(c.Pixel(100, 100), plat::kWhite);
  EXPECT_EQ(c.Pixel(79, 100), plat::kWhite);
}

TEST(Canvas, ThinLineLeavesOutItsLastPixelAndMovesTheCurrentPosition) {
  Canvas c(50, 50);
  c.MoveTo(5, 10);
  c.LineTo(15, 10, Pen::Solid(1, plat::kBlack));
  EXPECT_TRUE(AllOf(c, 5, 10, 15, 11, plat::kBlack));
  EXPECT_EQ(c.Pixel(15, 10), plat::kWhite);
  EXPECT_EQ(c.CurrentPosition(), (Point{15, 10}));
  // The next line starts where the last one ended.
  c.LineTo(15, 20, Pen::Solid(1, plat::kBlack));
  EXPECT_EQ(c.Pixel(15, 10), plat::kBlack);
  EXPECT_EQ(c.Pixel(15, 19), plat::kBlack);
  EXPECT_EQ(c.Pixel(15, 20), plat::kWhite);
  // A line to its own start draws nothing.
  c.Line(30, 30, 30, 30, Pen::Solid(1, plat::kBlack));
  EXPECT_EQ(c.Pixel(30, 30), plat::kWhite);
}

TEST(Canvas, DottedLinePaintsItsGapsWhite) {
  Canvas c(60, 10);
  c.FillRect(0, 0, 60, 10, plat::kBlack);
  c.Line(0, 5, 50, 5, Pen::Dot(1, plat::MakeRgb(7, 0, 0)));
  int dots = 0, gaps = 0;
  for (int x = 0; x < 50; ++x) {
    const Rgb p = c.Pixel(x, 5);
    if (p == plat::MakeRgb(7, 0, 0)) ++dots;
    else if (p == plat::kWhite) ++gaps;
  }
  EXPECT_GT(dots, 10);
  EXPECT_GT(gaps, 10);
  EXPECT_EQ(dots + gaps, 50);
  EXPECT_EQ(c.Pixel(50, 5), plat::kBlack);
}

TEST(Canvas, DottedRectangleKeepsTheEdgesOfASolidOne) {
  Canvas c(100, 100);
  c.FillRect(0, 0, 100, 100, plat::kBlack);
  const Rgb dot = plat::MakeRgb(7, 0, 0);
  c.Rectangle(10, 10, 40, 30, Pen::Dot(1, dot), Brush::Null());
  auto onOutline = [&](int x, int y) { return c.Pixel(x, y) == dot || c.Pixel(x, y) == plat::kWhite; };
  for (int x = 10; x < 40; ++x) {
    EXPECT_TRUE(onOutline(x, 10)) << x;
    EXPECT_TRUE(onOutline(x, 29)) << x;
  }
  for (int y = 10; y < 30; ++y) {
    EXPECT_TRUE(onOutline(10, y)) << y;
    EXPECT_TRUE(onOutline(39, y)) << y;
  }
  EXPECT_TRUE(AllOf(c, 11, 11, 39, 29, plat::kBlack));  // hollow
  EXPECT_TRUE(AllOf(c, 40, 10, 41, 30, plat::kBlack));
  EXPECT_TRUE(AllOf(c, 10, 30, 40, 31, plat::kBlack));
}

TEST(Canvas, LabelFontHasAThirtyPixelCellOfAMetricCompatibleFace) {
  const plat::Font& f = plat::Font::Label();
  EXPECT_EQ(f.CellHeight(), 30);
  QFontMetrics m(f.qfont());
  EXPECT_EQ(m.ascent() + m.descent(), 30);
  EXPECT_EQ(QFontInfo(f.qfont()).family(), QStringLiteral("Liberation Serif"));
  EXPECT_EQ(f.qfont().pixelSize(), 27);
  EXPECT_EQ(plat::Font::System().CellHeight(), 16);
  EXPECT_LE(QFontMetrics(plat::Font::System().qfont()).height(), 16);
}

TEST(Canvas, TextIsDrawnOpaqueInItsCellFromTheTopLeftCorner) {
  Canvas c(400, 300);
  c.FillRect(0, 0, 400, 300, kRed);
  const plat::Font& f = plat::Font::Label();
  const int w = f.TextWidth("C12");
  ASSERT_GT(w, 20);
  c.TextOut(100, 100, "C12", f);
  // Ink only inside the cell; the cell's background is white; outside nothing changed.
  EXPECT_GT(CountNot(c, 100, 100, 100 + w, 130, plat::kWhite), 40);
  int ink = 0, white = 0, other = 0;
  for (int y = 100; y < 130; ++y)
    for (int x = 100; x < 100 + w; ++x) {
      const Rgb p = c.Pixel(x, y);
      if (p == plat::kBlack) ++ink;
      else if (p == plat::kWhite) ++white;
      else ++other;
    }
  EXPECT_GT(ink, 40);
  EXPECT_GT(white, ink);
  EXPECT_EQ(other, 0);
  EXPECT_TRUE(AllOf(c, 100, 130, 100 + w, 140, kRed));
  EXPECT_TRUE(AllOf(c, 90, 100, 100, 130, kRed));
  EXPECT_TRUE(AllOf(c, 100 + w, 100, 100 + w + 10, 130, kRed));
  EXPECT_TRUE(AllOf(c, 100, 90, 100 + w, 100, kRed));
}

TEST(Canvas, PolygonFillCoversExactlyTheRegionOfThePolygon) {
  Canvas c(300, 200);
  const std::vector<plat::Point> arrow = {{196, 115}, {183, 109}, {183, 115}};
  c.FillPolygon(arrow, plat::MakeRgb(4, 0, 0));
  const plat::Region r = plat::Region::Polygon(arrow);
  int filled = 0;
  for (int y = 100; y < 125; ++y)
    for (int x = 175; x < 205; ++x) {
      const bool in = c.Pixel(x, y) == plat::MakeRgb(4, 0, 0);
      EXPECT_EQ(in, r.Contains(x, y)) << x << "," << y;
      filled += in ? 1 : 0;
    }
  EXPECT_GT(filled, 20);
}

TEST(Canvas, CopyLeavesOutWhatLiesOutsideEitherSurface) {
  Canvas src(50, 50);
  src.FillRect(0, 0, 5, 5, kRed);
  Canvas dst(200, 200);
  // A block starting above and left of the source: only its inside part arrives, shifted.
  dst.CopyFrom(src, -10, -10, 30, 30, 100, 100);
  EXPECT_TRUE(AllOf(dst, 110, 110, 115, 115, kRed));
  EXPECT_EQ(dst.Pixel(109, 110), plat::kWhite);
  EXPECT_EQ(dst.Pixel(115, 110), plat::kWhite);
  // A block running past the target's edge is cut there.
  dst.CopyFrom(src, 0, 0, 50, 50, 197, 197);
  EXPECT_EQ(dst.Pixel(199, 199), kRed);
  // Copies within one surface.
  dst.CopyFrom(dst, 110, 110, 5, 5, 0, 0);
  EXPECT_TRUE(AllOf(dst, 0, 0, 5, 5, kRed));
}

TEST(Canvas, RegionFillAndTheLogOfDrawingCalls) {
  Canvas c(100, 100);
  c.SetLogging(true);
  c.FillRegion(plat::Region::FromRect(10, 10, 20, 20), kRed);
  EXPECT_TRUE(AllOf(c, 10, 10, 20, 20, kRed));
  EXPECT_EQ(c.Pixel(20, 15), plat::kWhite);
  c.TextOut(1, 2, "7", plat::Font::System());
  c.Line(3, 4, 5, 6, Pen::Solid(2, plat::MakeRgb(7, 0, 0)));
  c.Ellipse(1, 2, 3, 4, Pen::Solid(1, kRed), Brush::Null());
  ASSERT_EQ(c.Log().size(), 4u);
  EXPECT_EQ(c.Log()[0].kind, plat::DrawOp::kFillRegion);
  EXPECT_EQ(c.Log()[1].kind, plat::DrawOp::kText);
  EXPECT_EQ(c.Log()[1].text, "7");
  EXPECT_EQ(c.Log()[1].points[0], (Point{1, 2}));
  EXPECT_EQ(c.Log()[2].kind, plat::DrawOp::kLine);
  EXPECT_EQ(c.Log()[2].penWidth, 2);
  EXPECT_EQ(c.Log()[2].points[1].x, 5);
  EXPECT_EQ(c.Log()[3].kind, plat::DrawOp::kEllipse);
  c.ClearLog();
  c.SetLogging(false);
  c.FillWhite();
  EXPECT_TRUE(c.Log().empty());
  EXPECT_TRUE(AllOf(c, 0, 0, 100, 100, plat::kWhite));
}

}  // namespace
