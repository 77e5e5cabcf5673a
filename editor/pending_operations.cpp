// Empty until the features that do this work are built.
#include "pending_operations.h"

void OnSelectToolClick(plat::ClientView*, int, int) {}
void DragElement(plat::ClientView*, int, int) {}
void AddCurrentElementToRegion() {}
void DeleteSelection(plat::ClientView*, int) {}
void MarkStaleFeedbackRefs() {}
int ClassifySelection() { return 0; }
void ClearSelection(plat::ClientView*) {}

void OnBondToolClick(plat::ClientView*, int, int) {}
void TrackBondRubberBand(plat::ClientView*, int, int) {}
int RunStrokeSelectDialog(QWidget*) { return 2; }

int RunElementParameterDialog(QWidget*) { return 2; }
void EditInitialValueOfSelectedBond(plat::ClientView*) {}

void MenuNew() {}
void MenuOpen() {}
void MenuSave() {}
void MenuSaveAs() {}
void MenuExit() {}
void MenuSavePicture() {}
void MenuShowEquations(int) {}
void MenuRunBondGraph() {}
void MenuRunFromModelSource() {}
void MenuExperimentalData() {}
void MenuSelectCompiler() {}
void MenuCheckVariables() {}
void MenuHelp() {}
void MenuVersion() {}

void ToolbarNew() {}
void ToolbarOpen() {}
void ToolbarSaveAs() {}
void ToolbarPrint() {}
void ToolbarNumericConditions() {}
void ToolbarRun() {}
void ToolbarGraph() {}
