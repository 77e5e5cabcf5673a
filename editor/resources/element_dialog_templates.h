// Layouts of the element-parameter and initial-value dialogs (dialog units: x, y, width,
// height). The choice boxes and lists of the element dialog are placed in pixels when it
// opens; so is the state-name label of the initial-value dialog.
#pragma once
#include "platform/dialog.h"

namespace dlgres {

inline const plat::DialogTemplate& ElementParameterTemplate() {
  using plat::Ctl;
  static const plat::DialogTemplate t{
      "ELEMENT_PARAMETER_DIALOG", "Parameters and characteristic equations", 30, 10, 415, 285,
      {
          {1, Ctl::PushButton, "OK", 295, 264, 50, 14},
          {2, Ctl::PushButton, "CANCEL", 352, 264, 50, 14},
          {2100, Ctl::GroupBox, "パラメータ", 10, 10, 237, 150},
          {2110, Ctl::GroupBox, "使用変数", 254, 10, 150, 116},
          {2120, Ctl::GroupBox, "フィードバック変数", 254, 135, 150, 116},
          {2130, Ctl::GroupBox, "特性式 ↓", 10, 163, 237, 118},
          {2300, Ctl::MultiEdit, "", 15, 175, 223, 92},
          {-1, Ctl::FramedLabel, "変数名", 15, 20, 32, 12},
          {2310, Ctl::MultiEdit, "", 15, 31, 33, 124},
          {-1, Ctl::FramedLabel, "値", 46, 20, 48, 12},
          {2320, Ctl::MultiEdit, "", 47, 31, 48, 124},
          {-1, Ctl::FramedLabel, "単位", 94, 20, 41, 12},
          {2330, Ctl::MultiEdit, "", 93, 31, 42, 124},
          {-1, Ctl::FramedLabel, "コメント", 134, 20, 105, 12},
          {2340, Ctl::MultiEdit, "", 134, 31, 105, 124},
          {-1, Ctl::Label, "型", 259, 21, 31, 8},
          {-1, Ctl::Label, "変数名", 297, 21, 23, 8},
          {-1, Ctl::Label, "コメント", 334, 21, 36, 8},
          {2549, Ctl::PushButton, "削除", 373, 76, 26, 12},
          {2548, Ctl::PushButton, "追加", 373, 54, 26, 12},
          {2551, Ctl::PushButton, "削除", 373, 203, 26, 12},
          {2550, Ctl::PushButton, "追加", 373, 181, 26, 12},
          {-1, Ctl::Label, "変数名", 259, 146, 23, 8},
          {-1, Ctl::Label, "FB変数", 296, 146, 44, 8},
          {-1, Ctl::Label, "ボンド", 357, 145, 25, 8},
          {2541, Ctl::Edit, "", 297, 31, 28, 12},
          {2542, Ctl::Edit, "", 334, 31, 45, 12},
          {2544, Ctl::Edit, "", 259, 156, 28, 12},
          {-1, Ctl::Label, "↑", 43, 270, 9, 10},
      }};
  return t;
}

inline const plat::DialogTemplate& InitialValueTemplate() {
  using plat::Ctl;
  static const plat::DialogTemplate t{"INITIAL_VALUE_DIALOG", "Initial value input", 90, 80, 134, 55,
                                      {
                                          {1, Ctl::PushButton, "OK", 12, 35, 45, 12},
                                          {2, Ctl::PushButton, "CANCEL", 73, 35, 45, 12},
                                          {2580, Ctl::CheckBox, "", 9, 12, 10, 10},
                                          {2590, Ctl::Edit, "", 54, 10, 71, 14},
                                      }};
  return t;
}

}  // namespace dlgres
