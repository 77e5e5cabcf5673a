// Layouts of the run-settings dialogs (dialog units: x, y, width, height).
#pragma once
#include "platform/dialog.h"

namespace dlgres {

// Ids of the output-variable dialog (its OK button starts the run): the kind and bond
// choices, placed when it opens, the add and delete buttons and the list of outputs.
inline constexpr int kOutputKindCombo = 2530;
inline constexpr int kOutputBondCombo = 2531;
inline constexpr int kAddOutputButton = 2533;
inline constexpr int kOutputVariableList = 2534;
inline constexpr int kDeleteOutputButton = 2535;

// Id of the result-name dialog's edit.
inline constexpr int kResultNameEdit = 2570;

// Ids of the numeric-conditions dialog: the four times and counts, the automatic step.
inline constexpr int kStartTimeEdit = 2520;
inline constexpr int kEndTimeEdit = 2521;
inline constexpr int kTimeStepEdit = 2522;
inline constexpr int kOutputPointsEdit = 2523;
inline constexpr int kAutoTimeStepCheck = 2020;

// Ids of the compiler dialog: the language radios and the two compile commands.
inline constexpr int kCompilerCRadio = 2600;
inline constexpr int kCompilerFortranRadio = 2610;
inline constexpr int kCCommandEdit = 2650;
inline constexpr int kFortranCommandEdit = 2660;

inline const plat::DialogTemplate& OutputSettingTemplate() {
  using plat::Ctl;
  static const plat::DialogTemplate t{
      "OUT_PUT_SETTING_DIALOG", "出力変数の決定", 90, 80, 200, 154,
      {
          {plat::IDOK, Ctl::PushButton, "計算開始", 130, 113, 50, 12},
          {plat::IDCANCEL, Ctl::PushButton, "キャンセル", 130, 132, 50, 12},
          {-1, Ctl::GroupBox, "出力変数の設定", 10, 7, 180, 46},
          {-1, Ctl::Label, "出力変数", 16, 21, 36, 8},
          {-1, Ctl::Label, "ボンド", 84, 21, 38, 8},
          {kAddOutputButton, Ctl::PushButton, "追加", 130, 31, 50, 12},
          {kDeleteOutputButton, Ctl::PushButton, "削除", 130, 94, 50, 12},
      }};
  return t;
}

inline const plat::DialogTemplate& OutputFileNameTemplate() {
  using plat::Ctl;
  static const plat::DialogTemplate t{"OUT_VARIABLE_DIALOG", "出力ファイル名の入力", 180, 120, 140, 58,
                                      {
                                          {plat::IDOK, Ctl::PushButton, "OK", 42, 34, 50, 14},
                                          {kResultNameEdit, Ctl::Edit, "", 10, 10, 120, 14},
                                      }};
  return t;
}

inline const plat::DialogTemplate& NumericConditionsTemplate() {
  using plat::Ctl;
  static const plat::DialogTemplate t{"TIME_STEP_DIALOG", "Numerical conditions", 90, 80, 171, 98,
                                      {
                                          {plat::IDOK, Ctl::PushButton, "OK", 120, 7, 42, 12},
                                          {plat::IDCANCEL, Ctl::PushButton, "CANCEL", 120, 25, 42, 12},
                                          {-1, Ctl::Label, "開始時間", 7, 10, 34, 8},
                                          {-1, Ctl::Label, "終了時間", 7, 28, 33, 8},
                                          {-1, Ctl::Label, "時間刻み", 7, 46, 33, 8},
                                          {-1, Ctl::Label, "出力点数", 7, 63, 35, 11},
                                          {kStartTimeEdit, Ctl::Edit, "", 47, 7, 48, 13},
                                          {kEndTimeEdit, Ctl::Edit, "", 47, 25, 48, 13},
                                          {kTimeStepEdit, Ctl::Edit, "", 47, 43, 48, 13},
                                          {kOutputPointsEdit, Ctl::Edit, "", 47, 59, 48, 13},
                                          {-1, Ctl::Label, "sec", 100, 12, 15, 8},
                                          {-1, Ctl::Label, "sec", 100, 30, 15, 8},
                                          {kAutoTimeStepCheck, Ctl::CheckBox, "自動時間刻みを使用", 7, 80, 89, 11},
                                      }};
  return t;
}

inline const plat::DialogTemplate& SelectCompilerTemplate() {
  using plat::Ctl;
  static const plat::DialogTemplate t{"SELECT_COMPILER", "コンパイラの選択", 0, 0, 181, 63,
                                      {
                                          {plat::IDOK, Ctl::PushButton, "OK", 124, 18, 50, 14},
                                          {kCompilerCRadio, Ctl::RadioButton, "C Langage", 8, 20, 49, 10},
                                          {kCompilerFortranRadio, Ctl::RadioButton, "Fortran", 8, 44, 42, 10},
                                          {kCCommandEdit, Ctl::Edit, "", 64, 18, 40, 14},
                                          {kFortranCommandEdit, Ctl::Edit, "", 64, 42, 40, 14},
                                          {-1, Ctl::Label, "コマンド", 65, 7, 42, 8},
                                      }};
  return t;
}

}  // namespace dlgres
