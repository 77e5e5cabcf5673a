#include "run_settings_dialogs.h"

#include "document.h"
#include "platform/cp932.h"
#include "platform/dialog.h"
#include "resources/dialog_templates.h"
#include "run_pipelines.h"
#include "settings.h"

#include <QString>

#include <string>

namespace {

constexpr int kCommandBytes = 259;  // a compiler command, as read into a 260-byte buffer

const char* const kOutputKinds[] = {"Effort", "Flow", "Momentum", "Displacement", "Power", "Energy"};

// ---- OUT_PUT_SETTING_DIALOG -------------------------------------------------

class OutputSettingDialog : public plat::Dialog {
 public:
  OutputSettingDialog() : plat::Dialog(dlgres::OutputSettingTemplate()) {}

 protected:
  void OnInit() override { InitOutputSettingDialog(); }

  void OnCommand(int id) override {
    switch (id) {
      case 1: RunFromDiagram(*this); break;
      case 2: End(2); break;
      case 2533: AddOutputVariable(); break;
      case 2535: DeleteOutputVariables(); break;
      default: break;
    }
  }

 private:
  void InitOutputSettingDialog() {
    AddChildPx(2530, plat::Ctl::Combo, 27, 50, 110, 120);
    for (const char* kind : kOutputKinds) ComboAdd(2530, kind);
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

  void AddOutputVariable() {
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

  void DeleteOutputVariables() { ListDeleteSelected(2534, g_document.outputs, g_document.outputCount); }
};

// ---- OUT_VARIABLE_DIALOG ----------------------------------------------------

class OutputFileNameDialog : public plat::Dialog {
 public:
  OutputFileNameDialog() : plat::Dialog(dlgres::OutputFileNameTemplate()) {}

 protected:
  void OnCommand(int id) override {
    if (id == 1) {
      StoreOutputFileName();
      End(1);
    } else if (id == 2) {
      End(2);
    }
  }

 private:
  void StoreOutputFileName() {
    StoreText(g_document.outputFileName, GetText(2570, sizeof g_document.outputFileName - 1));
  }
};

// ---- TIME_STEP_DIALOG -------------------------------------------------------

class NumericConditionsDialog : public plat::Dialog {
 public:
  NumericConditionsDialog() : plat::Dialog(dlgres::NumericConditionsTemplate()) {}

 protected:
  void OnInit() override {
    FillNumericConditionsDialog();
    const bool automatic = g_autoTimeStep == 1;
    Check(2020, automatic);
    Enable(2522, !automatic);
  }

  void OnCommand(int id) override {
    CopyAutoTimeStep();
    if (id == 1) {
      StoreNumericConditions();
      End(1);
      CopyAutoTimeStep();
    } else if (id == 2) {
      End(2);
    }
  }

 private:
  void FillNumericConditionsDialog() {
    const NumericConditions& n = g_document.numeric;
    SetText(2520, TextOf(n.startTime));
    SetText(2521, TextOf(n.endTime));
    SetText(2522, TextOf(n.timeStep));
    SetText(2523, TextOf(n.outputPoints));
  }

  // The greyed step field is stored too.
  void StoreNumericConditions() {
    NumericConditions& n = g_document.numeric;
    StoreText(n.startTime, GetText(2520, sizeof n.startTime - 1));
    StoreText(n.endTime, GetText(2521, sizeof n.endTime - 1));
    StoreText(n.timeStep, GetText(2522, sizeof n.timeStep - 1));
    StoreText(n.outputPoints, GetText(2523, sizeof n.outputPoints - 1));
  }

  // The check box is copied into the flag at every command, so a change survives CANCEL.
  void CopyAutoTimeStep() {
    const bool on = IsChecked(2020);
    g_autoTimeStep = on ? 1 : 0;
    Enable(2522, !on);
  }
};

// ---- SELECT_COMPILER --------------------------------------------------------

// Settings values are file-system (UTF-8) bytes. Cut to n bytes without splitting a
// UTF-8 sequence.
std::string CutUtf8Bytes(const std::string& s, std::size_t n) {
  if (s.size() <= n) return s;
  std::size_t i = n;
  while (i > 0 && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) --i;
  return s.substr(0, i);
}

class SelectCompilerDialog : public plat::Dialog {
 public:
  SelectCompilerDialog() : plat::Dialog(dlgres::SelectCompilerTemplate()) {}

 protected:
  void OnInit() override {
    const std::string path = SettingsPath();
    g_language = ReadCompilerType(path);
    commands_[0] = CutUtf8Bytes(ReadCompilerCommand(path, 0), kCommandBytes);
    commands_[1] = CutUtf8Bytes(ReadCompilerCommand(path, 1), kCommandBytes);
    Check(2610, g_language != 0);
    Check(2600, g_language == 0);
    SetTextU(2650, QString::fromUtf8(commands_[0].data(), static_cast<qsizetype>(commands_[0].size())));
    SetTextU(2660, QString::fromUtf8(commands_[1].data(), static_cast<qsizetype>(commands_[1].size())));
    shown_[0] = GetTextU(2650);
    shown_[1] = GetTextU(2660);
  }

  // Only OK closes the dialog; Escape and the close box do nothing.
  void OnCommand(int id) override {
    if (id != 1) return;
    const int type = IsChecked(2600) ? 0 : 1;
    const std::string c = EditCommand(0, 2650);
    const std::string f = EditCommand(1, 2660);
    WriteCompilerSettings(SettingsPath(), type, c, f);
    g_language = type;
    End(1);
  }

 private:
  // The edit's command as settings bytes; an unchanged edit gives back the bytes read.
  std::string EditCommand(int which, int id) const {
    const QString text = GetTextU(id);
    if (text == shown_[which]) return commands_[which];
    return plat::cp932::ToUtf8Cut(text, kCommandBytes);
  }

  std::string commands_[2];
  QString shown_[2];
};

}  // namespace

int RunOutputSettingDialog(QWidget* owner) {
  OutputSettingDialog d;
  return plat::RunModal(d, owner);
}

int RunOutputFileNameDialog(QWidget* owner) {
  OutputFileNameDialog d;
  return plat::RunModal(d, owner);
}

int RunNumericConditionsDialog(QWidget* owner) {
  NumericConditionsDialog d;
  return plat::RunModal(d, owner);
}

int RunSelectCompilerDialog(QWidget* owner) {
  SelectCompilerDialog d;
  return plat::RunModal(d, owner);
}

