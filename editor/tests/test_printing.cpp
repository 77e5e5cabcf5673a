// Printing and the bitmap: the 4,500,054-byte file with its exact headers and
// its rows bottom-up in blue, green, red, the save dialog, printing n copies as
// n pages of one PDF whatever pages the dialog chose, the real print dialog with
// only the printer and the copies, a printer that cannot be opened, the printed
// scale, a picture that cannot be written, and the save-picture and print commands.
#include "canvas_drawing.h"
#include "document.h"
#include "main_window.h"
#include "platform/canvas.h"
#include "platform/dialog.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/print_dialog.h"
#include "printing.h"
#include "test_full_disk.h"
#include "test_window_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QPrintDialog>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using ::testing::HasSubstr;

using Options = plat::FileDialogOptions;

const char kSaveError[] = "ファイルを保存できませんでした． | エラー";
const char kPrintError[] = "印刷できませんでした． | エラー";

// The job options of the CUPS print engine (a list of names, each followed by its value).
constexpr auto kJobOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// A print engine that only keeps what it is given, as the CUPS engine keeps the
// options it sends with the job.
class KeepingPrintEngine : public QPrintEngine {
 public:
  void setProperty(PrintEnginePropertyKey key, const QVariant& value) override { properties_[key] = value; }
  QVariant property(PrintEnginePropertyKey key) const override { return properties_.value(key); }
  bool newPage() override { return true; }
  bool abort() override { return true; }
  int metric(QPaintDevice::PaintDeviceMetric) const override { return 1; }
  QPrinter::PrinterState printerState() const override { return QPrinter::Idle; }

 private:
  QHash<int, QVariant> properties_;
};

class KeepingPrinter : public QPrinter {
 public:
  explicit KeepingPrinter(QPrintEngine* engine) { setEngines(engine, nullptr); }
};

// Runs fn on the real print dialog once it is up; fn ends it.
void WhenPrintDialogOpens(std::function<void(QPrintDialog&)> fn) {
  auto tick = std::make_shared<std::function<void()>>();
  *tick = [tick, fn, tries = 0]() mutable {
    if (auto* d = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
      fn(*d);
      *tick = nullptr;  // the timer's copy keeps it alive until it returns
    } else if (++tries < 500) {
      QTimer::singleShot(10, *tick);
    } else {
      ADD_FAILURE() << "no print dialog";
    }
  };
  QTimer::singleShot(0, *tick);
}

class Printing : public ScriptedEditorTest {
 protected:
  void SetUp() override {
    ScriptedEditorTest::SetUp();
    CreateCanvasBuffers(nullptr);
    g_startDirectory = cwd_.path();
  }
  void TearDown() override {
    plat::FileDialog::SetHook({});
    plat::PrintDialog::SetHook({});
    DeleteCanvasBuffers();
    ScriptedEditorTest::TearDown();
  }

  // The save dialog answers with path (empty: cancelled) and records what it was asked.
  void AnswerSaveWith(const std::string& path) {
    plat::FileDialog::SetHook([this, path](bool save, const Options& o) {
      ++dialogs_;
      asked_ = o;
      askedSave_ = save;
      return plat::fs::ToQString(path);
    });
  }

  // The print dialog answers with a PDF printer of the given copies (0: cancelled).
  void AnswerPrintWith(const std::string& pdf, int copies) {
    plat::PrintDialog::SetHook([this, pdf, copies](QPrinter& printer, QAbstractPrintDialog::PrintDialogOptions o) {
      ++dialogs_;
      printOptions_ = o;
      copiesShown_ = printer.copyCount();
      if (copies == 0) return false;
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QString::fromStdString(pdf));
      printer.setCopyCount(copies);
      return true;
    });
  }

  static std::uint32_t U32(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
  }
  // The pixel of the file at drawing point (x, y), as 0xRRGGBB.
  static std::uint32_t FilePixel(const std::string& bmp, int x, int y) {
    const std::size_t at = 54 + static_cast<std::size_t>(1029 - y) * 4500 + static_cast<std::size_t>(x) * 3;
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at + 2])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at + 1])) << 8) |
           static_cast<unsigned char>(bmp[at]);
  }
  static int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  }

  int dialogs_ = 0;
  Options asked_;
  bool askedSave_ = false;
  QAbstractPrintDialog::PrintDialogOptions printOptions_;
  int copiesShown_ = -1;
};

// ---- bitmap ---------------------------------------------------------------------------

TEST_F(Printing, BitmapHasItsExactHeadersAndTheDrawableAreaBottomRowFirst) {
  plat::Canvas& c = *g_drawDC;
  c.FillRect(0, 1029, 1, 1030, 0x102030);     // bottom left of the picture: the file's first pixel
  c.FillRect(1499, 30, 1500, 31, 0x405060);   // top right: the file's last pixel
  c.FillRect(700, 500, 702, 501, 0xA0B0C0);   // two pixels in the middle
  // Just outside the picture: above, below, to the right.
  c.FillRect(0, 29, 1500, 30, 0xFF0000);
  c.FillRect(0, 1030, 1500, 1031, 0xFF0000);
  c.FillRect(1500, 30, 1501, 1030, 0xFF0000);
  g_scrollX = 300;  // the scroll position does not matter
  g_scrollY = 200;
  const std::string path = cwd_.path() + "/picture.bmp";
  AnswerSaveWith(path);

  SavePicture(nullptr);

  const std::string bmp = ReadFileBytes(path);
  ASSERT_EQ(bmp.size(), 4500054u);
  const unsigned char header[54] = {
      'B', 'M', 0x56, 0xAA, 0x44, 0x00, 0, 0, 0, 0, 54, 0, 0, 0,  // file size 4500054, pixels at 54
      40, 0, 0, 0, 0xDC, 0x05, 0, 0, 0xE8, 0x03, 0, 0,            // 40-byte header, 1500 x 1000
      1, 0, 24, 0, 0, 0, 0, 0,                                    // one plane, 24 bits, no compression
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0  // image size, resolutions, colours: 0
  };
  EXPECT_EQ(bmp.substr(0, 54), std::string(reinterpret_cast<const char*>(header), 54));
  EXPECT_EQ(U32(bmp, 2), 4500054u);
  // Blue, green, red.
  EXPECT_EQ(static_cast<unsigned char>(bmp[54]), 0x30);
  EXPECT_EQ(static_cast<unsigned char>(bmp[55]), 0x20);
  EXPECT_EQ(static_cast<unsigned char>(bmp[56]), 0x10);
  EXPECT_EQ(FilePixel(bmp, 1499, 30), 0x405060u);
  EXPECT_EQ(bmp.substr(bmp.size() - 3), std::string("\x60\x50\x40", 3));
  EXPECT_EQ(FilePixel(bmp, 700, 500), 0xA0B0C0u);
  EXPECT_EQ(FilePixel(bmp, 701, 500), 0xA0B0C0u);
  EXPECT_EQ(FilePixel(bmp, 702, 500), 0xFFFFFFu);
  EXPECT_EQ(FilePixel(bmp, 700, 501), 0xFFFFFFu);
  EXPECT_EQ(FilePixel(bmp, 1, 1029), 0xFFFFFFu);
  // Nothing from outside the picture.
  EXPECT_EQ(Count(bmp.substr(54), std::string("\x00\x00\xFF", 3)), 0);
}

TEST_F(Printing, SaveDialogAsksForABmpFileAndAnExistingFileIsReplacedWhole) {
  const std::string path = cwd_.path() + "/old.bmp";
  WriteFileBytes(path, std::string(5000000, 'x'));
  AnswerSaveWith(path);
  std::vector<unsigned char> image(100, 7);
  std::size_t written = 99;
  QDir::setCurrent(QDir::tempPath());  // the start directory is the current one again afterwards

  WriteBitmapFile(nullptr, image.data(), image.size(), &written);

  EXPECT_EQ(written, 100u);
  EXPECT_EQ(ReadFileBytes(path), std::string(100, '\x07'));
  EXPECT_EQ(plat::fs::FromQString(QDir::currentPath()), cwd_.path());
  EXPECT_TRUE(askedSave_);
  EXPECT_EQ(asked_.title, QString::fromUtf8("画像を保存"));
  ASSERT_EQ(asked_.filters.size(), 1u);
  EXPECT_EQ(asked_.filters[0].first, QStringLiteral("bmp File"));
  EXPECT_EQ(asked_.filters[0].second, QStringLiteral("*.bmp"));
  EXPECT_EQ(asked_.defaultSuffix, QStringLiteral("bmp"));
  EXPECT_EQ(plat::fs::FromQString(asked_.initialDirectory), cwd_.path());
  EXPECT_FALSE(asked_.mustExist);
}

TEST_F(Printing, CancelledSaveDialogWritesNothing) {
  AnswerSaveWith("");
  SavePicture(nullptr);
  EXPECT_EQ(dialogs_, 1);
  EXPECT_EQ(QDir(plat::fs::ToQString(cwd_.path())).entryList(QDir::Files | QDir::NoDotAndDotDot).size(), 0);
}

TEST_F(Printing, UnwritableTargetWritesNothingAndReportsNoBytes) {
  AnswerSaveWith(cwd_.path() + "/no/such/dir/p.bmp");
  unsigned char image[4] = {1, 2, 3, 4};
  std::size_t written = 99;
  WriteBitmapFile(nullptr, image, sizeof image, &written);
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(Messages(), std::vector<std::string>{kSaveError});
}

// A picture that fails at any step of the write keeps the old one and says so.
TEST_F(Printing, AFailedBitmapKeepsTheOldPicture) {
  const std::string path = cwd_.path() + "/old.bmp";
  AnswerSaveWith(path);
  for (plat::fs::WriteStep step : {plat::fs::WriteStep::Write, plat::fs::WriteStep::Flush,
                                   plat::fs::WriteStep::Close, plat::fs::WriteStep::Rename}) {
    SCOPED_TRACE(static_cast<int>(step));
    plat::msgscript::Begin();
    WriteFileBytes(path, "the old picture");
    plat::fs::FailNextWriteAt(step);
    SavePicture(nullptr);
    EXPECT_EQ(Messages(), std::vector<std::string>{kSaveError});
    EXPECT_EQ(plat::msgscript::Records()[0].flags, plat::MB_OK);
    EXPECT_EQ(ReadFileBytes(path), "the old picture");
    EXPECT_EQ(DirEntries(cwd_.path()), QStringList{"old.bmp"});
  }
}

// A picture saved over an old one on a disk that has no room for it.
TEST_F(Printing, BitmapOntoAFullDiskKeepsTheOldPicture) {
  FullDisk disk(cwd_.path() + "/disk", 5000);  // room for one picture and a little
  SKIP_WITHOUT(disk);
  const std::string path = disk.Path("old.bmp");
  AnswerSaveWith(path);
  SavePicture(nullptr);
  const std::string old = ReadFileBytes(path);
  ASSERT_EQ(old.size(), 4500054u);
  ASSERT_TRUE(disk.Fill());
  g_drawDC->FillRect(10, 40, 11, 41, 0x123456);

  SavePicture(nullptr);

  EXPECT_EQ(Messages(), std::vector<std::string>{kSaveError});
  EXPECT_TRUE(ReadFileBytes(path) == old);
  EXPECT_EQ(DirEntries(disk.Path("")), (QStringList{"filler", "old.bmp"}));
}

// ---- printing -------------------------------------------------------------------------

TEST_F(Printing, ThreeCopiesPrintAsOnePdfOfThreePagesOfTheSameCanvas) {
  const std::string pdf = cwd_.path() + "/out.pdf";
  AnswerPrintWith(pdf, 3);
  PrintCanvas(nullptr);

  EXPECT_EQ(copiesShown_, 1);  // the dialog opens with one copy
  EXPECT_FALSE(printOptions_.testFlag(QAbstractPrintDialog::PrintToFile));
  EXPECT_FALSE(printOptions_.testFlag(QAbstractPrintDialog::PrintSelection));
  EXPECT_FALSE(printOptions_.testFlag(QAbstractPrintDialog::PrintPageRange));
  EXPECT_FALSE(printOptions_.testFlag(QAbstractPrintDialog::PrintCurrentPage));
  const std::string bytes = ReadFileBytes(pdf);
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(Count(bytes, "/Type /Page") - Count(bytes, "/Type /Pages"), 3);
  EXPECT_THAT(bytes, HasSubstr("/Count 3"));
  EXPECT_EQ(Count(bytes, "/Subtype /Image"), 1);  // one picture, drawn on every page
  EXPECT_TRUE(Messages().empty());
}

// Whatever page selection the dialog hands back, every page is printed once per copy:
// the printer's range is dropped and so are the pages and the odd/even set a CUPS job
// would be sent with; the job's other options stay.
TEST_F(Printing, PagesTheDialogChoseAreDropped) {
  plat::PrintDialog::SetHook([](QPrinter& printer, QAbstractPrintDialog::PrintDialogOptions) {
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(1, 1);
    printer.setCopyCount(3);
    printer.printEngine()->setProperty(kJobOptions, QStringList{"media", "A4", "page-ranges", "1", "page-set", "odd",
                                                                "job-priority", "80"});
    return true;
  });
  KeepingPrintEngine engine;
  KeepingPrinter printer(&engine);

  ASSERT_TRUE(plat::PrintDialog::Run(nullptr, printer));

  EXPECT_EQ(printer.printRange(), QPrinter::AllPages);
  EXPECT_TRUE(printer.pageRanges().isEmpty());
  EXPECT_EQ(printer.fromPage(), 0);
  EXPECT_EQ(engine.property(kJobOptions).toStringList(), (QStringList{"media", "A4", "job-priority", "80"}));
}

TEST_F(Printing, ThreeCopiesOfARangeOfOnePagePrintThreePages) {
  const std::string pdf = cwd_.path() + "/range.pdf";
  plat::PrintDialog::SetHook([pdf](QPrinter& printer, QAbstractPrintDialog::PrintDialogOptions) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(1, 1);
    printer.setCopyCount(3);
    return true;
  });
  PrintCanvas(nullptr);
  const std::string bytes = ReadFileBytes(pdf);
  EXPECT_EQ(Count(bytes, "/Type /Page") - Count(bytes, "/Type /Pages"), 3);
  EXPECT_TRUE(Messages().empty());
}

// The real dialog as the user gets it: the printer and the copies, none of the page
// selection Qt's dialog has on Linux (all, from-to, a page list, current page,
// selection, odd/even) and no file to print to. With no printer installed the
// Print button gives the message instead of nothing.
TEST_F(Printing, RealDialogOffersThePrinterAndTheCopiesOnly) {
  const bool printerInstalled = !QPrinterInfo::availablePrinterNames().isEmpty();
  std::vector<std::string> reachable;  // page-selection controls shown or enabled
  bool copiesOffered = false;
  bool fileOffered = true;
  WhenPrintDialogOpens([&](QPrintDialog& d) {
    auto* buttons = d.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    for (QAbstractButton* b : buttons->buttons())  // "Options >>": the copies and the ranges
      if (buttons->buttonRole(b) == QDialogButtonBox::ResetRole) b->click();
    for (const char* name : {"gbPrintRange", "printAll", "printRange", "from", "to", "pagesRadioButton",
                             "pagesLineEdit", "printCurrentPage", "printSelection", "pageSetLabel", "pageSetCombo"}) {
      QWidget* w = d.findChild<QWidget*>(QString::fromLatin1(name));
      if (w && (w->isVisibleTo(&d) || w->isEnabled())) reachable.push_back(name);
    }
    auto* copies = d.findChild<QSpinBox*>(QStringLiteral("copies"));
    copiesOffered = copies && copies->isVisibleTo(&d) && copies->isEnabled();
    if (copies) copies->setValue(3);
    auto* file = d.findChild<QWidget*>(QStringLiteral("filename"));
    fileOffered = !file || file->isVisibleTo(&d);
    if (auto* printers = d.findChild<QComboBox*>(QStringLiteral("printers")))
      fileOffered = fileOffered || printers->count() != QPrinterInfo::availablePrinterNames().size();
    if (printerInstalled) {
      d.reject();  // nothing is sent to a real printer
    } else {
      buttons->button(QDialogButtonBox::Ok)->click();
    }
  });

  PrintCanvas(nullptr);

  EXPECT_TRUE(reachable.empty()) << ::testing::PrintToString(reachable);
  EXPECT_TRUE(copiesOffered);
  EXPECT_FALSE(fileOffered);
  if (printerInstalled) GTEST_SKIP() << "a printer is installed: the dialog was cancelled, not printed on it";
  EXPECT_EQ(Messages(), std::vector<std::string>{kPrintError});
  EXPECT_EQ(plat::msgscript::Records()[0].flags, plat::MB_OK);
}

// A printer that cannot be opened (here a PDF file in a directory that is not there)
// is reported; nothing is written.
TEST_F(Printing, PrinterThatCannotBeOpenedIsReported) {
  const std::string pdf = cwd_.path() + "/no/such/dir/out.pdf";
  AnswerPrintWith(pdf, 2);
  PrintCanvas(nullptr);
  EXPECT_EQ(Messages(), std::vector<std::string>{kPrintError});
  EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));
}

TEST_F(Printing, CancelledPrintDialogPrintsNothing) {
  const std::string pdf = cwd_.path() + "/out.pdf";
  AnswerPrintWith(pdf, 0);
  PrintCanvas(nullptr);
  EXPECT_EQ(dialogs_, 1);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));
}

TEST_F(Printing, CanvasIsPrintedAtTheScreensScaleTruncated) {
  EXPECT_EQ(PrintedCanvasSize(600, 600, 96, 96), QSize(12500, 8837));  // 1414 x 6.25 = 8837.5
  EXPECT_EQ(PrintedCanvasSize(96, 96, 96, 96), QSize(2000, 1414));
  EXPECT_EQ(PrintedCanvasSize(300, 600, 120, 96), QSize(5000, 8837));
}

// ---- the commands ------------------------------------------------------------------------

TEST_F(Printing, Commands150And1160SaveAndPrintTheMainWindowsDrawing) {
  DeleteCanvasBuffers();
  MainWindow window;
  g_drawDC->FillRect(10, 40, 11, 41, 0x123456);
  const std::string bmp = cwd_.path() + "/cmd.bmp";
  AnswerSaveWith(bmp);
  window.OnCommand(kMenuSavePicture);
  const std::string file = ReadFileBytes(bmp);
  ASSERT_EQ(file.size(), 4500054u);
  EXPECT_EQ(FilePixel(file, 10, 40), 0x123456u);

  const std::string pdf = cwd_.path() + "/cmd.pdf";
  AnswerPrintWith(pdf, 2);
  window.OnCommand(kToolbarPrint);
  const std::string printed = ReadFileBytes(pdf);
  EXPECT_EQ(Count(printed, "/Type /Page") - Count(printed, "/Type /Pages"), 2);
}

}  // namespace
