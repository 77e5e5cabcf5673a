#include "run_pipelines.h"

#include "document.h"
#include "model_checks.h"
#include "model_source_writer.h"
#include "platform/cp932.h"
#include "platform/dialog.h"
#include "platform/file_dialog.h"
#include "platform/fs.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "resources/run_templates.h"
#include "run_settings_dialogs.h"
#include "settings.h"

#include <QString>

#include <initializer_list>
#include <utility>
#include <string>

int g_runLanguage = 0;
std::string g_runCommand;
std::string g_runSourcePath;
std::string g_pathScratch;

namespace {

void ResetRunSourceState() {
  g_runLanguage = 0;
  g_runCommand.clear();
  g_runSourcePath.clear();
  g_pathScratch.clear();
}
const EditorResetHook kResetHook(&ResetRunSourceState);

std::function<void(const char*)>& StepHook() {
  static std::function<void(const char*)> hook;
  return hook;
}
void Step(const char* name) {
  if (StepHook()) StepHook()(name);
}

// ---- the working directory -----------------------------------------------------------

std::string WorkPath(const std::string& name) { return plat::fs::Join(plat::fs::CurrentDir(), name); }

// The existing entry of that name in any letter case (the name itself when none).
std::string WorkFile(const std::string& name) { return plat::fs::Resolve(WorkPath(name)); }

// Removes the work file in every letter case; the simulation program "temp.exe" is
// "temp" here, and both go.
void DeleteWorkFile(const std::string& name) {
  if (name == "temp.exe") plat::fs::DeleteAllCases(WorkPath("temp"));
  plat::fs::DeleteAllCases(WorkPath(name));
}

void DeleteWorkFiles(std::initializer_list<const char*> names) {
  for (const char* name : names) DeleteWorkFile(name);
}

// Whether a regular file of that name (any case) can be read.
bool WorkFileReadable(const std::string& name) { return plat::fs::IsReadableFile(WorkFile(name)); }

// Whether a file (not a directory) of that name is in the working directory, in any
// letter case.
bool WorkFileLeft(const char* name) { return !plat::fs::ListNoCase(plat::fs::CurrentDir(), name).empty(); }

// The simulation program writes its result under this name and renames it to
// temp.csv when it is complete.
constexpr char kPartialResult[] = "temp.csv.part";

// What an earlier run may have left to be taken for this run's output. They go before
// the model compiler starts; true when none is left.
bool DeleteStaleResults() {
  static const char* const kStale[] = {"temp.c", "temp.f", "temp", "temp.exe", "temp.csv", "temp.par"};
  bool cleared = true;
  for (const char* name : kStale) {
    plat::fs::DeleteAllCases(WorkPath(name));
    if (WorkFileLeft(name)) cleared = false;
  }
  // A result a crashed simulation left half written. It is never taken for a
  // result, so one that cannot be removed does not stop the run.
  DeleteWorkFile(kPartialResult);
  return cleared;
}

const char* GeneratedSource(int language) { return language == 0 ? "temp.c" : "temp.f"; }

void Report(QWidget* owner, const char* text, const char* title) {
  plat::MessageBox(owner, QString::fromUtf8(text), QString::fromUtf8(title), plat::MB_OK);
}

void ReportSourceMissing(QWidget* owner, int language) {
  Report(owner, language == 0 ? "temp.cが作成されませんでした．" : "temp.fが作成されませんでした．", "エラー");
}

// Whether the run left its generated source and then its result, and filed the
// result; the first failure is reported. A result that could not be filed stays in
// the working directory.
bool ResultsPresent(QWidget* owner, int language, bool filed) {
  if (!WorkFileReadable(GeneratedSource(language))) {
    ReportSourceMissing(owner, language);
    return false;
  }
  if (!WorkFileReadable("temp.csv")) {
    Report(owner, "コンパイルできませんでした．", "エラー");
    return false;
  }
  if (!filed) {
    Report(owner, "結果ファイルを保存できませんでした．", "エラー");
    return false;
  }
  return true;
}

// ---- one run's settings -----------------------------------------------------------------

struct RunSettings {
  std::string dataDir, parDir, vrkDir, cDir, fDir;  // prefixes: the name is appended
  std::string advanceDir;                           // current directory + "/Advance/"
};

RunSettings ReadRunSettings() {
  const std::string ini = SettingsPath();
  RunSettings s;
  s.dataDir = ReadDirectorySetting(ini, "Data");
  s.parDir = ReadDirectorySetting(ini, "Par");
  s.vrkDir = ReadDirectorySetting(ini, "Vrk");
  s.cDir = ReadDirectorySetting(ini, "C");
  s.fDir = ReadDirectorySetting(ini, "F");
  s.advanceDir = WorkPath("Advance/");
  return s;
}

// "<command> temp.c runge.c" and its variants, started without a shell; a blank
// command starts nothing.
void RunCompileCommand(const std::string& command, int language, bool automaticStep) {
  if (plat::fs::ToQString(command).trimmed().isEmpty()) return;
  const char* integrator = automaticStep ? "rungeauto" : "runge";
  const std::string line = command + (language == 0 ? " temp.c " : " temp.f ") + integrator + (language == 0 ? ".c" : ".f");
  plat::Process::RunCommandAndWait(plat::fs::ToQString(line));
}

// The result name typed in OUT_VARIABLE_DIALOG as file-system bytes.
std::string ResultName() {
  return plat::fs::FromQString(plat::cp932::ToQString(TextOf(g_document.outputFileName)));
}

// Copies a work file into a directory (matched without regard to case) under the
// result name; false when it could not be copied.
bool CopyWorkFile(const std::string& name, const std::string& directory, const std::string& target) {
  return plat::fs::CopyReplace(WorkFile(name), plat::fs::Resolve(directory) + target);
}

// The result under its name, and in the advanced mode the model source, the parameter
// file and the generated source of the language; made whatever the run produced.
// False when the run left a result that could not be filed.
bool FileResults(const RunSettings& s, const std::string& name, int language) {
  if (!plat::fs::ExistsNoCase(WorkPath("csv"))) plat::fs::MakeDirectory(s.dataDir);
  const bool filed = CopyWorkFile("temp.csv", s.dataDir, name + ".csv") || !WorkFileReadable("temp.csv");
  if (!g_advanceMode) return filed;
  if (!plat::fs::ExistsNoCase(WorkPath("advance"))) {
    for (const std::string* dir : {&s.advanceDir, &s.parDir, &s.vrkDir, &s.cDir, &s.fDir})
      plat::fs::MakeDirectory(*dir);
  }
  CopyWorkFile(kModelSourceName, s.vrkDir, name + ".vrk");
  CopyWorkFile("temp.par", s.parDir, name + ".par");
  if (language == 0) {
    CopyWorkFile("temp.c", s.cDir, name + ".c");
  } else {
    CopyWorkFile("temp.f", s.fDir, name + ".f");
  }
  return filed;
}

// The steps both runs share once the model compiler is done: the result name, the
// compile, the simulation program and the filing. False when a result could not be
// filed.
bool CompileSimulateAndFile(QWidget* owner, int language, const std::string& command, bool automaticStep) {
  const RunSettings settings = ReadRunSettings();
  plat::RunDialog<OutputFileNameDialog>(owner);  // its end code is not looked at: the last name stays
  Step("compile");
  RunCompileCommand(command, language, automaticStep);
  Step("simulation");
  plat::Process::RunAndWait(QStringLiteral("temp"));
  Step("filing");
  return FileResults(settings, ResultName(), language);
}

// ---- RUN_VRK ----------------------------------------------------------------------------

std::string StartDirectory() { return g_startDirectory.empty() ? plat::fs::CurrentDir() : g_startDirectory; }

// Removes the model source of the start directory in every letter case, except a
// file that is the chosen one itself.
void RemoveOldModelSources(const std::string& start, const std::string& chosen) {
  for (const std::string& name : plat::fs::ListNoCase(start, kModelSourceName)) {
    const std::string path = plat::fs::Join(start, name);
    if (!plat::fs::SameFile(path, chosen)) plat::fs::RemoveFile(path);
  }
}

class RunModelSourceDialogImpl : public plat::Dialog {
 public:
  RunModelSourceDialogImpl() : plat::Dialog(dlgres::RunModelSourceTemplate()) {}

 protected:
  void OnInit() override {
    Check(dlgres::kRunLanguageCRadio, g_runLanguage == 0);
    Check(dlgres::kRunLanguageFortranRadio, g_runLanguage == 1);
    SetByteLimit(dlgres::kRunCommandEdit, kRunCommandBytes, Encoding::Utf8);
    SetByteLimit(dlgres::kRunSourcePathEdit, kRunSourcePathBytes, Encoding::Utf8);
    SetText(dlgres::kRunCommandEdit, g_runCommand);
    SetText(dlgres::kRunSourcePathEdit, g_runSourcePath);
  }

  void OnCommand(int id) override {
    switch (id) {
      case dlgres::kRunBrowseButton: Browse(); break;
      case plat::IDOK: Run(); break;
      case plat::IDCANCEL:
        g_runLanguage = IsChecked(dlgres::kRunLanguageCRadio) ? 0 : 1;
        ReadEdits();
        End(plat::IDCANCEL);
        break;
      default: break;
    }
  }

 private:
  void ReadEdits() {
    g_runCommand = GetText(dlgres::kRunCommandEdit);
    g_runSourcePath = GetText(dlgres::kRunSourcePathEdit);
  }

  void Browse() {
    const std::string start = StartDirectory();
    g_pathScratch = plat::fs::Resolve(plat::fs::Join(start, "Advance/VRK"));
    g_runSourcePath.clear();
    plat::FileDialogOptions options;
    options.filters = {{QStringLiteral("VRK File"), QStringLiteral("*.VRK")}};  // shown as "VRK File (*.VRK)"
    options.defaultSuffix = QStringLiteral("VRK");
    options.initialDirectory = plat::fs::ToQString(g_pathScratch);
    options.mustExist = true;
    const QString chosen = plat::FileDialog::Open(this, options);
    if (chosen.isEmpty()) return;
    SetText(dlgres::kRunSourcePathEdit, plat::fs::FromQString(chosen));
    g_runSourcePath = GetText(dlgres::kRunSourcePathEdit);
    plat::fs::SetCurrentDir(start);
  }

  void Run() {
    ReadEdits();
    if (g_runCommand.empty()) {
      Report(this, "コマンドを入力してください", "入力エラー");
      return;
    }
    if (g_runSourcePath.empty()) {
      Report(this, "ファイル名を入力してください", "入力エラー");
      return;
    }
    if (IsChecked(dlgres::kRunLanguageCRadio)) {
      g_runLanguage = 0;
    } else if (IsChecked(dlgres::kRunLanguageFortranRadio)) {
      g_runLanguage = 1;
    }
    const std::string start = StartDirectory();
    g_pathScratch = plat::fs::Join(start, kModelSourceName);
    RemoveOldModelSources(start, g_runSourcePath);
    plat::fs::CopyReplace(g_runSourcePath, g_pathScratch);
    if (!DeleteStaleResults()) {
      ReportSourceMissing(this, g_runLanguage);
      End(plat::IDOK);
      return;
    }
    plat::Process::RunAndWait(plat::fs::ToQString(plat::fs::Join(start, g_runLanguage == 0 ? "cvork2" : "fvork")));
    RunSimulationFromSource(this, g_runLanguage, g_runCommand);
    End(plat::IDOK);
  }
};

}  // namespace

int RunModelCompiler() {
  plat::Process::RunAndWait(QString::fromLatin1(g_language == 0 ? "cvork2" : "fvork"));
  return 1;
}

void RunFromDiagram(plat::Dialog& outputDialog) {
  if (CheckEquationsPresent(&outputDialog) == 0) return;
  if (CheckAllConnected(&outputDialog) == 0) return;
  Step("model source");
  const bool written = WriteModelSource();
  // A model source that could not be written, or an old result that could not be
  // removed, would have the run report what an earlier run left.
  if (!DeleteStaleResults() || !written) {
    ReportSourceMissing(&outputDialog, g_language);
    outputDialog.End(plat::IDOK);
    return;
  }
  Step("model compiler");
  RunModelCompiler();
  RunSimulation(&outputDialog);
  Step("end");
  outputDialog.End(plat::IDOK);
}

void SetRunStepHook(std::function<void(const char* step)> hook) { StepHook() = std::move(hook); }

void RunSimulation(QWidget* owner) {
  const int language = g_language == 0 ? 0 : 1;
  const std::string command = ReadCompilerCommand(SettingsPath(), language);
  const bool filed = CompileSimulateAndFile(owner, language, command, g_autoTimeStep == 1);
  DeleteWorkFiles({"VRK_ERROR", "temp.exe", "temp.vrk", "temp.par", "runge.obj", "rungeauto.obj", "temp.obj",
                   "sysvar.txt", kPartialResult});
  if (ResultsPresent(owner, language, filed)) {
    DeleteWorkFiles({GeneratedSource(language), "temp.csv"});
    Report(owner, "計算終了!!!", "");
  }
}

int RunModelSourceDialog(QWidget* owner) { return plat::RunDialog<RunModelSourceDialogImpl>(owner); }

void RunSimulationFromSource(QWidget* owner, int language, const std::string& command) {
  language = language == 0 ? 0 : 1;
  const bool filed = CompileSimulateAndFile(owner, language, command, false);
  if (ResultsPresent(owner, language, filed)) Report(owner, "計算終了!!!", "VRKファイルからの計算");
  DeleteWorkFiles({"sysvar.txt", "VRK_ERROR", "temp.exe", "temp.vrk", "temp.par", "runge.obj", "temp.obj",
                   kPartialResult});
  // A result that could not be filed is kept.
  if (filed) DeleteWorkFile("temp.csv");
  DeleteWorkFile(GeneratedSource(language));
}
