// The model compiler as a function: compiles temp.VRK in the current directory.
#pragma once

#include <iosfwd>

namespace cvork2 {

// Runs the whole compile in the current directory, printing the listing and
// the messages to `out` (LF line ends). Returns the exit status: 0 at a normal
// end (temp.c and an empty VRK_ERROR written), 1 after an error (stdout and
// every work file flushed as far as written). Never calls exit; all state is
// reset at the start, so it may run many times in one process.
int run_compiler(std::ostream& out);

}  // namespace cvork2
