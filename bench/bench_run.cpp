// Run benchmark: the whole run from the diagram through the editor's own code,
// headless (the output dialog's start button and the result name answered by
// script), on documents of an LC ladder built in the records. Prints the share of
// each step (the checks and temp.VRK, cvork2, gcc, the simulation, the filing), then
// compares compile commands on ladders of 3, 20 and 100 states over 100,000 RK4
// steps, checking that every command gives the same temp.csv byte for byte.
//
// Usage: bench_run [repeats]   (default 3; the best time of each step is shown)
#include "document.h"
#include "model_checks.h"
#include "platform/dialog.h"
#include "platform/fs.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "run_pipelines.h"
#include "run_settings_dialogs.h"
#include "test_diagram_records.h"

#include <QApplication>
#include <QTemporaryDir>

#include <fcntl.h>
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
constexpr char kDefaultCommand[] = "gcc -o temp -Wl,--no-as-needed -lm";

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
  plat::dlgscript::Queue("OUT_PUT_SETTING_DIALOG", [](plat::Dialog& d) { d.Press(1); });
  plat::dlgscript::Queue("OUT_VARIABLE_DIALOG", [name](plat::Dialog& d) {
    d.SetTextU(2570, QString::fromStdString(name));
    d.Press(1);
  });
  plat::msgscript::Begin();
  if (CheckJunctionStrokes(nullptr) != 1 || plat::RunDialog<OutputSettingDialog>(nullptr) != 1) {
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

// The best time of every step over `repeats` runs.
std::map<std::string, double> BestOf(int repeats, const std::string& name) {
  std::map<std::string, double> best;
  for (int r = 0; r < repeats; ++r) {
    for (const auto& [step, s] : TimedRun(name)) best[step] = r == 0 ? s : std::min(best[step], s);
  }
  return best;
}

double Sum(const std::map<std::string, double>& steps) {
  double total = 0;
  for (const auto& [step, s] : steps) total += s;
  return total;
}

void StepShares(int repeats) {
  BuildLadder(20, "10.0", "1.0E-03", "1000");
  WriteSettings(kDefaultCommand);
  const std::map<std::string, double> best = BestOf(repeats, "ladder20");
  const double total = Sum(best);
  std::fprintf(report, "Run from the diagram: LC ladder, 20 states, 10,000 RK4 steps, 1,000 output points, "
                       "command \"%s\" (best of %d)\n", kDefaultCommand, repeats);
  for (const char* step : kSteps) {
    const double s = best.count(step) ? best.at(step) : 0.0;
    std::fprintf(report, "  %-15s %8.1f ms  %5.1f %%\n", step, 1e3 * s, 100.0 * s / total);
  }
  const double own = best.at("checks") + best.at("model source") + best.at("filing");
  std::fprintf(report, "  %-15s %8.1f ms  (goal < 300 ms)\n", "whole run", 1e3 * total);
  std::fprintf(report, "  %-15s %8.1f ms  (the checks, temp.VRK and the filing; goal < 10 ms)\n\n", "editor's own",
               1e3 * own);
}

void CompareCommands(int repeats) {
  const std::vector<std::string> commands = {kDefaultCommand, std::string(kDefaultCommand) + " -O1 -ffp-contract=off",
                                             std::string(kDefaultCommand) + " -O2 -flto -ffp-contract=off"};
  std::fprintf(report, "Compile commands, 100,000 RK4 steps, 1,000 output points (best of %d; gcc, then the "
                       "simulation):\n", repeats);
  bool identical = true;
  for (int states : {3, 20, 100}) {
    std::fprintf(report, "  %3d states:\n", states);
    std::string first;
    for (std::size_t c = 0; c < commands.size(); ++c) {
      BuildLadder(states, "10.0", "1.0E-04", "1000");
      WriteSettings(commands[c]);
      const std::string name = "s" + std::to_string(states) + "c" + std::to_string(c);
      const std::map<std::string, double> best = BestOf(repeats, name);
      std::string csv;  // empty when missing: counted as differing
      plat::fs::ReadFile(dir + "/Csv/" + name + ".csv", &csv);
      if (c == 0) first = csv;
      const bool same = csv == first && !csv.empty();
      identical = identical && same;
      std::fprintf(report, "    %-62s gcc %7.1f ms  simulation %7.1f ms  whole %7.1f ms%s\n", commands[c].c_str(),
                   1e3 * best.at("compile"), 1e3 * best.at("simulation"), 1e3 * Sum(best),
                   same ? "" : "  temp.csv DIFFERS");
    }
  }
  std::fprintf(report, "  every temp.csv byte-identical across the commands: %s\n", identical ? "yes" : "NO");
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

  QTemporaryDir work;
  if (!work.isValid()) return 1;
  dir = work.path().toStdString();
  plat::fs::SetCurrentDir(dir);
  if (!plat::fs::CopyReplace(CVORK2_BINARY, dir + "/cvork2") ||
      !plat::fs::CopyReplace(std::string(VORK_SOURCE_DIR) + "/integrator/runge.c", dir + "/runge.c")) {
    std::fprintf(stderr, "bench_run: cannot prepare %s\n", dir.c_str());
    return 1;
  }
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

  StepShares(repeats);
  CompareCommands(repeats);
  fclose(report);
  return 0;
}
