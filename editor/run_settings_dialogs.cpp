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
    case plat::IDOK: RunFromDiagram(*this); break;
    case plat::IDCANCEL: End(plat::IDCANCEL); break;
    case dlgres::kAddOutputButton: AddOutputVariable(); break;
    case dlgres::kDeleteOutputButton: DeleteOutputVariables(); break;
    default: break;
  }
}

void OutputSettingDialog::InitOutputSettingDialog() {
  AddChildPx(dlgres::kOutputKindCombo, plat::Ctl::Combo, 27, 50, 110, 120);
  for (const char* kind : kOutputKindNames) ComboAdd(dlgres::kOutputKindCombo, kind);
  AddChildPx(dlgres::kOutputBondCombo, plat::Ctl::Combo, 147, 50, 70, 200);
  ComboAddNumbers(dlgres::kOutputBondCombo, g_bondCount);
  AddChildPx(dlgres::kOutputVariableList, plat::Ctl::List, 20, 100, 170, 135);
  ListAddColumn(dlgres::kOutputVariableList, QStringLiteral("出力変数"), 100, Align::Left);
  ListAddColumn(dlgres::kOutputVariableList, QStringLiteral("ボンド"), 45, Align::Center);
  for (int i = 0; i < g_document.outputCount; ++i) {
    const OutputVariable& v = g_document.outputs[i];
    ListInsertRow(dlgres::kOutputVariableList, i, {TextOf(v.kindName), TextOf(v.bondText)});
  }
}

void OutputSettingDialog::AddOutputVariable() {
  const int kind = ComboSelection(dlgres::kOutputKindCombo);
  const int bond = ComboSelection(dlgres::kOutputBondCombo);
  if (kind < 0 || bond < 0) return;
  DiagramDocument& d = g_document;
  if (d.outputCount >= kMaxOutputVariables) return;  // the table is full: refused
  const std::string kindText = ComboText(dlgres::kOutputKindCombo, kind);
  const std::string bondText = ComboText(dlgres::kOutputBondCombo, bond);
  ListInsertRow(dlgres::kOutputVariableList, d.outputCount, {kindText, bondText});
  StoreText(d.outputs[d.outputCount].kindName, kindText);
  StoreText(d.outputs[d.outputCount].bondText, bondText);
  ++d.outputCount;
}

void OutputSettingDialog::DeleteOutputVariables() {
  ListDeleteSelected(dlgres::kOutputVariableList, g_document.outputs, g_document.outputCount);
}

// ---- OUT_VARIABLE_DIALOG ----------------------------------------------------

OutputFileNameDialog::OutputFileNameDialog() : plat::Dialog(dlgres::OutputFileNameTemplate()) {}

void OutputFileNameDialog::OnInit() { SetByteLimit(dlgres::kResultNameEdit, sizeof g_document.outputFileName - 1); }

void OutputFileNameDialog::OnCommand(int id) {
  if (id == plat::IDOK) {
    StoreOutputFileName();
    End(plat::IDOK);
  } else if (id == plat::IDCANCEL) {
    End(plat::IDCANCEL);
  }
}

void OutputFileNameDialog::StoreOutputFileName() {
  StoreText(g_document.outputFileName, GetText(dlgres::kResultNameEdit));
}

// ---- TIME_STEP_DIALOG -------------------------------------------------------

NumericConditionsDialog::NumericConditionsDialog() : plat::Dialog(dlgres::NumericConditionsTemplate()) {}

void NumericConditionsDialog::OnInit() {
  const NumericConditions& n = g_document.numeric;
  SetByteLimit(dlgres::kStartTimeEdit, sizeof n.startTime - 1);
  SetByteLimit(dlgres::kEndTimeEdit, sizeof n.endTime - 1);
  SetByteLimit(dlgres::kTimeStepEdit, sizeof n.timeStep - 1);
  SetByteLimit(dlgres::kOutputPointsEdit, sizeof n.outputPoints - 1);
  FillNumericConditionsDialog();
  const bool automatic = g_autoTimeStep == 1;
  Check(dlgres::kAutoTimeStepCheck, automatic);
  Enable(dlgres::kTimeStepEdit, !automatic);
}

void NumericConditionsDialog::OnCommand(int id) {
  CopyAutoTimeStep();
  if (id == plat::IDOK) {
    StoreNumericConditions();
    End(plat::IDOK);
    CopyAutoTimeStep();
  } else if (id == plat::IDCANCEL) {
    End(plat::IDCANCEL);
  }
}

void NumericConditionsDialog::FillNumericConditionsDialog() {
  const NumericConditions& n = g_document.numeric;
  SetText(dlgres::kStartTimeEdit, TextOf(n.startTime));
  SetText(dlgres::kEndTimeEdit, TextOf(n.endTime));
  SetText(dlgres::kTimeStepEdit, TextOf(n.timeStep));
  SetText(dlgres::kOutputPointsEdit, TextOf(n.outputPoints));
}

// The greyed step field is stored too.
void NumericConditionsDialog::StoreNumericConditions() {
  NumericConditions& n = g_document.numeric;
  StoreText(n.startTime, GetText(dlgres::kStartTimeEdit));
  StoreText(n.endTime, GetText(dlgres::kEndTimeEdit));
  StoreText(n.timeStep, GetText(dlgres::kTimeStepEdit));
  StoreText(n.outputPoints, GetText(dlgres::kOutputPointsEdit));
}

// The check box is copied into the flag at every command, so a change survives CANCEL.
void NumericConditionsDialog::CopyAutoTimeStep() {
  const bool on = IsChecked(dlgres::kAutoTimeStepCheck);
  g_autoTimeStep = on ? 1 : 0;
  Enable(dlgres::kTimeStepEdit, !on);
}

// ---- SELECT_COMPILER --------------------------------------------------------

SelectCompilerDialog::SelectCompilerDialog() : plat::Dialog(dlgres::SelectCompilerTemplate()) {}

// The commands are settings values (file-system bytes); one left unchanged is written
// back as the bytes read.
void SelectCompilerDialog::OnInit() {
  const std::string path = SettingsPath();
  g_language = ReadCompilerType(path);
  SetByteLimit(dlgres::kCCommandEdit, kRunCommandBytes, Encoding::Utf8);
  SetByteLimit(dlgres::kFortranCommandEdit, kRunCommandBytes, Encoding::Utf8);
  Check(dlgres::kCompilerFortranRadio, g_language != 0);
  Check(dlgres::kCompilerCRadio, g_language == 0);
  SetText(dlgres::kCCommandEdit, ReadCompilerCommand(path, 0));
  SetText(dlgres::kFortranCommandEdit, ReadCompilerCommand(path, 1));
}

// Only OK closes the dialog; Escape and the close box do nothing.
void SelectCompilerDialog::OnCommand(int id) {
  if (id != plat::IDOK) return;
  const int type = IsChecked(dlgres::kCompilerCRadio) ? 0 : 1;
  WriteCompilerSettings(SettingsPath(), type, GetText(dlgres::kCCommandEdit), GetText(dlgres::kFortranCommandEdit));
  g_language = type;
  End(plat::IDOK);
}
