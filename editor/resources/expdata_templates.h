// Layout of the experimental-data dialog (dialog units: x, y, width, height).
#pragma once
#include "platform/dialog.h"

namespace dlgres {

// Ids of the experimental-data dialog: "閉じる" (the OK id, so Enter presses it too); the
// data file's name with the buttons that attach it to the chosen source element and
// detach the selected rows; the list of attachments and the choice of the source
// element, both placed when the dialog opens.
inline constexpr int kExpDataCloseButton = plat::IDOK;
inline constexpr int kDataFileNameEdit = 3010;
inline constexpr int kAttachButton = 2800;
inline constexpr int kDetachButton = 2700;
inline constexpr int kAttachmentList = 3020;
inline constexpr int kSourceElementCombo = 3030;

inline const plat::DialogTemplate& ExperimentalDataTemplate() {
  using plat::Ctl;
  static const plat::DialogTemplate t{"INPUT_EXP_RESULT",
                                      "実験値入力",
                                      0,
                                      0,
                                      211,
                                      171,
                                      {
                                          {kExpDataCloseButton, Ctl::PushButton, "閉じる", 150, 150, 50, 14},
                                          {kDataFileNameEdit, Ctl::Edit, "", 88, 28, 70, 13},
                                          {-1, Ctl::Label, "素子名", 28, 15, 30, 8},
                                          {-1, Ctl::Label, "入力ファイル名", 90, 15, 55, 10},
                                          {kAttachButton, Ctl::PushButton, "追加", 169, 25, 31, 18},
                                          {kDetachButton, Ctl::PushButton, "削除", 169, 62, 31, 18},
                                      },
                                      "ＭＳ Ｐゴシック",
                                      9};
  return t;
}

}  // namespace dlgres
