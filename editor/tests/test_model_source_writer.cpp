// The model-source writer against hand-worked files: every line kind with its
// columns counted in bytes, the two-port bond order, junction signs, multi-line
// texts, declarations only for C, and the file written whole or not at all.
#include "model_source_writer.h"
#include "test_diagram_records.h"
#include "test_fs_temp_dir.h"

#include "platform/fs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using ::testing::HasSubstr;

using namespace testdoc;

constexpr char kKeywords[] = "BOND SYMBOL EXPR OUT DEFIN PARM INIT\r\n";
constexpr char kDefaultParm[] = " 0.00000E+00        1.00000E+00        1.00000E-05     1000\n";

class ModelSourceWriter : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetEditorState();
    SetNumeric("0.00000E+00", "1.00000E+00", "1.00000E-05", "1000");
  }
  void TearDown() override {
    plat::fs::FailNextWriteAt(plat::fs::WriteStep::None);
    ResetEditorState();
  }

  TempCwd cwd_;
};

// The side tables of an element, to show a write leaves them alone.
std::vector<int> Sides(int element) {
  const ElementRecord& e = g_document.elements[element];
  std::vector<int> v;
  for (int s = 0; s < kPortSides; ++s) {
    v.insert(v.end(), {e.portInUse[s], e.portBond[s], e.portPartner[s], e.portIsHead[s]});
  }
  return v;
}

TEST_F(ModelSourceWriter, SeriesRlcMatchesTheExampleModelByteForByte) {
  BuildSeriesRlc("2.0", "1.0", "0.25", "1.0");
  g_document.outputCount = 0;
  AddOutput("Momentum", "2");
  AddOutput("Displacement", "3");
  AddOutput("Flow", "4");
  AddOutput("Effort", "3");
  SetNumeric("0.0", "5.0", "1.0E-02", "50");
  EXPECT_EQ(ModelSourceText(), ReadFileBytes(std::string(VORK_SOURCE_DIR) + "/examples/series_rlc.VRK"));
}

TEST_F(ModelSourceWriter, EmptyDocumentGivesTheSectionEndsAndTheParameterLine) {
  EXPECT_EQ(ModelSourceText(), std::string(kKeywords) + "/\n/\n/\n" + kDefaultParm + "/\n");
}

// Transformer and gyrator: the entering bond first, whatever side it is on; two
// leaving bonds in side order. Junctions sign their entering bonds, in any field;
// numbered kinds are never signed. The records are unchanged by the write.
TEST_F(ModelSourceWriter, TwoPortsPutTheEnteringBondFirstAndJunctionsSignEnteringBonds) {
  const int z = AddElement(kKindZeroJunction, 1);
  const int tf = AddElement(kKindTF, 1);
  const int gy = AddElement(kKindGY, 2);
  const int o = AddElement(kKindOneJunction, 1);
  const int c = AddElement(kKindC, 12);
  AddBond(tf, 0, z);     // 1: leaves TF1 (side 0), enters the 0-junction (side 4)
  AddBond(z, 0, tf);     // 2: leaves the 0-junction (side 0), enters TF1 (side 4)
  AddBond(gy, 1, o);     // 3: leaves GY2 (side 1), enters the 1-junction (side 5)
  AddBond(gy, 6, z);     // 4: leaves GY2 (side 6), enters the 0-junction (side 2)
  AddBond(o, 7, c);      // 5: leaves the 1-junction (side 7), enters C12 (side 3)
  g_document.elements[gy].portBond[3] = 40;  // stale entry of a free side
  for (int i : {tf, gy, c}) StoreText(g_document.elements[i].equation, "X=1;");
  const std::vector<int> tfBefore = Sides(tf), gyBefore = Sides(gy);

  EXPECT_EQ(ModelSourceText(), std::string(kKeywords) +
                                   "ZJ     2     -4    -1\n"
                                   "TF1    2     1\n"
                                   "GY2    3     4\n"
                                   "OJ     -3    5\n"
                                   "CI12   5\n"
                                   "/\n"
                                   "/\n"
                                   "TF1\nX=1;\nEOD\n"
                                   "GY2\nX=1;\nEOD\n"
                                   "CI12\nX=1;\nEOD\n"
                                   "/\n" +
                                   kDefaultParm + "/\n");
  EXPECT_EQ(Sides(tf), tfBefore);
  EXPECT_EQ(Sides(gy), gyBefore);
}

TEST_F(ModelSourceWriter, TwoPortWithBothBondsEnteringKeepsSideOrder) {
  const int a = AddElement(kKindZeroJunction, 1);
  const int b = AddElement(kKindOneJunction, 1);
  const int tf = AddElement(kKindTF, 1);
  AddBond(b, 4, tf);  // 1 enters TF1 on side 0
  AddBond(a, 2, tf);  // 2 enters TF1 on side 6
  StoreText(g_document.elements[tf].equation, "X=1;");
  const std::string text = ModelSourceText();
  EXPECT_THAT(text, HasSubstr("\nTF1    1     2\n"));
}

// Names ending in a line break give one more, blank-named line; values, units and
// comments with fewer lines give blanks; a long value pushes the later columns;
// CP932 texts are padded by their bytes; an element without names gets no line.
TEST_F(ModelSourceWriter, ParameterLinesFollowTheNamesLines) {
  const int z = AddElement(kKindZeroJunction, 1);
  const int c = AddElement(kKindC, 1);
  const int r = AddElement(kKindR, 1);
  AddBond(z, 4, c);
  AddBond(z, 0, r);
  SetTexts(c, "K\r\nLongNm\r\n", "1\r\n1.234567890123456789", J("電圧") + "\r\nN", "spring\r\n\r\nextra", "C=Z/K;");
  SetTexts(r, "", "9", "Ohm", "unused", "R=Z;");

  EXPECT_EQ(ModelSourceText(), std::string(kKeywords) +
                                   "ZJ     2     1\n"
                                   "CI1    1\n"
                                   "RE1    2\n"
                                   "/\n"
                                   "/\n"
                                   "CI1\n"
                                   "PA: K      1               \x93\x64\x88\xb3           spring              \n"
                                   "PA: LongNm 1.234567890123456789N" + std::string(14 + 20, ' ') + "\n"
                                   "PA: " + std::string(7 + 16 + 15, ' ') + "extra" + std::string(15, ' ') + "\n"
                                   "C=Z/K;\nEOD\n"
                                   "RE1\n"
                                   "R=Z;\nEOD\n"
                                   "/\n" +
                                   kDefaultParm + "/\n");
}

// Declarations for C only ("int " for 整数, "double " otherwise); feedback lines
// for every target, the kind code by its exact name; data code only with the flag
// exactly 1; the equation as stored, so a final line break gives an empty line.
TEST_F(ModelSourceWriter, DeclarationsFeedbackDataCodeAndEquation) {
  const int z = AddElement(kKindZeroJunction, 1);
  const int se = AddElement(kKindSE, 1);
  const int sf = AddElement(kKindSF, 1);
  AddBond(se, 4, z);
  AddBond(sf, 0, z);
  ElementRecord& e = g_document.elements[se];
  AddUsed(e, J("整数"), "n");
  AddUsed(e, J("実数"), "x");
  AddFeedback(e, "v1", "Effort", "3");
  AddFeedback(e, "longnm7", "Flow", "12");
  AddFeedback(e, "q", "Power", "5");
  e.hasExpData = 1;
  e.expDataCode = "a=1;\nb=2;\n";
  StoreText(e.equation, "E=a+n;\r\nE=E*x;");
  ElementRecord& f = g_document.elements[sf];
  f.hasExpData = 2;
  f.expDataCode = "never\n";
  StoreText(f.equation, "F=1;\r\n");

  const std::string bondAndOut = std::string(kKeywords) + "ZJ     -1    -2\nSE1    1\nSF1    2\n/\n/\n";
  const std::string feedback = "FB: v1     EF3\nFB: longnm7 FL12\nFB: q      5\n";
  const std::string sfBlock = "SF1\nF=1;\r\n\nEOD\n";
  const std::string tail = "/\n" + std::string(kDefaultParm) + "/\n";
  EXPECT_EQ(ModelSourceText(), bondAndOut + "SE1\nint n;\ndouble x;\n" + feedback + "a=1;\nb=2;\nE=a+n;\r\nE=E*x;\nEOD\n" +
                                   sfBlock + tail);
  for (int fortran : {1, 2}) {
    g_language = fortran;
    EXPECT_EQ(ModelSourceText(), bondAndOut + "SE1\n" + feedback + "a=1;\nb=2;\nE=a+n;\r\nE=E*x;\nEOD\n" + sfBlock + tail)
        << "language " << fortran;
  }
}

// All six output kinds, a name none of them (no line), a label of six characters;
// the times as typed; initial values only where given, named by the bond's current
// number.
TEST_F(ModelSourceWriter, OutputsTimesAndInitialValues) {
  const int z = AddElement(kKindZeroJunction, 1);
  const int c = AddElement(kKindC, 1);
  const int i = AddElement(kKindI, 1);
  const int r = AddElement(kKindR, 1);
  AddBond(z, 4, c);
  AddBond(z, 0, i);
  AddBond(z, 2, r);
  for (int k : {c, i, r}) StoreText(g_document.elements[k].equation, "X=1;");
  AddOutput("Effort", "1");
  AddOutput("Flow", "2");
  AddOutput("Momentum", "2");
  AddOutput("effort", "3");
  AddOutput("Displacement", "1");
  AddOutput("Power", "3");
  AddOutput("Energy", "1234");
  SetNumeric("", "1.5E+01", "2.0E-03", "250");
  BondRecord* b = g_document.bonds;
  b[0].hasInitialValue = 1;
  StoreText(b[0].initialName, "DP1");
  StoreText(b[0].initialValue, "1.5000000E+00");
  StoreText(b[1].initialName, "MN2");  // set but not given
  StoreText(b[1].initialValue, "9.9000000E+00");
  b[2].hasInitialValue = 1;
  StoreText(b[2].initialName, "MN7");  // stale: the bond is 3 now
  StoreText(b[2].initialValue, "-2.0000000E-01");
  g_document.bonds[3].hasInitialValue = 1;  // beyond the bond count

  EXPECT_EQ(ModelSourceText(), std::string(kKeywords) +
                                   "ZJ     2     3     1\n"
                                   "CI1    1\nII1    2\nRE1    3\n"
                                   "/\n"
                                   "BC: EF1   EF1\n"
                                   "BC: FL2   FL2\n"
                                   "BC: MN2   MN2\n"
                                   "BC: DP1   DP1\n"
                                   "BC: PW3   PW3\n"
                                   "BC: EN1234EN1234\n"
                                   "/\n"
                                   "CI1\nX=1;\nEOD\nII1\nX=1;\nEOD\nRE1\nX=1;\nEOD\n"
                                   "/\n"
                                   " " + std::string(19, ' ') + "1.5E+01" + std::string(12, ' ') + "2.0E-03" + std::string(9, ' ') + "250\n"
                                   "DP1    1.5000000E+00\n"
                                   "MN3    -2.0000000E-01\n"
                                   "/\n");
}

TEST_F(ModelSourceWriter, FiveDigitNumbersAndLongLabelsAreWrittenWhole) {
  const int z = AddElement(kKindZeroJunction, 1);
  const int se = AddElement(kKindSE, 12345);
  AddBond(se, 4, z);
  StoreText(g_document.elements[se].equation, "E=1;");
  const std::string text = ModelSourceText();
  EXPECT_THAT(text, HasSubstr("\nSE123451\n"));
  EXPECT_THAT(text, HasSubstr("\nSE12345\nE=1;\nEOD\n"));
}

// ---- line tables -------------------------------------------------------------

TEST(LineStartTableTest, EntriesLinesAndEmptyTexts) {
  LineStartTable t;
  EXPECT_EQ(CountLineStarts("ab\r\ncde\r\nf", t), 3);
  EXPECT_EQ(t.entries, (std::vector<int>{0, 4, 9, 12}));
  EXPECT_EQ(CopyTextLine("ab\r\ncde\r\nf", t, 0), "ab");
  EXPECT_EQ(CopyTextLine("ab\r\ncde\r\nf", t, 1), "cde");
  EXPECT_EQ(CopyTextLine("ab\r\ncde\r\nf", t, 2), "f");
  EXPECT_EQ(CopyTextLine("ab\r\ncde\r\nf", t, 3), "");

  EXPECT_EQ(CountLineStarts("K\r\n", t), 2);
  EXPECT_EQ(CopyTextLine("K\r\n", t, 0), "K");
  EXPECT_EQ(CopyTextLine("K\r\n", t, 1), "");

  EXPECT_EQ(CountLineStarts("", t), 0);
  EXPECT_EQ(CopyTextLine("", t, 0), "");
  BuildLineStartTable("", t);
  EXPECT_EQ(t.entries, (std::vector<int>{0, 2}));
  EXPECT_EQ(CopyTextLine("", t, 0), "");

  // Lines of hand-made files may end in a bare LF.
  EXPECT_EQ(CountLineStarts("a\nbb\r\nc", t), 3);
  EXPECT_EQ(CopyTextLine("a\nbb\r\nc", t, 0), "a");
  EXPECT_EQ(CopyTextLine("a\nbb\r\nc", t, 1), "bb");
  EXPECT_EQ(CopyTextLine("a\nbb\r\nc", t, 2), "c");
}

TEST(LineStartTableTest, PaddingAndTextsOfManyLines) {
  std::string text;
  for (int k = 0; k < 80; ++k) text += (k ? "\r\n" : "") + std::to_string(k);
  LineStartTable t;
  ASSERT_EQ(CountLineStarts(text, t), 80);
  EXPECT_EQ(CopyTextLine(text, t, 79), "79");
  std::string out;
  WriteTextLinePadded(out, text, t, 12, 4);
  WriteTextLinePadded(out, text, t, 80, 3);
  WriteTextLinePadded(out, "toolong", LineStartTable{{0, 9}}, 0, 4);
  EXPECT_EQ(out, "12     toolong");
}

// ---- the file ----------------------------------------------------------------

TEST_F(ModelSourceWriter, WritesTempVrkInTheCurrentDirectory) {
  BuildSeriesRlc();
  WriteFileBytes(cwd_.path() + "/temp.VRK", "old and longer than the new model source ............"
                                           "...............................................................");
  ASSERT_TRUE(WriteModelSource());
  EXPECT_EQ(ReadFileBytes(cwd_.path() + "/temp.VRK"), ModelSourceText());
}

// A model source that cannot be written leaves no old one behind for the compiler.
TEST_F(ModelSourceWriter, AFailedWriteRemovesTheOldModelSource) {
  BuildSeriesRlc();
  ASSERT_EQ(mkdir((cwd_.path() + "/temp.VRK").c_str(), 0755), 0);  // cannot be replaced by a file
  WriteFileBytes(cwd_.path() + "/TEMP.vrk", "stale");
  EXPECT_FALSE(WriteModelSource());
  struct stat st;
  EXPECT_NE(stat((cwd_.path() + "/TEMP.vrk").c_str(), &st), 0);
}

// Failing at any step of the write leaves neither the old model source nor the new one in part.
TEST_F(ModelSourceWriter, AWriteFailingAtAnyStepLeavesNoModelSource) {
  BuildSeriesRlc();
  for (plat::fs::WriteStep step : {plat::fs::WriteStep::Write, plat::fs::WriteStep::Flush,
                                   plat::fs::WriteStep::Close, plat::fs::WriteStep::Rename}) {
    SCOPED_TRACE(static_cast<int>(step));
    WriteFileBytes(cwd_.path() + "/temp.VRK", "stale");
    plat::fs::FailNextWriteAt(step);
    EXPECT_FALSE(WriteModelSource());
    EXPECT_TRUE(DirEntries(cwd_.path()).isEmpty()) << DirEntries(cwd_.path()).join(' ').toStdString();
  }
}

}  // namespace
