#include "commands.h"

#include "canvas_drawing.h"
#include "diagram_file.h"
#include "document.h"
#include "experimental_data.h"
#include "main_window.h"
#include "model_checks.h"
#include "model_source_writer.h"
#include "platform/fs.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "printing.h"
#include "run_pipelines.h"
#include "run_settings_dialogs.h"

#include <string>

namespace {

QWidget* Owner() { return g_mainWindow; }
plat::ClientView* View() { return g_mainWindow ? g_mainWindow->View() : nullptr; }

// The caption "VORK Ver. 2.0 [title]" of the diagram file just opened or saved.
void ShowFileInCaption(const QString& title) {
  if (g_mainWindow)
    g_mainWindow->setWindowTitle(QStringLiteral("%1 [%2]").arg(QLatin1String(kMainWindowTitle), title));
}

// The causal-stroke check, then the output dialog, whose start button runs the model.
void RunBondGraph() {
  if (CheckJunctionStrokes(View()) == 1) plat::RunDialog<OutputSettingDialog>(Owner());
}

// New of the menu and of the toolbar: New after the question.
void AskAndNewDiagram() {
  if (plat::MessageBox(g_mainWindow, QStringLiteral("新規作成しますか？"), QStringLiteral("新規作成"),
                       plat::MB_OKCANCEL) == plat::IDOK)
    NewDiagram(g_mainWindow);
}

}  // namespace

void NewDiagram(MainWindow* window) {
  InitDocumentAndSettings();
  ClearTables();
  g_bondDrawing = 0;
  if (window) window->setWindowTitle(QStringLiteral("Zandrel"));
  g_document.occupiedRegion = g_document.spareRegion;
  // Only the drawing is whitened; the clean canvas keeps its picture.
  if (g_drawDC) g_drawDC->FillWhite();
  InvalidateCanvas(window ? window->View() : nullptr);
}

void MenuNew() { AskAndNewDiagram(); }
void MenuOpen() {
  if (g_documentSaved == 0) {
    const int answer = plat::MessageBox(g_mainWindow,
                                        QStringLiteral("ファイルが保存されていません.\nファイルを保存しますか？"),
                                        QStringLiteral("ファイルの保存"), plat::MB_YESNO);
    // Yes saves the diagram under a new name and opens nothing.
    if (answer == plat::IDYES) {
      if (SaveDiagramAs(g_mainWindow, ShowFileInCaption)) g_documentSaved = 1;
      return;
    }
  }
  if (OpenDiagram(g_mainWindow, View(), ShowFileInCaption)) {
    g_documentSaved = 1;
    g_autoTimeStep = 0;
  }
}
void MenuSave() {
  if (SaveDiagram(g_mainWindow, ShowFileInCaption)) g_documentSaved = 1;
}
void MenuSaveAs() {
  if (SaveDiagramAs(g_mainWindow, ShowFileInCaption)) g_documentSaved = 1;
}
void MenuExit() {
  if (!g_mainWindow) return;
  if (g_documentSaved == 0) {
    const int answer = plat::MessageBox(g_mainWindow, QStringLiteral("ファイルが保存されていません.\n終了しますか？"),
                                        QStringLiteral("終了確認"), plat::MB_YESNO | plat::MB_ICONQUESTION);
    // No saves under a new name and goes on.
    if (answer != plat::IDYES) {
      if (SaveDiagramAs(g_mainWindow, ShowFileInCaption)) g_documentSaved = 1;
      return;
    }
  }
  g_mainWindow->DestroyWindow();
}
void MenuSavePicture() { SavePicture(g_mainWindow); }
// The equation viewer reads the target language and the form of the equations
// ("0" integral, "1" differential) from LumexIni.txt; it is started and left running.
void MenuShowEquations(int form) {
  if (CheckEquationsPresent(Owner()) == 0) return;
  if (CheckAllConnected(Owner()) == 0) return;
  WriteModelSource();
  RunModelCompiler();
  // A viewer started without its settings would read those of an earlier view.
  const std::string ini = std::to_string(g_language) + "\r\n" + std::to_string(form) + "\r\n";
  if (!plat::fs::WriteFileAtomic(plat::fs::Join(plat::fs::CurrentDir(), "LumexIni.txt"), ini)) return;
  plat::Process::StartDetached(QStringLiteral("Lumex.exe"));
}
void MenuRunBondGraph() { RunBondGraph(); }
void MenuRunFromModelSource() { RunModelSourceDialog(Owner()); }
void MenuExperimentalData() { RunExperimentalDataDialog(g_mainWindow); }
void MenuSelectCompiler() { plat::RunDialog<SelectCompilerDialog>(g_mainWindow); }
void MenuCheckVariables() { CheckSharedVariables(Owner()); }
// There is no help viewer: the command does nothing.
void MenuHelp() {}
void MenuVersion() {
  plat::MessageBox(g_mainWindow,
                   QStringLiteral("VORK Ver. 2.0\n\nボンドグラフでモデルを描き，動かしてみるすべての人へ．"),
                   QStringLiteral("バージョン情報"), plat::MB_OK);
}

void ToolbarNew() { AskAndNewDiagram(); }
// Unsaved changes are discarded without a question; the saved flag stays.
void ToolbarOpen() { OpenDiagram(g_mainWindow, View(), ShowFileInCaption); }
void ToolbarSaveAs() { SaveDiagramAs(g_mainWindow, ShowFileInCaption); }
void ToolbarPrint() { PrintCanvas(g_mainWindow); }
void ToolbarNumericConditions() { plat::RunDialog<NumericConditionsDialog>(g_mainWindow); }
void ToolbarRun() { RunBondGraph(); }
// The graph program, when there is one, runs on its own.
void ToolbarGraph() { plat::Process::StartDetached(QStringLiteral("Graph")); }

