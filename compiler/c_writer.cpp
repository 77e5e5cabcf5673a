// temp.c: the include lines, the prototypes of proto2, the fixed globals, one
// global per feedback name, then the function bodies of proto1.
#include <cstdio>
#include <memory>
#include <unordered_set>

#include "model.h"
#include "phases.h"
#include "text.h"

namespace cvork2 {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Lines of our own go out as a text-mode write does: LF as CR LF.
void put_text(std::FILE* out, std::string_view text) {
    for (char c : text) {
        if (c == '\n') std::fputc('\r', out);
        std::fputc(c, out);
    }
}

// The work files were written in text mode; copying their bytes unchanged is
// what a text-mode read followed by a text-mode write gives.
void copy_bytes(std::FILE* in, std::FILE* out) {
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) std::fwrite(buffer, 1, n, out);
}

}  // namespace

void assemble_c_source() {
    File proto1(std::fopen("proto1", "rb"));
    if (!proto1) fail("FILE NOT OPEN(1)\n");
    File proto2(std::fopen("proto2", "rb"));
    if (!proto2) fail("FILE NOT OPEN(2)\n");
    File c_file(std::fopen((DYCP + ".c").c_str(), "wb"));
    if (!c_file) fail("FILE NOT OPEN(3)\n");
    // The model file is read a third time: its text is held in memory.
    const std::vector<std::string> lines = model_lines();
    std::FILE* out = c_file.get();
    std::setvbuf(out, nullptr, _IOFBF, 1 << 16);

    put_text(out, "#include<stdio.h>\n#include<math.h>\n");
    copy_bytes(proto2.get(), out);
    put_text(out,
             "double OP[100];\n"
             "double H,X[130],XX[30],T;\n"
             "double PA[10000];\n"
             "double DX[130];\n"
             "double DSIGN(double a,double b);\n");
    if (NDUMMY > 0) put_text(out, "double DE(int N);\ndouble DF(int N);\n");
    put_text(out, "\n");

    // Every line beginning "FB", in any section: the name from column 5 up to
    // the first blank, at most 6 characters, declared once.
    std::unordered_set<std::string> declared;
    for (const std::string& line : lines) {
        if (line.compare(0, 2, "FB") != 0) continue;
        std::string name = line.size() > 4 ? line.substr(4) : std::string();
        name = std::string(leading_word(name).substr(0, 6));
        if (declared.insert(name).second) put_text(out, "double " + name + ";\n");
    }
    put_text(out, "\n");
    copy_bytes(proto1.get(), out);
}

}  // namespace cvork2
