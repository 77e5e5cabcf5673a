// A user's whole journey on the real main window: a series RLC drawn with the
// placing tools and the bond tool, its parameters, equations, one initial value
// and the numeric conditions entered through the dialogs, run by the menu with
// the real model compiler, the shipped C command and the fixed-step integrator;
// the diagram saved, cleared, opened again and run by the toolbar with the
// automatic step. Both results are compared with the analytic solution and no
// work file may stay. Besides, a stray element deleted before the run, with the
// renumbering the model compiler then sees.
#include "canvas_drawing.h"
#include "document.h"
#include "main_window.h"
#include "platform/client_view.h"
#include "platform/dialog.h"
#include "platform/fs.h"
#include "platform/ini.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "resources/bond_templates.h"
#include "resources/dialog_templates.h"
#include "resources/element_dialog_templates.h"

#include "test_diagram_helpers.h"
#include "test_window_fixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#ifdef CVORK2_BINARY

namespace {

namespace dlg = plat::dlgscript;
namespace msg = plat::msgscript;

// Work files of a run: every name beginning with "temp" and these, in any letter
// case. The model compiler's own proto1, proto2 and SCRATCH stay by design.
const char* const kOtherWorkFiles[] = {"sysvar.txt", "vrk_error", "runge.obj", "rungeauto.obj"};

class DrawAndRun : public MainWindowFixture {
 protected:
  // Started from the shipped settings template, as a prepared working directory is.
  DrawAndRun() : MainWindowFixture(Startup::kHidden, ReadFileBytes(ShippedSettingsPath())) {}

  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(InstallModelCompiler());
    // Programs from the working directory first, then PATH (the C compiler).
    SearchStartDirectoryFirst();
    MainWindowFixture::SetUp();
  }

  // ---- what the user does --------------------------------------------------------------
  static int CentreX(int element) {
    const Rect& b = g_document.elements[element].box;
    return (b.left + b.right) / 2;
  }
  static int CentreY(int element) {
    const Rect& b = g_document.elements[element].box;
    return (b.top + b.bottom) / 2;
  }
  void Click(int x, int y) {
    window_->OnLButtonDown(x, y);
    window_->OnLButtonUp(x, y);
  }
  // A placing tool, then a click; the new element's index.
  int Place(int tool, int x, int y) {
    window_->OnCommand(tool);
    const int before = g_elementCount;
    Click(x, y);
    EXPECT_EQ(g_elementCount, before + 1) << "tool " << tool;
    return g_elementCount - 1;
  }
  // The bond tool from one element to the other, the pointer moving between the clicks.
  void Bond(int tail, int head) {
    window_->OnCommand(kToolBond);
    const int before = g_bondCount;
    Click(CentreX(tail), CentreY(tail));
    window_->OnMouseMove((CentreX(tail) + CentreX(head)) / 2, (CentreY(tail) + CentreY(head)) / 2);
    window_->OnMouseMove(CentreX(head), CentreY(head));
    Click(CentreX(head), CentreY(head));
    EXPECT_EQ(g_bondCount, before + 1);
  }
  // The element selected and right-clicked; its dialog filled and confirmed.
  void EnterParameters(int element, const char* name, const char* value, const char* unit, const char* comment,
                       const char* equation) {
    window_->OnCommand(kToolSelect);
    Click(CentreX(element), CentreY(element));
    dlg::Queue("ELEMENT_PARAMETER_DIALOG", [=](plat::Dialog& d) {
      d.SetTextU(dlgres::kParameterNamesEdit, QString::fromUtf8(name));
      d.SetTextU(dlgres::kParameterValuesEdit, QString::fromUtf8(value));
      d.SetTextU(dlgres::kParameterUnitsEdit, QString::fromUtf8(unit));
      d.SetTextU(dlgres::kParameterCommentsEdit, QString::fromUtf8(comment));
      d.SetTextU(dlgres::kEquationEdit, QString::fromUtf8(equation));
      d.Press(plat::IDOK);
    });
    window_->OnRButtonDown(CentreX(element), CentreY(element));
    EXPECT_EQ(dlg::Pending("ELEMENT_PARAMETER_DIALOG"), 0);
  }
  // The circuit's elements in the order SE, 1, I, C, R, placed around the junction.
  struct Rlc {
    int se, one, in, ca, re;
  };
  Rlc PlaceRlc() {
    Rlc c;
    c.se = Place(ToolOfKind(kKindSE), 100, 250);
    c.one = Place(ToolOfKind(kKindOneJunction), 300, 250);
    c.in = Place(ToolOfKind(kKindI), 300, 120);
    c.ca = Place(ToolOfKind(kKindC), 500, 250);
    c.re = Place(ToolOfKind(kKindR), 300, 380);
    return c;
  }
  // The four bonds; each snaps its new element beside the other. The strokes are set
  // by the kinds at SE, I and C; at R the user puts it at the junction.
  void BondRlc(const Rlc& c) {
    Bond(c.se, c.one);
    Bond(c.one, c.in);
    Bond(c.one, c.ca);
    EXPECT_EQ(std::count(dlg::Opened().begin(), dlg::Opened().end(), "STROKE_SELECT_DIALOG"), 0);
    dlg::Queue("STROKE_SELECT_DIALOG", [](plat::Dialog& d) {
      d.Press(dlgres::kStrokeAtTailRadio);
      d.Press(plat::IDOK);
    });
    Bond(c.one, c.re);
    EXPECT_EQ(dlg::Pending("STROKE_SELECT_DIALOG"), 0);
  }
  // E = 1 V, L = 1 H, C = 0.25 F, R = 1 Ohm.
  void EnterRlcParameters(const Rlc& c) {
    EnterParameters(c.se, "Ev", "1.0", "V", "電源電圧", "E=Ev;");
    EnterParameters(c.in, "Lv", "1.0", "H", "inductance", "L=Z/Lv;");
    EnterParameters(c.ca, "Cv", "0.25", "F", "capacitance", "C=Z/Cv;");
    EnterParameters(c.re, "Rv", "1.0", "Ohm", "抵抗", "if(J==0) R=Rv*Z;\nelse R=Z/Rv;");
  }
  // The capacitor's bond selected by a click at its middle, a key pressed, the
  // charge 0.5 entered.
  void ChargeCapacitor(int bond) {
    window_->OnCommand(kToolSelect);
    const BondRecord& b = g_document.bonds[bond];
    Click((GetPortX(b.tailSide, b.tailElement) + GetPortX(b.headSide, b.headElement)) / 2,
          (GetPortY(b.tailSide, b.tailElement) + GetPortY(b.headSide, b.headElement)) / 2);
    ASSERT_EQ(g_document.selectionActive, 1);
    ASSERT_EQ(g_document.selectionIsElement, 0);
    ASSERT_EQ(g_document.selectedIndex, bond);
    dlg::Queue("INITIAL_VALUE_DIALOG", [](plat::Dialog& d) {
      d.Press(dlgres::kHasInitialValueCheck);
      d.SetTextU(dlgres::kInitialValueEdit, QStringLiteral("5.0000000E-01"));
      d.Press(plat::IDOK);
    });
    window_->OnKeyDown(plat::VK_SPACE);
    EXPECT_EQ(dlg::Pending("INITIAL_VALUE_DIALOG"), 0);
  }
  // Numeric conditions from the toolbar; the automatic step ticked or not.
  void SetConditions(const char* end, const char* step, const char* points, bool automatic) {
    dlg::Queue("TIME_STEP_DIALOG", [=](plat::Dialog& d) {
      d.SetTextU(dlgres::kStartTimeEdit, QStringLiteral("0.0"));
      d.SetTextU(dlgres::kEndTimeEdit, QString::fromUtf8(end));
      d.SetTextU(dlgres::kTimeStepEdit, QString::fromUtf8(step));
      d.SetTextU(dlgres::kOutputPointsEdit, QString::fromUtf8(points));
      if (d.IsChecked(dlgres::kAutoTimeStepCheck) != automatic) d.Press(dlgres::kAutoTimeStepCheck);
      d.Press(plat::IDOK);
    });
    window_->OnCommand(kToolbarNumericConditions);
    EXPECT_EQ(dlg::Pending("TIME_STEP_DIALOG"), 0);
  }
  // A run command: the output dialog (outputs added by kind and bond choice, then
  // "計算開始"), the result name; the output dialog's end code.
  int Run(int command, const std::vector<std::pair<int, int>>& addOutputs, int expectedRows, const char* name) {
    int end = -99;
    dlg::Queue("OUT_PUT_SETTING_DIALOG", [&](plat::Dialog& d) {
      for (const auto& [kind, bond] : addOutputs) {
        d.ChooseCombo(dlgres::kOutputKindCombo, kind);
        d.ChooseCombo(dlgres::kOutputBondCombo, bond);
        d.Press(dlgres::kAddOutputButton);
      }
      EXPECT_EQ(d.ListRowCount(dlgres::kOutputVariableList), expectedRows);
      d.Press(plat::IDOK);
      end = d.Ended() ? d.EndCode() : -1;
    });
    AnswerResultName(name);
    msg::Begin();
    window_->OnCommand(command);
    EXPECT_EQ(dlg::Pending("OUT_PUT_SETTING_DIALOG"), 0);
    EXPECT_EQ(dlg::Pending("OUT_VARIABLE_DIALOG"), 0);
    return end;
  }

  // ---- what the user finds ---------------------------------------------------------------
  // Entries of the working directory that a run works with, whatever their letter case.
  std::vector<std::string> LeftWorkFiles() const {
    std::vector<std::string> left;
    const QDir dir(plat::fs::ToQString(cwd_.path()));
    for (const QString& entry : dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
      const std::string lower = plat::fs::FromQString(entry.toLower());
      bool work = lower.rfind("temp", 0) == 0;
      for (const char* f : kOtherWorkFiles) work = work || lower == f;
      if (work) left.push_back(plat::fs::FromQString(entry));
    }
    return left;
  }
  // The result file of a name, in the directory the settings give for results.
  std::string Result(const std::string& name) const {
    const std::string dir = plat::Ini(Path("vork.ini")).GetString("Directory", "Data");
    EXPECT_EQ(dir, Path("Csv") + "/");
    return ReadFileBytes(dir + name + ".csv");
  }

  FileDialogScript files_;
};

// The drawn circuit: E = 1, L = 1, C = 0.25, R = 1, the capacitor charged to
// q0 = 0.5 and the inductor at rest, so q'' + q' + 4 q = 1: q approaches 0.25
// with a = 1/2, w = sqrt(15)/2, and p = L q'.
constexpr double kA = 0.5;
const double kW = std::sqrt(3.75);
double Charge(double t) { return 0.25 + 0.25 * std::exp(-kA * t) * (std::cos(kW * t) + kA / kW * std::sin(kW * t)); }
double Momentum(double t) { return -std::exp(-kA * t) * std::sin(kW * t) / kW; }

struct Row {
  double t, p, q;
};
std::vector<Row> Rows(const std::string& csv) {
  std::istringstream in(csv);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "TIME,MN2,DP3");
  std::vector<Row> rows;
  while (std::getline(in, line)) {
    Row r{};
    if (std::sscanf(line.c_str(), "%lf,%lf,%lf", &r.t, &r.p, &r.q) != 3) {
      ADD_FAILURE() << line;
      break;
    }
    rows.push_back(r);
  }
  return rows;
}

// RK4 at 1e-3 s and the automatic step (relative tolerance 1e-10) both stay far
// below this over 5 s; the printed ten digits allow it too.
constexpr double kTolerance = 1e-8;

void ExpectAnalytic(const std::vector<Row>& rows) {
  ASSERT_EQ(rows.size(), 51u);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_NEAR(rows[i].t, 0.1 * static_cast<double>(i), 1e-12);
    EXPECT_NEAR(rows[i].p, Momentum(rows[i].t), kTolerance) << "t = " << rows[i].t;
    EXPECT_NEAR(rows[i].q, Charge(rows[i].t), kTolerance) << "t = " << rows[i].t;
  }
}

TEST_F(DrawAndRun, DrawnRlcRunsSavesOpensAndRunsAgainWithTheAutomaticStep) {
  const Rlc rlc = PlaceRlc();
  ASSERT_EQ(g_elementCount, 5);
  BondRlc(rlc);
  ASSERT_EQ(g_bondCount, 4);
  const int strokes[] = {1, 1, 0, 0};
  for (int k = 0; k < 4; ++k) EXPECT_EQ(g_document.bonds[k].strokeAtHead, strokes[k]) << "bond " << k + 1;

  EnterRlcParameters(rlc);
  ChargeCapacitor(2);
  EXPECT_EQ(TextOf(g_document.bonds[2].initialName), "DP3");

  SetConditions("5.0", "1.0E-03", "50", false);
  EXPECT_EQ(g_autoTimeStep, 0);

  // Menu run: the inductor's momentum (bond 2) and the capacitor's displacement (bond 3).
  EXPECT_EQ(Run(kMenuRunBondGraph, {{2, 1}, {3, 2}}, 2, "fixed"), plat::IDOK);
  EXPECT_EQ(Messages(), std::vector<std::string>{"計算終了!!! | "});
  const std::vector<Row> fixed = Rows(Result("fixed"));
  ExpectAnalytic(fixed);
  EXPECT_TRUE(LeftWorkFiles().empty()) << ::testing::PrintToString(LeftWorkFiles());

  // Save as, New, Open.
  files_.Answer(Path("rlc.VRD"));
  window_->OnCommand(kMenuSaveAs);
  EXPECT_EQ(g_documentSaved, 1);
  msg::Begin();
  msg::Answer(plat::IDOK);
  window_->OnCommand(kMenuNew);
  EXPECT_EQ(g_elementCount, 0);
  EXPECT_EQ(g_bondCount, 0);
  files_.Answer(Path("rlc.VRD"));
  window_->OnCommand(kMenuOpen);
  EXPECT_EQ(Messages(), std::vector<std::string>{"新規作成しますか？ | 新規作成"});
  ASSERT_EQ(g_elementCount, 5);
  ASSERT_EQ(g_bondCount, 4);
  EXPECT_EQ(files_.Pending(), 0);

  // Toolbar run with the automatic step; the outputs came back with the diagram.
  // Without runge.c only the automatic-step integrator can make the program.
  ASSERT_TRUE(QFile::remove(plat::fs::ToQString(Path("runge.c"))));
  SetConditions("5.0", "1.0E-03", "50", true);
  EXPECT_EQ(g_autoTimeStep, 1);
  EXPECT_EQ(Run(kToolbarRun, {}, 2, "auto"), plat::IDOK);
  EXPECT_EQ(Messages(), std::vector<std::string>{"計算終了!!! | "});
  const std::vector<Row> automatic = Rows(Result("auto"));
  ExpectAnalytic(automatic);
  ASSERT_EQ(automatic.size(), fixed.size());
  for (std::size_t i = 0; i < fixed.size(); ++i) {
    EXPECT_NEAR(automatic[i].p, fixed[i].p, kTolerance);
    EXPECT_NEAR(automatic[i].q, fixed[i].q, kTolerance);
  }
  EXPECT_TRUE(LeftWorkFiles().empty()) << ::testing::PrintToString(LeftWorkFiles());
}

// A mistaken element drawn and bonded first, shown by the run's stroke check,
// then deleted with the Delete key: the later bonds move down one number, the
// stored state name "DP4" of the capacitor's bond is written with its number
// now, 3, and the outputs emptied by the deletion are chosen anew.
TEST_F(DrawAndRun, ElementDeletedBeforeTheRunRenumbersWhatTheCompilerSees) {
  const Rlc rlc = PlaceRlc();
  const int sf = Place(ToolOfKind(kKindSF), 300, 450);
  Bond(sf, rlc.one);
  BondRlc(rlc);
  ASSERT_EQ(g_bondCount, 5);
  EnterRlcParameters(rlc);
  ChargeCapacitor(3);
  EXPECT_EQ(TextOf(g_document.bonds[3].initialName), "DP4");
  SetConditions("5.0", "1.0E-03", "50", false);
  // Two flows imposed on the junction: the run circles it and opens nothing.
  const std::size_t opened = dlg::Opened().size();
  window_->OnCommand(kMenuRunBondGraph);
  EXPECT_EQ(dlg::Opened().size(), opened);
  EXPECT_TRUE(window_->View()->HasOverlay());

  window_->OnCommand(kToolSelect);
  Click(CentreX(sf), CentreY(sf));
  window_->OnKeyDown(plat::VK_DELETE);
  ASSERT_EQ(g_elementCount, 5);
  ASSERT_EQ(g_bondCount, 4);
  EXPECT_EQ(g_document.outputCount, 0);

  EXPECT_EQ(Run(kMenuRunBondGraph, {{2, 1}, {3, 2}}, 2, "renumbered"), plat::IDOK);
  EXPECT_EQ(Messages(), std::vector<std::string>{"計算終了!!! | "});
  ExpectAnalytic(Rows(Result("renumbered")));
  EXPECT_TRUE(LeftWorkFiles().empty()) << ::testing::PrintToString(LeftWorkFiles());
}

}  // namespace

#endif
