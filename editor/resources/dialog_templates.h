// Layouts of the run-settings dialogs (dialog units: x, y, width, height).
#pragma once
#include "platform/dialog.h"

namespace dlgres {

inline const plat::DialogTemplate& OutputSettingTemplate() {
  using plat::Ctl;
  static const plat::DialogTemplate t{
      "OUT_PUT_SETTING_DIALOG", "出力変数の決定", 90, 80, 200, 154,
      {
          {1, Ctl::PushButton, "計算開始", 130, 113, 50, 12},
          {2, Ctl::PushButton, "キャンセル", 130, 132, 50, 12},
          {-1, Ctl::GroupBox, "出力変数の設定", 10, 7, 180, 46},
          {-1, Ctl::Label, "出力変数", 16, 21, 36, 8},
          {-1, Ctl::Label, "ボンド", 84, 21, 38, 8},
          {2533, Ctl::PushButton, "追加", 130, 31, 50, 12},
          {2535, Ctl::PushButton, "削除", 130, 94, 50, 12},
      }};
  return t;
}

inline const plat::DialogTemplate& OutputFileNameTemplate() {
  using plat::Ctl;
  static const plat::DialogTemplate t{"OUT_VARIABLE_DIALOG", "出力ファイル名の入力", 180, 120, 140, 58,
                                      {
                                          {1, Ctl::PushButton, "OK", 42, 34, 50, 14},
                                          {2570, Ctl::Edit, "", 10, 10, 120, 14},
                                      }};
  return t;
}

inline const plat::DialogTemplate& NumericConditionsTemplate() {
  using plat::Ctl;
  static const plat::DialogTemplate t{"TIME_STEP_DIALOG", "Numerical conditions", 90, 80, 171, 98,
                                      {
                                          {1, Ctl::PushButton, "OK", 120, 7, 42, 12},
                                          {2, Ctl::PushButton, "CANCEL", 120, 25, 42, 12},
                                          {-1, Ctl::Label, "開始時間", 7, 10, 34, 8},
                                          {-1, Ctl::Label, "終了時間", 7, 28, 33, 8},
                                          {-1, Ctl::Label, "時間刻み", 7, 46, 33, 8},
                                          {-1, Ctl::Label, "出力点数", 7, 63, 35, 11},
                                          {2520, Ctl::Edit, "", 47, 7, 48, 13},
                                          {2521, Ctl::Edit, "", 47, 25, 48, 13},
                                          {2522, Ctl::Edit, "", 47, 43, 48, 13},
                                          {2523, Ctl::Edit, "", 47, 59, 48, 13},
                                          {-1, Ctl::Label, "sec", 100, 12, 15, 8},
                                          {-1, Ctl::Label, "sec", 100, 30, 15, 8},
                                          {2020, Ctl::CheckBox, "自動時間刻みを使用", 7, 80, 89, 11},
                                      }};
  return t;
}

inline const plat::DialogTemplate& SelectCompilerTemplate() {
  using plat::Ctl;
  static const plat::DialogTemplate t{"SELECT_COMPILER", "コンパイラの選択", 0, 0, 181, 63,
                                      {
                                          {1, Ctl::PushButton, "OK", 124, 18, 50, 14},
                                          {2600, Ctl::RadioButton, "C Langage", 8, 20, 49, 10},
                                          {2610, Ctl::RadioButton, "Fortran", 8, 44, 42, 10},
                                          {2650, Ctl::Edit, "", 64, 18, 40, 14},
                                          {2660, Ctl::Edit, "", 64, 42, 40, 14},
                                          {-1, Ctl::Label, "コマンド", 65, 7, 42, 8},
                                      }};
  return t;
}

}  // namespace dlgres
