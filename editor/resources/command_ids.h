// Ids of the main window's commands: the menu items (the menu resource mymenu.menu
// carries the same numbers) and the toolbar buttons, the tools among them.
#pragma once

// ---- menu ----------------------------------------------------------------------------
inline constexpr int kMenuNew = 100;
inline constexpr int kMenuOpen = 110;
inline constexpr int kMenuSave = 120;
inline constexpr int kMenuIntegralEquations = 122;      // the equation view, integral form
inline constexpr int kMenuDifferentialEquations = 123;  // the equation view, differential form
inline constexpr int kMenuSaveAs = 130;
inline constexpr int kMenuExit = 140;
inline constexpr int kMenuSavePicture = 150;
inline constexpr int kMenuRunBondGraph = 210;
inline constexpr int kMenuRunFromModelSource = 220;
inline constexpr int kMenuExperimentalData = 300;
inline constexpr int kMenuSelectCompiler = 310;
inline constexpr int kMenuCheckVariables = 320;
inline constexpr int kMenuHelp = 400;
inline constexpr int kMenuVersion = 410;

// ---- toolbar -------------------------------------------------------------------------
inline constexpr int kToolbarNew = 1100;
inline constexpr int kToolbarOpen = 1110;
inline constexpr int kToolbarSaveAs = 1120;
inline constexpr int kToolbarPrint = 1160;
inline constexpr int kToolbarGreyed = 1170;  // shown greyed, no action
inline constexpr int kToolbarNumericConditions = 1310;
inline constexpr int kToolbarRun = 1320;
inline constexpr int kToolbarGraph = 1330;

// Toolbar ids of the tools: select, the placing tools 1210 + 10 * kind, bond.
inline constexpr int kToolSelect = 1200;
inline constexpr int kToolFirstElement = 1210;
inline constexpr int kToolFirstJunction = 1280;
inline constexpr int kToolLastElement = 1290;
inline constexpr int kToolBond = 1300;
inline constexpr int ToolOfKind(int kind) { return kToolFirstElement + 10 * kind; }
inline constexpr int KindOfTool(int tool) { return (tool - kToolFirstElement) / 10; }
