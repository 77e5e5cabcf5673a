// Helpers for the front-half tests: run the in-process compile (or the real
// binary) in a fresh scratch directory and collect what it printed and wrote.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "compile.h"

namespace front_test {

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

// Every LF of `text` as CR LF: what the compiler's text-mode files hold.
inline std::string crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

class ScratchDir {
public:
    ScratchDir() : old_(std::filesystem::current_path()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "cvork2-front-XXXXXX").string();
        char* made = mkdtemp(pattern.data());
        if (!made) std::abort();
        dir_ = made;
        std::filesystem::current_path(dir_);
    }
    ~ScratchDir() {
        std::filesystem::current_path(old_);
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    const std::filesystem::path& path() const { return dir_; }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream f(dir_ / name, std::ios::binary);
        f << bytes;
    }
    std::map<std::string, std::string> files() const {
        std::map<std::string, std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(dir_)) {
            if (!e.is_regular_file()) continue;
            std::ifstream f(e.path(), std::ios::binary);
            std::ostringstream s;
            s << f.rdbuf();
            out[e.path().filename().string()] = s.str();
        }
        return out;
    }
private:
    std::filesystem::path old_, dir_;
};

// Compiles in-process; `inputs` maps file names to their bytes (usually
// just "temp.VRK").
inline RunResult run_files(const std::map<std::string, std::string>& inputs) {
    ScratchDir dir;
    for (const auto& [name, bytes] : inputs) dir.write(name, bytes);
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
    std::string out_path = (dir.path().parent_path() / (dir.path().filename().string() + ".stdout")).string();
    std::string command = std::string("'") + CVORK2_BINARY + "' > '" + out_path + "' 2>&1";
    int raw = std::system(command.c_str());
    RunResult r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream f(out_path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    r.out = s.str();
    std::filesystem::remove(out_path);
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

}  // namespace front_test
