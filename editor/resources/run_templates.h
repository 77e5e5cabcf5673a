// Layout of the run-from-file dialog (dialog units: x, y, width, height).
#pragma once
#include "platform/dialog.h"

namespace dlgres {

// Ids of the run-from-file dialog (OK runs, Cancel closes): the language radios, the
// compile command, the model source's path and the button that browses for it.
inline constexpr int kRunLanguageCRadio = 3560;
inline constexpr int kRunLanguageFortranRadio = 3570;
inline constexpr int kRunCommandEdit = 3525;
inline constexpr int kRunSourcePathEdit = 3540;
inline constexpr int kRunBrowseButton = 3500;

inline const plat::DialogTemplate& RunModelSourceTemplate() {
  using plat::Ctl;
  static const plat::DialogTemplate t{"RUN_VRK",
                                      "VRKファイルからの実行",
                                      0,
                                      0,
                                      245,
                                      119,
                                      {
                                          {plat::IDOK, Ctl::PushButton, "実行", 123, 90, 50, 14},
                                          {plat::IDCANCEL, Ctl::PushButton, "閉じる", 182, 90, 50, 14},
                                          {kRunLanguageCRadio, Ctl::RadioButton, "C", 23, 20, 29, 22},
                                          {kRunLanguageFortranRadio, Ctl::RadioButton, "Fortran", 64, 20, 35, 21},
                                          {kRunCommandEdit, Ctl::Edit, "", 147, 23, 75, 13},
                                          {-1, Ctl::Label, "コマンド", 116, 26, 25, 10},
                                          {-1, Ctl::GroupBox, "コンパイラの選択", 7, 9, 231, 38},
                                          {kRunSourcePathEdit, Ctl::Edit, "", 20, 64, 187, 13},
                                          {-1, Ctl::GroupBox, "VRKファイル", 7, 52, 231, 34},
                                          {kRunBrowseButton, Ctl::PushButton, "参照", 214, 63, 20, 15},
                                      },
                                      "ＭＳ Ｐゴシック",
                                      9};
  return t;
}

}  // namespace dlgres
