#include "commands.h"

#include "main_window.h"
#include "model_checks.h"
#include "model_source_writer.h"
#include "platform/fs.h"
#include "platform/process.h"
#include "run_pipelines.h"
#include "run_settings_dialogs.h"

#include <fstream>
#include <string>

namespace {

QWidget* Owner() { return g_mainWindow; }
plat::ClientView* View() { return g_mainWindow ? g_mainWindow->View() : nullptr; }

// The causal-stroke check, then the output dialog, whose start button runs the model.
void RunBondGraph() {
  if (CheckJunctionStrokes(View()) == 1) RunOutputSettingDialog(Owner());
}

}  // namespace

// Still empty: the diagram file, the runs, printing and the other commands.
void MenuNew() {}
void MenuOpen() {}
void MenuSave() {}
void MenuSaveAs() {}
void MenuExit() {}
void MenuSavePicture() {}
// The equation viewer reads the target language and the form of the equations
// ("0" integral, "1" differential) from LumexIni.txt; it is started and left running.
void MenuShowEquations(int form) {
  if (CheckEquationsPresent(Owner()) == 0) return;
  if (CheckAllConnected(Owner()) == 0) return;
  WriteModelSource();
  if (RunModelCompiler() == 0) return;
  std::ofstream ini(plat::fs::Join(plat::fs::CurrentDir(), "LumexIni.txt"), std::ios::binary | std::ios::trunc);
  ini << g_language << "\r\n" << form << "\r\n";
  ini.close();
  plat::Process::StartDetached(QStringLiteral("Lumex.exe"));
}
void MenuRunBondGraph() { RunBondGraph(); }
void MenuRunFromModelSource() { RunModelSourceDialog(Owner()); }
void MenuExperimentalData() {}
void MenuSelectCompiler() {}
void MenuCheckVariables() { CheckSharedVariables(Owner()); }
void MenuHelp() {}
void MenuVersion() {}

void ToolbarNew() {}
void ToolbarOpen() {}
void ToolbarSaveAs() {}
void ToolbarPrint() {}
void ToolbarNumericConditions() {}
void ToolbarRun() { RunBondGraph(); }
void ToolbarGraph() {}
