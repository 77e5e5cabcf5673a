// Whole compiler runs for the tests: the in-process compile (or the real
// binary) in a fresh scratch directory, with what it printed and wrote.
#pragma once

#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "compile.h"
#include "harness.h"

namespace cvork2_test {

struct RunResult {
    int status = -1;
    std::string out;                            // standard output
    std::map<std::string, std::string> files;   // every file in the directory afterwards, raw bytes

    bool has(const std::string& name) const { return files.count(name) != 0; }
    std::string file(const std::string& name) const {
        auto it = files.find(name);
        return it == files.end() ? std::string("<missing>") : it->second;
    }
};

// Compiles in-process; `inputs` maps file names to their bytes (usually
// just "temp.VRK"); `prepare`, when given, runs in the directory before.
inline RunResult run_files(const std::map<std::string, std::string>& inputs,
                           const std::function<void()>& prepare = nullptr) {
    ScratchDir dir;
    for (const auto& [name, bytes] : inputs) dir.write(name, bytes);
    if (prepare) prepare();
    RunResult r;
    std::ostringstream out;
    r.status = cvork2::run_compiler(out);
    r.out = out.str();
    r.files = dir.files();
    return r;
}

inline RunResult run_model(const std::string& model) { return run_files({{"temp.VRK", model}}); }

#ifdef CVORK2_BINARY
// Runs the real cvork2 binary in a scratch directory.
inline RunResult run_binary(const std::map<std::string, std::string>& inputs) {
    ScratchDir dir;
    for (const auto& [name, bytes] : inputs) dir.write(name, bytes);
    RunResult r;
    r.status = run_program({CVORK2_BINARY}, &r.out);
    r.files = dir.files();
    return r;
}
#endif

// The "processN" lines of a run's output, joined by blanks ("1 2 3").
inline std::string process_lines(const std::string& out) {
    std::istringstream in(out);
    std::string line, joined;
    while (std::getline(in, line)) {
        if (line.rfind("process", 0) == 0 && line.size() == 8) {
            if (!joined.empty()) joined += ' ';
            joined += line.substr(7);
        }
    }
    return joined;
}

// The banner every run prints before it opens the model file.
inline const char* const BANNER = "** INPUT FILE NAME SUCH AS: B:TEST1.VRK **\n";

}  // namespace cvork2_test
