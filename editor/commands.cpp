#include "commands.h"

#include "experimental_data.h"
#include "main_window.h"
#include "printing.h"

// Still empty: the diagram file, the runs, printing and the other commands.
void MenuNew() {}
void MenuOpen() {}
void MenuSave() {}
void MenuSaveAs() {}
void MenuExit() {}
void MenuSavePicture() { SavePicture(g_mainWindow); }
void MenuShowEquations(int) {}
void MenuRunBondGraph() {}
void MenuRunFromModelSource() {}
void MenuExperimentalData() { RunExperimentalDataDialog(g_mainWindow); }
void MenuSelectCompiler() {}
void MenuCheckVariables() {}
void MenuHelp() {}
void MenuVersion() {}

void ToolbarNew() {}
void ToolbarOpen() {}
void ToolbarSaveAs() {}
void ToolbarPrint() { PrintCanvas(g_mainWindow); }
void ToolbarNumericConditions() {}
void ToolbarRun() {}
void ToolbarGraph() {}
