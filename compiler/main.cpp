// cvork2: compiles temp.VRK in the current directory.
#include <iostream>

#include "compile.h"

int main() {
    std::ios::sync_with_stdio(false);
    int status = cvork2::run_compiler(std::cout);
    std::cout.flush();
    return status;
}
