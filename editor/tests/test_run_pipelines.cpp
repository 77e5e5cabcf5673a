// The run pipelines and the commands that start them. Stub programs in the working
// directory (shell scripts, started directly) log what they see, proving the order of
// the steps and the deletions; the end-to-end runs use the real model compiler, the
// shipped C command and both integrators, and compare the filed result with the
// analytic solution.
#include "commands.h"
#include "main_window.h"
#include "model_source_writer.h"
#include "run_pipelines.h"
#include "test_diagram_records.h"
#include "test_window_fixture.h"

#include "platform/dialog.h"
#include "platform/file_dialog.h"
#include "platform/fs.h"
#include "platform/ini.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "resources/run_templates.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QThread>
#include <QTimer>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

using namespace testdoc;
namespace dlg = plat::dlgscript;
namespace msg = plat::msgscript;

constexpr char kDone[] = "計算終了!!!";
constexpr char kNoSourceC[] = "temp.cが作成されませんでした．";
constexpr char kNoSourceF[] = "temp.fが作成されませんでした．";
constexpr char kNotCompiled[] = "コンパイルできませんでした．";
constexpr char kError[] = "エラー";
constexpr char kFromFileTitle[] = "VRKファイルからの計算";

// Every file a run works with; none may stay behind after a successful run.
const char* const kWorkFiles[] = {"temp.VRK", "temp.c",    "temp.f",    "temp.csv",  "temp.PAR",   "sysvar.txt",
                                  "VRK_ERROR", "temp",     "temp.exe",  "temp.obj",  "runge.obj", "rungeauto.obj",
                                  "temp.csv.part"};

class RunPipelines : public ScriptedEditorTest {
 protected:
  void SetUp() override {
    ScriptedEditorTest::SetUp();
    SearchStartDirectoryFirst();
  }
  void TearDown() override {
    window_.reset();
    plat::FileDialog::SetHook({});
    ScriptedEditorTest::TearDown();
  }

  bool Exists(const std::string& name) const {
    struct stat st;
    return lstat(Path(name).c_str(), &st) == 0;
  }
  std::string Read(const std::string& name) const { return ReadFileBytes(Path(name)); }

  void WriteIni(const std::string& command, const std::string& mode = "", const std::string& fCommand = "") {
    WriteFileBytes(Path("vork.ini"), "[Compiler]\r\nType=0\r\nC_Command=" + command + "\r\nF_Command=" + fCommand +
                                         "\r\n[Directory]\r\nVrd=None\r\nData=None\r\nPar=None\r\nC=None\r\nF=None\r\n"
                                         "VRK=None\r\n[Private]\r\nMode=" + mode + "\r\n");
  }

  // A program in the working directory: a shell script started directly.
  void Stub(const std::string& name, const std::string& body) {
    WriteFileBytes(Path(name), "#!/bin/sh\n" + body);
    chmod(Path(name).c_str(), 0755);
  }
  // A model compiler that logs the files it finds and writes what the real one writes.
  void StubModelCompiler(const std::string& name = "cvork2") {
    Stub(name, "echo \"" + name + ": $(LC_ALL=C ls | tr '\\n' ' ')\" >> log.txt\n"
               "cp temp.VRK seen.VRK || exit 1\n"
               "echo generated > temp." + (name == "cvork2" ? "c" : "f") + "\n"
               "echo parameters > temp.PAR\necho states > sysvar.txt\n: > VRK_ERROR\n: > SCRATCH\n");
  }
  // A compiler command that logs its arguments and builds a "temp" writing temp.csv.
  void StubCompiler(const std::string& name = "mycc") {
    Stub("tempbody", "echo \"temp: $(LC_ALL=C ls | tr '\\n' ' ')\" >> log.txt\nprintf 'TIME,X\\n0,1\\n' > temp.csv\n");
    // Like a real compiler it fails without its source.
    Stub(name, "echo \"" + name + " $*\" >> log.txt\n"
               "for a; do case $a in temp.c|temp.f) [ -f $a ] || exit 1;; esac; done\ncp tempbody temp\n"
               ": > temp.obj\n: > runge.obj\n: > rungeauto.obj\n");
  }
  std::vector<std::string> Log() const {
    std::vector<std::string> lines;
    std::istringstream in(Read("log.txt"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  // The editor as started in the working directory, with the series RLC drawn.
  void StartEditor(int language = 0) {
    window_ = std::make_unique<MainWindow>();
    g_language = language;
    g_documentSaved = 1;
  }

  // The bond-graph run (the menu's unless command says otherwise) with the output
  // dialog's start button and the result name.
  int RunBondGraphCommand(const std::string& name, int command = kMenuRunBondGraph) {
    int outputEnd = -99;
    dlg::Queue("OUT_PUT_SETTING_DIALOG", [&outputEnd](plat::Dialog& d) {
      d.Press(plat::IDOK);
      outputEnd = d.Ended() ? d.EndCode() : -1;
    });
    AnswerResultName(name);
    window_->OnCommand(command);
    return outputEnd;
  }

  // The run from a model source: RUN_VRK with the given language, command and file, then
  // "実行".
  int RunFromModelSourceCommand(int language, const std::string& command, const std::string& file,
                                const std::string& name) {
    int end = -99;
    dlg::Queue("RUN_VRK", [=, &end](plat::Dialog& d) {
      d.Press(language == 0 ? dlgres::kRunLanguageCRadio : dlgres::kRunLanguageFortranRadio);
      d.SetTextU(dlgres::kRunCommandEdit, QString::fromStdString(command));
      d.SetTextU(dlgres::kRunSourcePathEdit, QString::fromStdString(file));
      d.Press(plat::IDOK);
      end = d.Ended() ? d.EndCode() : -1;
    });
    AnswerResultName(name);
    window_->OnCommand(kMenuRunFromModelSource);
    return end;
  }

  static std::string M(const char* text, const char* title) { return std::string(text) + " | " + title; }

  // The work files still in the working directory, in any letter case.
  std::vector<std::string> LeftWorkFiles() const {
    std::vector<std::string> left;
    for (const char* f : kWorkFiles)
      if (plat::fs::ExistsNoCase(Path(f))) left.push_back(f);
    return left;
  }

  std::unique_ptr<MainWindow> window_;
};

// ---- order of the steps and the deletions (stub programs) ----------------------------

TEST_F(RunPipelines, DiagramRunStepsInOrderAndClearsTheWorkFiles) {
  WriteIni("mycc -O");
  StubModelCompiler();
  StubCompiler();
  for (const char* stale : {"temp.c", "temp.f", "TEMP.CSV", "temp.csv", "temp.exe", "Temp.Par"})
    WriteFileBytes(Path(stale), "stale");
  Stub("temp", "echo stale temp >> log.txt\n");
  StartEditor();
  BuildSeriesRlc();

  EXPECT_EQ(RunBondGraphCommand("r1"), plat::IDOK);
  EXPECT_EQ(dlg::Opened(), (std::vector<std::string>{"OUT_PUT_SETTING_DIALOG", "OUT_VARIABLE_DIALOG"}));
  // The model source is written and every old result removed before the model compiler runs.
  EXPECT_EQ(Log(), (std::vector<std::string>{
                       "cvork2: cvork2 mycc temp.VRK tempbody vork.ini ",
                       "mycc -O temp.c runge.c",
                       "temp: SCRATCH VRK_ERROR cvork2 log.txt mycc runge.obj rungeauto.obj seen.VRK sysvar.txt "
                       "temp temp.PAR temp.VRK temp.c temp.obj tempbody vork.ini ",
                   }));
  EXPECT_EQ(Read("seen.VRK"), ModelSourceText());
  EXPECT_EQ(Messages(), (std::vector<std::string>{M(kDone, "")}));
  EXPECT_EQ(Read("Csv/r1.csv"), "TIME,X\n0,1\n");
  EXPECT_TRUE(LeftWorkFiles().empty()) << ::testing::PrintToString(LeftWorkFiles());
  EXPECT_TRUE(Exists("SCRATCH"));  // the model compiler's own files stay
  EXPECT_FALSE(Exists("Advance"));
}

TEST_F(RunPipelines, CompileCommandFollowsLanguageAndTimeStep) {
  struct Case {
    int language;
    int autoStep;
    const char* modelCompiler;
    const char* compile;
  };
  const Case cases[] = {
      {0, 0, "cvork2", "ccc -x temp.c runge.c"},
      {0, 1, "cvork2", "ccc -x temp.c rungeauto.c"},
      {1, 0, "fvork", "fff temp.f runge.f"},
      {2, 1, "fvork", "fff temp.f rungeauto.f"},  // any language but 0 is Fortran
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.compile);
    WriteIni("ccc -x", "", "fff");
    StubModelCompiler(c.modelCompiler);
    StubCompiler("ccc");
    StubCompiler("fff");
    QFile::remove(plat::fs::ToQString(Path("log.txt")));
    msg::Begin();
    StartEditor(c.language);
    g_autoTimeStep = c.autoStep;
    BuildSeriesRlc();
    RunBondGraphCommand("case");
    const std::vector<std::string> log = Log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].substr(0, log[0].find(':')), c.modelCompiler);
    EXPECT_EQ(log[1], c.compile);
    EXPECT_EQ(Messages(), (std::vector<std::string>{M(kDone, "")}));
    EXPECT_TRUE(LeftWorkFiles().empty()) << ::testing::PrintToString(LeftWorkFiles());
    window_.reset();
    ResetEditorState();
  }
}

// In the advanced mode the directories are made once and the model source, the
// parameter file and the generated source are filed under the result name.
TEST_F(RunPipelines, AdvancedModeFilesTheModelParametersAndSource) {
  WriteIni("mycc", "Advance");
  StubModelCompiler();
  StubCompiler();
  StartEditor();
  ASSERT_EQ(g_advanceMode, 1);
  BuildSeriesRlc();
  RunBondGraphCommand("adv");
  EXPECT_EQ(Read("Advance/VRK/adv.vrk"), Read("seen.VRK"));
  EXPECT_EQ(Read("Advance/Par/adv.par"), "parameters\n");
  EXPECT_EQ(Read("Advance/C/adv.c"), "generated\n");
  EXPECT_TRUE(QDir(plat::fs::ToQString(Path("Advance/F"))).exists());
  EXPECT_EQ(Read("Csv/adv.csv"), "TIME,X\n0,1\n");
  EXPECT_TRUE(LeftWorkFiles().empty());

  // A second run under the same name replaces the copies.
  StoreText(g_document.elements[0].parameterValues, "7.5");
  RunBondGraphCommand("adv");
  EXPECT_EQ(Read("Advance/VRK/adv.vrk"), Read("seen.VRK"));
  EXPECT_THAT(Read("Advance/VRK/adv.vrk"), HasSubstr("7.5"));
  EXPECT_EQ(Messages(), (std::vector<std::string>{M(kDone, ""), M(kDone, "")}));
}

// The result name in the document's CP932 becomes a file-system name; a result
// dialog closed without OK keeps the last name (empty: ".csv"); the result directory
// matches without regard to case.
TEST_F(RunPipelines, ResultNamesAndTheResultDirectory) {
  WriteIni("mycc");
  StubModelCompiler();
  StubCompiler();
  ASSERT_EQ(mkdir(Path("csv").c_str(), 0755), 0);  // [Directory] Data names "Csv"
  StartEditor();
  BuildSeriesRlc();
  dlg::Queue("OUT_PUT_SETTING_DIALOG", [](plat::Dialog& d) { d.Press(plat::IDOK); });
  dlg::Queue("OUT_VARIABLE_DIALOG", [](plat::Dialog&) {});  // closed without OK
  window_->OnCommand(kMenuRunBondGraph);
  RunBondGraphCommand("結果");
  EXPECT_EQ(Read("csv/.csv"), "TIME,X\n0,1\n");
  EXPECT_EQ(Read("csv/結果.csv"), "TIME,X\n0,1\n");
  EXPECT_EQ(Messages(), (std::vector<std::string>{M(kDone, ""), M(kDone, "")}));
}

// A result directory that is not there (with an entry "csv" present it is not made)
// loses no result: the run says so and keeps temp.csv.
TEST_F(RunPipelines, ResultThatCannotBeFiledIsKeptAndReported) {
  WriteIni("mycc");
  StubModelCompiler();
  StubCompiler();
  StartEditor();
  plat::Ini(Path("vork.ini")).WriteString("Directory", "Data", Path("results") + "/");
  WriteFileBytes(Path("CSV"), "a file, not the result directory");
  BuildSeriesRlc();
  RunBondGraphCommand("lost");
  EXPECT_EQ(Messages(), (std::vector<std::string>{M("結果ファイルを保存できませんでした．", kError)}));
  EXPECT_EQ(Read("temp.csv"), "TIME,X\n0,1\n");
  EXPECT_FALSE(Exists("results"));

  QFile::remove(plat::fs::ToQString(Path("CSV")));
  msg::Begin();
  RunBondGraphCommand("found");  // without the entry the configured directory is made
  EXPECT_EQ(Messages(), (std::vector<std::string>{M(kDone, "")}));
  EXPECT_EQ(Read("results/found.csv"), "TIME,X\n0,1\n");
}

// ---- failures: each reported, none leaving a result ---------------------------------

TEST_F(RunPipelines, EmptyOrFailingCompilerCommandIsReportedAsNotCompiled) {
  for (const char* command : {"", "   ", "failcc -c"}) {
    SCOPED_TRACE(command);
    WriteIni(command);
    StubModelCompiler();
    Stub("failcc", "echo \"failcc $*\" >> log.txt\nexit 1\n");
    msg::Begin();
    StartEditor();
    BuildSeriesRlc();
    EXPECT_EQ(RunBondGraphCommand("bad"), plat::IDOK);
    EXPECT_EQ(Messages(), (std::vector<std::string>{M(kNotCompiled, kError)}));
    EXPECT_FALSE(Exists("Csv/bad.csv"));
    EXPECT_TRUE(Exists("temp.c"));  // kept for a look at what failed
    window_.reset();
    ResetEditorState();
  }
  EXPECT_EQ(Log().back(), "failcc -c temp.c runge.c");
}

TEST_F(RunPipelines, MissingModelCompilerIsReportedAndNoStaleSourceIsCompiled) {
  WriteIni("mycc");
  StubCompiler();
  WriteFileBytes(Path("temp.c"), "int main(void) { return 0; }\n");  // left by an earlier run
  WriteFileBytes(Path("temp.csv"), "TIME,OLD\n");
  StartEditor();
  BuildSeriesRlc();
  EXPECT_EQ(RunBondGraphCommand("none"), plat::IDOK);
  EXPECT_EQ(Messages(), (std::vector<std::string>{M(kNoSourceC, kError)}));
  EXPECT_EQ(Log(), (std::vector<std::string>{"mycc temp.c runge.c"}));
  EXPECT_FALSE(Exists("Csv/none.csv"));
  EXPECT_FALSE(Exists("temp.csv"));
}

// The checks keep the output dialog open and start nothing.
TEST_F(RunPipelines, MissingEquationOrBondKeepsTheDialogOpen) {
  WriteIni("mycc");
  StubModelCompiler();
  StubCompiler();
  StartEditor();
  BuildSeriesRlc();
  StoreText(g_document.elements[4].equation, "");
  EXPECT_EQ(RunBondGraphCommand("x"), -1);
  EXPECT_EQ(Messages(), (std::vector<std::string>{M("R1 の特性式を入力してください.", "特性式エラー")}));
  StoreText(g_document.elements[4].equation, "R=Z;");
  AddElement(kKindGY, 1);
  StoreText(g_document.elements[5].equation, "G=1;");
  msg::Begin();
  EXPECT_EQ(RunBondGraphCommand("x"), -1);
  EXPECT_EQ(Messages(), (std::vector<std::string>{M("GY1 に何もボンドがつながっていません", "素子エラー")}));
  EXPECT_FALSE(Exists("log.txt"));
  EXPECT_FALSE(Exists("temp.VRK"));
  EXPECT_EQ(dlg::Pending("OUT_VARIABLE_DIALOG"), 2);
}

// A file that cannot be removed: immutable for root (who writes into read-only
// directories), else in a directory made read-only. Undone when the guard goes.
class Unremovable {
 public:
  Unremovable(const std::string& dir, const std::string& file) : dir_(dir), file_(file) {
    if (geteuid() == 0) {
      immutable_ = SetImmutable(true);
    } else {
      readOnly_ = chmod(dir_.c_str(), 0555) == 0;
    }
  }
  ~Unremovable() {
    if (immutable_) SetImmutable(false);
    if (readOnly_) chmod(dir_.c_str(), 0755);
  }
  bool Holds() const { return immutable_ || readOnly_; }

 private:
  bool SetImmutable(bool on) {
    const int fd = open(file_.c_str(), O_RDONLY);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    close(fd);
    return ok;
  }
  std::string dir_, file_;
  bool immutable_ = false;
  bool readOnly_ = false;
};

// An old result that cannot be removed (a read-only working directory, an immutable
// file) would be reported as this run's: the run stops before any program starts.
TEST_F(RunPipelines, ReadOnlyDirectoryOrUnremovableOldResultStopsTheRun) {
  WriteIni("mycc");
  StubModelCompiler();
  StubCompiler();
  StartEditor();
  BuildSeriesRlc();
  WriteFileBytes(Path("temp.c"), "old source");
  WriteFileBytes(Path("temp.csv"), "TIME,OLD\n");
  {
    Unremovable guard(cwd_.path(), Path("temp.csv"));
    if (!guard.Holds()) GTEST_SKIP() << "no way to make a file unremovable here";
    EXPECT_EQ(RunBondGraphCommand("stale"), plat::IDOK);
  }
  EXPECT_EQ(Messages(), (std::vector<std::string>{M(kNoSourceC, kError)}));
  EXPECT_FALSE(Exists("log.txt"));
  EXPECT_FALSE(Exists("Csv/stale.csv"));
}

// Directories named like work files are not results: they neither stop a run nor
// pass for one.
TEST_F(RunPipelines, DirectoriesNamedLikeWorkFilesAreNotResults) {
  WriteIni("mycc");
  StubModelCompiler();
  StubCompiler();
  ASSERT_EQ(mkdir(Path("Temp").c_str(), 0755), 0);
  StartEditor();
  BuildSeriesRlc();
  RunBondGraphCommand("ok");
  EXPECT_EQ(Messages(), (std::vector<std::string>{M(kDone, "")}));
  EXPECT_TRUE(Exists("Temp"));

  ASSERT_EQ(mkdir(Path("temp.csv").c_str(), 0755), 0);  // the program cannot write its result
  msg::Begin();
  RunBondGraphCommand("dir");
  EXPECT_EQ(Messages(), (std::vector<std::string>{M(kNotCompiled, kError)}));
  EXPECT_FALSE(Exists("Csv/dir.csv"));
}

// A half-written result left by a simulation that crashed is removed before the
// model compiler starts and after the run, by both runs, also when this run's
// simulation crashes in turn.
TEST_F(RunPipelines, HalfWrittenResultOfACrashedSimulationIsRemoved) {
  struct Case {
    int command;  // from the diagram, or from a model source
    bool crashes;
    std::string message;
  };
  const Case cases[] = {
      {kMenuRunBondGraph, false, M(kDone, "")},
      {kMenuRunBondGraph, true, M(kNotCompiled, kError)},
      {kMenuRunFromModelSource, false, M(kDone, kFromFileTitle)},
      {kMenuRunFromModelSource, true, M(kNotCompiled, kError)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.command) + (c.crashes ? " crashing" : ""));
    WriteIni("mycc");
    StubModelCompiler();
    StubCompiler();
    if (c.crashes) Stub("tempbody", "printf 'TIME,X\\n0,' > temp.csv.part\nkill -SEGV $$\n");
    WriteFileBytes(Path("model.vrk"), "model\n");
    WriteFileBytes(Path("temp.csv.part"), "TIME,X\n0,1\n1,");  // from a crash before
    QFile::remove(QString::fromStdString(Path("log.txt")));
    msg::Begin();
    StartEditor();
    if (c.command == kMenuRunBondGraph) {
      BuildSeriesRlc();
      RunBondGraphCommand("part");
    } else {
      RunFromModelSourceCommand(0, "mycc", "model.vrk", "part");
    }
    const std::vector<std::string> log = Log();
    ASSERT_FALSE(log.empty());
    EXPECT_THAT(log[0], Not(HasSubstr("temp.csv.part")));  // what the model compiler found
    EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
    EXPECT_FALSE(Exists("temp.csv.part"));
    EXPECT_EQ(Exists("Csv/part.csv"), !c.crashes);
    QFile::remove(QString::fromStdString(Path("Csv/part.csv")));
    window_.reset();
    ResetEditorState();
  }
}

// ---- end to end: real model compiler, shipped C command and both integrators ---------

#ifdef CVORK2_BINARY
class RunEndToEnd : public RunPipelines {
 protected:
  void SetUp() override {
    RunPipelines::SetUp();
    ASSERT_NO_FATAL_FAILURE(InstallModelCompiler());
    WriteIni(ShippedCCommand());
  }

  // The series RLC with E = 1, L = 1, C = 0.25, R = 1 from rest: the charge q and the
  // momentum p = L q' of the damped oscillation q'' + q' + 4 q = 1.
  static double Charge(double t) {
    const double a = 0.5, w = std::sqrt(3.75);
    return 0.25 * (1 - std::exp(-a * t) * (std::cos(w * t) + a / w * std::sin(w * t)));
  }
  static double Momentum(double t) {
    const double a = 0.5, w = std::sqrt(3.75);
    return std::exp(-a * t) * std::sin(w * t) / w;
  }

  // Rows of TIME, MN2, DP3 checked against the solution; the row count.
  int ExpectAnalytic(const std::string& csv) {
    std::istringstream in(csv);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "TIME,MN2,DP3");
    int rows = 0;
    while (std::getline(in, line)) {
      double t, p, q;
      if (std::sscanf(line.c_str(), "%lf,%lf,%lf", &t, &p, &q) != 3) {
        ADD_FAILURE() << line;
        break;
      }
      EXPECT_NEAR(p, Momentum(t), 1e-7) << t;
      EXPECT_NEAR(q, Charge(t), 1e-7) << t;
      ++rows;
    }
    return rows;
  }
};

TEST_F(RunEndToEnd, DiagramRunsWithBothIntegratorsAndMatchesTheSolution) {
  WriteIni(ShippedCCommand(), "Advance");
  StartEditor();
  BuildSeriesRlc();
  SetNumeric("0.0", "5.0", "1.0E-03", "50");
  g_document.bonds[1].hasInitialValue = 1;  // the inductor starts from rest, as said
  StoreText(g_document.bonds[1].initialName, "MN2");

  EXPECT_EQ(RunBondGraphCommand("fixed"), plat::IDOK);
  g_autoTimeStep = 1;
  EXPECT_EQ(RunBondGraphCommand("auto"), plat::IDOK);
  EXPECT_EQ(Messages(), (std::vector<std::string>{M(kDone, ""), M(kDone, "")}));
  EXPECT_EQ(ExpectAnalytic(Read("Csv/fixed.csv")), 51);
  EXPECT_EQ(ExpectAnalytic(Read("Csv/auto.csv")), 51);
  EXPECT_TRUE(Exists("Advance/VRK/auto.vrk"));
  EXPECT_TRUE(Exists("Advance/Par/auto.par"));
  EXPECT_THAT(Read("Advance/C/auto.c"), HasSubstr("FUNC"));
  EXPECT_TRUE(LeftWorkFiles().empty()) << ::testing::PrintToString(LeftWorkFiles());

  // The same model from its filed source, run from the model source, gives the same result.
  g_autoTimeStep = 0;
  EXPECT_EQ(RunFromModelSourceCommand(0, ShippedCCommand(), Path("Advance/VRK/fixed.vrk"), "fromfile"), plat::IDOK);
  EXPECT_EQ(Messages().back(), M(kDone, kFromFileTitle));
  EXPECT_EQ(Read("Csv/fromfile.csv"), Read("Csv/fixed.csv"));
  EXPECT_EQ(Read("Advance/VRK/fromfile.vrk"), Read("Advance/VRK/fixed.vrk"));
  EXPECT_TRUE(LeftWorkFiles().empty()) << ::testing::PrintToString(LeftWorkFiles());
  EXPECT_TRUE(Exists("Advance/VRK/fixed.vrk"));
}

// An equation ending with a line break gives an empty statement line: the model
// compiler stops and nothing is reported as a result.
TEST_F(RunEndToEnd, EquationEndingWithALineBreakStopsTheModelCompiler) {
  StartEditor();
  BuildSeriesRlc();
  StoreText(g_document.elements[3].equation, "C=Z/Cv;\r\n");
  EXPECT_EQ(RunBondGraphCommand("broken"), plat::IDOK);
  EXPECT_EQ(Messages(), (std::vector<std::string>{M(kNoSourceC, kError)}));
  EXPECT_FALSE(Exists("Csv/broken.csv"));
}

TEST_F(RunEndToEnd, RunFromTheModelSourceItselfInAnyLetterCase) {
  StartEditor();
  BuildSeriesRlc();
  ASSERT_TRUE(WriteModelSource());
  ASSERT_EQ(std::rename(Path("temp.VRK").c_str(), Path("temp.vrk").c_str()), 0);
  EXPECT_EQ(RunFromModelSourceCommand(0, ShippedCCommand(), Path("temp.vrk"), "self"), plat::IDOK);
  EXPECT_EQ(Messages(), (std::vector<std::string>{M(kDone, kFromFileTitle)}));
  EXPECT_EQ(ExpectAnalytic(Read("Csv/self.csv")), 1001);
  EXPECT_TRUE(LeftWorkFiles().empty()) << ::testing::PrintToString(LeftWorkFiles());
}
#endif

// ---- RUN_VRK ---------------------------------------------------------------------------------

TEST_F(RunPipelines, RunFromFileStepsInOrder) {
  WriteIni("unused");
  StubModelCompiler();
  StubModelCompiler("fvork");
  StubCompiler("mycc");
  WriteFileBytes(Path("model.vrk"), "the chosen model\n");
  WriteFileBytes(Path("TEMP.vrk"), "old model\n");
  WriteFileBytes(Path("temp.csv"), "stale");
  StartEditor();  // the editor's language is C; the dialog chooses Fortran
  EXPECT_EQ(RunFromModelSourceCommand(1, "mycc -g", "model.vrk", "ff"), plat::IDOK);
  EXPECT_EQ(Log(), (std::vector<std::string>{
                       "fvork: cvork2 fvork model.vrk mycc temp.VRK tempbody vork.ini ",
                       "mycc -g temp.f runge.f",
                       "temp: SCRATCH VRK_ERROR cvork2 fvork log.txt model.vrk mycc runge.obj rungeauto.obj "
                       "seen.VRK sysvar.txt temp temp.PAR temp.VRK temp.f temp.obj tempbody vork.ini ",
                   }));
  EXPECT_EQ(Read("seen.VRK"), "the chosen model\n");
  EXPECT_EQ(Messages(), (std::vector<std::string>{M(kDone, kFromFileTitle)}));
  EXPECT_EQ(Read("Csv/ff.csv"), "TIME,X\n0,1\n");
  // "rungeauto.obj" is not among its deletions.
  EXPECT_EQ(LeftWorkFiles(), (std::vector<std::string>{"rungeauto.obj"}));
  EXPECT_EQ(g_runLanguage, 1);
  EXPECT_EQ(g_runCommand, "mycc -g");
  EXPECT_EQ(g_runSourcePath, "model.vrk");
}

TEST_F(RunPipelines, RunFromFileReportsWhatFailed) {
  struct Case {
    bool modelCompiler;
    const char* command;
    const char* file;
    const char* message;
  };
  const Case cases[] = {
      {false, "mycc", "model.vrk", kNoSourceC},
      {true, "failcc", "model.vrk", kNotCompiled},
      {true, "mycc", "missing.vrk", kNoSourceC},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    if (c.modelCompiler) {
      StubModelCompiler();
    } else {
      QFile::remove(plat::fs::ToQString(Path("cvork2")));
    }
    StubCompiler("mycc");
    Stub("failcc", "exit 1\n");
    WriteFileBytes(Path("model.vrk"), "model\n");
    WriteFileBytes(Path("temp.VRK"), "old\n");
    msg::Begin();
    StartEditor();
    EXPECT_EQ(RunFromModelSourceCommand(0, c.command, c.file, "out"), plat::IDOK);
    EXPECT_EQ(Messages(), (std::vector<std::string>{M(c.message, kError)}));
    EXPECT_FALSE(Exists("Csv/out.csv"));
    for (const char* gone : {"temp.c", "temp.csv", "temp.VRK", "temp"}) EXPECT_FALSE(Exists(gone)) << gone;
    window_.reset();
    ResetEditorState();
  }
}

TEST_F(RunPipelines, RunFromFileDialogInputErrorsAndRememberedFields) {
  StartEditor();
  dlg::Queue("RUN_VRK", [](plat::Dialog& d) {
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("VRKファイルからの実行"));
    EXPECT_TRUE(d.IsChecked(dlgres::kRunLanguageCRadio));
    d.Press(plat::IDOK);  // nothing typed
    d.SetTextU(dlgres::kRunCommandEdit, QStringLiteral("gcc -o temp -Wl,--no-as-needed -lm -O2 -ffp-contract=off"));
    d.Press(plat::IDOK);  // no file
    EXPECT_FALSE(d.Ended());
    d.Press(dlgres::kRunLanguageFortranRadio);
    d.SetTextU(dlgres::kRunSourcePathEdit, QStringLiteral("some.vrk"));
    d.PressEscape();  // "閉じる" keeps what was typed
  });
  window_->OnCommand(kMenuRunFromModelSource);
  EXPECT_EQ(Messages(), (std::vector<std::string>{M("コマンドを入力してください", "入力エラー"),
                                                  M("ファイル名を入力してください", "入力エラー")}));
  EXPECT_EQ(g_runCommand, "gcc -o temp -Wl,--no-as-needed -lm -O2 -ffp-contract=off");  // longer than 19
  EXPECT_EQ(g_runSourcePath, "some.vrk");
  EXPECT_EQ(g_runLanguage, 1);
  dlg::Queue("RUN_VRK", [](plat::Dialog& d) {
    EXPECT_TRUE(d.IsChecked(dlgres::kRunLanguageFortranRadio));
    EXPECT_FALSE(d.IsChecked(dlgres::kRunLanguageCRadio));
    EXPECT_EQ(d.GetTextU(dlgres::kRunCommandEdit), QStringLiteral("gcc -o temp -Wl,--no-as-needed -lm -O2 -ffp-contract=off"));
    EXPECT_EQ(d.GetTextU(dlgres::kRunSourcePathEdit), QStringLiteral("some.vrk"));
    d.Press(plat::IDCANCEL);
  });
  window_->OnCommand(kMenuRunFromModelSource);
  EXPECT_EQ(dlg::Pending("RUN_VRK"), 0);
}

TEST_F(RunPipelines, RunFromFileBrowsesTheModelSourceFolder) {
  ASSERT_TRUE(QDir().mkpath(plat::fs::ToQString(Path("advance/vrk"))));
  StartEditor();
  plat::FileDialogOptions seen;
  QString answer = plat::fs::ToQString(Path("advance/vrk/m.VRK"));
  plat::FileDialog::SetHook([&](bool save, const plat::FileDialogOptions& o) {
    EXPECT_FALSE(save);
    seen = o;
    return answer;
  });
  dlg::Queue("RUN_VRK", [&](plat::Dialog& d) {
    d.Press(dlgres::kRunBrowseButton);
    EXPECT_EQ(d.GetTextU(dlgres::kRunSourcePathEdit), answer);
    answer.clear();  // cancelled: the field keeps what it shows
    d.Press(dlgres::kRunBrowseButton);
    EXPECT_EQ(d.GetTextU(dlgres::kRunSourcePathEdit), QString::fromStdString(Path("advance/vrk/m.VRK")));
    d.Press(plat::IDCANCEL);
  });
  window_->OnCommand(kMenuRunFromModelSource);
  EXPECT_EQ(seen.initialDirectory, QString::fromStdString(Path("advance/vrk")));
  ASSERT_EQ(seen.filters.size(), 1u);
  EXPECT_EQ(seen.filters[0].first, QStringLiteral("VRK File"));  // the dialog adds " (*.VRK)"
  EXPECT_EQ(seen.filters[0].second, QStringLiteral("*.VRK"));
  EXPECT_EQ(seen.defaultSuffix, QStringLiteral("VRK"));
  EXPECT_TRUE(seen.mustExist);
  EXPECT_EQ(g_runSourcePath, Path("advance/vrk/m.VRK"));
}

// The real dialog of "参照" shows its filter with the pattern once.
TEST_F(RunPipelines, RunFromFileBrowseShowsTheFilterOnce) {
  StartEditor();
  QStringList filters;
  dlg::Queue("RUN_VRK", [&](plat::Dialog& d) {
    QTimer::singleShot(0, [&filters] {
      auto* fd = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(fd, nullptr);
      filters = fd->nameFilters();
      fd->reject();
    });
    d.Press(dlgres::kRunBrowseButton);
    d.Press(plat::IDCANCEL);
  });
  window_->OnCommand(kMenuRunFromModelSource);
  EXPECT_EQ(filters, QStringList{QStringLiteral("VRK File (*.VRK)")});
}

// ---- the commands --------------------------------------------------------------------------

TEST_F(RunPipelines, RunCommandsOpenTheOutputDialogOnlyWithSoundStrokes) {
  for (int command : {kMenuRunBondGraph, kToolbarRun}) {
    SCOPED_TRACE(command);
    dlg::Begin();
    StartEditor();
    BuildSeriesRlc();
    g_document.bonds[2].strokeAtHead = 1;  // two strokes away from the 1-junction
    window_->OnCommand(command);
    EXPECT_TRUE(dlg::Opened().empty());
    EXPECT_TRUE(window_->View()->HasOverlay());
    EXPECT_TRUE(msg::Records().empty());
    g_document.bonds[2].strokeAtHead = 0;
    dlg::Queue("OUT_PUT_SETTING_DIALOG", [](plat::Dialog& d) { d.Press(plat::IDCANCEL); });
    window_->OnCommand(command);
    EXPECT_EQ(dlg::Opened(), (std::vector<std::string>{"OUT_PUT_SETTING_DIALOG"}));
    window_.reset();
    ResetEditorState();
  }
}

TEST_F(RunPipelines, EquationViewsWriteTheirSettingsAndStartTheViewer) {
  WriteIni("mycc");
  StubModelCompiler();
  Stub("Lumex", "cat LumexIni.txt > viewer.txt\n");
  StartEditor();
  BuildSeriesRlc();
  window_->OnCommand(kMenuDifferentialEquations);
  EXPECT_EQ(Read("LumexIni.txt"), "0\r\n1\r\n");
  EXPECT_EQ(Read("seen.VRK"), ModelSourceText());
  EXPECT_TRUE(Exists("temp.VRK"));  // an equation view leaves the model source
  for (int i = 0; i < 100 && Read("viewer.txt").empty(); ++i) QThread::msleep(20);
  EXPECT_EQ(Read("viewer.txt"), "0\r\n1\r\n");

  g_language = 1;
  StubModelCompiler("fvork");
  QFile::remove(QString::fromStdString(Path("Lumex")));  // absent: nothing visible
  window_->OnCommand(kMenuIntegralEquations);
  EXPECT_EQ(Read("LumexIni.txt"), "1\r\n0\r\n");
  EXPECT_TRUE(msg::Records().empty());
  EXPECT_EQ(Log().back().substr(0, 6), "fvork:");
}

TEST_F(RunPipelines, EquationViewWithAMissingEquationWritesNothing) {
  StubModelCompiler();
  StartEditor();
  BuildSeriesRlc();
  StoreText(g_document.elements[2].equation, "");
  window_->OnCommand(kMenuIntegralEquations);
  EXPECT_EQ(Messages(), (std::vector<std::string>{M("I1 の特性式を入力してください.", "特性式エラー")}));
  EXPECT_FALSE(Exists("temp.VRK"));
  EXPECT_FALSE(Exists("LumexIni.txt"));
  EXPECT_FALSE(Exists("log.txt"));
}

// The steps of a write that can fail, each failing in turn below.
constexpr plat::fs::WriteStep kWriteSteps[] = {plat::fs::WriteStep::Write, plat::fs::WriteStep::Flush,
                                               plat::fs::WriteStep::Close, plat::fs::WriteStep::Rename};

TEST_F(RunPipelines, AModelSourceThatCannotBeWrittenStopsTheRun) {
  WriteIni("mycc");
  StubModelCompiler();
  StubCompiler();
  StartEditor();
  BuildSeriesRlc();
  for (plat::fs::WriteStep step : kWriteSteps) {
    SCOPED_TRACE(static_cast<int>(step));
    msg::Begin();
    WriteFileBytes(Path("temp.VRK"), "stale model");
    plat::fs::FailNextWriteAt(step, "temp.VRK");
    EXPECT_EQ(RunBondGraphCommand("r"), plat::IDOK);
    EXPECT_EQ(Messages(), (std::vector<std::string>{M(kNoSourceC, kError)}));
    EXPECT_FALSE(Exists("log.txt"));  // neither compiler ran
    EXPECT_FALSE(plat::fs::ExistsNoCase(Path("temp.VRK")));
    EXPECT_FALSE(Exists("Csv/r.csv"));
    for (const QString& name : DirEntries(cwd_.path())) EXPECT_FALSE(name.startsWith('.')) << name.toStdString();
  }
}

// Settings the viewer cannot be given start no viewer, and the old ones stay.
TEST_F(RunPipelines, EquationViewWhoseSettingsCannotBeWrittenStartsNoViewer) {
  WriteIni("mycc");
  StubModelCompiler();
  Stub("Lumex", "echo started >> viewer.txt\n");
  StartEditor();
  BuildSeriesRlc();
  for (plat::fs::WriteStep step : kWriteSteps) {
    SCOPED_TRACE(static_cast<int>(step));
    WriteFileBytes(Path("LumexIni.txt"), "1\r\n0\r\n");
    plat::fs::FailNextWriteAt(step, "LumexIni.txt");
    window_->OnCommand(kMenuDifferentialEquations);
    EXPECT_EQ(Read("LumexIni.txt"), "1\r\n0\r\n");
    EXPECT_EQ(Read("seen.VRK"), ModelSourceText());  // the model compiler did run
    for (const QString& name : DirEntries(cwd_.path())) EXPECT_FALSE(name.startsWith('.')) << name.toStdString();
  }
  EXPECT_TRUE(msg::Records().empty());
  // Once the settings are written the viewer starts, and only this once.
  window_->OnCommand(kMenuDifferentialEquations);
  EXPECT_EQ(Read("LumexIni.txt"), "0\r\n1\r\n");
  for (int i = 0; i < 100 && Read("viewer.txt").empty(); ++i) QThread::msleep(20);
  QThread::msleep(200);
  EXPECT_EQ(Read("viewer.txt"), "started\n");
}

TEST_F(RunPipelines, VariableCheckCommand) {
  StartEditor();
  BuildSeriesRlc();
  StoreText(g_document.elements[4].parameterNames, "Cv");
  window_->OnCommand(kMenuCheckVariables);
  EXPECT_EQ(Messages(), (std::vector<std::string>{M("C1 素子とR1 素子の\n変数名｢Cv｣の値が違います.", "変数チェック")}));
}

}  // namespace
