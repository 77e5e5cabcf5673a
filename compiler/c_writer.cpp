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

// The work files were written in text mode; copying their bytes unchanged is
// what a text-mode read followed by a text-mode write gives. A work file that
// cannot be read to its end leaves the C file incomplete: not written.
void copy_bytes(std::FILE* in, OutFile& out) {
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) out.raw(std::string_view(buffer, n));
    if (std::ferror(in)) fail_not_written(out.name());
}

}  // namespace

void assemble_c_source() {
    File proto1(std::fopen("proto1", "rb"));
    if (!proto1) fail("FILE NOT OPEN(1)\n");
    File proto2(std::fopen("proto2", "rb"));
    if (!proto2) fail("FILE NOT OPEN(2)\n");
    OutFile out;
    if (!out.open(DYCP + ".c")) fail("FILE NOT OPEN(3)\n");
    // The model file is read a third time: its text is held in memory.
    const std::vector<std::string> lines = model_lines();

    out.put("#include<stdio.h>\n#include<math.h>\n");
    copy_bytes(proto2.get(), out);
    out.put("double OP[100];\n"
            "double H,X[130],XX[30],T;\n"
            "double PA[10000];\n"
            "double DX[130];\n"
            "double DSIGN(double a,double b);\n");
    if (NDUMMY > 0) out.put("double DE(int N);\ndouble DF(int N);\n");
    out.put("\n");

    // Every line beginning "FB", in any section: the name from column 5 up to
    // the first blank, at most 6 characters, declared once.
    std::unordered_set<std::string> declared;
    for (const std::string& line : lines) {
        if (line.compare(0, 2, "FB") != 0) continue;
        std::string name = line.size() > 4 ? line.substr(4) : std::string();
        name = std::string(leading_word(name).substr(0, 6));
        if (declared.insert(name).second) out.put("double " + name + ";\n");
    }
    out.put("\n");
    copy_bytes(proto1.get(), out);
    if (!out.close()) fail_not_written(out.name());
}

}  // namespace cvork2
