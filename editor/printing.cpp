#include "printing.h"

#include "canvas_drawing.h"
#include "document.h"
#include "platform/canvas.h"
#include "platform/file_dialog.h"
#include "platform/fs.h"
#include "platform/message_box.h"
#include "platform/print_dialog.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QScreen>

#include <cstdint>
#include <memory>
#include <new>
#include <string_view>

QString g_lastPrinterName;

namespace {

void ResetPrintingGlobals() { g_lastPrinterName.clear(); }
const EditorResetHook kResetHook(&ResetPrintingGlobals);

constexpr double kDefaultScreenDpi = 96.0;

void PutU16(unsigned char* at, std::uint16_t v) {
  at[0] = static_cast<unsigned char>(v & 0xFF);
  at[1] = static_cast<unsigned char>(v >> 8);
}

void PutU32(unsigned char* at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>((v >> (8 * i)) & 0xFF);
}

// The file header and the information header of a 1500 x 1000, 24-bit,
// uncompressed bitmap with its rows bottom-up. Image size, resolutions and
// colour counts are 0.
void WriteBitmapHeaders(unsigned char* image) {
  image[0] = 'B';
  image[1] = 'M';
  PutU32(image + 2, static_cast<std::uint32_t>(kBitmapFileSize));
  PutU16(image + 6, 0);
  PutU16(image + 8, 0);
  PutU32(image + 10, static_cast<std::uint32_t>(kBitmapHeaderSize));
  PutU32(image + 14, 40);
  PutU32(image + 18, kPictureWidth);
  PutU32(image + 22, kPictureHeight);
  PutU16(image + 26, 1);
  PutU16(image + 28, 24);
  for (int offset = 30; offset < 54; offset += 4) PutU32(image + offset, 0);
}

double ScreenDpi(bool horizontal) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return kDefaultScreenDpi;
  const double dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
  return dpi > 0 ? dpi : kDefaultScreenDpi;
}

}  // namespace

// ---- printing ------------------------------------------------------------------------

void InitPrintDialog(QPrinter& printer) {
  if (!g_lastPrinterName.isEmpty()) printer.setPrinterName(g_lastPrinterName);
  printer.setCopyCount(1);
  printer.setPrintRange(QPrinter::AllPages);
  printer.setFromTo(0, 0);
}

QSize PrintedCanvasSize(double printerDpiX, double printerDpiY, double screenDpiX, double screenDpiY) {
  const double sx = printerDpiX / screenDpiX;
  const double sy = printerDpiY / screenDpiY;
  return QSize(static_cast<int>(kCanvasWidth * sx), static_cast<int>(kCanvasHeight * sy));
}

void PrintCanvas(QWidget* window) {
  if (!g_drawDC) return;
  QPrinter printer(QPrinter::HighResolution);
  InitPrintDialog(printer);
  if (!plat::PrintDialog::Run(window, printer)) return;
  if (printer.outputFormat() == QPrinter::NativeFormat) g_lastPrinterName = printer.printerName();
  printer.setDocName(QString::fromLatin1(kPrintDocumentName));

  if (!printer.isValid()) {
    plat::MessageBox(window, QStringLiteral("Cannot Print Raster Images"), QStringLiteral("Error"), plat::MB_OK);
    return;
  }

  // One page per copy: the printer itself is asked for one copy only.
  const int copies = printer.copyCount();
  printer.setCopyCount(1);
  const QImage canvas = g_drawDC->Image().copy(0, 0, kCanvasWidth, kCanvasHeight);
  const QSize size = PrintedCanvasSize(printer.logicalDpiX(), printer.logicalDpiY(), ScreenDpi(true), ScreenDpi(false));

  // No printer installed, a queue that is gone, a file that cannot be made.
  QPainter painter;
  if (!painter.begin(&printer)) {
    plat::MessageBox(window, QStringLiteral("印刷できませんでした．"), QStringLiteral("エラー"), plat::MB_OK);
    return;
  }
  for (int copy = 0; copy < copies; ++copy) {
    if (copy > 0) printer.newPage();
    painter.drawImage(QRect(QPoint(0, 0), size), canvas);
  }
  painter.end();
}

// ---- bitmap export -----------------------------------------------------------------

void BuildBitmapImage(const plat::Canvas* drawing, unsigned char* image) {
  WriteBitmapHeaders(image);
  if (!drawing) return;
  QImage source = drawing->Image();
  if (source.format() != QImage::Format_RGB32 && source.format() != QImage::Format_ARGB32)
    source = source.convertToFormat(QImage::Format_RGB32);
  for (int row = 0; row < kPictureHeight; ++row) {
    const int y = kPictureTop + kPictureHeight - 1 - row;  // the bottom row comes first
    if (y < 0 || y >= source.height()) continue;
    const QRgb* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
    unsigned char* out = image + kBitmapHeaderSize + static_cast<std::size_t>(row) * kBitmapRowSize;
    for (int x = kPictureLeft; x < kPictureLeft + kPictureWidth && x < source.width(); ++x) {
      const QRgb p = line[x];
      *out++ = static_cast<unsigned char>(qBlue(p));
      *out++ = static_cast<unsigned char>(qGreen(p));
      *out++ = static_cast<unsigned char>(qRed(p));
    }
  }
}

void SavePicture(QWidget* window) {
  std::unique_ptr<unsigned char[]> image(new (std::nothrow) unsigned char[kBitmapFileSize]());
  if (!image) return;
  BuildBitmapImage(g_drawDC, image.get());
  std::size_t written = 0;
  WriteBitmapFile(window, image.get(), kBitmapFileSize, &written);
}

void WriteBitmapFile(QWidget* window, const unsigned char* image, std::size_t size, std::size_t* written) {
  if (written) *written = 0;
  plat::FileDialogOptions options;
  options.title = QStringLiteral("画像を保存");
  options.filters = {{QStringLiteral("bmp File"), QStringLiteral("*.bmp")}};
  options.defaultSuffix = QStringLiteral("bmp");
  options.initialDirectory = plat::fs::ToQString(g_startDirectory);
  options.mustExist = false;  // a new file is the usual choice
  const QString path = plat::FileDialog::Save(window, options);
  if (path.isEmpty()) return;

  // Written whole or not at all: a failed write keeps the old file.
  const bool ok = plat::fs::WriteFileAtomic(plat::fs::FromQString(path),
                                            std::string_view(reinterpret_cast<const char*>(image), size));
  if (ok && written) *written = size;
  if (!g_startDirectory.empty()) plat::fs::SetCurrentDir(g_startDirectory);
  if (!ok)
    plat::MessageBox(window, QStringLiteral("ファイルを保存できませんでした．"), QStringLiteral("エラー"), plat::MB_OK);
}
