// The run pipelines: the model compiler, the configured compiler and the
// simulation program started in turn, the results filed and the work files
// cleared; the run from the diagram and the run from a model-source file.
// Every program is waited for on the GUI thread, without a time limit.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

class QWidget;
namespace plat {
class Dialog;
}

// Starts the model compiler ("cvork2" for the C target, "fvork" otherwise) in the
// current directory and waits for it. Always 1.
int RunModelCompiler();

// The start button "計算開始" of the output dialog: the equation and connection
// checks (their message keeps the dialog open), temp.VRK, the model compiler and
// RunSimulation; then the dialog ends with 1.
void RunFromDiagram(plat::Dialog& outputDialog);

// After the model compiler: the result name, the compile command with the
// integrator, the simulation program "temp", the result (and in the advanced mode
// the model source, parameter file and generated source) filed under the result
// name, the work files deleted, and the outcome reported, owned by owner.
void RunSimulation(QWidget* owner);

// RUN_VRK "VRKファイルからの実行": a model-source file run with its own compiler
// choice and command. Returns the end code (IDOK after a run, IDCANCEL closed).
int RunModelSourceDialog(QWidget* owner);
// After the model compiler of RUN_VRK: as RunSimulation with the given language
// (0 = C, 1 = Fortran) and compiler command, always with the fixed-step integrator.
void RunSimulationFromSource(QWidget* owner, int language, const std::string& command);

// For timing a run (benchmarks): called as each step of a run from the diagram
// begins, with "model source", "model compiler", "compile", "simulation" and
// "filing", and with "end" when the run is over. An empty function: none.
void SetRunStepHook(std::function<void(const char* step)> hook);

// What RUN_VRK keeps between openings (file-system bytes).
extern int g_runLanguage;            // 0 = C, 1 = Fortran
extern std::string g_runCommand;     // the compiler command, at most 259 bytes
extern std::string g_runSourcePath;  // the model-source file
extern std::string g_pathScratch;    // the browse folder, then the copy target

// A compiler command (here and in SELECT_COMPILER), in bytes: a 260-byte buffer's worth.
inline constexpr std::size_t kRunCommandBytes = 259;
// The model-source path typed or chosen in RUN_VRK, in bytes.
inline constexpr std::size_t kRunSourcePathBytes = 259;
