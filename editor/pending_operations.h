// Operations the main window calls whose work comes with later features:
// selection, dragging and deletion; bond creation and the causal-stroke
// dialog; the element and initial-value dialogs; the menu and toolbar
// commands. Until then they are defined empty in pending_operations.cpp
// (queries answer "nothing selected", dialogs "cancelled"); each moves to its
// own source file when it is built.
#pragma once

class QWidget;
namespace plat {
class ClientView;
}

// ---- selection, dragging, deletion ------------------------------------------------
inline constexpr int HIT_ELEMENT = 2560;
inline constexpr int HIT_BOND = 2561;

void OnSelectToolClick(plat::ClientView* window, int x, int y);
void DragElement(plat::ClientView* window, int x, int y);
void AddCurrentElementToRegion();
void DeleteSelection(plat::ClientView* window, int index);
void MarkStaleFeedbackRefs();
// HIT_ELEMENT, HIT_BOND or 0.
int ClassifySelection();
void ClearSelection(plat::ClientView* window);

// ---- bonds ----------------------------------------------------------------------------
void OnBondToolClick(plat::ClientView* window, int x, int y);
void TrackBondRubberBand(plat::ClientView* window, int x, int y);
// STROKE_SELECT_DIALOG for bond g_strokeBond; the end code (1 OK, 2 Cancel).
int RunStrokeSelectDialog(QWidget* owner);

// ---- element and initial-value dialogs -------------------------------------------------
// ELEMENT_PARAMETER_DIALOG for element g_currentIndex; the end code.
int RunElementParameterDialog(QWidget* owner);
void EditInitialValueOfSelectedBond(plat::ClientView* window);

// ---- menu commands -------------------------------------------------------------------
void MenuNew();                  // 100
void MenuOpen();                 // 110
void MenuSave();                 // 120
void MenuSaveAs();               // 130
void MenuExit();                 // 140
void MenuSavePicture();          // 150
void MenuShowEquations(int form);  // 122 (form 0, integral), 123 (form 1, differential)
void MenuRunBondGraph();         // 210
void MenuRunFromModelSource();   // 220
void MenuExperimentalData();     // 300
void MenuSelectCompiler();       // 310
void MenuCheckVariables();       // 320
void MenuHelp();                 // 400
void MenuVersion();              // 410

// ---- toolbar commands (after the tool change) ------------------------------------------
void ToolbarNew();               // 1100
void ToolbarOpen();              // 1110
void ToolbarSaveAs();            // 1120
void ToolbarPrint();             // 1160
void ToolbarNumericConditions(); // 1310
void ToolbarRun();               // 1320
void ToolbarGraph();             // 1330
