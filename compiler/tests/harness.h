// The harness shared by the compiler's tests, the simulation tests and the
// benchmarks: a scratch working directory, whole-file reads and writes, and
// programs started without a shell. Needs only the standard library and POSIX.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace cvork2_test {

namespace fs = std::filesystem;

// The bytes of a file; empty when it cannot be read.
inline std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Creates or replaces a file with exactly these bytes; false on failure.
inline bool write_file(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

// Every LF of `text` as CR LF: what the compiler's text-mode files hold.
inline std::string crlf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// A fresh directory under the system's temporary directory (TMPDIR when set),
// made the current directory for the object's lifetime. The destructor goes
// back to the previous directory and removes this one with everything in it,
// unless keep() was called (to look at what a failed test left).
class ScratchDir {
public:
    explicit ScratchDir(const char* prefix = "cvork2-test") : previous_(fs::current_path()) {
        std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a directory like " + pattern);
        path_ = pattern;
        fs::current_path(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        fs::current_path(previous_, ec);
        if (!keep_) fs::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const fs::path& path() const { return path_; }
    void keep() { keep_ = true; }

    // Writes a file of the directory.
    bool write(const std::string& name, std::string_view bytes) const { return write_file(path_ / name, bytes); }
    // The regular files of the directory (symbolic links followed), name -> bytes.
    std::map<std::string, std::string> files() const {
        std::map<std::string, std::string> out;
        for (const auto& entry : fs::directory_iterator(path_))
            if (entry.is_regular_file()) out[entry.path().filename().string()] = read_file(entry.path());
        return out;
    }

private:
    fs::path previous_, path_;
    bool keep_ = false;
};

// Runs a program (searched in PATH when the name has no '/') in the current
// directory, without a shell, and waits for it. Its standard output and error
// go to `output` when given (the two interleaved as written), else to
// /dev/null. Returns the exit status, or -1 when it could not start or did not
// exit normally.
inline int run_program(const std::vector<std::string>& argv, std::string* output = nullptr) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    int pipe_ends[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output) {
        if (pipe2(pipe_ends, O_CLOEXEC) != 0) return -1;
        posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], 1);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid;
    const int started = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (output) {
        close(pipe_ends[1]);
        output->clear();
        char buffer[65536];
        ssize_t n;
        while (started == 0 && ((n = read(pipe_ends[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)))
            if (n > 0) output->append(buffer, static_cast<size_t>(n));
        close(pipe_ends[0]);
    }
    if (started != 0) return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace cvork2_test
