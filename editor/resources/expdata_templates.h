// Layout of the experimental-data dialog (dialog units: x, y, width, height).
#pragma once
#include "platform/dialog.h"

namespace dlgres {

inline const plat::DialogTemplate& ExperimentalDataTemplate() {
  using plat::Ctl;
  static const plat::DialogTemplate t{"INPUT_EXP_RESULT",
                                      "実験値入力",
                                      0,
                                      0,
                                      211,
                                      171,
                                      {
                                          {1, Ctl::PushButton, "閉じる", 150, 150, 50, 14},
                                          {3010, Ctl::Edit, "", 88, 28, 70, 13},
                                          {-1, Ctl::Label, "素子名", 28, 15, 30, 8},
                                          {-1, Ctl::Label, "入力ファイル名", 90, 15, 55, 10},
                                          {2800, Ctl::PushButton, "追加", 169, 25, 31, 18},
                                          {2700, Ctl::PushButton, "削除", 169, 62, 31, 18},
                                      },
                                      "ＭＳ Ｐゴシック",
                                      9};
  return t;
}

}  // namespace dlgres
