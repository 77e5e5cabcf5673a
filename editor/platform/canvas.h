// Off-screen drawing surfaces with the classic GDI rules: rectangles and
// ellipses given by (left, top, right, bottom) cover left..right-1 and
// top..bottom-1, lines leave out their last pixel (width 1), the drawing keeps
// a current position for MoveTo/LineTo, and text is drawn opaque, black on
// white, with its cell's top left corner at the given point.
#pragma once

#include "platform/region.h"

#include <QFont>
#include <QImage>

#include <string>
#include <string_view>
#include <vector>

class QPainter;

namespace plat {

// 0x00RRGGBB.
using Rgb = unsigned;
constexpr Rgb MakeRgb(int r, int g, int b) {
  return (static_cast<Rgb>(r & 0xFF) << 16) | (static_cast<Rgb>(g & 0xFF) << 8) | static_cast<Rgb>(b & 0xFF);
}
constexpr Rgb kWhite = 0xFFFFFF;
constexpr Rgb kBlack = 0x000000;
// Pixel() outside the surface.
constexpr Rgb kInvalidColor = 0xFFFFFFFF;

struct Pen {
  enum Style { kSolid, kDot, kNull };
  Style style = kSolid;
  int width = 1;
  Rgb rgb = kBlack;

  static Pen Solid(int width, Rgb rgb) { return Pen{kSolid, width, rgb}; }
  static Pen Dot(int width, Rgb rgb) { return Pen{kDot, width, rgb}; }
  static Pen Null() { return Pen{kNull, 1, kBlack}; }
};

struct Brush {
  bool null = true;
  Rgb rgb = kWhite;

  static Brush Solid(Rgb rgb) { return Brush{false, rgb}; }
  static Brush Null() { return Brush{true, kWhite}; }
};

// A font given by face name and cell height in pixels (ascent + descent), as
// the window system's font requests give it.
class Font {
 public:
  Font(const QString& face, int cellHeight);
  // The element label font: "Times New Roman", cell height 30.
  static const Font& Label();
  // The drawing context's default font, for bond numbers: a fixed sans face
  // with a 16-pixel cell.
  static const Font& System();

  const QFont& qfont() const { return font_; }
  int CellHeight() const { return cellHeight_; }
  int Ascent() const { return ascent_; }
  // Width of the text (CP932 bytes) in pixels.
  int TextWidth(std::string_view cp932) const;

 private:
  QFont font_;
  int cellHeight_ = 0;
  int ascent_ = 0;
};

// Opaque text on any painter, as Canvas::TextOut draws it: a white cell of the
// text's width and the font's cell height, black text, top left corner at (x, y).
void PaintText(QPainter& painter, int x, int y, std::string_view cp932, const Font& font);
// An ellipse on any painter, as Canvas::Ellipse draws it: the brush's fill, then the
// pen's outline, in the box left..right-1 x top..bottom-1; nothing for a box less than
// two pixels across.
void PaintEllipse(QPainter& painter, int left, int top, int right, int bottom, const Pen& pen, const Brush& brush);

// One drawing call as the log records it (for tests).
struct DrawOp {
  enum Kind { kText, kLine, kRectangle, kEllipse, kPolygon, kFillPolygon, kFillRegion, kFillWhite, kCopy };
  Kind kind = kText;
  std::string text;             // kText: the CP932 bytes
  std::vector<Point> points;    // kText: 1 (top left); kLine: 2; kRectangle/kEllipse: 2 (left,top),(right,bottom);
                                // kPolygon/kFillPolygon: the corners; kCopy: (src left, top), (w, h), (dst left, top)
  Rgb rgb = kBlack;             // pen or fill colour
  int penWidth = 0;
  Pen::Style penStyle = Pen::kSolid;
};

class Canvas {
 public:
  Canvas(int width, int height);  // white

  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
  const QImage& Image() const { return image_; }
  QImage& Image() { return image_; }

  void FillWhite();
  // Fills left..right-1 x top..bottom-1.
  void FillRect(int left, int top, int right, int bottom, Rgb rgb);
  void FillRegion(const Region& region, Rgb rgb);
  // A winding-rule polygon region filled without outline (its points logged).
  void FillPolygon(const std::vector<Point>& points, Rgb rgb);

  // Opaque text: a white cell of the text's width and the font's cell height
  // with black text, top left corner at (x, y).
  void TextOut(int x, int y, std::string_view cp932, const Font& font);

  void MoveTo(int x, int y);
  Point CurrentPosition() const { return current_; }
  // From the current position to (x, y), which becomes the current position.
  void LineTo(int x, int y, const Pen& pen);
  // MoveTo(x1, y1), LineTo(x2, y2).
  void Line(int x1, int y1, int x2, int y2, const Pen& pen);
  void Rectangle(int left, int top, int right, int bottom, const Pen& pen, const Brush& brush);
  void Ellipse(int left, int top, int right, int bottom, const Pen& pen, const Brush& brush);
  void Polygon(const std::vector<Point>& points, const Pen& pen, const Brush& brush);

  // Copies w x h pixels from (srcLeft, srcTop) of src to (dstLeft, dstTop);
  // the parts outside either surface are left out.
  void CopyFrom(const Canvas& src, int srcLeft, int srcTop, int w, int h, int dstLeft, int dstTop);

  Rgb Pixel(int x, int y) const;

  // The log of drawing calls, off by default.
  void SetLogging(bool on) { logging_ = on; }
  const std::vector<DrawOp>& Log() const { return log_; }
  void ClearLog() { log_.clear(); }

 private:
  void Record(DrawOp op);
  // Records a call drawn with a pen: its kind, points and the pen.
  void RecordPen(DrawOp::Kind kind, std::vector<Point> points, const Pen& pen);
  void StrokeLine(QPainter& p, int x1, int y1, int x2, int y2, const Pen& pen);

  QImage image_;
  Point current_;
  bool logging_ = false;
  std::vector<DrawOp> log_;
};

}  // namespace plat
