// Simulation benchmark: a lossy LC ladder of 10 sections (20 states) driven by
// a step effort into a load resistor. Times the program that cvork2 and gcc make
// from the model (temp.c + runge.c) against a hand-written C program with the
// same equations, the same classic RK4, step and output grid, and prints the
// split of one whole run: cvork2, gcc, the simulation.
//
// Usage: bench_sim [gcc flags...]   (default: no flags, as the editor's command, then -O2)
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "harness.h"

using namespace cvork2_test;

namespace {

constexpr int kSections = 10;
constexpr double kEnd = 50.0, kStep = 1.0e-4;
constexpr int kOutputs = 500;
constexpr double kE = 1.0, kL = 0.5, kC = 0.25, kR = 0.05, kLoad = 1.5;

using Command = std::vector<std::string>;

// Wall time of one program run in the benchmark's directory, in seconds; its
// output is discarded.
double timed(const Command& command) {
    auto start = std::chrono::steady_clock::now();
    int status = run_program(command);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (status != 0) {
        std::fprintf(stderr, "bench_sim: failed: %s\n", command[0].c_str());
        std::exit(1);
    }
    return seconds;
}

double best_of(int n, const Command& command) {
    double best = 1e30;
    for (int i = 0; i < n; ++i) best = std::min(best, timed(command));
    return best;
}

std::string pad(std::string s, size_t width) {
    if (s.size() < width) s.resize(width, ' ');
    return s;
}

std::string element(const std::string& code, const std::string& number, const std::vector<int>& bonds) {
    std::string line = code + pad(number, 5);
    for (size_t i = 0; i < bonds.size(); ++i) {
        std::string field = (bonds[i] < 0 ? "-" : "") + std::to_string(std::abs(bonds[i]));
        line += i + 1 < bonds.size() ? pad(field, 6) : field;
    }
    return line + "\n";
}

std::string parameter(const std::string& name, double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return "PA: " + pad(name, 7) + pad(text, 16) + pad("", 15) + pad("", 20) + "\n";
}

// The model source as the editor writes it. States in X: p1, q1, p2, q2, ...
std::string ladder_model() {
    std::string bond_section = element("SE", "1", {1});
    std::string defin = "SE1\n" + parameter("Ev", kE) + "E=Ev;\nEOD\n";
    int in = 1, next = 2;
    for (int k = 1; k <= kSections; ++k) {
        int b_i = next++, b_r = next++, b_out = next++, b_c = next++;
        int b_next = next++;
        std::string n = std::to_string(k);
        bond_section += element("OJ", "", {-in, b_i, b_r, b_out});
        bond_section += element("II", n, {b_i});
        bond_section += element("RE", n, {b_r});
        bond_section += element("ZJ", "", {-b_out, b_c, b_next});
        bond_section += element("CI", n, {b_c});
        defin += "II" + n + "\n" + parameter("Lv", kL) + "L=Z/Lv;\nEOD\n";
        defin += "RE" + n + "\n" + parameter("Rv", kR) + "if(J==0) R=Rv*Z;\r\nelse R=Z/Rv;\nEOD\n";
        defin += "CI" + n + "\n" + parameter("Cv", kC) + "C=Z/Cv;\nEOD\n";
        in = b_next;
    }
    std::string load = std::to_string(kSections + 1);
    bond_section += element("RE", load, {in});
    defin += "RE" + load + "\n" + parameter("Rl", kLoad) + "if(J==0) R=Rl*Z;\r\nelse R=Z/Rl;\nEOD\n";
    // Outputs: the first momentum, the last displacement, the load's effort and flow.
    const std::string first_i = "MN2", last_c = "DP" + std::to_string(5 * kSections), load_e = "EF" + std::to_string(in),
                      load_f = "FL" + std::to_string(in);
    std::string out;
    for (const std::string& s : {first_i, last_c, load_e, load_f}) out += "BC: " + pad(s, 6) + s + "\n";
    char parm[96];
    std::snprintf(parm, sizeof parm, " %s%s%s%d\n", pad("0.0", 19).c_str(), pad(std::to_string(kEnd), 19).c_str(),
                  pad("1.0E-04", 16).c_str(), kOutputs);
    return "BOND SYMBOL EXPR OUT DEFIN PARM INIT\r\n" + bond_section + "/\n" + out + "/\n" + defin + "/\n" + parm +
           "/\n";
}

// The same equations written by hand, integrated by the same RK4 on the same grid.
std::string hand_program() {
    char head[512];
    std::snprintf(head, sizeof head,
                  "#include <math.h>\n#include <stdio.h>\n"
                  "#define NS %d\n#define N (2 * NS)\n"
                  "static const double E = %.17g, L = %.17g, C = %.17g, R = %.17g, RL = %.17g;\n"
                  "static const double T0 = 0.0, T1 = %.17g, H = %.17g;\nstatic const int NO = %d;\n",
                  kSections, kE, kL, kC, kR, kLoad, kEnd, kStep, kOutputs);
    return std::string(head) + R"(
static void deriv(const double *y, double *dy) {
  double i[NS + 1], v[NS];
  int k;
  for (k = 0; k < NS; ++k) { i[k] = y[2 * k] / L; v[k] = y[2 * k + 1] / C; }
  i[NS] = v[NS - 1] / RL;
  for (k = 0; k < NS; ++k) {
    dy[2 * k] = (k ? v[k - 1] : E) - R * i[k] - v[k];
    dy[2 * k + 1] = i[k] - i[k + 1];
  }
}

static void row(FILE *f, double t, const double *y) {
  double v = y[N - 1] / C;
  fprintf(f, "%.10e,%.10e,%.10e,%.10e,%.10e\n", t, y[0], y[N - 1], v, v / RL);
}

int main(void) {
  double y[N] = {0}, k1[N], k2[N], k3[N], k4[N], w[N];
  int i, j, m;
  FILE *f = fopen("hand.csv", "w");
  if (!f) return 1;
  fprintf(f, "TIME,MN2,DP50,EF51,FL51\n");
  row(f, T0, y);
  for (i = 0; i < NO; ++i) {
    double a = T0 + (T1 - T0) * i / NO, b = T0 + (T1 - T0) * (i + 1) / NO;
    long n = (long)ceil(fabs(b - a) / H - 1e-9), s;
    double h;
    if (n < 1) n = 1;
    h = (b - a) / n;
    for (s = 0; s < n; ++s) {
      deriv(y, k1);
      for (m = 0; m < N; ++m) w[m] = y[m] + 0.5 * h * k1[m];
      deriv(w, k2);
      for (m = 0; m < N; ++m) w[m] = y[m] + 0.5 * h * k2[m];
      deriv(w, k3);
      for (m = 0; m < N; ++m) w[m] = y[m] + h * k3[m];
      deriv(w, k4);
      for (j = 0; j < N; ++j) y[j] += h / 6.0 * (k1[j] + 2.0 * k2[j] + 2.0 * k3[j] + k4[j]);
    }
    row(f, b, y);
  }
  return fclose(f) != 0;
}
)";
}

// A minimal driver for the generated functions themselves: temp.c included,
// the parameters set in place, the same RK4 loop. Separates what the
// integrator costs from what the generated expressions cost.
std::string same_expressions_program() {
    char head[512];
    std::snprintf(head, sizeof head,
                  "#include \"temp.c\"\n"
                  "#define N %d\n"
                  "static const double T0 = 0.0, T1 = %.17g, HS = %.17g;\nstatic const int NO = %d;\n"
                  "static void params(void) { PA[1] = %.17g; PA[2] = %.17g; PA[3] = %.17g; PA[4] = %.17g; "
                  "PA[5] = %.17g; }\n",
                  2 * kSections, kEnd, kStep, kOutputs, kE, kL, kR, kC, kLoad);
    return std::string(head) + R"(
int main(void) {
  double y[N] = {0}, acc[N];
  int i, m;
  FILE *f = fopen("same.csv", "w");
  if (!f) return 1;
  params();
  fprintf(f, "TIME,MN2,DP50,EF51,FL51\n");
  for (i = 0; i <= NO; ++i) {
    double a = T0 + (T1 - T0) * (i ? i - 1 : 0) / NO, b = T0 + (T1 - T0) * i / NO;
    long n = (long)ceil(fabs(b - a) / HS - 1e-9), s;
    double h;
    if (i > 0) {
      if (n < 1) n = 1;
      h = (b - a) / n;
      for (s = 0; s < n; ++s) {
        double t = a + h * s;
        for (m = 0; m < N; ++m) X[m] = y[m];
        T = t; FUNC(T, X, N);
        for (m = 0; m < N; ++m) { acc[m] = DX[m]; X[m] = y[m] + 0.5 * h * DX[m]; }
        T = t + 0.5 * h; FUNC(T, X, N);
        for (m = 0; m < N; ++m) { acc[m] = acc[m] + 2.0 * DX[m]; X[m] = y[m] + 0.5 * h * DX[m]; }
        T = t + 0.5 * h; FUNC(T, X, N);
        for (m = 0; m < N; ++m) { acc[m] = acc[m] + 2.0 * DX[m]; X[m] = y[m] + h * DX[m]; }
        T = t + h; FUNC(T, X, N);
        for (m = 0; m < N; ++m) y[m] += h / 6.0 * (acc[m] + DX[m]);
      }
    }
    for (m = 0; m < N; ++m) X[m] = y[m];
    T = b; DOUT();
    fprintf(f, "%.10e,%.10e,%.10e,%.10e,%.10e\n", b, OP[0], OP[1], OP[2], OP[3]);
  }
  return fclose(f) != 0;
}
)";
}

// Largest difference between two result files' numbers (same layout).
double max_difference(const std::string& a, const std::string& b) {
    std::istringstream x(a), y(b);
    std::string lx, ly;
    std::getline(x, lx);
    std::getline(y, ly);
    double worst = 0;
    while (std::getline(x, lx) && std::getline(y, ly)) {
        std::stringstream sx(lx), sy(ly);
        std::string cx, cy;
        while (std::getline(sx, cx, ',') && std::getline(sy, cy, ','))
            worst = std::max(worst, std::fabs(std::strtod(cx.c_str(), nullptr) - std::strtod(cy.c_str(), nullptr)));
    }
    return worst;
}

// gcc with the editor's link options, the given flags and one source.
Command gcc(const Command& flags, const std::string& program, const std::string& source) {
    Command command{"gcc"};
    command.insert(command.end(), flags.begin(), flags.end());
    command.insert(command.end(), {"-o", program, "-Wl,--no-as-needed", "-lm", source});
    return command;
}

std::string joined(const Command& words) {
    std::string out;
    for (const std::string& w : words) out += (out.empty() ? "" : " ") + w;
    return out;
}

// One measurement with the given gcc flags (the same for all three programs).
void measure(const Command& flags) {
    ScratchDir dir("bench-sim");
    write_file("temp.VRK", ladder_model());
    write_file("runge.c", read_file(std::string(VORK_SOURCE_DIR) + "/integrator/runge.c"));
    write_file("hand.c", hand_program());
    write_file("same.c", same_expressions_program());

    Command generated = gcc(flags, "temp", "temp.c");
    generated.push_back("runge.c");
    const double t_compile = best_of(5, {CVORK2_BINARY});
    const double t_gcc = best_of(3, generated);
    timed(gcc(flags, "hand", "hand.c"));
    timed(gcc(flags, "same", "same.c"));
    const double t_generated = best_of(5, {"./temp"});
    const double t_hand = best_of(5, {"./hand"});
    const double t_same = best_of(5, {"./same"});

    const std::string generated_csv = read_file("temp.csv");
    const long steps = std::lround(kEnd / kStep);
    std::printf("model: LC ladder, %d states, %ld RK4 steps of %g, %d output times; gcc flags: %s\n",
                2 * kSections, steps, kStep, kOutputs, flags.empty() ? "(none)" : joined(flags).c_str());
    std::printf("  simulation: generated %.3f s, hand-written %.3f s, ratio %.2f (goal <= 1.30)\n", t_generated,
                t_hand, t_generated / t_hand);
    std::printf("  results agree to %.2e (largest difference of any number in temp.csv)\n",
                max_difference(generated_csv, read_file("hand.csv")));
    std::printf("  the generated functions under a minimal RK4 driver: %.3f s (agrees to %.2e);\n"
                "  generated program / minimal driver %.2f (the integrator), minimal driver / hand-written %.2f "
                "(the generated expressions)\n",
                t_same, max_difference(generated_csv, read_file("same.csv")), t_generated / t_same,
                t_same / t_hand);
    const double whole = t_compile + t_gcc + t_generated;
    std::printf("  one whole run %.3f s: cvork2 %.4f s (%.1f%%), gcc %.3f s (%.1f%%), simulation %.3f s (%.1f%%)\n",
                whole, t_compile, 100 * t_compile / whole, t_gcc, 100 * t_gcc / whole, t_generated,
                100 * t_generated / whole);
}

}  // namespace

// Without arguments: the editor's plain command, then -O2. With arguments:
// those gcc flags only.
int main(int argc, char** argv) {
    if (argc > 1) {
        measure(Command(argv + 1, argv + argc));
    } else {
        measure({});
        measure({"-O2"});
    }
    return 0;
}
