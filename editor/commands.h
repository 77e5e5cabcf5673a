// The menu and toolbar commands. The main window's dispatcher runs the menu
// action first, then the steps common to every command, then the tool change
// and the toolbar action.
#pragma once

class MainWindow;

// New without the question: the document and its settings afresh, the
// element and bond slots of the old diagram emptied, the caption "Zandrel",
// the drawing white. Keeps the kind counters, the saved flag, the current
// file name, the result name, the automatic time step, the language, the
// tool, the scroll position and the clean canvas.
void NewDiagram(MainWindow* window);

// ---- menu commands (their ids: resources/command_ids.h) -----------------------------
void MenuNew();
void MenuOpen();
void MenuSave();
void MenuSaveAs();
void MenuExit();
void MenuSavePicture();
void MenuShowEquations(int form);  // form 0: the integral equations, 1: the differential ones
void MenuRunBondGraph();
void MenuRunFromModelSource();
void MenuExperimentalData();
void MenuSelectCompiler();
void MenuCheckVariables();
void MenuHelp();
void MenuVersion();

// ---- toolbar commands (after the tool change) ------------------------------------------
void ToolbarNew();
void ToolbarOpen();
void ToolbarSaveAs();
void ToolbarPrint();
void ToolbarNumericConditions();
void ToolbarRun();
void ToolbarGraph();
