// Fixtures of the editor tests. ScriptedEditorTest: a fresh start directory and
// editor state, message boxes and dialogs answered by script. CanvasFixture: the
// canvases made, with drawing logged. MainWindowFixture:
// besides, the main window started as the program starts it, with its own
// vork.ini and the compiler dialog answered with OK.
#pragma once

#include "canvas_drawing.h"
#include "document.h"
#include "main_window.h"
#include "platform/client_view.h"
#include "platform/dialog.h"
#include "platform/fs.h"
#include "platform/ini.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "resources/dialog_templates.h"
#include "test_fs_temp_dir.h"
#include "test_plat_values.h"

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class ScriptedEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetEditorState();
    plat::msgscript::Begin();
    plat::dlgscript::Begin();
  }
  void TearDown() override {
    plat::dlgscript::End();
    plat::msgscript::End();
    plat::fs::FailNextWriteAt(plat::fs::WriteStep::None);
    plat::Process::ResetSearchDirs();
    ResetEditorState();
  }

  // The message boxes shown, as "text | title".
  static std::vector<std::string> Messages() {
    std::vector<std::string> out;
    for (const auto& r : plat::msgscript::Records()) out.push_back((r.text + " | " + r.title).toStdString());
    return out;
  }
  // The result-name dialog of the next run answered with name and OK.
  static void AnswerResultName(const std::string& name) {
    plat::dlgscript::Queue("OUT_VARIABLE_DIALOG", [name](plat::Dialog& d) {
      d.SetTextU(dlgres::kResultNameEdit, QString::fromStdString(name));
      d.Press(plat::IDOK);
    });
  }
  // A file of the start directory.
  std::string Path(const std::string& name) const { return cwd_.path() + "/" + name; }
#ifdef CVORK2_BINARY
  // The model compiler and the integrators' sources in the start directory, as a real run needs them.
  void InstallModelCompiler() const {
    ASSERT_TRUE(plat::fs::CopyReplace(CVORK2_BINARY, Path("cvork2")));
    for (const char* f : {"runge.c", "rungeauto.c"})
      ASSERT_TRUE(plat::fs::CopyReplace(std::string(VORK_SOURCE_DIR) + "/integrator/" + f, Path(f)));
  }
#endif
  // The shipped settings template and its C compiler command: the runs build with it,
  // as a working directory prepared from the template does.
  static std::string ShippedSettingsPath() { return std::string(VORK_SOURCE_DIR) + "/share/vork.ini"; }
  static std::string ShippedCCommand() { return plat::Ini(ShippedSettingsPath()).GetString("Compiler", "C_Command"); }
  // A command line run by the shell; its exit status (-1 when it did not exit).
  static int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  // Programs are looked for in the start directory first, then along PATH.
  void SearchStartDirectoryFirst() const {
    QStringList dirs{plat::fs::ToQString(cwd_.path())};
    for (const QString& d : plat::fs::ToQString(qgetenv("PATH").toStdString()).split(':')) dirs << d;
    plat::Process::SetSearchDirs(dirs);
  }

  TempCwd cwd_;
};

// A fresh start directory and editor state with the canvases made, drawing
// into the logged one.
class CanvasFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetEditorState();
    CreateCanvasBuffers(nullptr);
    g_drawDC->SetLogging(true);
  }
  void TearDown() override {
    DeleteCanvasBuffers();
    ResetEditorState();
  }

  TempCwd cwd_;
};

// The logged drawing operations of a kind.
inline std::vector<plat::DrawOp> Ops(plat::DrawOp::Kind kind) {
  std::vector<plat::DrawOp> out;
  for (const plat::DrawOp& op : g_drawDC->Log())
    if (op.kind == kind) out.push_back(op);
  return out;
}

inline void ExpectPoints(const std::vector<plat::Point>& got, const std::vector<plat::Point>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(got[i], want[i]) << "point " << i;
  }
}

// The settings file the window tests start with: gcc for C, no directories chosen.
inline constexpr char kTestIni[] =
    "[Compiler]\r\nType=0\r\nC_Command=gcc -o temp -Wl,--no-as-needed -lm\r\nF_Command=\r\n"
    "[Directory]\r\nVrd=None\r\nData=None\r\n";

class MainWindowFixture : public ScriptedEditorTest {
 protected:
  enum class Startup { kShown, kHidden, kByTest };
  // kShown: started shown and exposed in SetUp; kHidden: started hidden in SetUp;
  // kByTest: each test calls StartShown() once its own scripts are queued.
  // ini: the settings file the window starts with.
  explicit MainWindowFixture(Startup start = Startup::kShown, std::string ini = kTestIni)
      : start_(start), ini_(std::move(ini)) {}

  void SetUp() override {
    WriteFileBytes(Path("vork.ini"), ini_);
    ScriptedEditorTest::SetUp();
    if (start_ == Startup::kHidden) {
      plat::dlgscript::Queue("SELECT_COMPILER", [](plat::Dialog& d) { d.Press(plat::IDOK); });
      window_.reset(StartMainWindow(SW_HIDE));
    } else if (start_ == Startup::kShown) {
      StartShown();
    }
  }
  void TearDown() override {
    window_.reset();
    ScriptedEditorTest::TearDown();
  }

  // Start-up shown, with OK pressed in the compiler dialog.
  void StartShown() {
    plat::dlgscript::Queue("SELECT_COMPILER", [](plat::Dialog& d) { d.Press(plat::IDOK); });
    window_.reset(StartMainWindow(SW_SHOWNORMAL));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    QApplication::processEvents();
  }

  // A click and a pointer move through Qt's events, at client points.
  void RealClick(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(Handle(), button, Qt::NoModifier, InWindow(x, y));
    QApplication::processEvents();
  }
  void RealMove(int x, int y) {
    QTest::mouseMove(Handle(), InWindow(x, y));
    QApplication::processEvents();
  }

  MainWindow& W() { return *window_; }
  QWindow* Handle() const { return window_->windowHandle(); }
  // A client point in the coordinates of the window's surface, for Qt's events.
  QPoint InWindow(int x, int y) const { return window_->View()->mapTo(window_.get(), QPoint(x, y)); }

  std::unique_ptr<MainWindow> window_;

 private:
  Startup start_;
  std::string ini_;
};
