// The run-settings dialogs: output variables, result name, numerical conditions and the
// compiler choice. Run one with plat::RunDialog<D>(owner); it returns the end code.
#pragma once

#include "platform/dialog.h"

#include <QString>

#include <string>

// OUT_PUT_SETTING_DIALOG "出力変数の決定": the output list, changed at once by its buttons;
// the start button runs the diagram.
class OutputSettingDialog : public plat::Dialog {
 public:
  OutputSettingDialog();

 protected:
  void OnInit() override;
  void OnCommand(int id) override;

 private:
  void InitOutputSettingDialog();
  void AddOutputVariable();
  void DeleteOutputVariables();
};

// OUT_VARIABLE_DIALOG "出力ファイル名の入力": the result name, stored at OK.
class OutputFileNameDialog : public plat::Dialog {
 public:
  OutputFileNameDialog();

 protected:
  void OnInit() override;
  void OnCommand(int id) override;

 private:
  void StoreOutputFileName();
};

// TIME_STEP_DIALOG "Numerical conditions": the four times and the automatic time step.
class NumericConditionsDialog : public plat::Dialog {
 public:
  NumericConditionsDialog();

 protected:
  void OnInit() override;
  void OnCommand(int id) override;

 private:
  void FillNumericConditionsDialog();
  void StoreNumericConditions();
  void CopyAutoTimeStep();
};

// SELECT_COMPILER "コンパイラの選択": target language and compiler commands in vork.ini;
// closes only through OK. Start-up and the compiler command run it.
class SelectCompilerDialog : public plat::Dialog {
 public:
  SelectCompilerDialog();

 protected:
  void OnInit() override;
  void OnCommand(int id) override;
};
