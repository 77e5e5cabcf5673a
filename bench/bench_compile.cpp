// Times cvork2 on generated models of growing size and prints the best time
// of several runs per size and the ratio of the per-item cost of the largest
// model to that of the smallest:
// - ladders: a source into a chain of stages, each a 1-junction with an I and
//   an R element and a 0-junction with a C element, up to 130 integral
//   variables (65 stages);
// - wide models: up to 40,000 R elements, each on a bond of its own with a
//   flow source, every component with its definition block.
//
// Usage: bench_compile [runs] [keyword line]   (the keyword line of the ladders)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "harness.h"

using namespace cvork2_test;

namespace {

std::string pad(const std::string& s, size_t n) { return s.size() >= n ? s : s + std::string(n - s.size(), ' '); }

// One bond field of an element line: padded to 6 unless it is the last.
std::string fields(const std::vector<std::string>& bonds) {
    std::string out;
    for (size_t i = 0; i < bonds.size(); ++i) out += i + 1 < bonds.size() ? pad(bonds[i], 6) : bonds[i];
    return out;
}

std::string element(const char* code, int number, const std::vector<std::string>& bonds) {
    return std::string(code) + pad(number > 0 ? std::to_string(number) : "", 5) + fields(bonds) + "\n";
}

std::string parameter(const std::string& name, const char* value) {
    return "PA: " + pad(name, 7) + pad(value, 16) + pad("", 15) + pad("", 20) + "\n";
}

struct Model {
    std::string text;
    int bonds = 0;
};

// A ladder of `stages` stages; every phase of the compiler has work to do.
Model ladder(int stages, const std::string& keywords) {
    Model m;
    std::string bond, out, defin, init;
    int b = 0;
    auto next = [&] { return std::to_string(++b); };
    std::string in = next();
    bond += element("SE", 1, {in});
    defin += "SE1\n" + parameter("U0", "1.0") + "E=U0;\nEOD\n";
    for (int k = 1; k <= stages; ++k) {
        std::string i_bond = next(), r_bond = next(), link = next(), c_bond = next();
        std::string out_bond = k < stages ? next() : "";
        bond += element("II", k, {i_bond});
        bond += element("RE", k, {r_bond});
        bond += element("OJ", 0, {"-" + in, i_bond, r_bond, link});
        bond += element("CI", k, {c_bond});
        if (k < stages) bond += element("ZJ", 0, {"-" + link, c_bond, out_bond});
        else bond += element("ZJ", 0, {"-" + link, c_bond});
        const std::string n = std::to_string(k);
        defin += "II" + n + "\n" + parameter("M" + n, "1.0") + "L=Z/M" + n + ";\nEOD\n";
        defin += "RE" + n + "\n" + parameter("K" + n, "2.0") + "if(J==0) R=K" + n + "*Z;\nif(J==1) R=Z/K" + n +
                 ";\nEOD\n";
        defin += "CI" + n + "\n" + parameter("Q" + n, "0.5") + "C=Z/Q" + n + ";\nEOD\n";
        init += pad("MN" + i_bond, 7) + "0.0000000E+00\n";
        init += pad("DP" + c_bond, 7) + "0.0000000E+00\n";
        if (k % 8 == 1) out += "BC: " + pad("EF" + c_bond, 6) + "EF" + c_bond + "\n";
        in = out_bond;
    }
    m.bonds = b;
    m.text = keywords + "\r\n" + bond + "/\n";
    if (keywords.find("OUT") != std::string::npos) {
        m.text += out + "/\n" + defin + "/\n";
        m.text += " " + pad("0.00000E+00", 19) + pad("1.00000E+00", 19) + pad("1.00000E-05", 16) + "1000\n";
        m.text += init + "/\n";
    }
    return m;
}

// A distinct 4-character component name for n = 0 .. 36^4 - 1 (the BOND
// section keeps 4 name characters, so decimal numbers stop at 9999).
std::string name4(int n) {
    const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string name(4, '0');
    for (int i = 3; i >= 0; --i, n /= 36) name[static_cast<size_t>(i)] = digits[n % 36];
    return name;
}

// `count` R elements, each on a bond of its own driven by a flow source; all
// seven keywords, a definition block for every component, no states.
Model wide(int count) {
    Model m;
    std::string bond, defin;
    bond.reserve(static_cast<size_t>(count) * 30);
    defin.reserve(static_cast<size_t>(count) * 40);
    for (int k = 0; k < count; ++k) {
        const std::string name = name4(k), b = std::to_string(k + 1);
        bond += "SF" + name + " " + b + "\n";
        bond += "RE" + name + " " + b + "\n";
        defin += "SF" + name + "\nF=1.0;\nEOD\n";
        defin += "RE" + name + "\nR=2.0*Z;\nEOD\n";
    }
    m.bonds = count;
    m.text = "BOND SYMBOL EXPR OUT DEFIN PARM INIT\r\n" + bond + "/\n" + "BC: EF1   EF1\nBC: FL1   FL1\n/\n" + defin +
             "/\n " + pad("0.00000E+00", 19) + pad("1.00000E+00", 19) + pad("1.00000E-02", 16) + "100\n/\n";
    return m;
}

// Milliseconds of one cvork2 run in the current directory (output discarded).
double run_once(const std::string& binary) {
    auto start = std::chrono::steady_clock::now();
    const int status = run_program({binary});
    auto end = std::chrono::steady_clock::now();
    if (status != 0) {
        std::fprintf(stderr, "cvork2 failed (status %d)\n", status);
        std::exit(2);
    }
    return std::chrono::duration<double, std::milli>(end - start).count();
}

// Times every size; returns the per-item cost of the largest model over that
// of the smallest, and the largest model's time in `last_ms`.
double table(const char* what, const std::vector<int>& sizes, const std::function<Model(int)>& make, int runs,
             const std::string& binary, double& last_ms) {
    std::printf("%10s %8s %12s %14s\n", what, "bonds", "best ms", "us per bond");
    double first_per_bond = 0, last_per_bond = 0;
    for (int size : sizes) {
        const Model m = make(size);
        if (!write_file("temp.VRK", m.text)) std::exit(2);
        double best = 1e30;
        for (int r = 0; r < runs; ++r) best = std::min(best, run_once(binary));
        const double per_bond = best * 1000.0 / m.bonds;
        if (first_per_bond == 0) first_per_bond = per_bond;
        last_per_bond = per_bond;
        last_ms = best;
        std::printf("%10d %8d %12.3f %14.2f\n", size, m.bonds, best, per_bond);
    }
    return last_per_bond / first_per_bond;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::string keywords = argc > 2 ? argv[2] : "BOND SYMBOL EXPR OUT DEFIN PARM INIT";
    const std::string binary = std::filesystem::absolute(CVORK2_BINARY).string();
    ScratchDir dir("cvork2-bench");

    std::printf("ladders, keyword line: %s\nbest of %d runs\n\n", keywords.c_str(), runs);
    double last_ms = 0;
    const double ratio = table("stages", {5, 10, 20, 35, 50, 65},
                               [&](int stages) { return ladder(stages, keywords); }, runs, binary, last_ms);
    std::printf("\nper-bond cost, largest / smallest: %.2f (goal < 3)\n", ratio);
    std::printf("largest model: %.3f ms (goal < 20 ms)\n", last_ms);

    const int wide_runs = std::max(1, runs / 3);
    std::printf("\nwide models: R elements with flow sources, a definition block each; best of %d runs\n\n",
                wide_runs);
    const double wide_ratio = table("R elements", {5000, 10000, 20000, 40000}, wide, wide_runs, binary, last_ms);
    std::printf("\nper-bond cost, largest / smallest: %.2f (goal < 2: linear)\n", wide_ratio);
    std::printf("largest model: %.3f ms\n", last_ms);
    return 0;
}
