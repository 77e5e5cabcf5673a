#include "platform/canvas.h"

#include "platform/cp932.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <utility>

namespace plat {

namespace {

QColor ToQColor(Rgb rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

QPolygon ToQPolygon(const std::vector<Point>& points) {
  QPolygon poly;
  for (const Point& p : points) poly << QPoint(p.x, p.y);
  return poly;
}

// A painter with the drawing context's defaults: no smoothing, white background.
void PrepareAliased(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  p.setBackground(QBrush(Qt::white));
}

QPen ToQPen(const Pen& pen) {
  if (pen.style == Pen::kNull) return QPen(Qt::NoPen);
  QPen q(ToQColor(pen.rgb));
  q.setStyle(pen.style == Pen::kDot ? Qt::DotLine : Qt::SolidLine);
  if (pen.width <= 1) {
    // One-pixel pens are cosmetic: exact pixel outlines of shapes.
    q.setWidth(1);
    q.setCosmetic(true);
  } else {
    // Wide pens end round, as the window system's geometric pens do.
    q.setWidth(pen.width);
    q.setCapStyle(Qt::RoundCap);
    q.setJoinStyle(Qt::RoundJoin);
  }
  return q;
}

// Strokes an outline: a dotted pen paints its gaps with the white background
// first (Qt's opaque background mode would move the outlines of shapes).
template <class Draw>
void Outline(QPainter& p, const Pen& pen, Draw draw) {
  if (pen.style == Pen::kNull) return;
  p.setBrush(Qt::NoBrush);
  if (pen.style == Pen::kDot) {
    Pen gaps = pen;
    gaps.style = Pen::kSolid;
    gaps.rgb = kWhite;
    p.setPen(ToQPen(gaps));
    draw();
  }
  p.setPen(ToQPen(pen));
  draw();
}

QBrush ToQBrush(const Brush& brush) {
  if (brush.null) return QBrush(Qt::NoBrush);
  return QBrush(ToQColor(brush.rgb));
}

}  // namespace

// ---- Font -------------------------------------------------------------------

Font::Font(const QString& face, int cellHeight) : font_(face), cellHeight_(cellHeight) {
  font_.setStyleStrategy(QFont::NoAntialias);
  font_.setWeight(QFont::Normal);
  font_.setItalic(false);
  font_.setUnderline(false);
  font_.setStrikeOut(false);
  // The largest pixel size whose cell (ascent + descent) fits the requested height.
  int px = cellHeight > 1 ? cellHeight : 1;
  for (; px > 1; --px) {
    font_.setPixelSize(px);
    QFontMetrics m(font_);
    if (m.ascent() + m.descent() <= cellHeight) break;
  }
  font_.setPixelSize(px);
  ascent_ = QFontMetrics(font_).ascent();
}

const Font& Font::Label() {
  static const Font font(QStringLiteral("Times New Roman"), 30);
  return font;
}

const Font& Font::System() {
  static const Font font(QStringLiteral("DejaVu Sans"), 16);
  return font;
}

int Font::TextWidth(std::string_view cp932) const {
  return QFontMetrics(font_).horizontalAdvance(cp932::ToQString(cp932));
}

void PaintText(QPainter& painter, int x, int y, std::string_view cp932, const Font& font) {
  const QString text = cp932::ToQString(cp932);
  painter.setFont(font.qfont());
  const int w = QFontMetrics(font.qfont()).horizontalAdvance(text);
  painter.fillRect(QRect(x, y, w, font.CellHeight()), Qt::white);
  painter.setPen(Qt::black);
  painter.drawText(QPoint(x, y + font.Ascent()), text);
}

void PaintEllipse(QPainter& painter, int left, int top, int right, int bottom, const Pen& pen, const Brush& brush) {
  if (right <= left + 1 || bottom <= top + 1) return;
  const QRect r(left, top, right - left - 1, bottom - top - 1);
  if (!brush.null) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(ToQBrush(brush));
    painter.drawEllipse(r);
  }
  Outline(painter, pen, [&] { painter.drawEllipse(r); });
}

// ---- Canvas -----------------------------------------------------------------

Canvas::Canvas(int width, int height) : image_(width, height, QImage::Format_RGB32) {
  image_.fill(Qt::white);
}

void Canvas::RecordPen(DrawOp::Kind kind, std::vector<Point> points, const Pen& pen) {
  DrawOp op;
  op.kind = kind;
  op.points = std::move(points);
  op.rgb = pen.rgb;
  op.penWidth = pen.width;
  op.penStyle = pen.style;
  Record(std::move(op));
}

void Canvas::Record(DrawOp op) {
  if (logging_) log_.push_back(std::move(op));
}

void Canvas::FillWhite() {
  image_.fill(Qt::white);
  DrawOp op;
  op.kind = DrawOp::kFillWhite;
  op.rgb = kWhite;
  Record(std::move(op));
}

void Canvas::FillRect(int left, int top, int right, int bottom, Rgb rgb) {
  if (right > left && bottom > top) {
    QPainter p(&image_);
    p.fillRect(QRect(left, top, right - left, bottom - top), ToQColor(rgb));
  }
}

void Canvas::FillRegion(const Region& region, Rgb rgb) {
  {
    QPainter p(&image_);
    const QColor c = ToQColor(rgb);
    for (const QRect& r : region.qregion()) p.fillRect(r, c);
  }
  DrawOp op;
  op.kind = DrawOp::kFillRegion;
  op.rgb = rgb;
  Record(std::move(op));
}

void Canvas::FillPolygon(const std::vector<Point>& points, Rgb rgb) {
  {
    const Region region = Region::Polygon(points);
    QPainter p(&image_);
    const QColor c = ToQColor(rgb);
    for (const QRect& r : region.qregion()) p.fillRect(r, c);
  }
  DrawOp op;
  op.kind = DrawOp::kFillPolygon;
  op.points = points;
  op.rgb = rgb;
  Record(std::move(op));
}

void Canvas::TextOut(int x, int y, std::string_view cp932, const Font& font) {
  {
    QPainter p(&image_);
    PrepareAliased(p);
    PaintText(p, x, y, cp932, font);
  }
  DrawOp op;
  op.kind = DrawOp::kText;
  op.text = std::string(cp932);
  op.points = {Point{x, y}};
  Record(std::move(op));
}

void Canvas::MoveTo(int x, int y) { current_ = Point{x, y}; }

void Canvas::StrokeLine(QPainter& p, int x1, int y1, int x2, int y2, const Pen& pen) {
  if (pen.style == Pen::kNull) return;
  if (pen.width <= 1) {
    // A thin line leaves out its last pixel.
    const bool inside = image_.rect().contains(x2, y2);
    const QRgb saved = inside ? image_.pixel(x2, y2) : 0;
    if (x1 != x2 || y1 != y2) Outline(p, pen, [&] { p.drawLine(x1, y1, x2, y2); });
    if (inside) {
      p.end();
      image_.setPixel(x2, y2, saved);
      p.begin(&image_);
      PrepareAliased(p);
    }
  } else if (x1 != x2 || y1 != y2) {
    Outline(p, pen, [&] { p.drawLine(x1, y1, x2, y2); });
  }
}

void Canvas::LineTo(int x, int y, const Pen& pen) {
  {
    QPainter p(&image_);
    PrepareAliased(p);
    StrokeLine(p, current_.x, current_.y, x, y, pen);
  }
  RecordPen(DrawOp::kLine, {current_, Point{x, y}}, pen);
  current_ = Point{x, y};
}

void Canvas::Line(int x1, int y1, int x2, int y2, const Pen& pen) {
  MoveTo(x1, y1);
  LineTo(x2, y2, pen);
}

void Canvas::Rectangle(int left, int top, int right, int bottom, const Pen& pen, const Brush& brush) {
  if (right > left + 1 && bottom > top + 1) {
    QPainter p(&image_);
    PrepareAliased(p);
    // The fill stops one pixel short on the right and bottom; the outline covers that pixel.
    const QRect r(left, top, right - left - 1, bottom - top - 1);
    if (!brush.null) p.fillRect(r, ToQColor(brush.rgb));
    Outline(p, pen, [&] { p.drawRect(r); });
  }
  RecordPen(DrawOp::kRectangle, {Point{left, top}, Point{right, bottom}}, pen);
}

void Canvas::Ellipse(int left, int top, int right, int bottom, const Pen& pen, const Brush& brush) {
  {
    QPainter p(&image_);
    PrepareAliased(p);
    PaintEllipse(p, left, top, right, bottom, pen, brush);
  }
  RecordPen(DrawOp::kEllipse, {Point{left, top}, Point{right, bottom}}, pen);
}

void Canvas::Polygon(const std::vector<Point>& points, const Pen& pen, const Brush& brush) {
  if (points.size() >= 2) {
    QPainter p(&image_);
    PrepareAliased(p);
    const QPolygon poly = ToQPolygon(points);
    if (!brush.null) {
      p.setPen(Qt::NoPen);
      p.setBrush(ToQBrush(brush));
      p.drawPolygon(poly, Qt::OddEvenFill);
    }
    Outline(p, pen, [&] { p.drawPolygon(poly, Qt::OddEvenFill); });
  }
  RecordPen(DrawOp::kPolygon, points, pen);
}

void Canvas::CopyFrom(const Canvas& src, int srcLeft, int srcTop, int w, int h, int dstLeft, int dstTop) {
  DrawOp op;
  op.kind = DrawOp::kCopy;
  op.points = {Point{srcLeft, srcTop}, Point{w, h}, Point{dstLeft, dstTop}};
  // Clip the source block to the source surface, moving the target with it.
  QRect block(srcLeft, srcTop, w, h);
  const QRect clipped = block.intersected(src.image_.rect());
  if (w > 0 && h > 0 && !clipped.isEmpty()) {
    const QPoint target(dstLeft + (clipped.left() - srcLeft), dstTop + (clipped.top() - srcTop));
    if (&src == this) {
      const QImage piece = image_.copy(clipped);
      QPainter p(&image_);
      p.setCompositionMode(QPainter::CompositionMode_Source);
      p.drawImage(target, piece);
    } else {
      QPainter p(&image_);
      p.setCompositionMode(QPainter::CompositionMode_Source);
      p.drawImage(target, src.image_, clipped);
    }
  }
  Record(std::move(op));
}

Rgb Canvas::Pixel(int x, int y) const {
  if (!image_.rect().contains(x, y)) return kInvalidColor;
  return static_cast<Rgb>(image_.pixel(x, y)) & 0xFFFFFFu;
}

}  // namespace plat
