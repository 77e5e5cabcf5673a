// The main window started as the program starts it, in a fresh start directory
// with its own vork.ini, the compiler dialog answered with OK; message boxes
// and dialogs answered by script.
#pragma once

#include "document.h"
#include "main_window.h"
#include "platform/client_view.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "test_fs_temp_dir.h"

#include <QApplication>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <memory>

class MainWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFileBytes(cwd_.path() + "/vork.ini",
                   "[Compiler]\r\nType=0\r\nC_Command=gcc -o temp -Wl,--no-as-needed -lm\r\nF_Command=\r\n"
                   "[Directory]\r\nVrd=None\r\nData=None\r\n");
    ResetEditorState();
    plat::msgscript::Begin();
    plat::dlgscript::Begin();
    plat::dlgscript::Queue("SELECT_COMPILER", [](plat::Dialog& d) { d.Press(1); });
    window_.reset(StartMainWindow(SW_SHOWNORMAL));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    QApplication::processEvents();
  }
  void TearDown() override {
    window_.reset();
    plat::dlgscript::End();
    plat::msgscript::End();
    ResetEditorState();
  }

  MainWindow& W() { return *window_; }
  QWindow* Handle() const { return window_->windowHandle(); }
  // A client point in the coordinates of the window's surface, for Qt's events.
  QPoint InWindow(int x, int y) const { return window_->View()->mapTo(window_.get(), QPoint(x, y)); }

  TempCwd cwd_;
  std::unique_ptr<MainWindow> window_;
};
