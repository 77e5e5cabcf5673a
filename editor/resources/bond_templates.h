// Layout of the causal-stroke dialog (dialog units: x, y, width, height).
#pragma once
#include "platform/dialog.h"

namespace dlgres {

// Ids of the two radio buttons: the stroke at the tail end, at the head end.
inline constexpr int kStrokeAtTailRadio = 2000;
inline constexpr int kStrokeAtHeadRadio = 2010;

inline const plat::DialogTemplate& StrokeSelectTemplate() {
  using plat::Ctl;
  static const plat::DialogTemplate t{"STROKE_SELECT_DIALOG", "Causality", 180, 120, 215, 95,
                                      {
                                          {plat::IDOK, Ctl::PushButton, "OK", 162, 12, 42, 12},
                                          {plat::IDCANCEL, Ctl::PushButton, "CANCEL", 162, 32, 42, 12},
                                          {kStrokeAtTailRadio, Ctl::RadioButton, "", 10, 13, 15, 30},
                                          {kStrokeAtHeadRadio, Ctl::RadioButton, "", 10, 50, 15, 30},
                                      }};
  return t;
}

}  // namespace dlgres
