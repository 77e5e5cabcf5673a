// Printing the canvas and saving it as a 24-bit bitmap.
//
// Both take the picture from the off-screen drawing (g_drawDC), never from the
// window, so the scroll position and whatever covers the window do not matter.
#pragma once

#include <QSize>
#include <QString>

#include <cstddef>

class QPrinter;
class QWidget;
namespace plat {
class Canvas;
}

// ---- printing ------------------------------------------------------------------------
inline constexpr char kPrintDocumentName[] = "Printing bitmaps";

// The printer chosen last ("" before the first print): preselected next time,
// with its default settings.
extern QString g_lastPrinterName;

// Prepares printer for the print dialog: the printer chosen last, one copy.
void InitPrintDialog(QPrinter& printer);
// The print dialog, then the whole canvas (2000 x 1414) on one page per copy,
// at the screen's scale (not fitted to the page). A cancelled dialog prints nothing;
// a printer that cannot be opened shows "印刷できませんでした．".
void PrintCanvas(QWidget* window);
// The printed size of the canvas: each side times printer dpi / screen dpi,
// truncated toward zero.
QSize PrintedCanvasSize(double printerDpiX, double printerDpiY, double screenDpiX, double screenDpiY);

// ---- bitmap export -----------------------------------------------------------------
// The picture: the drawing's rectangle x 0..1499, y 30..1029.
inline constexpr int kPictureLeft = 0;
inline constexpr int kPictureTop = 30;
inline constexpr int kPictureWidth = 1500;
inline constexpr int kPictureHeight = 1000;
inline constexpr std::size_t kBitmapHeaderSize = 54;
inline constexpr std::size_t kBitmapRowSize = (kPictureWidth * 3 + 3) / 4 * 4;  // 4500
inline constexpr std::size_t kBitmapFileSize = kBitmapHeaderSize + kBitmapRowSize * kPictureHeight;  // 4,500,054

// Writes the complete bitmap file into image (kBitmapFileSize bytes, zero-filled
// by the caller): the two headers, then the rows bottom-up (drawing row 1029
// first), each pixel blue, green, red. Pixels outside drawing, or all of them
// when drawing is null, stay 0.
void BuildBitmapImage(const plat::Canvas* drawing, unsigned char* image);
// Builds the bitmap of g_drawDC and hands it to WriteBitmapFile; nothing happens
// when the image buffer cannot be allocated.
void SavePicture(QWidget* window);
// The save dialog "画像を保存", then size bytes of image into the chosen file
// (replaced whole; an existing file is overwritten). A file that cannot be
// written shows "ファイルを保存できませんでした．" and an existing one stays as it
// was. *written gets the count of bytes written (0 when cancelled or failed).
void WriteBitmapFile(QWidget* window, const unsigned char* image, std::size_t size, std::size_t* written);
