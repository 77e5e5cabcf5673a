// The ids of the OK and Cancel commands: a dialog's default button sends IDOK (so does
// Enter), Escape and the close box send IDCANCEL. They are also the usual end codes of
// a dialog and the answers of a message box's OK and Cancel buttons.
#pragma once

namespace plat {

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

}  // namespace plat
