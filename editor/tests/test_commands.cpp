// The menu and toolbar commands through the main window's dispatcher: the
// questions and their answers, the saved flag after success, cancel and
// failure, what New keeps, the caption, the dialogs the commands run, help,
// the version box and the graph program.
#include "commands.h"

#include "canvas_drawing.h"
#include "diagram_file.h"
#include "document.h"
#include "main_window.h"
#include "platform/dialog.h"
#include "platform/fs.h"
#include "platform/message_box.h"
#include "platform/process.h"

#include "test_diagram_helpers.h"
#include "test_full_disk.h"
#include "test_window_fixture.h"

#include <QApplication>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const QString kNewQuestion = QStringLiteral("新規作成しますか？");
const QString kSaveQuestion = QStringLiteral("ファイルが保存されていません.\nファイルを保存しますか？");
const QString kExitQuestion = QStringLiteral("ファイルが保存されていません.\n終了しますか？");
const QString kReadError = QStringLiteral("ファイルを読み込めませんでした．");
const char kSaveError[] = "ファイルを保存できませんでした． | エラー";

class Commands : public MainWindowFixture {
 protected:
  Commands() : MainWindowFixture(Startup::kHidden) {}
  void TearDown() override {
    testdoc::ExpectTablesConsistent();
    MainWindowFixture::TearDown();
  }

  QString Caption() const { return window_->windowTitle(); }
  const std::vector<plat::msgscript::Record>& Boxes() const { return plat::msgscript::Records(); }
  // A diagram saved as name, then a different one open and modified.
  void SaveOtherDiagram(const std::string& name) {
    testdoc::BuildSampleDiagram();
    files_.Answer(name);
    ASSERT_EQ(SaveDiagramAs(window_.get()), 1);
    NewDiagram(window_.get());
    testdoc::PlaceForTest(kKindTF, 700, 700);
    g_documentSaved = 0;
    plat::msgscript::Begin();
  }

  FileDialogScript files_;
};

}  // namespace

TEST_F(Commands, NewAsksAndKeepsWhatItKeeps) {
  for (int id : {kMenuNew, kToolbarNew}) {
    SCOPED_TRACE(id);
    g_scrollX = 0;
    testdoc::BuildSampleDiagram();
    g_document.elements[0].staleMark = 1;
    g_document.elements[1].hasExpData = 1;
    g_kindCounters[kKindC] = 12;
    g_documentSaved = 0;
    g_diagramFileName = Path("last.VRD");
    StoreText(g_document.outputFileName, "run1");
    StoreText(g_document.numeric.timeStep, "0.5");
    g_autoTimeStep = 1;
    g_language = 1;
    g_currentTool = ToolOfKind(kKindR);
    g_scrollX = 40;
    g_cleanDC->FillWhite();
    g_cleanDC->Line(10, 10, 300, 300, plat::Pen::Solid(2, plat::kBlack));
    const QImage clean = g_cleanDC->Image().copy();
    const Rect seBox = g_document.elements[0].box;
    const std::string before = Encoded();

    // Cancel: nothing happens.
    plat::msgscript::Begin();
    plat::msgscript::Answer(plat::IDCANCEL);
    window_->OnCommand(id);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, kNewQuestion);
    EXPECT_EQ(Boxes()[0].title, QStringLiteral("新規作成"));
    EXPECT_EQ(Boxes()[0].flags, plat::MB_OKCANCEL);
    EXPECT_EQ(Encoded(), before);

    plat::msgscript::Answer(plat::IDOK);
    window_->OnCommand(id);
    testdoc::ExpectTablesConsistent();
    EXPECT_EQ(g_elementCount, 0);
    EXPECT_EQ(g_bondCount, 0);
    EXPECT_EQ(Caption(), QStringLiteral("Zandrel"));
    EXPECT_EQ(TextOf(g_document.numeric.timeStep), "1.00000E-05");
    EXPECT_EQ(g_document.outputCount, 0);
    // The slots of the old diagram are emptied.
    for (int i = 0; i < 5; ++i) {
      const ElementRecord& e = g_document.elements[i];
      EXPECT_EQ(e.kind, 0);
      EXPECT_EQ(e.box.right, 0);
      EXPECT_EQ(e.staleMark, 0);
      EXPECT_EQ(e.hasExpData, 0);
      EXPECT_EQ(e.usedCount, 0);
      EXPECT_EQ(TextOf(e.equation), "");
      for (int inUse : e.portInUse) EXPECT_EQ(inUse, 0);
    }
    EXPECT_EQ(g_document.bonds[3].headElement, 0);
    EXPECT_EQ(g_document.bonds[3].hitPolygon[0].x, 0);
    EXPECT_EQ(g_document.bonds[3].reserved[2], 0);
    // Kept.
    EXPECT_EQ(g_kindCounters[kKindC], 12);
    EXPECT_EQ(g_documentSaved, 0);
    EXPECT_EQ(g_diagramFileName, Path("last.VRD"));
    EXPECT_EQ(TextOf(g_document.outputFileName), "run1");
    EXPECT_EQ(g_autoTimeStep, 1);
    EXPECT_EQ(g_language, 1);
    EXPECT_EQ(g_currentTool, ToolOfKind(kKindR));
    EXPECT_EQ(g_scrollX, 40);
    EXPECT_EQ(g_cleanDC->Image(), clean);
    // The drawing is white, the old boxes free; a new C is C1 with the
    // two-digit width the counter gives.
    for (int x : {seBox.left + 5, 300, 500})
      for (int y : {50, 200, 350}) EXPECT_EQ(g_drawDC->Pixel(x, y), plat::kWhite) << x << "," << y;
    g_currentTool = ToolOfKind(kKindC);
    ASSERT_EQ(PlaceElement(seBox.left + 20, seBox.top + 15), 1);
    EXPECT_EQ(g_document.elements[0].number, 1);
    EXPECT_EQ(g_document.elements[0].width, 42);
  }
}

TEST_F(Commands, NewWhileABondIsDrawnLeavesNoRubberBand) {
  testdoc::BuildSampleDiagram();
  RedrawDiagram();
  g_bondDrawing = 1;
  g_drawDC->Line(100, 600, 400, 600, plat::Pen::Dot(1, plat::kBlack));
  plat::msgscript::Answer(plat::IDOK);
  window_->OnCommand(kMenuNew);
  EXPECT_EQ(g_bondDrawing, 0);
  QImage white(g_drawDC->Image().size(), g_drawDC->Image().format());
  white.fill(Qt::white);
  EXPECT_EQ(g_drawDC->Image(), white);
}

TEST_F(Commands, SaveAfterNewWritesTheLastFile) {
  testdoc::BuildSampleDiagram();
  files_.Answer("model.VRD");
  window_->OnCommand(kMenuSaveAs);
  plat::msgscript::Answer(plat::IDOK);
  window_->OnCommand(kMenuNew);
  testdoc::PlaceForTest(kKindOneJunction, 900, 900);
  g_documentSaved = 0;
  window_->OnCommand(kMenuSave);
  EXPECT_EQ(files_.Requests().size(), 1u);
  EXPECT_EQ(g_documentSaved, 1);
  EXPECT_EQ(ReadFileBytes(Path("model.VRD")), Encoded());
}

TEST_F(Commands, MenuOpenAsksAboutUnsavedChanges) {
  struct Case {
    const char* what;
    bool modified;
    int answer;          // to the save question; 0 = not asked
    const char* dialog;  // the file dialog's answer; "" = cancelled
    bool save;           // the dialog is the save dialog
    bool opened;
    int savedFlag;
    int autoTimeStep;
  };
  const Case cases[] = {
      {"modified, No, opened", true, plat::IDNO, "model.VRD", false, true, 1, 0},
      {"modified, No, cancelled", true, plat::IDNO, "", false, false, 0, 1},
      {"modified, No, refused", true, plat::IDNO, "bad.VRD", false, false, 0, 1},
      {"modified, Yes, saved", true, plat::IDYES, "saved.VRD", true, false, 1, 1},
      {"modified, Yes, cancelled", true, plat::IDYES, "", true, false, 0, 1},
      {"saved, opened", false, 0, "model.VRD", false, true, 1, 0},
  };
  SaveOtherDiagram("model.VRD");
  const std::string model = ReadFileBytes(Path("model.VRD"));
  WriteFileBytes(Path("bad.VRD"), "2 1 ");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    NewDiagram(window_.get());
    testdoc::PlaceForTest(kKindTF, 700, 700);
    window_->setWindowTitle(QStringLiteral("before"));
    const std::string current = Encoded();
    g_documentSaved = c.modified ? 0 : 1;
    g_autoTimeStep = 1;
    plat::msgscript::Begin();
    if (c.answer) plat::msgscript::Answer(c.answer);
    if (*c.dialog) files_.Answer(c.dialog);
    const std::size_t requests = files_.Requests().size();

    window_->OnCommand(kMenuOpen);
    if (c.answer) {
      ASSERT_GE(Boxes().size(), 1u);
      EXPECT_EQ(Boxes()[0].text, kSaveQuestion);
      EXPECT_EQ(Boxes()[0].title, QStringLiteral("ファイルの保存"));
      EXPECT_EQ(Boxes()[0].flags, plat::MB_YESNO);
    }
    ASSERT_EQ(files_.Requests().size(), requests + 1);
    EXPECT_EQ(files_.Requests().back().save, c.save);
    EXPECT_EQ(files_.Pending(), 0);
    EXPECT_EQ(Encoded(), c.opened ? model : current);
    EXPECT_EQ(g_documentSaved, c.savedFlag);
    EXPECT_EQ(g_autoTimeStep, c.autoTimeStep);
    const bool refused = std::string(c.dialog) == "bad.VRD";
    EXPECT_EQ(Boxes().size(), (c.answer ? 1u : 0u) + (refused ? 1u : 0u));
    if (refused) {
      EXPECT_EQ(Boxes().back().text, kReadError);
    }
    if (c.opened) {
      EXPECT_EQ(Caption(), QStringLiteral("VORK Ver. 2.0 [model.VRD]"));
    }
    if (c.save && *c.dialog) {
      EXPECT_EQ(ReadFileBytes(Path(c.dialog)), current);
      EXPECT_EQ(Caption(), QStringLiteral("VORK Ver. 2.0 [saved.VRD]"));
    }
    if (!*c.dialog || refused) {
      EXPECT_EQ(Caption(), QStringLiteral("before"));
    }
  }
}

TEST_F(Commands, OpenEndsSelectionAndBondDrawingAndShowsTheNewDiagram) {
  SaveOtherDiagram("model.VRD");
  g_document.selectionActive = 1;
  g_document.selectionIsElement = 1;
  g_currentIndex = 0;
  g_bondDrawing = 1;
  g_drawDC->Line(0, 500, 600, 500, plat::Pen::Dot(1, plat::kBlack));
  g_document.elements[0].staleMark = 1;
  plat::msgscript::Answer(plat::IDNO);
  files_.Answer("model.VRD");
  window_->OnCommand(kMenuOpen);
  ASSERT_EQ(g_elementCount, 5);
  EXPECT_EQ(g_document.selectionActive, 0);
  EXPECT_EQ(g_bondDrawing, 0);
  EXPECT_EQ(g_currentIndex, 0);
  EXPECT_EQ(g_document.elements[0].staleMark, 0);
  // The drawing holds the new diagram, and the clean canvas the same.
  EXPECT_EQ(g_drawDC->Image(), g_cleanDC->Image());
  EXPECT_EQ(g_drawDC->Pixel(300, 500), plat::kWhite);
  const QImage expected = g_drawDC->Image().copy();
  QImage white(expected.size(), expected.format());
  white.fill(Qt::white);
  EXPECT_NE(expected, white);
  RedrawDiagram();
  EXPECT_EQ(g_drawDC->Image(), expected);
}

TEST_F(Commands, SaveAndSaveAsSetTheFlagOnlyWhenWritten) {
  testdoc::BuildSampleDiagram();
  struct Case {
    const char* what;
    int id;
    const char* current;  // current file name before
    const char* dialog;   // "" = cancelled; nullptr = no dialog expected
    int savedFlag;
    bool message;
  };
  const Case cases[] = {
      {"save as", kMenuSaveAs, "", "a.VRD", 1, false},
      {"save as cancelled", kMenuSaveAs, "", "", 0, false},
      {"save as into no folder", kMenuSaveAs, "", "none/a.VRD", 0, true},
      {"save", kMenuSave, "b.VRD", nullptr, 1, false},
      {"save without a name", kMenuSave, "", "c.VRD", 1, false},
      {"save without a name, cancelled", kMenuSave, "", "", 0, false},
      {"save into no folder", kMenuSave, "none/b.VRD", nullptr, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    plat::msgscript::Begin();
    g_documentSaved = 0;
    g_diagramFileName = *c.current ? Path(c.current) : "";
    const std::size_t requests = files_.Requests().size();
    if (c.dialog && *c.dialog) files_.Answer(c.dialog);
    window_->OnCommand(c.id);
    EXPECT_EQ(files_.Requests().size(), requests + (c.dialog ? 1 : 0));
    EXPECT_EQ(g_documentSaved, c.savedFlag);
    EXPECT_EQ(Boxes().size(), c.message ? 1u : 0u);
    if (c.savedFlag) {
      EXPECT_EQ(ReadFileBytes(g_diagramFileName), Encoded());
    }
  }
}

// Save over the current file and Save As over another good file, each failing at every
// step of the write.
TEST_F(Commands, AFailedSaveKeepsTheFileTheCaptionTheNameAndTheFlag) {
  testdoc::BuildSampleDiagram();
  files_.Answer("current.VRD");
  window_->OnCommand(kMenuSaveAs);
  const QString caption = Caption();
  ASSERT_EQ(caption, QStringLiteral("VORK Ver. 2.0 [current.VRD]"));
  const std::string saved = ReadFileBytes(Path("current.VRD"));
  WriteFileBytes(Path("good.VRD"), saved);
  StoreText(g_document.elements[0].equation, "E = 2");  // what a save would change
  const QStringList entries = DirEntries(cwd_.path());

  for (int id : {kMenuSave, kMenuSaveAs}) {
    for (plat::fs::WriteStep step : {plat::fs::WriteStep::Write, plat::fs::WriteStep::Flush,
                                     plat::fs::WriteStep::Close, plat::fs::WriteStep::Rename}) {
      SCOPED_TRACE(::testing::Message() << "command " << id << ", step " << static_cast<int>(step));
      plat::msgscript::Begin();
      g_documentSaved = 0;
      if (id == kMenuSaveAs) files_.Answer("good.VRD");
      plat::fs::FailNextWriteAt(step);
      window_->OnCommand(id);
      EXPECT_EQ(Messages(), std::vector<std::string>{kSaveError});
      EXPECT_EQ(ReadFileBytes(Path(id == kMenuSave ? "current.VRD" : "good.VRD")), saved);
      EXPECT_EQ(DirEntries(cwd_.path()), entries);  // no temporary file left
      EXPECT_EQ(Caption(), caption);
      EXPECT_EQ(g_diagramFileName, Path("current.VRD"));
      EXPECT_EQ(g_documentSaved, 0);
    }
  }
  // Nothing of the seam is left: the next save writes.
  window_->OnCommand(kMenuSave);
  EXPECT_EQ(g_documentSaved, 1);
  EXPECT_EQ(ReadFileBytes(Path("current.VRD")), Encoded());
}

// Save As onto a good diagram on a disk that is full.
TEST_F(Commands, SaveAsOntoAFullDiskKeepsTheGoodFile) {
  FullDisk disk(Path("disk"), 16);
  SKIP_WITHOUT(disk);
  testdoc::BuildSampleDiagram();
  files_.Answer("current.VRD");
  window_->OnCommand(kMenuSaveAs);
  const QString caption = Caption();
  testdoc::PlaceForTest(kKindTF, 700, 700);
  const std::string good = ReadFileBytes(Path("current.VRD"));
  WriteFileBytes(disk.Path("good.VRD"), good);
  ASSERT_TRUE(disk.Fill());
  plat::msgscript::Begin();
  g_documentSaved = 0;

  files_.Answer(disk.Path("good.VRD"));
  window_->OnCommand(kMenuSaveAs);

  EXPECT_EQ(Messages(), std::vector<std::string>{kSaveError});
  EXPECT_EQ(ReadFileBytes(disk.Path("good.VRD")), good);
  EXPECT_EQ(DirEntries(disk.Path("")), (QStringList{"filler", "good.VRD"}));
  EXPECT_EQ(Caption(), caption);
  EXPECT_EQ(g_diagramFileName, Path("current.VRD"));
  EXPECT_EQ(g_documentSaved, 0);
}

TEST_F(Commands, CaptionShowsTheWholeFileTitle) {
  const std::string title(60, 'd');
  files_.Answer(title + ".VRD");
  window_->OnCommand(kMenuSaveAs);
  EXPECT_EQ(Caption(), QStringLiteral("VORK Ver. 2.0 [%1.VRD]").arg(QString::fromStdString(title)));
  EXPECT_EQ(g_diagramFileName, Path(title + ".VRD"));
}

TEST_F(Commands, ExitAsksOnlyWhenModified) {
  struct Case {
    const char* what;
    bool modified;
    std::vector<int> answers;
    const char* dialog;  // the save dialog's answer; nullptr = no dialog
    bool destroyed;
    int savedFlag;
  };
  const Case cases[] = {
      {"saved", false, {}, nullptr, true, 1},
      {"modified, Yes", true, {plat::IDYES}, nullptr, true, 0},
      {"modified, Escape ignored, Yes", true, {plat::msgscript::kEscape, plat::IDYES}, nullptr, true, 0},
      {"modified, No, saved", true, {plat::IDNO}, "exit.VRD", false, 1},
      {"modified, No, cancelled", true, {plat::IDNO}, "", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    testdoc::BuildSampleDiagram();
    g_documentSaved = c.modified ? 0 : 1;
    for (int a : c.answers) plat::msgscript::Answer(a);
    if (c.dialog && *c.dialog) files_.Answer(c.dialog);
    const std::size_t requests = files_.Requests().size();
    window_->OnCommand(kMenuExit);
    EXPECT_EQ(window_->IsDestroyed(), c.destroyed);
    EXPECT_EQ(plat::msgscript::Pending(), 0);
    if (c.modified) {
      ASSERT_GE(Boxes().size(), 1u);
      EXPECT_EQ(Boxes()[0].text, kExitQuestion);
      EXPECT_EQ(Boxes()[0].title, QStringLiteral("終了確認"));
      EXPECT_EQ(Boxes()[0].flags, plat::MB_YESNO | plat::MB_ICONQUESTION);
    } else {
      EXPECT_TRUE(Boxes().empty());
    }
    EXPECT_EQ(files_.Requests().size(), requests + (c.dialog ? 1 : 0));
    if (c.dialog) {
      EXPECT_TRUE(files_.Requests().back().save);
    }
    EXPECT_EQ(g_documentSaved, c.savedFlag);
    if (c.dialog && *c.dialog) {
      EXPECT_EQ(ReadFileBytes(Path(c.dialog)), Encoded());
    }
  }
}

TEST_F(Commands, ToolbarOpenAndSaveAsLeaveTheFlags) {
  SaveOtherDiagram("model.VRD");
  const std::string model = ReadFileBytes(Path("model.VRD"));
  g_autoTimeStep = 1;
  // Open discards the changes without a question.
  files_.Answer("model.VRD");
  window_->OnCommand(kToolbarOpen);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(Encoded(), model);
  EXPECT_EQ(g_documentSaved, 0);
  EXPECT_EQ(g_autoTimeStep, 1);
  EXPECT_EQ(Caption(), QStringLiteral("VORK Ver. 2.0 [model.VRD]"));

  files_.Answer("copy.VRD");
  window_->OnCommand(kToolbarSaveAs);
  EXPECT_TRUE(files_.Requests().back().save);
  EXPECT_EQ(ReadFileBytes(Path("copy.VRD")), model);
  EXPECT_EQ(g_documentSaved, 0);
  EXPECT_EQ(Caption(), QStringLiteral("VORK Ver. 2.0 [copy.VRD]"));
}

TEST_F(Commands, SettingsDialogsHelpAndVersion) {
  window_->OnCommand(kMenuSelectCompiler);
  window_->OnCommand(kToolbarNumericConditions);
  EXPECT_EQ(plat::dlgscript::Opened(),
            (std::vector<std::string>{"SELECT_COMPILER", "SELECT_COMPILER", "TIME_STEP_DIALOG"}));
  // Help: nothing at all.
  window_->OnCommand(kMenuHelp);
  window_->OnCommand(kToolbarGreyed);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(plat::dlgscript::Opened().size(), 3u);
  EXPECT_TRUE(files_.Requests().empty());

  window_->OnCommand(kMenuVersion);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].title, QStringLiteral("バージョン情報"));
  EXPECT_EQ(Boxes()[0].flags, plat::MB_OK);
  EXPECT_TRUE(Boxes()[0].text.contains(QStringLiteral("VORK Ver. 2.0")));
  EXPECT_FALSE(window_->IsDestroyed());
}

TEST_F(Commands, GraphStartsWhenPresentAndNothingShowsWhenAbsent) {
  plat::Process::SetSearchDirs({QString::fromStdString(cwd_.path())});
  window_->OnCommand(kToolbarGraph);
  EXPECT_TRUE(Boxes().empty());

  WriteFileBytes(Path("Graph"), "#!/bin/sh\npwd > graph_ran\n");
  ASSERT_TRUE(QFile::setPermissions(plat::fs::ToQString(Path("Graph")),
                                    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
  window_->OnCommand(kToolbarGraph);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ReadFileBytes(Path("graph_ran")) == cwd_.path() + "\n"; }, 5000));
  EXPECT_TRUE(Boxes().empty());
}
