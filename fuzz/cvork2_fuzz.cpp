// libFuzzer target: each input is a temp.VRK, compiled in-process in a
// scratch working directory made once at start.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <unistd.h>

#include "compile.h"
#include "model.h"

namespace {
std::string scratch_dir;

void remove_scratch_dir() {
    std::error_code ec;
    std::filesystem::current_path("/", ec);
    std::filesystem::remove_all(scratch_dir, ec);
}

// Discards the console output.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern = (std::filesystem::temp_directory_path() / "cvork2-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data()) || chdir(pattern.c_str()) != 0) std::abort();
    scratch_dir = pattern;
    std::atexit(remove_scratch_dir);
    // Fully expanded expressions can double with every level of a crafted
    // graph; keep the store of one run small so that every input stays cheap.
    cvork2::STORE_BYTE_LIMIT = 1 << 16;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 16384) return 0;
    std::FILE* f = std::fopen("temp.VRK", "wb");
    if (!f) std::abort();
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
    NullBuffer sink;
    std::ostream out(&sink);
    int status = cvork2::run_compiler(out);
    if (status != 0 && status != 1) std::abort();
    return 0;
}
