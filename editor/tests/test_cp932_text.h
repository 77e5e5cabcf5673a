// Texts written in the test sources' UTF-8, as the CP932 bytes the document
// and the dialogs hold.
#pragma once

#include "platform/cp932.h"

#include <string>
#include <string_view>

inline std::string J(std::string_view utf8) { return plat::cp932::FromUtf8(utf8); }
