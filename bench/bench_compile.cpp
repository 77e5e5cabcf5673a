// Times cvork2 on generated ladder models of growing size: a source into a
// chain of stages, each a 1-junction with an I and an R element and a
// 0-junction with a C element, up to 130 integral variables (65 stages).
// Prints the best time of several runs per size and the ratio of the per-bond
// cost of the largest model to that of the smallest.
//
// Usage: bench_compile [runs] [keyword line]
#include <spawn.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

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

double run_once(const char* binary) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(binary), nullptr};
    auto start = std::chrono::steady_clock::now();
    pid_t pid;
    if (posix_spawn(&pid, binary, &actions, nullptr, argv, environ) != 0) {
        std::perror("posix_spawn");
        std::exit(2);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "cvork2 failed (status %d)\n", WIFEXITED(status) ? WEXITSTATUS(status) : -1);
        std::exit(2);
    }
    return std::chrono::duration<double, std::milli>(end - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::string keywords = argc > 2 ? argv[2] : "BOND SYMBOL EXPR OUT DEFIN PARM INIT";
    const std::string binary = std::filesystem::absolute(CVORK2_BINARY).string();
    std::string dir_pattern = (std::filesystem::temp_directory_path() / "cvork2-bench-XXXXXX").string();
    if (!mkdtemp(dir_pattern.data())) return 2;
    std::filesystem::current_path(dir_pattern);

    std::printf("keyword line: %s\nbest of %d runs\n\n", keywords.c_str(), runs);
    std::printf("%8s %8s %12s %14s\n", "stages", "bonds", "best ms", "us per bond");
    double first_per_bond = 0, last_per_bond = 0, last_ms = 0;
    const int sizes[] = {5, 10, 20, 35, 50, 65};
    for (int stages : sizes) {
        Model m = ladder(stages, keywords);
        std::ofstream(dir_pattern + "/temp.VRK", std::ios::binary) << m.text;
        double best = 1e30;
        for (int r = 0; r < runs; ++r) best = std::min(best, run_once(binary.c_str()));
        const double per_bond = best * 1000.0 / m.bonds;
        if (first_per_bond == 0) first_per_bond = per_bond;
        last_per_bond = per_bond;
        last_ms = best;
        std::printf("%8d %8d %12.3f %14.2f\n", stages, m.bonds, best, per_bond);
    }
    std::printf("\nper-bond cost, largest / smallest: %.2f (goal < 3)\n", last_per_bond / first_per_bond);
    std::printf("largest model: %.3f ms (goal < 20 ms)\n", last_ms);
    std::filesystem::current_path("/");
    std::filesystem::remove_all(dir_pattern);
    return 0;
}
