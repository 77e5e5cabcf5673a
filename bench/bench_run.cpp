// Run benchmark: the whole run from the diagram through the editor's own code,
// headless (the output dialog's start button and the result name answered by
// script), on documents of an LC ladder built in the records: 3, 20 and 100 states
// over 100,000 RK4 steps, built with the shipped compile command, gcc's plain one
// and gcc's optimising one. Per model and command: the median of the whole run and
// of each step (the checks, temp.VRK, cvork2, the compile command, the simulation,
// the filing) over interleaved runs (floor, A, B, C, floor, A, ...), and the whole
// run as a ratio to the floor, gcc's plain command linking an empty program,
// measured in the same rounds. Checks that every command gives the same temp.csv
// byte for byte. Prints figures only: no figure passes or fails.
//
// Usage: bench_run [rounds]   (default 5)
#include "document.h"
#include "model_checks.h"
#include "platform/dialog.h"
#include "platform/fs.h"
#include "platform/ini.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "resources/dialog_templates.h"
#include "run_pipelines.h"
#include "run_settings_dialogs.h"
#include "test_diagram_records.h"

#include <QApplication>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace testdoc;

const char* const kSteps[] = {"checks", "model source", "model compiler", "compile", "simulation", "filing"};
constexpr char kGccPlain[] = "gcc -o temp -Wl,--no-as-needed -lm";
constexpr char kGccOptimised[] = "gcc -o temp -Wl,--no-as-needed -lm -O2 -flto -ffp-contract=off";

std::string dir;
FILE* report = stdout;  // the benchmark's own output; the programs' listings go to /dev/null

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// An LC ladder of `states` storage elements: SE1 drives a chain of junctions, a
// 1-junction with an inertia and a series resistance for each odd state, a
// 0-junction with a capacitor for each even one, ending in a load resistor. Strokes
// for integral causality, so the stroke check passes.
void BuildLadder(int states, const char* endTime, const char* step, const char* points) {
  ResetEditorState();
  g_startDirectory = dir;
  const int se = AddElement(kKindSE, 1);
  SetTexts(se, "Ev", "1.0", "V", "", "E=Ev;");
  int previous = se, previousKind = kKindSE, inertias = 0, capacitors = 0, firstI = 0, lastC = 0;
  for (int k = 1; k <= states; ++k) {
    const bool series = k % 2 == 1;
    const int j = AddElement(series ? kKindOneJunction : kKindZeroJunction, k);
    // The stroke lies at the 1-junction's end of every chain bond.
    AddBond(previous, 4, j, previousKind == kKindZeroJunction || previousKind == kKindSE ? 1 : 0);
    if (series) {
      const int i = AddElement(kKindI, ++inertias);
      const int b = AddBond(j, 2, i, 1);
      if (inertias == 1) firstI = b;
      SetTexts(i, "Lv", "0.5", "H", "", "L=Z/Lv;");
      const int r = AddElement(kKindR, inertias);
      AddBond(j, 6, r, 0);
      SetTexts(r, "Rv", "0.05", "Ohm", "", "if(J==0) R=Rv*Z;\r\nelse R=Z/Rv;");
    } else {
      const int c = AddElement(kKindC, ++capacitors);
      lastC = AddBond(j, 2, c, 0);
      SetTexts(c, "Cv", "0.25", "F", "", "C=Z/Cv;");
    }
    previous = j;
    previousKind = series ? kKindOneJunction : kKindZeroJunction;
  }
  const int load = AddElement(kKindR, inertias + 1);
  const int b = AddBond(previous, 4, load, previousKind == kKindZeroJunction ? 1 : 0);
  SetTexts(load, "Rl", "1.5", "Ohm", "", "if(J==0) R=Rl*Z;\r\nelse R=Z/Rl;");
  AddOutput("Momentum", std::to_string(firstI + 1).c_str());
  if (capacitors > 0) AddOutput("Displacement", std::to_string(lastC + 1).c_str());
  AddOutput("Effort", std::to_string(b + 1).c_str());
  AddOutput("Flow", std::to_string(b + 1).c_str());
  SetNumeric("0.0", endTime, step, points);
}

void WriteSettings(const std::string& command) {
  WriteFile(dir + "/vork.ini", "[Compiler]\r\nType=0\r\nC_Command=" + command + "\r\nF_Command=\r\n[Directory]\r\nData=" +
                                   dir + "/Csv/\r\n");
}

// One run by the run command's path: the stroke check, then the output dialog's start
// button and the result name. Returns the seconds of each step.
std::map<std::string, double> TimedRun(const std::string& name) {
  std::map<std::string, double> seconds;
  Clock::time_point mark = Clock::now();
  std::string current = "checks";
  SetRunStepHook([&](const char* step) {
    const Clock::time_point now = Clock::now();
    seconds[current] += std::chrono::duration<double>(now - mark).count();
    mark = now;
    current = step;
  });
  plat::dlgscript::Queue("OUT_PUT_SETTING_DIALOG", [](plat::Dialog& d) { d.Press(plat::IDOK); });
  plat::dlgscript::Queue("OUT_VARIABLE_DIALOG", [name](plat::Dialog& d) {
    d.SetTextU(dlgres::kResultNameEdit, QString::fromStdString(name));
    d.Press(plat::IDOK);
  });
  plat::msgscript::Begin();
  if (CheckJunctionStrokes(nullptr) != 1 || plat::RunDialog<OutputSettingDialog>(nullptr) != plat::IDOK) {
    std::fprintf(stderr, "bench_run: the run did not go through\n");
    std::exit(1);
  }
  SetRunStepHook({});
  const auto& records = plat::msgscript::Records();
  if (records.size() != 1 || records[0].text != QString::fromUtf8("計算終了!!!")) {
    std::fprintf(stderr, "bench_run: the run failed: %s\n",
                 records.empty() ? "no message" : records[0].text.toUtf8().constData());
    std::exit(1);
  }
  return seconds;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

// The floor: gcc's plain command on an empty program, in a directory of its own.
double TimedFloor() {
  const Clock::time_point start = Clock::now();
  const int status = plat::Process::RunCommandAndWait(QString::fromLatin1(kGccPlain) + QStringLiteral(" floor.c"),
                                                      QString::fromStdString(dir + "/floor"));
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (status != 0) {
    std::fprintf(stderr, "bench_run: gcc cannot link an empty program\n");
    std::exit(1);
  }
  return seconds;
}

// The times of one command's runs: every step and the whole, one entry per round.
struct Samples {
  std::map<std::string, std::vector<double>> steps;
  std::vector<double> whole;
};

// One model: rounds of the floor and each command in turn; a row per command.
// Returns whether every command gave the same temp.csv.
bool CompareCommands(int states, const std::vector<std::string>& commands, int rounds) {
  std::vector<Samples> samples(commands.size());
  std::vector<double> floor;
  for (int r = 0; r < rounds; ++r) {
    floor.push_back(TimedFloor());
    for (std::size_t c = 0; c < commands.size(); ++c) {
      BuildLadder(states, "10.0", "1.0E-04", "1000");
      WriteSettings(commands[c]);
      double whole = 0;
      for (const auto& [step, s] : TimedRun("s" + std::to_string(states) + "c" + std::to_string(c))) {
        samples[c].steps[step].push_back(s);
        whole += s;
      }
      samples[c].whole.push_back(whole);
    }
  }
  const double floorMedian = Median(floor);
  std::fprintf(report, "LC ladder, %d states, 100,000 RK4 steps, 1,000 output points: medians of %d rounds; "
                       "floor %.1f ms\n", states, rounds, 1e3 * floorMedian);
  std::fprintf(report, "  %-62s %9s %7s  %s\n", "command", "whole", "/floor",
               "share: checks, temp.VRK, cvork2, compile, simulation, filing");
  bool identical = true;
  std::string first;
  for (std::size_t c = 0; c < commands.size(); ++c) {
    const double whole = Median(samples[c].whole);
    std::fprintf(report, "  %-62s %6.1f ms %6.2fx ", commands[c].c_str(), 1e3 * whole, whole / floorMedian);
    for (const char* step : kSteps) {
      const auto it = samples[c].steps.find(step);
      std::fprintf(report, " %5.1f %%", it == samples[c].steps.end() ? 0.0 : 100.0 * Median(it->second) / whole);
    }
    std::string csv;  // empty when missing: counted as differing
    plat::fs::ReadFile(dir + "/Csv/s" + std::to_string(states) + "c" + std::to_string(c) + ".csv", &csv);
    if (c == 0) first = csv;
    const bool same = csv == first && !csv.empty();
    identical = identical && same;
    std::fprintf(report, "%s\n", same ? "" : "  temp.csv DIFFERS");
  }
  std::fprintf(report, "\n");
  return identical;
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::string shipped =
      plat::Ini(std::string(VORK_SOURCE_DIR) + "/share/vork.ini").GetString("Compiler", "C_Command");

  QTemporaryDir work;
  if (!work.isValid()) return 1;
  dir = work.path().toStdString();
  plat::fs::SetCurrentDir(dir);
  if (shipped.empty() || !plat::fs::CopyReplace(CVORK2_BINARY, dir + "/cvork2") ||
      !plat::fs::CopyReplace(std::string(VORK_SOURCE_DIR) + "/integrator/runge.c", dir + "/runge.c") ||
      mkdir((dir + "/floor").c_str(), 0755) != 0) {
    std::fprintf(stderr, "bench_run: cannot prepare %s\n", dir.c_str());
    return 1;
  }
  WriteFile(dir + "/floor/floor.c", "int main(void) { return 0; }\n");
  QStringList search{QString::fromStdString(dir)};
  for (const QString& d : QString::fromLocal8Bit(qgetenv("PATH")).split(':')) search << d;
  plat::Process::SetSearchDirs(search);
  plat::dlgscript::Begin();

  // The programs write their listings to the inherited standard output.
  fflush(stdout);
  report = fdopen(dup(STDOUT_FILENO), "w");
  const int quiet = open("/dev/null", O_WRONLY);
  dup2(quiet, STDOUT_FILENO);
  close(quiet);

  std::fprintf(report, "Runs from the diagram; the floor is \"%s floor.c\" on an empty program.\n\n", kGccPlain);
  const std::vector<std::string> commands = {shipped, kGccPlain, kGccOptimised};
  bool identical = true;
  for (int states : {3, 20, 100}) identical = CompareCommands(states, commands, rounds) && identical;
  std::fprintf(report, "every temp.csv byte-identical across the commands: %s\n", identical ? "yes" : "NO");
  fclose(report);
  return 0;
}
