// Simulation from a model source: cvork2, the shipped C command with an
// integrator, the program temp, and temp.csv against the analytic solution of
// each example model; the shipped settings file and the integrators' shared code.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "harness.h"

using namespace cvork2_test;

namespace {

using ::testing::HasSubstr;

const std::string SOURCE_DIR = VORK_SOURCE_DIR;

// The value of `key` in `section` of a settings file ("" when absent); the
// lines end in CR LF.
std::string setting(const std::string& ini, const std::string& section, const std::string& key) {
    std::istringstream in(ini);
    std::string line, current;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[') current = line.substr(1, line.find(']') - 1);
        else if (current == section && line.compare(0, key.size() + 1, key + "=") == 0) return line.substr(key.size() + 1);
    }
    return "";
}

// The shipped C_Command split at its blanks: the simulations are built with it.
std::vector<std::string> shipped_c_command() {
    std::istringstream words(setting(read_file(SOURCE_DIR + "/share/vork.ini"), "Compiler", "C_Command"));
    std::vector<std::string> argv;
    for (std::string w; words >> w;) argv.push_back(w);
    return argv;
}

struct Table {
    std::vector<std::string> header;
    std::vector<std::vector<double>> rows;
};

Table read_csv(const std::string& path) {
    Table t;
    std::istringstream in(read_file(path));
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        std::vector<std::string> cells;
        std::stringstream fields(line);
        std::string cell;
        while (std::getline(fields, cell, ',')) cells.push_back(cell);
        if (first) {
            t.header = cells;
            first = false;
        } else {
            std::vector<double> row;
            for (const std::string& c : cells) row.push_back(std::strtod(c.c_str(), nullptr));
            t.rows.push_back(row);
        }
    }
    return t;
}

// y' = A y + c with y(0) = y0, for a 2x2 A: y = ys + exp(At) (y0 - ys), ys = -A^-1 c.
struct Linear2 {
    double a11, a12, a21, a22, c1, c2, y01, y02;
    void at(double t, double& y1, double& y2) const {
        double det = a11 * a22 - a12 * a21;
        double ys1 = -(a22 * c1 - a12 * c2) / det, ys2 = -(-a21 * c1 + a11 * c2) / det;
        double s = 0.5 * (a11 + a22), disc = s * s - det;
        double ch, sh;  // exp(At) = e^(st) (ch I + sh (A - sI))
        if (disc > 0) {
            double q = std::sqrt(disc);
            ch = std::cosh(q * t);
            sh = std::sinh(q * t) / q;
        } else if (disc < 0) {
            double q = std::sqrt(-disc);
            ch = std::cos(q * t);
            sh = std::sin(q * t) / q;
        } else {
            ch = 1.0;
            sh = t;
        }
        double e = std::exp(s * t), d1 = y01 - ys1, d2 = y02 - ys2;
        y1 = ys1 + e * ((ch + sh * (a11 - s)) * d1 + sh * a12 * d2);
        y2 = ys2 + e * (sh * a21 * d1 + (ch + sh * (a22 - s)) * d2);
    }
};

struct Example {
    const char* name;
    std::vector<std::string> header;
    std::function<std::vector<double>(double)> exact;
};

std::vector<Example> examples() {
    std::vector<Example> list;
    // C = 0.5, R = 2, q(0) = 1: q = exp(-t), dissipated energy 1 - exp(-2t).
    list.push_back({"rc_discharge", {"TIME", "DP1", "EF2", "FL2", "PW2", "EN2"}, [](double t) {
                        double q = std::exp(-t);
                        return std::vector<double>{q, 2 * q, q, 2 * q * q, 1 - q * q};
                    }});
    // L = 1, C = 0.25, R = 1, E = 2 from t = 0.
    list.push_back({"series_rlc", {"TIME", "MN2", "DP3", "FL4", "EF3"}, [](double t) {
                        const double E = 2, L = 1, C = 0.25, R = 1;
                        double a = R / (2 * L), wd = std::sqrt(1 / (L * C) - a * a);
                        double q = C * E * (1 - std::exp(-a * t) * (std::cos(wd * t) + a / wd * std::sin(wd * t)));
                        double i = E / (L * wd) * std::exp(-a * t) * std::sin(wd * t);
                        return std::vector<double>{L * i, q, i, q / C};
                    }});
    // m = 1, k = 4, b = 0.4, released at x = 0.5.
    list.push_back({"mass_spring_damper", {"TIME", "DP2", "MN1", "FL1", "EF3"}, [](double t) {
                        const double m = 1, k = 4, b = 0.4, x0 = 0.5;
                        double a = b / (2 * m), w0 = std::sqrt(k / m), wd = std::sqrt(w0 * w0 - a * a);
                        double x = x0 * std::exp(-a * t) * (std::cos(wd * t) + a / wd * std::sin(wd * t));
                        double v = -x0 * w0 * w0 / wd * std::exp(-a * t) * std::sin(wd * t);
                        return std::vector<double>{x, m * v, v, b * v};
                    }});
    // Armature La i' = Kp (Wr - w) - Ra i - r w, rotor Jr w' = r i - bf w.
    list.push_back({"dc_motor", {"TIME", "FL3", "FL6", "EF5", "MN6"}, [](double t) {
                        const double Kp = 2, Wr = 10, Ra = 1, La = 0.5, r = 0.8, Jr = 0.2, bf = 0.1;
                        Linear2 s{-Ra / La, -(Kp + r) / Jr, r / La, -bf / Jr, Kp * Wr, 0, 0, 0};
                        double p, h;
                        s.at(t, p, h);
                        return std::vector<double>{p / La, h / Jr, r * p / La, h};
                    }});
    // E = 3, R = 4 through a TF of modulus n = 2 into I (L = 0.5) and C (0.1), q(0) = 0.1.
    list.push_back({"tf_coupling", {"TIME", "MN5", "DP6", "EF4", "FL3"}, [](double t) {
                        const double E = 3, R = 4, n = 2, L = 0.5, C = 0.1;
                        Linear2 s{-R / (n * n * L), -1 / C, 1 / L, 0, E / n, 0, 0, 0.1};
                        double p, q;
                        s.at(t, p, q);
                        return std::vector<double>{p, q, (E - R * p / (n * L)) / n, p / (n * L)};
                    }});
    // E = A sin(W T) into R = 0.5 and C = 0.4 in series, q(0) = 0.2.
    list.push_back({"sine_source_rc", {"TIME", "EF1", "DP3", "FL2"}, [](double t) {
                        const double A = 1.5, W = 3, R = 0.5, C = 0.4, q0 = 0.2;
                        double a = 1 / (R * C), B = A / R, d = a * a + W * W;
                        double qp = B * (a * std::sin(W * t) - W * std::cos(W * t)) / d;
                        double q = qp + (q0 + B * W / d) * std::exp(-a * t);
                        double e = A * std::sin(W * t);
                        return std::vector<double>{e, q, (e - q / C) / R};
                    }});
    // The RC discharge with the resistor's bond torn by a DE/DF pair.
    list.push_back({"torn_bond_rc", {"TIME", "DP1", "EF3", "FL2"}, [](double t) {
                        double q = std::exp(-t);
                        return std::vector<double>{q, 2 * q, q};
                    }});
    return list;
}

// A scratch directory for one simulation, kept when the test fails.
class SimulationDir {
public:
    ~SimulationDir() {
        if (dir_ && ::testing::Test::HasFailure()) {
            dir_->keep();
            std::printf("files left in %s\n", dir_->path().c_str());
        }
    }
    void enter() { dir_ = std::make_unique<ScratchDir>("cvork2-sim"); }

    // A file of the repository copied into the directory.
    void copy(const std::string& from, const std::string& name) {
        ASSERT_TRUE(write_file(name, read_file(SOURCE_DIR + "/" + from))) << name;
    }
    // cvork2 on `model`, then the shipped C command (with `extra` flags) on
    // temp.c and the integrator: leaves the program temp.
    void build(const std::string& model, const std::string& integrator, const std::vector<std::string>& extra = {}) {
        ASSERT_TRUE(write_file("temp.VRK", model));
        ASSERT_NO_FATAL_FAILURE(copy("integrator/" + integrator, integrator));
        std::string listing;
        ASSERT_EQ(run_program({CVORK2_BINARY}, &listing), 0) << listing;
        ASSERT_NO_FATAL_FAILURE(link(integrator, extra));
    }
    void link(const std::string& integrator, const std::vector<std::string>& extra = {}) {
        std::vector<std::string> command = shipped_c_command();
        ASSERT_FALSE(command.empty());
        command.insert(command.end(), extra.begin(), extra.end());
        command.insert(command.end(), {"temp.c", integrator});
        std::string messages;
        ASSERT_EQ(run_program(command, &messages), 0) << messages;
    }
    // Runs temp; its output goes to run_output.
    int run() { return run_program({"./temp"}, &run_output); }

    std::string run_output;

private:
    std::unique_ptr<ScratchDir> dir_;
};

class Simulation : public ::testing::TestWithParam<Example> {
protected:
    void SetUp() override { sim_.enter(); }

    void build(const std::string& integrator) {
        sim_.build(read_file(SOURCE_DIR + "/examples/" + GetParam().name + ".VRK"), integrator);
    }

    // Runs temp with the time step replaced (0: as compiled); the largest error
    // of any output column relative to that column's largest exact magnitude.
    double run_error(double step) {
        const Example& ex = GetParam();
        if (step > 0) {
            std::string par = read_file("temp.PAR");
            size_t at = par.find("PT  3");
            size_t end = par.find("\r\n", at);
            char line[80];
            std::snprintf(line, sizeof line, "PT  3   %e    SIMULATION TIME WIDTH", step);
            par.replace(at, end - at, line);
            write_file("temp.PAR", par);
        }
        if (sim_.run() != 0) {
            ADD_FAILURE() << sim_.run_output;
            return 1e9;
        }
        Table t = read_csv("temp.csv");
        EXPECT_EQ(t.header, ex.header);
        std::vector<double> worst(ex.header.size() - 1, 0.0), scale(ex.header.size() - 1, 0.0);
        for (const auto& row : t.rows) {
            std::vector<double> want = ex.exact(row.at(0));
            EXPECT_EQ(row.size(), want.size() + 1);
            for (size_t j = 0; j < want.size() && j + 1 < row.size(); ++j) {
                worst[j] = std::max(worst[j], std::fabs(row[j + 1] - want[j]));
                scale[j] = std::max(scale[j], std::fabs(want[j]));
            }
        }
        double error = 0;
        for (size_t j = 0; j < worst.size(); ++j) error = std::max(error, worst[j] / scale[j]);
        return error;
    }

    SimulationDir sim_;
};

TEST_P(Simulation, FixedStepRungeKuttaMatchesTheAnalyticSolution) {
    ASSERT_NO_FATAL_FAILURE(build("runge.c"));
    const double error = run_error(0);  // the example's own step, 0.01
    EXPECT_LT(error, 1e-6);
    // Fourth order: halving the step divides the error by about 16.
    const double coarse = run_error(0.05), fine = run_error(0.025);  // 2 and 4 steps per output interval
    EXPECT_GT(coarse / fine, 12.0) << coarse << " " << fine;
    EXPECT_LT(coarse / fine, 20.0) << coarse << " " << fine;
    Table t = read_csv("temp.csv");
    EXPECT_GT(t.rows.size(), 20u);
}

TEST_P(Simulation, AdaptiveDormandPrinceMatchesTheAnalyticSolution) {
    ASSERT_NO_FATAL_FAILURE(build("rungeauto.c"));
    EXPECT_LT(run_error(0), 1e-8);
    EXPECT_LT(run_error(1.0), 1e-8);  // a first trial step larger than the output interval
}

INSTANTIATE_TEST_SUITE_P(Examples, Simulation, ::testing::ValuesIn(examples()),
                         [](const ::testing::TestParamInfo<Example>& info) { return std::string(info.param.name); });

// The integrators on their own: what they do with a bad parameter file, and
// the helpers they supply (DSIGN; no integral variables at all).
class SimulationIntegrator : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        sim_.enter();
        integrator_ = GetParam();
        program_ = integrator_.substr(0, integrator_.size() - 2);
    }
    void build(const std::string& model) { sim_.build(model, integrator_, {"-Wall"}); }
    int run() { return sim_.run(); }
    SimulationDir sim_;
    std::string integrator_, program_;
};

// SE and R on one bond, no states; the source calls DSIGN.
const char kSignModel[] =
    "BOND SYMBOL EXPR OUT DEFIN PARM INIT\r\n"
    "SE1    1\n"
    "RE1    1\n"
    "/\n"
    "BC: EF1   EF1\n"
    "BC: FL1   FL1\n"
    "/\n"
    "SE1\n"
    "E=DSIGN(2.0,-3.0)+DSIGN(-1.5,0.0);\n"
    "EOD\n"
    "RE1\n"
    "R=Z*4.0;\n"
    "EOD\n"
    "/\n"
    " 1.0                2.0                0.5             4\n"
    "/\n";

TEST_P(SimulationIntegrator, WithoutIntegralVariablesAndWithDsign) {
    ASSERT_NO_FATAL_FAILURE(build(kSignModel));
    ASSERT_EQ(run(), 0) << sim_.run_output;
    EXPECT_EQ(read_file("temp.csv"),
              "TIME,EF1,FL1\n"
              "1.0000000000e+00,-5.0000000000e-01,-2.0000000000e+00\n"
              "1.2500000000e+00,-5.0000000000e-01,-2.0000000000e+00\n"
              "1.5000000000e+00,-5.0000000000e-01,-2.0000000000e+00\n"
              "1.7500000000e+00,-5.0000000000e-01,-2.0000000000e+00\n"
              "2.0000000000e+00,-5.0000000000e-01,-2.0000000000e+00\n");
    EXPECT_EQ(sim_.run_output, "");
}

TEST_P(SimulationIntegrator, BadParameterFileGivesOneLineAndNoResult) {
    ASSERT_NO_FATAL_FAILURE(build(kSignModel));
    const std::string good = read_file("temp.PAR");
    auto replace = [&good](const std::string& from, const std::string& to) {
        std::string par = good;
        size_t at = par.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) par.replace(at, from.size(), to);
        return par;
    };
    struct Case {
        std::string par;  // empty: no temp.PAR at all
        std::string message;
    } cases[] = {
        {"", "cannot open temp.PAR"},
        {replace("PT  3", "XT  3"), "unrecognised line 8 in temp.PAR"},
        {replace("PT  2   2.000000e+00", "PT  2   inf"), "time value on line 7 of temp.PAR is not finite"},
        {replace("PT  3   5.000000e-01    SIMULATION TIME WIDTH\r\n", ""),
         "temp.PAR lacks the simulation times (PT 1, PT 2, PT 3 and NO lines)"},
        {replace("NS       0", "NS     131"), "too many integral variables: 131 (at most 130)"},
        {replace("OP            2", "OP          101"), "too many output variables: 101 (at most 100)"},
        {replace("\r\nEND", "\r\nPA10000   1.0e+00 K\r\nEND"), "parameter number 10000 out of range 1..9999"},
        {replace("\r\nEND", "\r\nST  1   1.0e+00    DP1   \r\nEND"), "initial value for integral variable 1, but there are 0"},
        {replace("LA  1", "LA"), "bad label line 1 in temp.PAR"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        write_file("temp.csv", "old result\n");
        std::remove("temp.PAR");
        if (!c.par.empty()) write_file("temp.PAR", c.par);
        EXPECT_EQ(run(), 1);
        EXPECT_EQ(sim_.run_output, program_ + ": " + c.message + "\n");
        EXPECT_FALSE(fs::exists("temp.csv"));
        EXPECT_FALSE(fs::exists("temp.csv.part"));
    }
    // The file as the compiler wrote it works, with LF or CR LF line ends.
    std::string lf = good;
    for (size_t at; (at = lf.find("\r\n")) != std::string::npos;) lf.erase(at, 1);
    write_file("temp.PAR", lf);
    EXPECT_EQ(run(), 0) << sim_.run_output;
}

// A model source as the compiler writes one with two dummy outputs whose loop
// DE(1) = g DF(1) + 1, DF(1) = g DE(1) the integrator solves by sweeps.
std::string dummy_loop_source(double gain) {
    char text[1024];
    std::snprintf(text, sizeof text,
                  "#include<stdio.h>\n#include<math.h>\nvoid DOUT();\n"
                  "void FUNC(double T,double X[],int N);\ndouble FU(int I,double T,double X[]);\n"
                  "double OP[100];\ndouble H,X[130],XX[30],T;\ndouble PA[10000];\ndouble DX[130];\n"
                  "double DSIGN(double a,double b);\ndouble DE(int N);\ndouble DF(int N);\n\n\n"
                  "void DOUT(){\n  OP[0]=DE(1);\n  OP[1]=DF(1);\n}\n\n"
                  "void FUNC(double T,double X[],int N){\n  DX[0]=DE(1);\n}\n\n"
                  "double FU(int I,double T,double X[]){\n  double FU;\n  FU=0.0e-00;\n"
                  "  if(I==1) FU=%g*DF(1)+1.0;\n  if(I==2) FU=%g*DE(1);\n  return(FU);\n}\n",
                  gain, gain);
    return text;
}

const char kDummyParameters[] =
    "LA  1  DE1            DE1\r\nLA  2  DF1            DF1\r\n"
    "NS       0               NUMBER OF STATE VARIABLES\r\n"
    "IN       1               NUMBER OF ADDITIONAL INTEGRAL VARIABLES\r\n"
    "ND       2               NUMBER OF DUMMY VARIABLES\r\n"
    "PT  1   0.000000e+00    SIMULATION STRAT TIME\r\nPT  2   1.000000e+00    SIMULATION END TIME\r\n"
    "PT  3   1.000000e-01    SIMULATION TIME WIDTH\r\n"
    "NO            1               NUMBER OF OUTPUT TIMES\r\nOP            2               NUMBER OF OUTPUT VARIABLES\r\n"
    "END\r\n";

TEST_P(SimulationIntegrator, DummyLoopIsSolvedOrReported) {
    ASSERT_NO_FATAL_FAILURE(sim_.copy("integrator/" + integrator_, integrator_));
    write_file("temp.PAR", kDummyParameters);
    // Gain 1/2: DE = 4/3, DF = 2/3.
    write_file("temp.c", dummy_loop_source(0.5));
    ASSERT_NO_FATAL_FAILURE(sim_.link(integrator_));
    ASSERT_EQ(run(), 0) << sim_.run_output;
    Table t = read_csv("temp.csv");
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(t.header, (std::vector<std::string>{"TIME", "DE1", "DF1"}));
    EXPECT_NEAR(t.rows[1][1], 4.0 / 3.0, 1e-10);
    EXPECT_NEAR(t.rows[1][2], 2.0 / 3.0, 1e-10);
    // Gain 2: the sweeps run away.
    write_file("temp.c", dummy_loop_source(2.0));
    ASSERT_NO_FATAL_FAILURE(sim_.link(integrator_));
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(sim_.run_output, program_ + ": dummy variables do not converge at T=0.000000e+00\n");
    EXPECT_FALSE(fs::exists("temp.csv"));
}

INSTANTIATE_TEST_SUITE_P(Both, SimulationIntegrator, ::testing::Values("runge.c", "rungeauto.c"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param).substr(0, std::string(info.param).size() - 2);
                         });

// The settings file installed as the template of a working directory: CR LF
// line ends, C as the target and tcc's C command (it compiles quickest), every
// directory to be filled in.
TEST(ShippedSettings, TemplateHoldsTheDefaults) {
    const std::string ini = read_file(SOURCE_DIR + "/share/vork.ini");
    ASSERT_FALSE(ini.empty());
    for (size_t at = ini.find('\n'); at != std::string::npos; at = ini.find('\n', at + 1))
        EXPECT_TRUE(at > 0 && ini[at - 1] == '\r') << "line end at byte " << at;
    EXPECT_EQ(ini.back(), '\n');
    EXPECT_EQ(setting(ini, "Compiler", "Type"), "0");
    EXPECT_EQ(setting(ini, "Compiler", "C_Command"), "tcc -o temp -lm");
    for (const char* key : {"Vrd", "Data", "Par", "C", "F", "VRK"})
        EXPECT_EQ(setting(ini, "Directory", key), "None") << key;
    EXPECT_THAT(ini, HasSubstr("[Private]\r\nMode=\r\n"));
}

// Each integrator is compiled alone with temp.c, so the code they share (the
// temp.PAR reader, the CSV writer) is a copy in each: the copies stay equal.
TEST(IntegratorSources, SharedCodeIsIdenticalInBoth) {
    const std::string begin = "/* ==== shared by runge.c and rungeauto.c: keep the two copies identical ==== */\n";
    const std::string end = "/* ==== end of the shared code ==== */\n";
    std::string shared[2];
    const char* const names[2] = {"runge.c", "rungeauto.c"};
    for (int i = 0; i < 2; ++i) {
        const std::string text = read_file(SOURCE_DIR + "/integrator/" + names[i]);
        const size_t from = text.find(begin), to = text.find(end);
        ASSERT_NE(from, std::string::npos) << names[i];
        ASSERT_NE(to, std::string::npos) << names[i];
        ASSERT_LT(from, to) << names[i];
        EXPECT_EQ(text.find(begin, from + 1), std::string::npos) << names[i];
        shared[i] = text.substr(from, to - from);
    }
    for (const char* part : {"static void rk_read_par(void)", "static void rk_header(void)", "static void rk_row("})
        EXPECT_THAT(shared[0], HasSubstr(part)) << part;
    EXPECT_EQ(shared[0], shared[1]);
}

}  // namespace
