// The shipped C command against gcc's plain one: every example model with both
// integrators, and a voltage source following a data file through the editor's
// interpolation code, give the same temp.csv byte for byte. The interpolation
// code calls exit without <stdlib.h>: both compilers take it, and its program
// ends with its message when the data file is missing.
#include "document.h"
#include "experimental_data.h"
#include "test_window_fixture.h"

#include <QDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#ifdef CVORK2_BINARY

namespace {

constexpr char kGccPlain[] = "gcc -o temp -Wl,--no-as-needed -lm";

class CompileCommands : public ScriptedEditorTest {
 protected:
  void SetUp() override {
    ScriptedEditorTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(InstallModelCompiler());
    // Two different compilers, or the comparison proves nothing.
    ASSERT_NE(ShippedCCommand(), kGccPlain);
  }

  // A command line run in the start directory, its output kept in out.txt; its status.
  int InDir(const std::string& command) const {
    return Shell("cd '" + cwd_.path() + "' && " + command + " >out.txt 2>&1");
  }
  std::string Output() const { return ReadFileBytes(Path("out.txt")); }

  // The simulation built from temp.c and the integrator with the command and run: its
  // temp.csv ("" after a failure, which is reported).
  std::string Simulate(const std::string& command, const std::string& integrator) const {
    std::remove(Path("temp").c_str());
    std::remove(Path("temp.csv").c_str());
    if (InDir(command + " temp.c " + integrator) != 0) {
      ADD_FAILURE() << command << ": " << Output();
      return "";
    }
    if (InDir("./temp") != 0) {
      ADD_FAILURE() << "temp built by " << command << ": " << Output();
      return "";
    }
    return ReadFileBytes(Path("temp.csv"));
  }

  // The model compiled once, then simulated with both integrators under both commands.
  void ExpectSameResults(const std::string& label, const std::string& model) const {
    WriteFileBytes(Path("temp.VRK"), model);
    ASSERT_EQ(InDir("./cvork2"), 0) << label << ": " << Output();
    for (const char* integrator : {"runge.c", "rungeauto.c"}) {
      SCOPED_TRACE(label + " with " + integrator);
      const std::string shipped = Simulate(ShippedCCommand(), integrator);
      EXPECT_GT(std::count(shipped.begin(), shipped.end(), '\n'), 2);
      EXPECT_EQ(shipped, Simulate(kGccPlain, integrator));
    }
  }
};

TEST_F(CompileCommands, EveryExampleModelGivesTheSameResults) {
  const QDir examples(QStringLiteral(VORK_SOURCE_DIR "/examples"));
  const QStringList models = examples.entryList({QStringLiteral("*.VRK")}, QDir::Files, QDir::Name);
  ASSERT_FALSE(models.isEmpty());
  for (const QString& model : models) {
    const std::string path = plat::fs::FromQString(examples.filePath(model));
    ASSERT_NO_FATAL_FAILURE(ExpectSameResults(plat::fs::FromQString(model), ReadFileBytes(path)));
  }
}

TEST_F(CompileCommands, SourceFollowingADataFileGivesTheSameResults) {
  // SE1 follows the data through R = 2 into C = 0.5 on a 1-junction.
  const std::string model = "BOND SYMBOL OUT DEFIN PARM INIT\r\n"
                            "SE1    1\nRE1    2\nCI1    3\nOJ     -1    2     3\n/\n"
                            "BC: EF1   EF1\nBC: DP3   DP3\n/\n"
                            "SE1\n" + ExperimentalDataCode(0, kKindSE, "data.txt") + "EOD\n"
                            "RE1\nif(J==0) R=2.0*Z;\nif(J==1) R=Z/2.0;\nEOD\n"
                            "CI1\nC=Z/0.5;\nEOD\n/\n"
                            " 0.0                5.0                1.0E-02         50\n/\n";
  WriteFileBytes(Path("data.txt"), "4\n0 0\n1 2\n2 -1\n5 3\n");
  ASSERT_NO_FATAL_FAILURE(ExpectSameResults("data-driven source", model));

  // Without its data file the program says so and ends with status 1, whichever
  // compiler built it.
  ASSERT_EQ(std::remove(Path("data.txt").c_str()), 0);
  for (const std::string& command : {ShippedCCommand(), std::string(kGccPlain)}) {
    SCOPED_TRACE(command);
    ASSERT_EQ(InDir(command + " temp.c runge.c"), 0) << Output();
    EXPECT_EQ(InDir("./temp"), 1);
    EXPECT_EQ(Output().rfind("File could not open\n ", 0), 0u) << Output();
  }
}

}  // namespace

#endif
