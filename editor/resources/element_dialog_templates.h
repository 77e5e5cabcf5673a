// Layouts of the element-parameter and initial-value dialogs (dialog units: x, y, width,
// height). The choice boxes and lists of the element dialog are placed in pixels when it
// opens; so is the state-name label of the initial-value dialog.
#pragma once
#include "platform/dialog.h"

namespace dlgres {

// Ids of the element-parameter dialog: the group boxes, the equation and the four parameter
// columns (names, values, units, comments), the used-variable fields and list with their
// buttons, the feedback-variable fields and list with theirs. The choice boxes and the
// lists are placed when the dialog opens.
inline constexpr int kParameterGroup = 2100;
inline constexpr int kUsedVariableGroup = 2110;
inline constexpr int kFeedbackVariableGroup = 2120;
inline constexpr int kEquationGroup = 2130;
inline constexpr int kEquationEdit = 2300;
inline constexpr int kParameterNamesEdit = 2310;
inline constexpr int kParameterValuesEdit = 2320;
inline constexpr int kParameterUnitsEdit = 2330;
inline constexpr int kParameterCommentsEdit = 2340;
inline constexpr int kUsedTypeCombo = 2540;
inline constexpr int kUsedNameEdit = 2541;
inline constexpr int kUsedCommentEdit = 2542;
inline constexpr int kUsedVariableList = 2543;
inline constexpr int kFeedbackNameEdit = 2544;
inline constexpr int kFeedbackKindCombo = 2545;
inline constexpr int kFeedbackBondCombo = 2546;
inline constexpr int kFeedbackVariableList = 2547;
inline constexpr int kAddUsedButton = 2548;
inline constexpr int kDeleteUsedButton = 2549;
inline constexpr int kAddFeedbackButton = 2550;
inline constexpr int kDeleteFeedbackButton = 2551;

// Ids of the initial-value dialog: whether the bond has an initial value, and the value.
inline constexpr int kHasInitialValueCheck = 2580;
inline constexpr int kInitialValueEdit = 2590;

inline const plat::DialogTemplate& ElementParameterTemplate() {
  using plat::Ctl;
  static const plat::DialogTemplate t{
      "ELEMENT_PARAMETER_DIALOG", "Parameters and characteristic equations", 30, 10, 415, 285,
      {
          {plat::IDOK, Ctl::PushButton, "OK", 295, 264, 50, 14},
          {plat::IDCANCEL, Ctl::PushButton, "CANCEL", 352, 264, 50, 14},
          {kParameterGroup, Ctl::GroupBox, "パラメータ", 10, 10, 237, 150},
          {kUsedVariableGroup, Ctl::GroupBox, "使用変数", 254, 10, 150, 116},
          {kFeedbackVariableGroup, Ctl::GroupBox, "フィードバック変数", 254, 135, 150, 116},
          {kEquationGroup, Ctl::GroupBox, "特性式 ↓", 10, 163, 237, 118},
          {kEquationEdit, Ctl::MultiEdit, "", 15, 175, 223, 92},
          {-1, Ctl::FramedLabel, "変数名", 15, 20, 32, 12},
          {kParameterNamesEdit, Ctl::MultiEdit, "", 15, 31, 33, 124},
          {-1, Ctl::FramedLabel, "値", 46, 20, 48, 12},
          {kParameterValuesEdit, Ctl::MultiEdit, "", 47, 31, 48, 124},
          {-1, Ctl::FramedLabel, "単位", 94, 20, 41, 12},
          {kParameterUnitsEdit, Ctl::MultiEdit, "", 93, 31, 42, 124},
          {-1, Ctl::FramedLabel, "コメント", 134, 20, 105, 12},
          {kParameterCommentsEdit, Ctl::MultiEdit, "", 134, 31, 105, 124},
          {-1, Ctl::Label, "型", 259, 21, 31, 8},
          {-1, Ctl::Label, "変数名", 297, 21, 23, 8},
          {-1, Ctl::Label, "コメント", 334, 21, 36, 8},
          {kDeleteUsedButton, Ctl::PushButton, "削除", 373, 76, 26, 12},
          {kAddUsedButton, Ctl::PushButton, "追加", 373, 54, 26, 12},
          {kDeleteFeedbackButton, Ctl::PushButton, "削除", 373, 203, 26, 12},
          {kAddFeedbackButton, Ctl::PushButton, "追加", 373, 181, 26, 12},
          {-1, Ctl::Label, "変数名", 259, 146, 23, 8},
          {-1, Ctl::Label, "FB変数", 296, 146, 44, 8},
          {-1, Ctl::Label, "ボンド", 357, 145, 25, 8},
          {kUsedNameEdit, Ctl::Edit, "", 297, 31, 28, 12},
          {kUsedCommentEdit, Ctl::Edit, "", 334, 31, 45, 12},
          {kFeedbackNameEdit, Ctl::Edit, "", 259, 156, 28, 12},
          {-1, Ctl::Label, "↑", 43, 270, 9, 10},
      }};
  return t;
}

inline const plat::DialogTemplate& InitialValueTemplate() {
  using plat::Ctl;
  static const plat::DialogTemplate t{"INITIAL_VALUE_DIALOG", "Initial value input", 90, 80, 134, 55,
                                      {
                                          {plat::IDOK, Ctl::PushButton, "OK", 12, 35, 45, 12},
                                          {plat::IDCANCEL, Ctl::PushButton, "CANCEL", 73, 35, 45, 12},
                                          {kHasInitialValueCheck, Ctl::CheckBox, "", 9, 12, 10, 10},
                                          {kInitialValueEdit, Ctl::Edit, "", 54, 10, 71, 14},
                                      }};
  return t;
}

}  // namespace dlgres
