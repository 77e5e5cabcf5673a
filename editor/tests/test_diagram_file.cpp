// The diagram file: tokens byte for byte, round trips of built diagrams
// (texts in CP932 with line breaks, the largest tables), hand-made token
// files with every refusal, and what opening does to the rest of the editor.
#include "diagram_file.h"

#include "canvas_drawing.h"
#include "document.h"
#include "platform/fs.h"
#include "platform/message_box.h"

#include "test_diagram_helpers.h"
#include "test_fs_temp_dir.h"

#include <QDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using ::testing::HasSubstr;

// Tokens composed by hand: "%d " of T's length, then T.
std::string I(int v) {
  const std::string t = std::to_string(v) + " ";
  return std::to_string(t.size()) + " " + t;
}
std::string S(const std::string& s) {
  const std::string t = std::to_string(s.size()) + " ";
  return std::to_string(t.size()) + " " + t + s;
}

// A token file with names on the tokens the cases change.
struct TokenFile {
  std::vector<std::string> tokens;
  std::map<std::string, std::size_t> named;

  void Add(const std::string& token, const char* name = nullptr) {
    if (name) named[name] = tokens.size();
    tokens.push_back(token);
  }
  void Set(const std::string& name, const std::string& token) { tokens.at(named.at(name)) = token; }
  std::string Bytes() const {
    std::string b;
    for (const std::string& t : tokens) b += t;
    return b;
  }
};

void AddFreeSides(TokenFile& f, int count) {
  for (int s = 0; s < count; ++s) f.Add(I(0) + I(0) + I(-1) + I(0));
}

void AddEmptyTexts(TokenFile& f, int count) {
  for (int n = 0; n < count; ++n) f.Add(S(""));
}

// A 1-junction (element 0) whose side 4 carries bond 0 to C1 (element 1) on
// its side 0, more 0-junctions up to `elements`, `bonds` copies of that bond,
// `used` and `feedback` variables on C1, `outputs` outputs. C1's check boxes
// are written 0, 1, 2, 3, 0, 0, 0, 0 and the first bond's stroke as 2; the
// hit polygons hold nothing like the real ones.
TokenFile HandFile(int elements = 2, int bonds = 1, int used = 1, int feedback = 1, int outputs = 1) {
  TokenFile f;
  f.Add(I(elements), "element count");
  f.Add(I(bonds), "bond count");
  f.Add(I(1), "C counter");
  for (int c : {0, 0, 0, 0, 0, 0, 0}) f.Add(I(c));
  f.Add(I(1), "1-junction counter");
  // Element 0: the 1-junction at (300, 185).
  f.Add(I(8), "kind");
  f.Add(I(1) + I(15) + I(30) + I(300) + I(185) + I(315) + I(215));
  AddFreeSides(f, 4);
  f.Add(I(0), "side bond");
  f.Add(I(1), "side in use");
  f.Add(I(1), "side partner");
  f.Add(I(0));
  AddFreeSides(f, 3);
  f.Add(I(0));  // numbered
  AddEmptyTexts(f, 4 + 8 + 2 + 1);
  for (int n = 0; n < 8; ++n) f.Add(I(0));
  f.Add(I(0) + I(0));
  // Element 1: C1 at (400, 185), bonded on its left side.
  f.Add(I(0) + I(1) + I(30) + I(30) + I(400) + I(185) + I(430) + I(215));
  f.Add(I(0) + I(1) + I(0) + I(1));
  AddFreeSides(f, 7);
  f.Add(I(1));
  f.Add(S("C1") + S("1.0E-3") + S("F") + S(J("容量")));
  AddEmptyTexts(f, 8 + 2);
  f.Add(S(J("Q = C1*E\r\n電荷 12")), "equation");
  f.Add(I(0) + I(1));
  f.Add(I(2), "check box 2");
  f.Add(I(3) + I(0) + I(0) + I(0) + I(0));
  f.Add(I(used), "used count");
  f.Add(I(feedback), "feedback count");
  for (int n = 0; n < used; ++n) f.Add(S(J("実数")) + S("x" + std::to_string(n)) + S(""));
  for (int n = 0; n < feedback; ++n) f.Add(S("v" + std::to_string(n)) + S("Flow") + S("1"));
  for (int i = 2; i < elements; ++i) {
    f.Add(I(7) + I(i) + I(15) + I(30) + I(60 * (i % 30)) + I(300 + 40 * (i / 30)) + I(60 * (i % 30) + 15) +
          I(330 + 40 * (i / 30)));
    AddFreeSides(f, 8);
    f.Add(I(0));
    AddEmptyTexts(f, 4 + 8 + 2 + 1);
    for (int n = 0; n < 8 + 2; ++n) f.Add(I(0));
  }
  for (int k = 0; k < bonds; ++k) {
    if (k == 0) {
      f.Add(I(1), "head element");
      f.Add(I(0), "tail element");
      f.Add(I(0), "head side");
      f.Add(I(4), "tail side");
    } else {
      f.Add(I(1) + I(0) + I(0) + I(4));
    }
    for (int n = 0; n < 8; ++n) f.Add(I(1));
    f.Add(I(0) + I(0) + I(5) + I(0));
    if (k == 0) {
      f.Add(I(2), "stroke");
      f.Add(I(1));
      f.Add(S("1.0E+00"), "initial value");
      f.Add(S("DP1"), "initial name");
    } else {
      f.Add(I(0) + I(0) + S("0.0000000E+00") + S(""));
    }
  }
  f.Add(S("0.0") + S("1.0"));
  f.Add(S("1.0E-04"), "time step");
  f.Add(S("500"));
  f.Add(I(outputs), "output count");
  for (int n = 0; n < outputs; ++n) {
    f.Add(S("Effort"));
    f.Add(S("1"), n == 0 ? "bond text" : nullptr);
  }
  return f;
}

class DiagramFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetEditorState();
    InitDocumentAndSettings();
    plat::msgscript::Begin();
  }
  void TearDown() override {
    testdoc::ExpectTablesConsistent();
    plat::msgscript::End();
    ResetEditorState();
  }

  std::string Path(const std::string& name) const { return plat::fs::Join(cwd_.path(), name); }
  // Opened or refused, the tables keep their promises.
  int Open(const std::string& name) {
    files_.Answer(name);
    const int opened = OpenDiagram(nullptr);
    testdoc::ExpectTablesConsistent();
    return opened;
  }
  int SaveAs(const std::string& name) {
    files_.Answer(name);
    return SaveDiagramAs(nullptr);
  }
  // A fresh editor, as after a new start.
  static void Restart() {
    ResetEditorState();
    InitDocumentAndSettings();
  }

  TempCwd cwd_;
  FileDialogScript files_;
};

}  // namespace

TEST(DiagramTokens, WrittenByteForByteAndReadBack) {
  struct Case {
    int value;
    const char* bytes;
  };
  for (const Case& c : {Case{123, "4 123 "}, Case{0, "2 0 "}, Case{-1, "3 -1 "}, Case{99999999, "9 99999999 "},
                        Case{-9999999, "9 -9999999 "}}) {
    std::string file = "x";
    ASSERT_TRUE(WriteIntField(file, c.value));
    EXPECT_EQ(file, std::string("x") + c.bytes);
    TokenCursor cursor{file.data(), file.size(), 1};
    int v = 7;
    EXPECT_TRUE(ReadIntField(cursor, v));
    EXPECT_EQ(v, c.value);
    EXPECT_EQ(cursor.pos, file.size());
  }
  // T longer than 9 bytes cannot be announced in two bytes: nothing is written.
  for (int v : {100000000, -10000000}) {
    std::string file;
    EXPECT_FALSE(WriteIntField(file, v)) << v;
    EXPECT_EQ(file, "");
  }

  const std::string text = J("電圧 12\r\nE = 1");
  for (const auto& [s, bytes] : std::vector<std::pair<std::string, std::string>>{
           {"abc", "2 3 abc"}, {"", "2 0 "}, {text, "3 14 " + text}, {std::string(100, 'a'), "4 100 " + std::string(100, 'a')}}) {
    std::string file;
    ASSERT_TRUE(WriteStringField(file, s));
    EXPECT_EQ(file, bytes);
    char field[120];
    std::memset(field, 'z', sizeof field);
    TokenCursor cursor{file.data(), file.size(), 0};
    EXPECT_TRUE(ReadStringField(cursor, field, sizeof field));
    EXPECT_EQ(std::string(field), s);
    EXPECT_EQ(field[sizeof field - 1], '\0');  // zero-filled to the end
  }
  // A string fits a field of one more byte than its length, not fewer.
  std::string file = "2 3 abc";
  char four[4];
  char three[3];
  TokenCursor fits{file.data(), file.size(), 0};
  EXPECT_TRUE(ReadStringField(fits, four, sizeof four));
  TokenCursor tooLong{file.data(), file.size(), 0};
  EXPECT_FALSE(ReadStringField(tooLong, three, sizeof three));
}

TEST_F(DiagramFile, EmptyDiagramKeepsCountersConditionsAndOutputs) {
  const int counters[kKindCount] = {3, 0, 1, 0, 0, 0, 0, 2, 0};
  std::copy(std::begin(counters), std::end(counters), g_kindCounters);
  g_document.outputCount = 1;
  StoreText(g_document.outputs[0].kindName, "Effort");
  StoreText(g_document.outputs[0].bondText, "1");
  ASSERT_EQ(SaveAs("empty.VRD"), 1);
  EXPECT_EQ(ReadFileBytes(Path("empty.VRD")),
            "2 0 2 0 "
            "2 3 2 0 2 1 2 0 2 0 2 0 2 0 2 2 2 0 "
            "3 11 0.00000E+00" "3 11 1.00000E+00" "3 11 1.00000E-05" "2 4 1000"
            "2 1 " "2 6 Effort" "2 1 1");

  Restart();
  ASSERT_EQ(Open("empty.VRD"), 1);
  EXPECT_EQ(g_elementCount, 0);
  EXPECT_EQ(g_kindCounters[0], 3);
  EXPECT_EQ(g_kindCounters[7], 2);
  EXPECT_EQ(g_document.outputCount, 1);
  EXPECT_EQ(TextOf(g_document.outputs[0].kindName), "Effort");
}

TEST_F(DiagramFile, RoundTripGivesTheSameRecordsAndTheSameBytes) {
  testdoc::BuildSampleDiagram();
  // Not in the file: attachments, marks, the fourth extra text, the result name.
  g_document.elements[2].hasExpData = 1;
  g_document.elements[2].expDataCode = "code";
  g_document.elements[3].staleMark = 1;
  StoreText(g_document.elements[3].extraText2450, "2450");
  StoreText(g_document.outputFileName, "run1");
  const DiagramContent before = CurrentDiagram();
  ASSERT_EQ(SaveAs("model.VRD"), 1);
  EXPECT_EQ(g_diagramFileName, Path("model.VRD"));
  const std::string first = ReadFileBytes(Path("model.VRD"));
  EXPECT_THAT(first, HasSubstr(S(J("電圧 振幅\r\n角周波数"))));
  // The initial value comes before its name.
  EXPECT_THAT(first, HasSubstr(I(1) + S("1.5E-03") + S("DP3")));

  Restart();
  StoreText(g_document.outputFileName, "run2");
  ASSERT_EQ(Open("model.VRD"), 1);
  EXPECT_EQ(g_diagramFileName, Path("model.VRD"));
  ExpectSameRecords(before, CurrentDiagram());
  EXPECT_EQ(g_elementCount, 5);
  EXPECT_EQ(g_bondCount, 4);
  for (int i = 0; i < g_elementCount; ++i) {
    EXPECT_EQ(g_document.elements[i].hasExpData, 0);
    EXPECT_EQ(g_document.elements[i].staleMark, 0);
    EXPECT_EQ(TextOf(g_document.elements[i].extraText2450), "");
  }
  EXPECT_EQ(TextOf(g_document.outputFileName), "run2");
  ASSERT_EQ(SaveAs("again.VRD"), 1);
  EXPECT_EQ(ReadFileBytes(Path("again.VRD")), first);
}

TEST_F(DiagramFile, LargestTablesAndFullTextFieldsRoundTrip) {
  // n bytes of double-byte characters, CR LF, blanks and digits.
  auto full = [](std::size_t n, int seed) {
    const std::string units[] = {J("電"), "\r\n", " 7", J("ア"), "x" + std::to_string(seed % 10)};
    std::string s = n % 2 ? "y" : "";
    for (std::size_t u = seed; s.size() < n; ++u) s += units[u % 5];
    return s;
  };
  for (int n = 0; n < kMaxElements; ++n) testdoc::PlaceForTest(n % kKindCount, 40 + 80 * (n % 25), 30 + 60 * (n / 25));
  // Ten bonds in each run of nine elements (C I R SE SF TF GY 0 1): the one-ports and
  // both two-ports to the junctions, the junctions to each other.
  const int pairs[10][2] = {{0, 7}, {1, 7}, {2, 7}, {3, 8}, {4, 8}, {5, 7}, {5, 8}, {6, 7}, {6, 8}, {7, 8}};
  auto freeSide = [](int e) {
    int s = 0;
    while (g_document.elements[e].portInUse[s] != 0) ++s;
    return s;
  };
  for (int k = 0; k < kMaxBonds; ++k) {
    const int tail = 9 * (k / 10) + pairs[k % 10][0];
    const int head = 9 * (k / 10) + pairs[k % 10][1];
    testdoc::AddBond(tail, freeSide(tail), head, k % 2, freeSide(head));
  }
  for (int n = 0; n < kMaxElements; ++n) {
    ElementRecord& e = g_document.elements[n];
    StoreText(e.parameterNames, full(sizeof e.parameterNames - 1, n));
    StoreText(e.parameterValues, full(sizeof e.parameterValues - 1, n + 1));
    StoreText(e.parameterUnits, full(sizeof e.parameterUnits - 1, n + 2));
    StoreText(e.parameterComments, full(sizeof e.parameterComments - 1, n + 3));
    for (auto& t : e.extraTexts) StoreText(t, full(sizeof t - 1, n));
    StoreText(e.extraText2430, full(sizeof e.extraText2430 - 1, n));
    StoreText(e.extraText2440, full(sizeof e.extraText2440 - 1, n + 1));
    StoreText(e.equation, full(sizeof e.equation - 1, n + 4));
  }
  ElementRecord& e = g_document.elements[7];
  e.usedCount = kMaxUsedVariables;
  e.feedbackCount = kMaxFeedbackVariables;
  for (int k = 0; k < kMaxUsedVariables; ++k) {
    StoreText(e.used[k].type, J("実数"));
    StoreText(e.used[k].name, full(sizeof e.used[k].name - 1, k));
    StoreText(e.used[k].comment, full(sizeof e.used[k].comment - 1, k));
    StoreText(e.feedback[k].name, full(sizeof e.feedback[k].name - 1, k));
    StoreText(e.feedback[k].kind, "Displacement");
    StoreText(e.feedback[k].bond, "500");
  }
  for (int n = 0; n < kMaxBonds; ++n) StoreText(g_document.bonds[n].initialValue, full(19, n));
  g_document.outputCount = kMaxOutputVariables;
  for (int n = 0; n < kMaxOutputVariables; ++n) {
    StoreText(g_document.outputs[n].kindName, "Displacement");
    StoreText(g_document.outputs[n].bondText, std::to_string(400 + n));
  }
  ASSERT_EQ(TextOf(e.equation).size(), sizeof e.equation - 1);
  const DiagramContent before = CurrentDiagram();
  ASSERT_EQ(SaveAs("big.VRD"), 1);

  Restart();
  ASSERT_EQ(Open("big.VRD"), 1);
  ExpectSameRecords(before, CurrentDiagram());
  ASSERT_EQ(SaveAs("big2.VRD"), 1);
  EXPECT_EQ(ReadFileBytes(Path("big2.VRD")), ReadFileBytes(Path("big.VRD")));
}

TEST_F(DiagramFile, HandMadeFileOpensWithFlagsAsOneAndPolygonsRecomputed) {
  WriteFileBytes(Path("hand.VRD"), HandFile().Bytes());
  ASSERT_EQ(Open("hand.VRD"), 1);
  EXPECT_TRUE(plat::msgscript::Records().empty());
  ASSERT_EQ(g_elementCount, 2);
  ASSERT_EQ(g_bondCount, 1);
  const ElementRecord& c = g_document.elements[1];
  EXPECT_EQ(c.kind, kKindC);
  EXPECT_EQ(TextOf(c.equation), J("Q = C1*E\r\n電荷 12"));
  const int checks[8] = {0, 1, 1, 1, 0, 0, 0, 0};
  EXPECT_TRUE(std::equal(std::begin(checks), std::end(checks), std::begin(c.checkBoxes)));
  EXPECT_EQ(TextOf(c.used[0].type), J("実数"));
  EXPECT_EQ(TextOf(c.feedback[0].kind), "Flow");
  const BondRecord& b = g_document.bonds[0];
  EXPECT_EQ(b.strokeAtHead, 1);
  EXPECT_EQ(b.reserved[2], 5);
  EXPECT_EQ(TextOf(b.initialValue), "1.0E+00");
  EXPECT_EQ(TextOf(b.initialName), "DP1");
  EXPECT_EQ(TextOf(g_document.numeric.timeStep), "1.0E-04");

  // The polygon comes from the boxes: from the junction's right port
  // (320, 200) to C1's left port (395, 200), not the file's ones.
  const Point expected[4] = {{399, 208}, {399, 192}, {316, 192}, {316, 208}};
  for (int n = 0; n < 4; ++n) EXPECT_EQ(b.hitPolygon[n], expected[n]) << n;
  EXPECT_TRUE(b.hitRegion.Contains(350, 200));
  EXPECT_TRUE(g_document.occupiedRegion.Contains(300, 185));
  EXPECT_TRUE(g_document.occupiedRegion.Contains(429, 214));

  // Saved again, check boxes and strokes are 1; stored values other than 1 are 0.
  std::string saved = Encoded();
  EXPECT_THAT(saved, HasSubstr(I(0) + I(1) + I(1) + I(1) + I(0)));
  g_document.elements[1].checkBoxes[1] = 2;
  g_document.bonds[0].strokeAtHead = 3;
  saved = Encoded();
  EXPECT_THAT(saved, HasSubstr(I(0) + I(0) + I(1) + I(1) + I(0)));
  EXPECT_THAT(saved, HasSubstr(I(0) + I(5) + I(0) + I(0) + I(1) + S("1.0E+00")));
}

TEST_F(DiagramFile, TheCapacitiesAreAcceptedAndOneMoreIsRefused) {
  struct Case {
    const char* what;
    TokenFile at;
    TokenFile over;
  };
  const Case cases[] = {
      {"elements", HandFile(500), HandFile(501)},
      {"bonds", HandFile(2, 500), HandFile(2, 501)},
      {"used variables", HandFile(2, 1, 20), HandFile(2, 1, 21)},
      {"feedback variables", HandFile(2, 1, 1, 20), HandFile(2, 1, 1, 21)},
      {"outputs", HandFile(2, 1, 1, 1, 100), HandFile(2, 1, 1, 1, 101)},
  };
  for (const Case& c : cases) {
    DiagramContent d;
    const std::string at = c.at.Bytes();
    const std::string over = c.over.Bytes();
    EXPECT_TRUE(DecodeDiagram(at.data(), at.size(), d)) << c.what;
    EXPECT_FALSE(DecodeDiagram(over.data(), over.size(), d)) << c.what;
  }
  // Texts of capacity - 1 bytes are read, and bytes after the output list are ignored.
  TokenFile full = HandFile();
  full.Set("initial name", S("DP12345"));
  full.Set("time step", S(std::string(19, '9')));
  full.Set("bond text", S("1234"));
  const std::string bytes = full.Bytes() + "\r\n";
  DiagramContent d;
  EXPECT_TRUE(DecodeDiagram(bytes.data(), bytes.size(), d));
  // The largest counter a token holds is read; a placement then takes the
  // first free number, and the diagram is saved again.
  TokenFile high = HandFile();
  high.Set("C counter", I(99999999));
  WriteFileBytes(Path("high.VRD"), high.Bytes());
  ASSERT_EQ(Open("high.VRD"), 1);
  g_currentTool = ToolOfKind(kKindC);
  const int c = AppendElementAt(1000, 1000);
  ASSERT_GE(c, 0);
  EXPECT_EQ(g_document.elements[c].number, 2);
  EXPECT_EQ(g_kindCounters[kKindC], 99999999);
  EXPECT_EQ(SaveAs("high2.VRD"), 1);
}

TEST_F(DiagramFile, EveryDamageIsRefusedWithAMessageAndTheDiagramStays) {
  testdoc::BuildSampleDiagram();
  g_documentSaved = 0;
  const std::string before = Encoded();
  const Rect firstBox = g_document.elements[0].box;

  struct Case {
    const char* what;
    const char* token;
    std::string replacement;
  };
  const Case cases[] = {
      {"a letter for a digit", "element count", "2 x "},
      {"a first part of two digits", "element count", "10123456789 "},
      {"a first part without its blank", "element count", "2x2 "},
      {"a first part of 1", "element count", "1 2"},
      {"a first part of 0", "element count", "0 2 "},
      {"T without its closing blank", "element count", "2 22"},
      {"a blank inside T", "element count", "4 1 2 "},
      {"a plus sign", "element count", "3 +2 "},
      {"a minus sign alone", "element count", "2 - "},
      {"a negative element count", "element count", I(-1)},
      {"a negative used count", "used count", I(-1)},
      {"a negative feedback count", "feedback count", I(-1)},
      {"a negative output count", "output count", I(-1)},
      {"a negative C counter", "C counter", I(-5)},
      {"a negative 1-junction counter", "1-junction counter", I(-1)},
      {"a negative string length", "equation", "3 -1 "},
      {"a zero byte inside a string", "equation", S(std::string("a\0b", 3))},
      {"an initial name of 8 bytes", "initial name", S("DP123456")},
      {"a time step of 20 bytes", "time step", S(std::string(20, '9'))},
      {"a bond text of 5 bytes", "bond text", S("12345")},
      {"kind 9", "kind", I(9)},
      {"kind -1", "kind", I(-1)},
      {"a side in use with bond 1 of 1", "side bond", I(1)},
      {"a side in use with bond -1", "side bond", I(-1)},
      {"a side in use with partner 2 of 2", "side partner", I(2)},
      {"a side in use with partner -1", "side partner", I(-1)},
      {"a side marked 2 with partner -1", "side partner", I(-1)},
      {"head element 2 of 2", "head element", I(2)},
      {"tail element -1", "tail element", I(-1)},
      {"head side 8", "head side", I(8)},
      {"tail side -1", "tail side", I(-1)},
  };
  std::vector<std::pair<std::string, std::string>> files;
  for (const Case& c : cases) {
    TokenFile f = HandFile();
    f.Set(c.token, c.replacement);
    if (std::string(c.what) == "a side marked 2 with partner -1") f.Set("side in use", I(2));
    files.emplace_back(c.what, f.Bytes());
  }
  // Every file that ends early.
  const std::string whole = HandFile().Bytes();
  for (std::size_t n = 0; n < whole.size(); ++n) {
    DiagramContent d;
    EXPECT_FALSE(DecodeDiagram(whole.data(), n, d)) << "ends after " << n << " bytes";
  }
  files.emplace_back("an early end", whole.substr(0, whole.size() - 1));
  files.emplace_back("an empty file", "");

  for (const auto& [what, bytes] : files) {
    SCOPED_TRACE(what);
    plat::msgscript::Begin();
    g_diagramFileName = "old.VRD";
    WriteFileBytes(Path("bad.VRD"), bytes);
    EXPECT_EQ(Open("bad.VRD"), 0);
    ASSERT_EQ(plat::msgscript::Records().size(), 1u);
    const auto& m = plat::msgscript::Records()[0];
    EXPECT_EQ(m.text, QStringLiteral("ファイルを読み込めませんでした．"));
    EXPECT_EQ(m.title, QStringLiteral("エラー"));
    EXPECT_EQ(m.flags, plat::MB_OK);
    EXPECT_EQ(Encoded(), before);
    EXPECT_EQ(g_document.elements[0].box.left, firstBox.left);
    EXPECT_EQ(g_documentSaved, 0);
    EXPECT_EQ(g_diagramFileName, "");
  }
  // The case file itself is fine but for the damage.
  WriteFileBytes(Path("good.VRD"), whole);
  EXPECT_EQ(Open("good.VRD"), 1);
}

TEST_F(DiagramFile, AFileThatCannotBeReadIsRefused) {
  testdoc::BuildSampleDiagram();
  const std::string before = Encoded();
  for (const std::string& name : {std::string("missing.VRD"), std::string("folder.VRD"), std::string("fifo.VRD")}) {
    SCOPED_TRACE(name);
    plat::msgscript::Begin();
    if (name == "folder.VRD") {
      ASSERT_TRUE(QDir().mkdir(plat::fs::ToQString(Path(name))));
    }
    // A pipe with no writer: refused at once, not waited on.
    if (name == "fifo.VRD") {
      ASSERT_EQ(mkfifo(Path(name).c_str(), 0600), 0);
    }
    EXPECT_EQ(Open(name), 0);
    ASSERT_EQ(plat::msgscript::Records().size(), 1u);
    EXPECT_EQ(plat::msgscript::Records()[0].text, QStringLiteral("ファイルを読み込めませんでした．"));
    EXPECT_EQ(Encoded(), before);
  }
}

// 64 MiB is more than any diagram needs; a longer file is refused without being read.
TEST_F(DiagramFile, AFileLongerThanTheLimitIsRefused) {
  constexpr off_t kLimit = 64 << 20;
  testdoc::PlaceForTest(kKindOneJunction, 1000, 1000);
  ASSERT_EQ(SaveAs("long.VRD"), 1);
  // Bytes after the output list are ignored, so only the length decides.
  ASSERT_EQ(truncate(Path("long.VRD").c_str(), kLimit), 0);
  Restart();
  EXPECT_EQ(Open("long.VRD"), 1);
  EXPECT_EQ(g_elementCount, 1);

  ASSERT_EQ(truncate(Path("long.VRD").c_str(), kLimit + 1), 0);
  Restart();
  testdoc::BuildSampleDiagram();
  const std::string before = Encoded();
  plat::msgscript::Begin();
  EXPECT_EQ(Open("long.VRD"), 0);
  ASSERT_EQ(plat::msgscript::Records().size(), 1u);
  EXPECT_EQ(plat::msgscript::Records()[0].text, QStringLiteral("ファイルを読み込めませんでした．"));
  EXPECT_EQ(Encoded(), before);
  EXPECT_EQ(g_diagramFileName, "");
}

TEST_F(DiagramFile, OpeningReplacesEverySlotOfThePreviousDiagram) {
  // A small diagram to open, saved from a fresh editor.
  testdoc::PlaceForTest(kKindOneJunction, 1000, 1000);
  ASSERT_EQ(SaveAs("small.VRD"), 1);

  Restart();
  testdoc::BuildSampleDiagram();
  g_document.elements[0].staleMark = 1;
  g_document.elements[0].hasExpData = 1;
  g_document.elements[1].staleMark = 1;
  g_document.selectionActive = 1;
  g_document.selectedIndex = 3;
  g_bondDrawing = 1;
  g_currentIndex = 4;
  g_autoTimeStep = 1;
  g_documentSaved = 0;
  const Rect oldBox = g_document.elements[0].box;
  ASSERT_EQ(Open("small.VRD"), 1);

  EXPECT_EQ(g_elementCount, 1);
  EXPECT_EQ(g_bondCount, 0);
  EXPECT_EQ(g_document.elements[0].staleMark, 0);
  EXPECT_EQ(g_document.elements[0].hasExpData, 0);
  EXPECT_EQ(g_document.elements[1].staleMark, 0);
  EXPECT_EQ(g_document.elements[1].kind, 0);
  EXPECT_EQ(TextOf(g_document.elements[2].equation), "");
  EXPECT_EQ(g_document.bonds[2].hasInitialValue, 0);
  EXPECT_EQ(g_document.selectionActive, 0);
  EXPECT_EQ(g_bondDrawing, 0);
  EXPECT_EQ(g_currentIndex, 0);
  // The flags belong to the commands.
  EXPECT_EQ(g_autoTimeStep, 1);
  EXPECT_EQ(g_documentSaved, 0);
  // The old boxes are free again; the new one is taken.
  EXPECT_FALSE(g_document.occupiedRegion.IntersectsRect(oldBox));
  g_currentTool = ToolOfKind(kKindSE);
  EXPECT_EQ(PlaceElement(100, 200), 1);
  EXPECT_EQ(PlaceElement(1000, 1000), 0);
}

TEST_F(DiagramFile, DialogsOfferVrdFilesFromTheVrdFolder) {
  ASSERT_TRUE(QDir().mkdir(plat::fs::ToQString(Path("Vrd"))));
  EXPECT_EQ(OpenDiagram(nullptr), 0);
  EXPECT_EQ(SaveDiagramAs(nullptr), 0);
  ASSERT_EQ(files_.Requests().size(), 2u);
  for (const auto& r : files_.Requests()) {
    ASSERT_EQ(r.options.filters.size(), 1u);
    EXPECT_EQ(r.options.filters[0].first, QStringLiteral("VRD File"));
    EXPECT_EQ(r.options.filters[0].second, QStringLiteral("*.VRD"));
    EXPECT_EQ(r.options.defaultSuffix, QStringLiteral("VRD"));
    // The folder "vrd" is found whatever its case.
    EXPECT_EQ(plat::fs::FromQString(r.options.initialDirectory), Path("Vrd"));
  }
  EXPECT_FALSE(files_.Requests()[0].save);
  EXPECT_TRUE(files_.Requests()[0].options.mustExist);
  EXPECT_TRUE(files_.Requests()[1].save);
  EXPECT_FALSE(files_.Requests()[1].options.mustExist);
}

TEST_F(DiagramFile, CancelledDialogsLeaveTheDiagramAndEmptyTheFileName) {
  testdoc::BuildSampleDiagram();
  const std::string before = Encoded();
  g_diagramFileName = Path("model.VRD");
  EXPECT_EQ(OpenDiagram(nullptr), 0);
  EXPECT_EQ(g_diagramFileName, "");
  g_diagramFileName = Path("model.VRD");
  EXPECT_EQ(SaveDiagramAs(nullptr), 0);
  EXPECT_EQ(g_diagramFileName, "");
  EXPECT_EQ(Encoded(), before);
  EXPECT_TRUE(plat::msgscript::Records().empty());
  EXPECT_FALSE(plat::fs::ExistsNoCase(Path("model.VRD")));
}

TEST_F(DiagramFile, SaveWritesTheCurrentFileOrSavesAsWithoutOne) {
  testdoc::BuildSampleDiagram();
  // No current name: the save-as dialog.
  files_.Answer("model.VRD");
  EXPECT_EQ(SaveDiagram(nullptr), 1);
  EXPECT_EQ(files_.Requests().size(), 1u);
  EXPECT_EQ(g_diagramFileName, Path("model.VRD"));
  // With one: no dialog, the file replaced.
  StoreText(g_document.elements[0].equation, "E = 2");
  EXPECT_EQ(SaveDiagram(nullptr), 1);
  EXPECT_EQ(files_.Requests().size(), 1u);
  EXPECT_EQ(ReadFileBytes(Path("model.VRD")), Encoded());
}

TEST_F(DiagramFile, AFailedWriteKeepsTheOldFileAndSaysSo) {
  testdoc::BuildSampleDiagram();
  ASSERT_EQ(SaveAs("model.VRD"), 1);
  const std::string old = ReadFileBytes(Path("model.VRD"));

  // A coordinate no token can hold: nothing is written.
  const int left = g_document.elements[1].box.left;
  g_document.elements[1].box.left = 100000000;
  EXPECT_EQ(SaveDiagram(nullptr), 0);
  EXPECT_EQ(SaveAs("model.VRD"), 0);
  EXPECT_EQ(g_diagramFileName, Path("model.VRD"));
  // A folder that does not exist.
  g_document.elements[1].box.left = left;
  EXPECT_EQ(SaveAs("no/such/folder/model.VRD"), 0);
  EXPECT_EQ(ReadFileBytes(Path("model.VRD")), old);
  ASSERT_EQ(plat::msgscript::Records().size(), 3u);
  for (const auto& m : plat::msgscript::Records()) {
    EXPECT_EQ(m.text, QStringLiteral("ファイルを保存できませんでした．"));
    EXPECT_EQ(m.title, QStringLiteral("エラー"));
  }
  EXPECT_EQ(QDir(plat::fs::ToQString(cwd_.path())).entryList(QDir::Files),
            QStringList{QStringLiteral("model.VRD")});
}
