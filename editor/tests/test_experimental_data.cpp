// Experimental data: the generated C and Fortran code byte for byte, escaping
// of the file name, the dialog INPUT_EXP_RESULT driven by script (rows, combo,
// attach, detach by whole label, staying open on Escape), its menu command, and a
// simulation of a flow source that follows a data file through the real model
// compiler and the shipped C command.
#include "document.h"
#include "experimental_data.h"
#include "main_window.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "resources/expdata_templates.h"
#include "test_diagram_records.h"
#include "test_window_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using ::testing::HasSubstr;

using plat::Dialog;
namespace script = plat::dlgscript;

std::string Lines(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\n";
  return s;
}

// The code as it must come out, with the file name and the last line given.
std::string ExpectedC(const std::string& name, const std::string& last) {
  return Lines({"int i;",
                "static int count=0;",
                "static int flag,Imax;",
                "static double expData[10000],expTime[10000];",
                "double temp;",
                "FILE *fp;",
                "if(flag != 1){",
                "if((fp=fopen(\"" + name + "\",\"r\"))==NULL)",
                "{ printf(\"File could not open\\n \"); exit(1); } ",
                "fscanf(fp,\" %d \", &Imax);",
                "for(i=0;i<Imax;i++) fscanf(fp,\" %lf %lf \", &expTime[i], &expData[i]); ",
                "flag=1;",
                "fclose(fp);}",
                "for(i=count;i<Imax;i++){ if(expTime[i] > T){",
                "count=i; break;",
                "} }",
                "temp=(T-expTime[count-1])*(expData[count]-expData[count-1])",
                "/(expTime[count]-expTime[count-1])+expData[count-1];",
                last});
}

std::string ExpectedFortran(const std::string& name, const std::string& last) {
  return Lines({"      INTEGER COUNT,FLAG,NUM",
                "      DOUBLE PRECISION EXPDATA(10000), EXPTIME(10000),TEMP",
                "      IF(FLAG.NE.1) THEN",
                "          OPEN(UNIT=55, FILE='" + name + "',FORM='FORMATTED')",
                "          READ(55,*) NUM",
                "          DO 10 I=1,NUM",
                "              READ(55,*) EXPTIME(I),EXPDATA(I)",
                "10        CONTINUE",
                "          CLOSE(55)",
                "          FLAG=1",
                "      ENDIF",
                "      DO 20 I=1,NUM",
                "          IF(EXPTIME(I).GT.T) THEN",
                "              COUNT = I",
                "\t           GO TO 30",
                "          END IF",
                "20    CONTINUE",
                "30    TEMP=(T-EXPTIME(COUNT-1))*(EXPDATA(COUNT)-EXPDATA(COUNT-1))",
                "     1  /(EXPTIME(COUNT)-EXPTIME(COUNT-1))+EXPDATA(COUNT-1)",
                last});
}

class ExperimentalData : public ScriptedEditorTest {
 protected:
  // A new element in the next slot.
  static int Add(int kind, int number) { return testdoc::AddElement(kind, number); }
  static const ElementRecord& El(int i) { return g_document.elements[i]; }

  // Opens the dialog, runs body on it and closes it with "閉じる".
  template <class F>
  static void WithDialog(F body) {
    script::Queue("INPUT_EXP_RESULT", [body](Dialog& d) {
      body(d);
      d.Press(dlgres::kExpDataCloseButton);
    });
    EXPECT_EQ(RunExperimentalDataDialog(nullptr), 0);
  }

  // Chooses the label in the combo box, types the file name and presses "追加".
  static void AttachIn(Dialog& d, const std::string& label, const QString& file) {
    int index = -1;
    for (int i = 0; i < d.ComboCount(dlgres::kSourceElementCombo); ++i)
      if (d.ComboText(dlgres::kSourceElementCombo, i) == label) index = i;
    ASSERT_GE(index, 0) << label;
    d.ChooseCombo(dlgres::kSourceElementCombo, index);
    d.SetTextU(dlgres::kDataFileNameEdit, file);
    d.Press(dlgres::kAttachButton);
  }

  static std::vector<std::pair<std::string, std::string>> Rows(const Dialog& d) {
    std::vector<std::pair<std::string, std::string>> rows;
    for (int r = 0; r < d.ListRowCount(dlgres::kAttachmentList); ++r)
      rows.emplace_back(d.ListText(dlgres::kAttachmentList, r, 0), d.ListText(dlgres::kAttachmentList, r, 1));
    return rows;
  }
};

using RowList = std::vector<std::pair<std::string, std::string>>;

// ---- generated code ----------------------------------------------------------------

TEST_F(ExperimentalData, CodeIsTheTableByteForByteInBothLanguagesAndBothKinds) {
  struct Case {
    int language, kind;
    std::string expected;
  } cases[] = {
      {0, kKindSE, ExpectedC("data.txt", "E=temp;")},
      {0, kKindSF, ExpectedC("data.txt", "F=temp;")},
      {1, kKindSE, ExpectedFortran("data.txt", "      E=TEMP")},
      {1, kKindSF, ExpectedFortran("data.txt", "      F=TEMP")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "language " << c.language << " kind " << c.kind);
    EXPECT_EQ(ExperimentalDataCode(c.language, c.kind, "data.txt"), c.expected);
  }
  // Without the file name: 513 and 598 characters.
  EXPECT_EQ(ExperimentalDataCode(0, kKindSE, "").size(), 513u);
  EXPECT_EQ(ExperimentalDataCode(1, kKindSF, "").size(), 598u);
  // Any language other than 0 is Fortran.
  EXPECT_EQ(ExperimentalDataCode(2, kKindSF, "x"), ExpectedFortran("x", "      F=TEMP"));
}

TEST_F(ExperimentalData, FileNameIsEscapedForTheLanguagesStringLiteral) {
  struct Case {
    int language;
    std::string name, line;
  } cases[] = {
      {0, R"(C:\data\run1.txt)", R"(if((fp=fopen("C:\\data\\run1.txt","r"))==NULL))"},
      {0, R"(say "hi" it's.txt)", R"(if((fp=fopen("say \"hi\" it's.txt","r"))==NULL))"},
      {1, R"(it's "x"\y)", R"(          OPEN(UNIT=55, FILE='it''s "x"\y',FORM='FORMATTED'))"},
      {1, "''", "          OPEN(UNIT=55, FILE='''''',FORM='FORMATTED')"},
  };
  for (const Case& c : cases) {
    const std::string code = ExperimentalDataCode(c.language, kKindSE, c.name);
    EXPECT_THAT(code, HasSubstr("\n" + c.line + "\n")) << c.name << "\n" << code;
  }
  // Long names are kept whole.
  const std::string longName(300, 'a');
  EXPECT_THAT(ExperimentalDataCode(0, kKindSE, longName), HasSubstr("fopen(\"" + longName + "\""));
}

// ---- the dialog ------------------------------------------------------------------------

TEST_F(ExperimentalData, DialogListsAttachmentsAndOffersTheSourceElements) {
  Add(kKindSE, 1);
  Add(kKindC, 1);
  const int sf2 = Add(kKindSF, 2);
  const int se12 = Add(kKindSE, 12);
  Add(kKindOneJunction, 0);
  g_document.elements[sf2].hasExpData = 1;
  StoreText(g_document.elements[sf2].expDataFile, "flow.dat");
  g_document.elements[se12].hasExpData = 2;  // only exactly 1 counts
  bool ran = false;
  WithDialog([&](Dialog& d) {
    ran = true;
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("実験値入力"));
    EXPECT_EQ(d.GetTextU(dlgres::kExpDataCloseButton), QString::fromUtf8("閉じる"));
    EXPECT_EQ(d.GetTextU(dlgres::kAttachButton), QString::fromUtf8("追加"));
    EXPECT_EQ(d.GetTextU(dlgres::kDetachButton), QString::fromUtf8("削除"));
    EXPECT_EQ(d.GetTextU(dlgres::kDataFileNameEdit), QString());
    EXPECT_EQ(d.Units(), (plat::BaseUnits{7, 12}));  // 9-point P gothic
    EXPECT_EQ(d.size(), QSize(d.DluToPxX(211), d.DluToPxY(171)));
    ASSERT_EQ(d.ComboCount(dlgres::kSourceElementCombo), 3);
    EXPECT_EQ(d.ComboText(dlgres::kSourceElementCombo, 0), "SE1");
    EXPECT_EQ(d.ComboText(dlgres::kSourceElementCombo, 1), "SF2");
    EXPECT_EQ(d.ComboText(dlgres::kSourceElementCombo, 2), "SE12");
    EXPECT_EQ(d.ComboSelection(dlgres::kSourceElementCombo), -1);
    EXPECT_EQ(d.Child(dlgres::kSourceElementCombo)->pos(), QPoint(20, 40));
    EXPECT_EQ(d.Child(dlgres::kAttachmentList)->geometry(), QRect(20, 70, 260, 140));
    auto* list = qobject_cast<QTreeWidget*>(d.Child(dlgres::kAttachmentList));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->headerItem()->text(0), QString::fromUtf8("素子名"));
    EXPECT_EQ(list->headerItem()->text(1), QString::fromUtf8("ファイル名"));
    EXPECT_EQ(list->columnWidth(0), 60);
    EXPECT_EQ(list->columnWidth(1), 200);
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(Rows(d), (RowList{{"SF2", "flow.dat"}}));
  });
  EXPECT_TRUE(ran);
}

TEST_F(ExperimentalData, AttachStoresCodeOfTheCurrentLanguageAndReplacesItWhenAddedAgain) {
  Add(kKindSE, 1);
  const int se2 = Add(kKindSE, 2);
  const int sf1 = Add(kKindSF, 1);
  WithDialog([&](Dialog& d) {
    AttachIn(d, "SE2", "first.txt");
    EXPECT_EQ(El(se2).hasExpData, 1);
    EXPECT_EQ(El(se2).expDataCode, ExpectedC("first.txt", "E=temp;"));
    AttachIn(d, "SE2", "second.txt");
    EXPECT_EQ(El(se2).expDataCode, ExpectedC("second.txt", "E=temp;"));
    EXPECT_EQ(TextOf(El(se2).expDataFile), "second.txt");
    EXPECT_EQ(TextOf(g_expDataFileName), "second.txt");
    // Both rows stay, the newest on top, until the dialog closes.
    EXPECT_EQ(Rows(d), (RowList{{"SE2", "second.txt"}, {"SE2", "first.txt"}}));

    g_language = 1;
    AttachIn(d, "SF1", "f.dat");
    AttachIn(d, "SF1", "g.dat");
    EXPECT_EQ(El(sf1).expDataCode, ExpectedFortran("g.dat", "      F=TEMP"));  // replaced, never appended
  });
  // The code keeps the language it was made in.
  EXPECT_EQ(El(se2).expDataCode, ExpectedC("second.txt", "E=temp;"));
  EXPECT_EQ(El(0).hasExpData, 0);
  // A new opening lists one row per attached element; the edit field is empty again.
  WithDialog([&](Dialog& d) {
    EXPECT_EQ(Rows(d), (RowList{{"SE2", "second.txt"}, {"SF1", "g.dat"}}));
    EXPECT_EQ(d.GetTextU(dlgres::kDataFileNameEdit), QString());
  });
}

TEST_F(ExperimentalData, AttachWithNoElementChosenAddsARowAndChangesNoElement) {
  const int se1 = Add(kKindSE, 1);
  WithDialog([&](Dialog& d) {
    d.SetTextU(dlgres::kDataFileNameEdit, "lost.txt");
    d.Press(dlgres::kAttachButton);
    EXPECT_EQ(Rows(d), (RowList{{"", "lost.txt"}}));
    // Deleting that row touches no element either.
    d.ListSelect(dlgres::kAttachmentList, 0, true);
    d.Press(dlgres::kDetachButton);
    EXPECT_EQ(d.ListRowCount(dlgres::kAttachmentList), 0);
  });
  EXPECT_EQ(El(se1).hasExpData, 0);
  EXPECT_TRUE(El(se1).expDataCode.empty());
  EXPECT_EQ(TextOf(El(se1).expDataFile), "");
}

TEST_F(ExperimentalData, DetachRemovesEverySelectedRowAndDetachesByTheWholeLabel) {
  const int se1 = Add(kKindSE, 1);
  const int se12 = Add(kKindSE, 12);
  const int sf3 = Add(kKindSF, 3);
  for (int i : {se1, se12, sf3}) {
    g_document.elements[i].hasExpData = 1;
    StoreText(g_document.elements[i].expDataFile, "d" + std::to_string(i));
  }
  WithDialog([&](Dialog& d) {
    ASSERT_EQ(Rows(d), (RowList{{"SE1", "d0"}, {"SE12", "d1"}, {"SF3", "d2"}}));
    d.Press(dlgres::kDetachButton);  // nothing selected: nothing happens
    EXPECT_EQ(d.ListRowCount(dlgres::kAttachmentList), 3);
    d.ListSelect(dlgres::kAttachmentList, 1, true);
    d.ListSelect(dlgres::kAttachmentList, 2, true);
    d.Press(dlgres::kDetachButton);
    EXPECT_EQ(Rows(d), (RowList{{"SE1", "d0"}}));
  });
  EXPECT_EQ(El(se1).hasExpData, 1);  // SE12's row never detaches SE1
  EXPECT_EQ(El(se12).hasExpData, 0);
  EXPECT_EQ(El(sf3).hasExpData, 0);
  WithDialog([&](Dialog& d) { EXPECT_EQ(Rows(d), (RowList{{"SE1", "d0"}})); });

  // And the other way round: SE1's row leaves SE12 alone.
  g_document.elements[se12].hasExpData = 1;
  DetachExperimentalDataFrom("SE1");
  EXPECT_EQ(El(se1).hasExpData, 0);
  EXPECT_EQ(El(se12).hasExpData, 1);
}

TEST_F(ExperimentalData, OnlyCloseEndsTheDialogEscapeAndTheCloseBoxDoNothing) {
  script::Queue("INPUT_EXP_RESULT", [](Dialog& d) {
    d.PressEscape();
    d.PressCloseBox();
    EXPECT_FALSE(d.Ended());
    d.PressEnter();  // Enter presses "閉じる"
    EXPECT_TRUE(d.Ended());
  });
  EXPECT_EQ(RunExperimentalDataDialog(nullptr), 0);
}

TEST_F(ExperimentalData, JapaneseFileNameIsKeptAsTypedAndWrittenIntoTheCodeForTheFileSystem) {
  const int se1 = Add(kKindSE, 1);
  WithDialog([&](Dialog& d) { AttachIn(d, "SE1", QString::fromUtf8("測定値.txt")); });
  EXPECT_EQ(TextOf(El(se1).expDataFile), J("測定値.txt"));
  EXPECT_EQ(El(se1).expDataCode, ExpectedC("測定値.txt", "E=temp;"));  // UTF-8 in the code
  // A name ending in 0x5C as the second byte of a character ("ソ" is 83 5C in CP932) gets no stray escape.
  WithDialog([&](Dialog& d) { AttachIn(d, "SE1", QString::fromUtf8("ソ.txt")); });
  EXPECT_EQ(El(se1).expDataCode, ExpectedC("ソ.txt", "E=temp;"));
}

TEST_F(ExperimentalData, MenuCommand300RunsTheDialogOwnedByTheMainWindow) {
  MainWindow window;
  Add(kKindSE, 1);
  QWidget* parent = nullptr;
  script::Queue("INPUT_EXP_RESULT", [&](Dialog& d) {
    parent = d.parentWidget();
    d.Press(dlgres::kExpDataCloseButton);
  });
  window.OnCommand(kMenuExperimentalData);
  EXPECT_EQ(script::Opened(), std::vector<std::string>{"INPUT_EXP_RESULT"});
  EXPECT_EQ(parent, &window);
}

// ---- a simulation driven by a data file ----------------------------------------------------

// The flow source SF1 feeds a capacitor through a 0-junction; the outputs are the
// source's flow and the capacitor's displacement (the integral of the flow).
TEST_F(ExperimentalData, FlowSourceFollowsTheDataFileInASimulation) {
  const std::string dir = cwd_.path();
  const int sf1 = Add(kKindSF, 1);
  Add(kKindC, 1);
  // A name with a backslash and quotes: it must reach fopen intact.
  const std::string dataName = "F \\q\"E\".txt";
  WriteFileBytes(dir + "/" + dataName, "3\n0 0\n2 4\n5 1\n");
  WithDialog([&](Dialog& d) { AttachIn(d, "SF1", QString::fromStdString(dataName)); });
  ASSERT_EQ(El(sf1).hasExpData, 1);

  WriteFileBytes(dir + "/temp.VRK", "BOND SYMBOL OUT DEFIN PARM INIT\r\n"
                                    "SF1    1\nCI1    2\nZJ     -1    2\n/\n"
                                    "BC: FL1   FL1\nBC: DP2   DP2\n/\n"
                                    "SF1\n" + El(sf1).expDataCode + "EOD\n"
                                    "CI1\nC=Z;\nEOD\n/\n"
                                    " 0.0                4.0                1.0E-02         40\n/\n");
  WriteFileBytes(dir + "/runge.c", ReadFileBytes(std::string(VORK_SOURCE_DIR) + "/integrator/runge.c"));
  const std::string cd = "cd '" + dir + "' && ";
  ASSERT_EQ(Shell(cd + "'" + VORK_BINARY_DIR + "/compiler/cvork2' >listing.txt 2>&1"), 0)
      << ReadFileBytes(dir + "/listing.txt");
  ASSERT_EQ(Shell(cd + ShippedCCommand() + " temp.c runge.c >cc.txt 2>&1"), 0) << ReadFileBytes(dir + "/cc.txt");
  ASSERT_EQ(Shell(cd + "./temp >run.txt 2>&1"), 0) << ReadFileBytes(dir + "/run.txt");

  std::istringstream csv(ReadFileBytes(dir + "/temp.csv"));
  std::string line;
  ASSERT_TRUE(std::getline(csv, line));
  EXPECT_EQ(line, "TIME,FL1,DP2");
  int rows = 0;
  while (std::getline(csv, line)) {
    double t = 0, flow = 0, charge = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf,%lf", &t, &flow, &charge), 3) << line;
    // The data: 0 at t 0, 4 at t 2, 1 at t 5, straight lines between.
    const double wantFlow = t <= 2 ? 2 * t : 4 - (t - 2);
    const double wantCharge = t <= 2 ? t * t : 4 + 4 * (t - 2) - 0.5 * (t - 2) * (t - 2);
    EXPECT_NEAR(flow, wantFlow, 1e-9) << "t = " << t;
    EXPECT_NEAR(charge, wantCharge, 1e-6) << "t = " << t;
    ++rows;
  }
  EXPECT_EQ(rows, 41);
}

}  // namespace
