// Layout of the run-from-file dialog (dialog units: x, y, width, height).
#pragma once
#include "platform/dialog.h"

namespace dlgres {

inline const plat::DialogTemplate& RunModelSourceTemplate() {
  using plat::Ctl;
  static const plat::DialogTemplate t{"RUN_VRK",
                                      "VRKファイルからの実行",
                                      0,
                                      0,
                                      245,
                                      119,
                                      {
                                          {1, Ctl::PushButton, "実行", 123, 90, 50, 14},
                                          {2, Ctl::PushButton, "閉じる", 182, 90, 50, 14},
                                          {3560, Ctl::RadioButton, "C", 23, 20, 29, 22},
                                          {3570, Ctl::RadioButton, "Fortran", 64, 20, 35, 21},
                                          {3525, Ctl::Edit, "", 147, 23, 75, 13},
                                          {-1, Ctl::Label, "コマンド", 116, 26, 25, 10},
                                          {-1, Ctl::GroupBox, "コンパイラの選択", 7, 9, 231, 38},
                                          {3540, Ctl::Edit, "", 20, 64, 187, 13},
                                          {-1, Ctl::GroupBox, "VRKファイル", 7, 52, 231, 34},
                                          {3500, Ctl::PushButton, "参照", 214, 63, 20, 15},
                                      },
                                      "ＭＳ Ｐゴシック",
                                      9};
  return t;
}

}  // namespace dlgres
