#include "run_settings_dialogs.h"

#include "document.h"
#include "model_source_writer.h"
#include "resources/dialog_templates.h"
#include "run_pipelines.h"
#include "settings.h"

#include <QString>

#include <string>

// ---- OUT_PUT_SETTING_DIALOG -------------------------------------------------

OutputSettingDialog::OutputSettingDialog() : plat::Dialog(dlgres::OutputSettingTemplate()) {}

void OutputSettingDialog::OnInit() { InitOutputSettingDialog(); }

void OutputSettingDialog::OnCommand(int id) {
  switch (id) {
    case 1: RunFromDiagram(*this); break;
    case 2: End(2); break;
    case 2533: AddOutputVariable(); break;
    case 2535: DeleteOutputVariables(); break;
    default: break;
  }
}

void OutputSettingDialog::InitOutputSettingDialog() {
  AddChildPx(2530, plat::Ctl::Combo, 27, 50, 110, 120);
  for (const char* kind : kOutputKindNames) ComboAdd(2530, kind);
  AddChildPx(2531, plat::Ctl::Combo, 147, 50, 70, 200);
  ComboAddNumbers(2531, g_bondCount);
  AddChildPx(2534, plat::Ctl::List, 20, 100, 170, 135);
  ListAddColumn(2534, QStringLiteral("出力変数"), 100, Align::Left);
  ListAddColumn(2534, QStringLiteral("ボンド"), 45, Align::Center);
  for (int i = 0; i < g_document.outputCount; ++i) {
    const OutputVariable& v = g_document.outputs[i];
    ListInsertRow(2534, i, {TextOf(v.kindName), TextOf(v.bondText)});
  }
}

void OutputSettingDialog::AddOutputVariable() {
  const int kind = ComboSelection(2530);
  const int bond = ComboSelection(2531);
  if (kind < 0 || bond < 0) return;
  DiagramDocument& d = g_document;
  if (d.outputCount >= kMaxOutputVariables) return;  // the table is full: refused
  const std::string kindText = ComboText(2530, kind);
  const std::string bondText = ComboText(2531, bond);
  ListInsertRow(2534, d.outputCount, {kindText, bondText});
  StoreText(d.outputs[d.outputCount].kindName, kindText);
  StoreText(d.outputs[d.outputCount].bondText, bondText);
  ++d.outputCount;
}

void OutputSettingDialog::DeleteOutputVariables() {
  ListDeleteSelected(2534, g_document.outputs, g_document.outputCount);
}

// ---- OUT_VARIABLE_DIALOG ----------------------------------------------------

OutputFileNameDialog::OutputFileNameDialog() : plat::Dialog(dlgres::OutputFileNameTemplate()) {}

void OutputFileNameDialog::OnInit() { SetByteLimit(2570, sizeof g_document.outputFileName - 1); }

void OutputFileNameDialog::OnCommand(int id) {
  if (id == 1) {
    StoreOutputFileName();
    End(1);
  } else if (id == 2) {
    End(2);
  }
}

void OutputFileNameDialog::StoreOutputFileName() { StoreText(g_document.outputFileName, GetText(2570)); }

// ---- TIME_STEP_DIALOG -------------------------------------------------------

NumericConditionsDialog::NumericConditionsDialog() : plat::Dialog(dlgres::NumericConditionsTemplate()) {}

void NumericConditionsDialog::OnInit() {
  const NumericConditions& n = g_document.numeric;
  SetByteLimit(2520, sizeof n.startTime - 1);
  SetByteLimit(2521, sizeof n.endTime - 1);
  SetByteLimit(2522, sizeof n.timeStep - 1);
  SetByteLimit(2523, sizeof n.outputPoints - 1);
  FillNumericConditionsDialog();
  const bool automatic = g_autoTimeStep == 1;
  Check(2020, automatic);
  Enable(2522, !automatic);
}

void NumericConditionsDialog::OnCommand(int id) {
  CopyAutoTimeStep();
  if (id == 1) {
    StoreNumericConditions();
    End(1);
    CopyAutoTimeStep();
  } else if (id == 2) {
    End(2);
  }
}

void NumericConditionsDialog::FillNumericConditionsDialog() {
  const NumericConditions& n = g_document.numeric;
  SetText(2520, TextOf(n.startTime));
  SetText(2521, TextOf(n.endTime));
  SetText(2522, TextOf(n.timeStep));
  SetText(2523, TextOf(n.outputPoints));
}

// The greyed step field is stored too.
void NumericConditionsDialog::StoreNumericConditions() {
  NumericConditions& n = g_document.numeric;
  StoreText(n.startTime, GetText(2520));
  StoreText(n.endTime, GetText(2521));
  StoreText(n.timeStep, GetText(2522));
  StoreText(n.outputPoints, GetText(2523));
}

// The check box is copied into the flag at every command, so a change survives CANCEL.
void NumericConditionsDialog::CopyAutoTimeStep() {
  const bool on = IsChecked(2020);
  g_autoTimeStep = on ? 1 : 0;
  Enable(2522, !on);
}

// ---- SELECT_COMPILER --------------------------------------------------------

SelectCompilerDialog::SelectCompilerDialog() : plat::Dialog(dlgres::SelectCompilerTemplate()) {}

// The commands are settings values (file-system bytes); one left unchanged is written
// back as the bytes read.
void SelectCompilerDialog::OnInit() {
  const std::string path = SettingsPath();
  g_language = ReadCompilerType(path);
  SetByteLimit(2650, kRunCommandBytes, Encoding::Utf8);
  SetByteLimit(2660, kRunCommandBytes, Encoding::Utf8);
  Check(2610, g_language != 0);
  Check(2600, g_language == 0);
  SetText(2650, ReadCompilerCommand(path, 0));
  SetText(2660, ReadCompilerCommand(path, 1));
}

// Only OK closes the dialog; Escape and the close box do nothing.
void SelectCompilerDialog::OnCommand(int id) {
  if (id != 1) return;
  const int type = IsChecked(2600) ? 0 : 1;
  WriteCompilerSettings(SettingsPath(), type, GetText(2650), GetText(2660));
  g_language = type;
  End(1);
}
