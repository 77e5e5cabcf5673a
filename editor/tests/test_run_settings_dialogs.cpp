// The run-settings dialogs driven by script: their effects on the document, the
// globals and vork.ini. Each test runs in a fresh current directory.
#include "document.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "resources/dialog_templates.h"
#include "run_settings_dialogs.h"
#include "test_diagram_records.h"
#include "test_window_fixture.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using plat::Dialog;
namespace script = plat::dlgscript;
using testdoc::AddOutput;

class RunSettingsDialogs : public ScriptedEditorTest {
 protected:
  void SetUp() override {
    ScriptedEditorTest::SetUp();
    std::strcpy(g_document.numeric.startTime, "0.00000E+00");
    std::strcpy(g_document.numeric.endTime, "1.00000E+00");
    std::strcpy(g_document.numeric.timeStep, "1.00000E-05");
    std::strcpy(g_document.numeric.outputPoints, "1000");
    g_documentSaved = 1;
  }
  void TearDown() override {
    ScriptedEditorTest::TearDown();
    script::SetShownHook({});
  }

  void WriteIni(const QByteArray& content) {
    WriteFileBytes(Path("vork.ini"), content.toStdString());
  }
  QByteArray ReadIni() {
    QFile f(plat::fs::ToQString(Path("vork.ini")));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
  }

  static std::string Output(int i) {
    return TextOf(g_document.outputs[i].kindName) + "/" + TextOf(g_document.outputs[i].bondText);
  }

};

// ---- OUT_PUT_SETTING_DIALOG -------------------------------------------------

TEST_F(RunSettingsDialogs, OutputDialogShowsKindsBondsAndTheCurrentList) {
  g_bondCount = 3;
  AddOutput("Flow", "3");
  script::Queue("OUT_PUT_SETTING_DIALOG", [](Dialog& d) {
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("出力変数の決定"));
    EXPECT_EQ(d.GetTextU(plat::IDOK), QString::fromUtf8("計算開始"));
    EXPECT_EQ(d.GetTextU(plat::IDCANCEL), QString::fromUtf8("キャンセル"));
    EXPECT_EQ(d.GetTextU(dlgres::kAddOutputButton), QString::fromUtf8("追加"));
    EXPECT_EQ(d.GetTextU(dlgres::kDeleteOutputButton), QString::fromUtf8("削除"));
    ASSERT_EQ(d.ComboCount(dlgres::kOutputKindCombo), 6);
    const char* kinds[] = {"Effort", "Flow", "Momentum", "Displacement", "Power", "Energy"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(d.ComboText(dlgres::kOutputKindCombo, i), kinds[i]);
    ASSERT_EQ(d.ComboCount(dlgres::kOutputBondCombo), 3);
    EXPECT_EQ(d.ComboText(dlgres::kOutputBondCombo, 0), "1");
    EXPECT_EQ(d.ComboText(dlgres::kOutputBondCombo, 2), "3");
    EXPECT_EQ(d.ComboSelection(dlgres::kOutputKindCombo), -1);
    EXPECT_EQ(d.ComboSelection(dlgres::kOutputBondCombo), -1);
    EXPECT_EQ(d.Child(dlgres::kOutputKindCombo)->pos(), QPoint(27, 50));
    EXPECT_EQ(d.Child(dlgres::kOutputVariableList)->geometry(), QRect(20, 100, 170, 135));
    auto* list = qobject_cast<QTreeWidget*>(d.Child(dlgres::kOutputVariableList));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->headerItem()->text(0), QString::fromUtf8("出力変数"));
    EXPECT_EQ(list->headerItem()->text(1), QString::fromUtf8("ボンド"));
    EXPECT_EQ(list->columnWidth(0), 100);
    EXPECT_EQ(list->columnWidth(1), 45);
    ASSERT_EQ(d.ListRowCount(dlgres::kOutputVariableList), 1);
    EXPECT_EQ(d.ListText(dlgres::kOutputVariableList, 0, 0), "Flow");
    EXPECT_EQ(d.ListText(dlgres::kOutputVariableList, 0, 1), "3");
    d.Press(plat::IDCANCEL);
  });
  EXPECT_EQ(plat::RunDialog<OutputSettingDialog>(nullptr), plat::IDCANCEL);
}

TEST_F(RunSettingsDialogs, OutputDialogAddsDuplicatesAndDeletesSelectedRows) {
  g_bondCount = 2;
  AddOutput("Effort", "1");
  script::Queue("OUT_PUT_SETTING_DIALOG", [](Dialog& d) {
    d.ChooseCombo(dlgres::kOutputKindCombo, 5);  // Energy
    d.ChooseCombo(dlgres::kOutputBondCombo, 1);  // 2
    d.Press(dlgres::kAddOutputButton);
    d.Press(dlgres::kAddOutputButton);
    EXPECT_EQ(g_document.outputCount, 3);  // changed at once
    d.ChooseCombo(dlgres::kOutputKindCombo, 1);
    d.Press(dlgres::kAddOutputButton);
    ASSERT_EQ(d.ListRowCount(dlgres::kOutputVariableList), 4);
    EXPECT_EQ(d.ListText(dlgres::kOutputVariableList, 3, 0), "Flow");
    d.ListSelect(dlgres::kOutputVariableList, 1, true);
    d.ListSelect(dlgres::kOutputVariableList, 2, true);
    d.Press(dlgres::kDeleteOutputButton);
    ASSERT_EQ(d.ListRowCount(dlgres::kOutputVariableList), 2);
    EXPECT_EQ(d.ListText(dlgres::kOutputVariableList, 1, 0), "Flow");
    d.Press(dlgres::kDeleteOutputButton);  // nothing selected: nothing happens
    EXPECT_EQ(d.ListRowCount(dlgres::kOutputVariableList), 2);
    d.PressEscape();
  });
  EXPECT_EQ(plat::RunDialog<OutputSettingDialog>(nullptr), plat::IDCANCEL);
  ASSERT_EQ(g_document.outputCount, 2);  // Cancel keeps the changes
  EXPECT_EQ(Output(0), "Effort/1");
  EXPECT_EQ(Output(1), "Flow/2");
  EXPECT_TRUE(plat::msgscript::Records().empty());
}

TEST_F(RunSettingsDialogs, OutputDialogAddsNothingWithoutBothChoicesOrBonds) {
  script::Queue("OUT_PUT_SETTING_DIALOG", [](Dialog& d) {
    EXPECT_EQ(d.ComboCount(dlgres::kOutputBondCombo), 0);  // no bonds
    d.ChooseCombo(dlgres::kOutputKindCombo, 0);
    d.Press(dlgres::kAddOutputButton);
    EXPECT_EQ(d.ListRowCount(dlgres::kOutputVariableList), 0);
    d.PressCloseBox();
  });
  EXPECT_EQ(plat::RunDialog<OutputSettingDialog>(nullptr), plat::IDCANCEL);
  EXPECT_EQ(g_document.outputCount, 0);
  g_bondCount = 1;
  script::Queue("OUT_PUT_SETTING_DIALOG", [](Dialog& d) {
    d.ChooseCombo(dlgres::kOutputBondCombo, 0);  // bond only
    d.Press(dlgres::kAddOutputButton);
    d.Press(plat::IDCANCEL);
  });
  EXPECT_EQ(plat::RunDialog<OutputSettingDialog>(nullptr), plat::IDCANCEL);
  EXPECT_EQ(g_document.outputCount, 0);
}

// The list holds 100 entries: a 101st add is refused, the table never overrun.
TEST_F(RunSettingsDialogs, OutputDialogRefusesThe101stEntry) {
  g_bondCount = 1;
  for (int i = 0; i < kMaxOutputVariables - 1; ++i) AddOutput("Flow", "1");
  script::Queue("OUT_PUT_SETTING_DIALOG", [](Dialog& d) {
    d.ChooseCombo(dlgres::kOutputKindCombo, 4);
    d.ChooseCombo(dlgres::kOutputBondCombo, 0);
    d.Press(dlgres::kAddOutputButton);
    d.Press(dlgres::kAddOutputButton);
    d.Press(dlgres::kAddOutputButton);
    EXPECT_EQ(d.ListRowCount(dlgres::kOutputVariableList), kMaxOutputVariables);
    d.Press(plat::IDCANCEL);
  });
  plat::RunDialog<OutputSettingDialog>(nullptr);
  EXPECT_EQ(g_document.outputCount, kMaxOutputVariables);
  EXPECT_EQ(Output(kMaxOutputVariables - 1), "Power/1");
}

// The start button runs the model; a model that fails its checks keeps the dialog open.
TEST_F(RunSettingsDialogs, OutputDialogStartButtonStaysOpenWhenTheChecksFail) {
  g_elementCount = 1;
  g_document.elements[0].kind = kKindC;
  g_document.elements[0].number = 1;
  script::Queue("OUT_PUT_SETTING_DIALOG", [](Dialog& d) {
    d.Press(plat::IDOK);
    EXPECT_FALSE(d.Ended());
    d.PressEnter();
    EXPECT_FALSE(d.Ended());
    d.Press(plat::IDCANCEL);
  });
  EXPECT_EQ(plat::RunDialog<OutputSettingDialog>(nullptr), plat::IDCANCEL);
  EXPECT_EQ(plat::msgscript::Records().size(), 2u);  // the check's message, once per press
}

// ---- OUT_VARIABLE_DIALOG ----------------------------------------------------

TEST_F(RunSettingsDialogs, ResultNameDialogOpensEmptyAndStoresAtOk) {
  std::strcpy(g_document.outputFileName, "old");
  script::Queue("OUT_VARIABLE_DIALOG", [](Dialog& d) {
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("出力ファイル名の入力"));
    EXPECT_EQ(d.GetTextU(dlgres::kResultNameEdit), "");
    EXPECT_EQ(d.Child(plat::IDCANCEL), nullptr);  // no cancel button
    d.SetTextU(dlgres::kResultNameEdit, QString::fromUtf8("結果電圧電圧電圧電圧"));  // 20 bytes
    d.Press(plat::IDOK);
  });
  EXPECT_EQ(plat::RunDialog<OutputFileNameDialog>(nullptr), plat::IDOK);
  EXPECT_EQ(TextOf(g_document.outputFileName), J("結果電圧電圧電圧電"));  // 18 bytes: no half character

  script::Queue("OUT_VARIABLE_DIALOG", [](Dialog& d) {
    d.SetTextU(dlgres::kResultNameEdit, "12345678901234567890");
    d.PressEnter();
  });
  EXPECT_EQ(plat::RunDialog<OutputFileNameDialog>(nullptr), plat::IDOK);
  EXPECT_EQ(TextOf(g_document.outputFileName), "1234567890123456789");

  script::Queue("OUT_VARIABLE_DIALOG", [](Dialog& d) { d.Press(plat::IDOK); });
  EXPECT_EQ(plat::RunDialog<OutputFileNameDialog>(nullptr), plat::IDOK);
  EXPECT_EQ(TextOf(g_document.outputFileName), "");  // OK with the field empty
}

TEST_F(RunSettingsDialogs, ResultNameDialogEscapeAndCloseBoxKeepTheName) {
  std::strcpy(g_document.outputFileName, "run1");
  script::Queue("OUT_VARIABLE_DIALOG", [](Dialog& d) {
    d.SetTextU(dlgres::kResultNameEdit, "run2");
    d.PressEscape();
  });
  script::Queue("OUT_VARIABLE_DIALOG", [](Dialog& d) {
    d.SetTextU(dlgres::kResultNameEdit, "run3");
    d.PressCloseBox();
  });
  EXPECT_EQ(plat::RunDialog<OutputFileNameDialog>(nullptr), plat::IDCANCEL);
  EXPECT_EQ(plat::RunDialog<OutputFileNameDialog>(nullptr), plat::IDCANCEL);
  EXPECT_EQ(TextOf(g_document.outputFileName), "run1");
}

// ---- TIME_STEP_DIALOG -------------------------------------------------------

TEST_F(RunSettingsDialogs, NumericDialogShowsTheTextsAndStoresThemAtOk) {
  g_autoTimeStep = 1;
  std::strcpy(g_document.numeric.timeStep, "2.0E-03");
  script::Queue("TIME_STEP_DIALOG", [](Dialog& d) {
    EXPECT_EQ(d.windowTitle(), "Numerical conditions");
    EXPECT_EQ(d.GetTextU(dlgres::kAutoTimeStepCheck), QString::fromUtf8("自動時間刻みを使用"));
    EXPECT_EQ(d.GetText(dlgres::kStartTimeEdit, 19), "0.00000E+00");
    EXPECT_EQ(d.GetText(dlgres::kEndTimeEdit, 19), "1.00000E+00");
    EXPECT_EQ(d.GetText(dlgres::kTimeStepEdit, 19), "2.0E-03");
    EXPECT_EQ(d.GetText(dlgres::kOutputPointsEdit, 19), "1000");
    EXPECT_TRUE(d.IsChecked(dlgres::kAutoTimeStepCheck));
    EXPECT_FALSE(d.IsEnabled(dlgres::kTimeStepEdit));
    d.SetTextU(dlgres::kStartTimeEdit, "0.5");
    d.SetTextU(dlgres::kEndTimeEdit, "abc");  // not validated
    d.SetTextU(dlgres::kTimeStepEdit, "1.0E-04");  // greyed, stored all the same
    d.SetTextU(dlgres::kOutputPointsEdit, "12345678901234567890");
    d.Press(plat::IDOK);
  });
  EXPECT_EQ(plat::RunDialog<NumericConditionsDialog>(nullptr), plat::IDOK);
  EXPECT_EQ(TextOf(g_document.numeric.startTime), "0.5");
  EXPECT_EQ(TextOf(g_document.numeric.endTime), "abc");
  EXPECT_EQ(TextOf(g_document.numeric.timeStep), "1.0E-04");
  EXPECT_EQ(TextOf(g_document.numeric.outputPoints), "1234567890123456789");
  EXPECT_EQ(g_autoTimeStep, 1);
  EXPECT_EQ(g_documentSaved, 1);  // the dialog does not mark the document modified
}

TEST_F(RunSettingsDialogs, NumericDialogCheckBoxSurvivesCancelWhileTimesAreDropped) {
  g_autoTimeStep = 0;
  script::Queue("TIME_STEP_DIALOG", [](Dialog& d) {
    EXPECT_FALSE(d.IsChecked(dlgres::kAutoTimeStepCheck));
    EXPECT_TRUE(d.IsEnabled(dlgres::kTimeStepEdit));
    d.SetTextU(dlgres::kStartTimeEdit, "5.0");
    d.Press(dlgres::kAutoTimeStepCheck);
    EXPECT_EQ(g_autoTimeStep, 1);  // at once
    EXPECT_FALSE(d.IsEnabled(dlgres::kTimeStepEdit));
    d.Press(plat::IDCANCEL);
  });
  EXPECT_EQ(plat::RunDialog<NumericConditionsDialog>(nullptr), plat::IDCANCEL);
  EXPECT_EQ(g_autoTimeStep, 1);
  EXPECT_EQ(TextOf(g_document.numeric.startTime), "0.00000E+00");

  script::Queue("TIME_STEP_DIALOG", [](Dialog& d) {
    EXPECT_TRUE(d.IsChecked(dlgres::kAutoTimeStepCheck));
    d.Press(dlgres::kAutoTimeStepCheck);
    EXPECT_TRUE(d.IsEnabled(dlgres::kTimeStepEdit));
    d.PressEscape();
  });
  EXPECT_EQ(plat::RunDialog<NumericConditionsDialog>(nullptr), plat::IDCANCEL);
  EXPECT_EQ(g_autoTimeStep, 0);
  EXPECT_EQ(g_documentSaved, 1);
}

TEST_F(RunSettingsDialogs, NumericDialogCutsDoubleByteTextsAtNineteenBytes) {
  script::Queue("TIME_STEP_DIALOG", [](Dialog& d) {
    d.SetTextU(dlgres::kStartTimeEdit, QString::fromUtf8("a電圧電圧電圧電圧電圧"));  // 21 bytes
    d.PressCloseBox();
    EXPECT_TRUE(d.Ended());
  });
  EXPECT_EQ(plat::RunDialog<NumericConditionsDialog>(nullptr), plat::IDCANCEL);
  script::Queue("TIME_STEP_DIALOG", [](Dialog& d) {
    d.SetTextU(dlgres::kStartTimeEdit, QString::fromUtf8("a電圧電圧電圧電圧電圧"));
    d.Press(plat::IDOK);
  });
  EXPECT_EQ(plat::RunDialog<NumericConditionsDialog>(nullptr), plat::IDOK);
  EXPECT_EQ(TextOf(g_document.numeric.startTime), J("a電圧電圧電圧電圧電"));
}

// ---- SELECT_COMPILER --------------------------------------------------------

TEST_F(RunSettingsDialogs, SelectCompilerWithoutSettingsFileCreatesIt) {
  g_language = 1;
  script::Queue("SELECT_COMPILER", [](Dialog& d) {
    EXPECT_EQ(g_language, 0);  // read when it opens
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("コンパイラの選択"));
    EXPECT_EQ(d.GetTextU(dlgres::kCompilerCRadio), "C Langage");
    EXPECT_EQ(d.GetTextU(dlgres::kCompilerFortranRadio), "Fortran");
    EXPECT_TRUE(d.IsChecked(dlgres::kCompilerCRadio));
    EXPECT_FALSE(d.IsChecked(dlgres::kCompilerFortranRadio));
    EXPECT_EQ(d.GetTextU(dlgres::kCCommandEdit), "");
    EXPECT_EQ(d.GetTextU(dlgres::kFortranCommandEdit), "");
    d.Press(plat::IDOK);
  });
  EXPECT_EQ(plat::RunDialog<SelectCompilerDialog>(nullptr), plat::IDOK);
  EXPECT_EQ(g_language, 0);
  EXPECT_EQ(ReadIni(), "[Compiler]\r\nType=0\r\nC_Command=\r\nF_Command=\r\n");
}

TEST_F(RunSettingsDialogs, SelectCompilerTypeTwoIsFortranUntilOkWritesOne) {
  WriteIni("[Private]\r\nMode=Advance\r\n[compiler]\r\ntype=2\r\nc_command=gcc -o temp -Wl,--no-as-needed -lm\r\n"
           "Extra=1\r\nF_COMMAND=gfortran -o temp\r\n[Directory]\r\nData=None\r\n");
  script::Queue("SELECT_COMPILER", [](Dialog& d) {
    EXPECT_EQ(g_language, 2);
    EXPECT_TRUE(d.IsChecked(dlgres::kCompilerFortranRadio));
    EXPECT_FALSE(d.IsChecked(dlgres::kCompilerCRadio));
    EXPECT_EQ(d.GetTextU(dlgres::kCCommandEdit), "gcc -o temp -Wl,--no-as-needed -lm");
    EXPECT_EQ(d.GetTextU(dlgres::kFortranCommandEdit), "gfortran -o temp");
    d.Press(plat::IDOK);
  });
  EXPECT_EQ(plat::RunDialog<SelectCompilerDialog>(nullptr), plat::IDOK);
  EXPECT_EQ(g_language, 1);
  // The section holds exactly Type, C_Command, F_Command; other sections stay.
  EXPECT_EQ(ReadIni(),
            "[Private]\r\nMode=Advance\r\n[compiler]\r\nType=1\r\nC_Command=gcc -o temp -Wl,--no-as-needed -lm\r\n"
            "F_Command=gfortran -o temp\r\n[Directory]\r\nData=None\r\n");
}

TEST_F(RunSettingsDialogs, SelectCompilerOkStoresTheRadioAndTheEdits) {
  WriteIni("[Compiler]\r\nType=1\r\nC_Command=cc\r\nF_Command=f77\r\n");
  script::Queue("SELECT_COMPILER", [](Dialog& d) {
    d.Press(dlgres::kCompilerCRadio);
    EXPECT_EQ(g_language, 1);  // only OK sets it
    d.SetTextU(dlgres::kCCommandEdit, "clang -o temp -lm");
    d.SetTextU(dlgres::kFortranCommandEdit, QString(300, QLatin1Char('x')));
    d.Press(plat::IDOK);
  });
  EXPECT_EQ(plat::RunDialog<SelectCompilerDialog>(nullptr), plat::IDOK);
  EXPECT_EQ(g_language, 0);
  EXPECT_EQ(ReadIni(), "[Compiler]\r\nType=0\r\nC_Command=clang -o temp -lm\r\nF_Command=" +
                           QByteArray(259, 'x') + "\r\n");
}

// At every start the dialog rewrites the commands: a command left alone keeps its
// bytes even when they are not UTF-8.
TEST_F(RunSettingsDialogs, SelectCompilerKeepsUntouchedCommandsByteForByte) {
  WriteIni("[Compiler]\r\nType=0\r\nC_Command=cc -I\xE9t\xE9\r\nF_Command=f\r\n");
  script::Queue("SELECT_COMPILER", [](Dialog& d) { d.Press(plat::IDOK); });
  EXPECT_EQ(plat::RunDialog<SelectCompilerDialog>(nullptr), plat::IDOK);
  EXPECT_EQ(ReadIni(), "[Compiler]\r\nType=0\r\nC_Command=cc -I\xE9t\xE9\r\nF_Command=f\r\n");
}

TEST_F(RunSettingsDialogs, SelectCompilerStaysOpenOnEscapeAndCloseBox) {
  WriteIni("[Compiler]\r\nType=0\r\n");
  script::Queue("SELECT_COMPILER", [](Dialog& d) {
    EXPECT_EQ(d.Child(plat::IDCANCEL), nullptr);  // no cancel button
    d.PressEscape();
    d.PressCloseBox();
    d.Press(dlgres::kCompilerFortranRadio);
    EXPECT_FALSE(d.Ended());
    EXPECT_EQ(g_language, 0);
    d.Press(plat::IDOK);
    EXPECT_TRUE(d.Ended());
  });
  EXPECT_EQ(plat::RunDialog<SelectCompilerDialog>(nullptr), plat::IDOK);
  EXPECT_EQ(g_language, 1);
}

// The real dialog on the offscreen platform: the Escape key and the close box leave it
// open; Enter is OK.
TEST_F(RunSettingsDialogs, SelectCompilerRealKeysCloseOnlyThroughOk) {
  script::End();
  WriteIni("[Compiler]\r\nType=1\r\nC_Command=gcc\r\nF_Command=g77\r\n");
  bool ran = false;
  script::SetShownHook([&ran](Dialog& d) {
    QTest::keyClick(&d, Qt::Key_Escape);
    d.close();
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(d.Ended());
    ran = true;
    QTest::keyClick(&d, Qt::Key_Return);
  });
  EXPECT_EQ(plat::RunDialog<SelectCompilerDialog>(nullptr), plat::IDOK);
  EXPECT_TRUE(ran);
  EXPECT_EQ(g_language, 1);
  EXPECT_EQ(ReadIni(), "[Compiler]\r\nType=1\r\nC_Command=gcc\r\nF_Command=g77\r\n");
}

// The real compiler dialog: the focus on OK (its first tab stop), a long command shown
// from its start, and typing held to 259 UTF-8 bytes.
TEST_F(RunSettingsDialogs, SelectCompilerShowsCommandsFromTheStartAndCapsThemAt259Bytes) {
  script::End();
  std::string command = "gcc -o temp -Wl,--no-as-needed -lm ";
  command += std::string(258 - command.size(), 'x');
  WriteIni(QByteArray("[Compiler]\r\nType=0\r\nC_Command=") + command.c_str() + "\r\nF_Command=f\r\n");
  bool ran = false;
  script::SetShownHook([&ran](Dialog& d) {
    EXPECT_EQ(d.focusWidget(), d.Child(plat::IDOK));
    auto* edit = qobject_cast<QLineEdit*>(d.Child(dlgres::kCCommandEdit));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->cursorPosition(), 0);
    edit->setFocus();
    edit->end(false);
    QKeyEvent accent(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("é"));
    QApplication::sendEvent(edit, &accent);  // 2 bytes: 260 would not fit
    QTest::keyClicks(edit, QStringLiteral("yz"));
    EXPECT_EQ(edit->text().size(), 259);
    ran = true;
    QTest::keyClick(edit, Qt::Key_Return);
  });
  EXPECT_EQ(plat::RunDialog<SelectCompilerDialog>(nullptr), plat::IDOK);
  EXPECT_TRUE(ran);
  EXPECT_EQ(ReadIni(), QByteArray("[Compiler]\r\nType=0\r\nC_Command=") + command.c_str() + "y\r\nF_Command=f\r\n");
}

TEST_F(RunSettingsDialogs, RealNumericDialogEscapeIsCancel) {
  script::End();
  script::SetShownHook([](Dialog& d) {
    d.Child(dlgres::kStartTimeEdit)->setFocus();
    QTest::keyClicks(d.Child(dlgres::kStartTimeEdit), "9");
    QTest::mouseClick(d.Child(dlgres::kAutoTimeStepCheck), Qt::LeftButton);
    QTest::keyClick(&d, Qt::Key_Escape);
  });
  EXPECT_EQ(plat::RunDialog<NumericConditionsDialog>(nullptr), plat::IDCANCEL);
  EXPECT_EQ(g_autoTimeStep, 1);
  EXPECT_EQ(TextOf(g_document.numeric.startTime), "0.00000E+00");
}

}  // namespace
