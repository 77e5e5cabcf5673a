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
