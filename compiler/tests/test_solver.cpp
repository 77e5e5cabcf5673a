// The SYMBOL phase: propagation order, texts, junction sums and the
// unsolved-model error; and a comparison with a plain scan of the tables.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "compile_runs.h"
#include "model.h"

using namespace cvork2_test;

namespace {

// The part of stdout the solver prints: from after "process3\n" to the end.
std::string solver_output(const std::string& out) {
    size_t p = out.find("process3\n");
    return p == std::string::npos ? std::string("<no process3>") : out.substr(p + 9);
}

TEST(Solver, WorkedExampleFromTables) {
    // Bonds 1..3; E1() for effort 1 (line 1), C1(X[0]) for effort 3 (line 2);
    // RE of resistor 1 from flow 6 to effort 5; EQ flow 2 -> 4 -> 6; one
    // 1-junction over the efforts 1, 3, 5 with signs -1, +1, +1.
    ScratchDir dir;
    using namespace cvork2;
    reset_compiler_state();
    std::ostringstream out;
    set_console(&out);
    ASSERT_TRUE(FSCRATCH.open("SCRATCH"));
    NBOND = 3;
    IA.assign(9, 0);
    IB.assign(9, 0);
    IAD.assign(9, 0);
    IAD[1] = append_expression("E1()", NSCR);
    IAD[3] = append_expression("C1(X[0])", NSCR);
    IA[1] = IA[3] = 1;
    NREL = 3;
    IS = {0, 6, 2, 4};
    ID = {0, 5, 4, 6};
    REL = {"  ", "RE", "EQ", "EQ"};
    NUM = {"   ", "1", "   ", "   "};
    NJUN = 1;
    JNB = {0, 3};
    IVN = {{}, {0, 1, 3, 5}};
    ISG = {{}, {0, -1, 1, 1}};
    solve_variables();
    close_all_files();
    set_console(nullptr);
    EXPECT_EQ(out.str(),
              " *** SOLUTIONS OF VARIABLES ***\n"
              "   EFFORT (  1) = E1()\n"
              "   FLOW   (  1) = R1(1,(E1()-C1(X[0])))\n"
              "   EFFORT (  2) = C1(X[0])\n"
              "   FLOW   (  2) = R1(1,(E1()-C1(X[0])))\n"
              "   EFFORT (  3) = (E1()-C1(X[0]))\n"
              "   FLOW   (  3) = R1(1,(E1()-C1(X[0])))\n");
    EXPECT_EQ(dir.files()["SCRATCH"], crlf("E1()\nC1(X[0])\n(E1()-C1(X[0]))\nR1(1,(E1()-C1(X[0])))\n"));
    EXPECT_EQ(IAD[2], 4);  // flow 2 shares line 4 through EQ
    EXPECT_EQ(IAD[4], 4);
    EXPECT_EQ(IAD[6], 4);
    reset_compiler_state();
}

struct SolverCase {
    const char* name;
    std::string bond_lines;  // the BOND section without its "/" line
    std::string printed;     // stdout after "process3\n"
    std::string scratch;     // SCRATCH, LF shown
    int status;
};

std::vector<SolverCase> solver_cases() {
    return {
        {"MinimalSeRCI", "SE1    1\nRE1    2\nCI1    3\nII1    4\nOJ     -1    2     3     4\n",
         " *** SOLUTIONS OF VARIABLES ***\n"
         "   EFFORT (  1) = E1()\n"
         "   FLOW   (  1) = L1(X[1])\n"
         "   EFFORT (  2) = R1(0,L1(X[1]))\n"
         "   FLOW   (  2) = L1(X[1])\n"
         "   EFFORT (  3) = C1(X[0])\n"
         "   FLOW   (  3) = L1(X[1])\n"
         "   EFFORT (  4) = (E1()-R1(0,L1(X[1]))-C1(X[0]))\n"
         "   FLOW   (  4) = L1(X[1])\n"
         "process4\nprocess7\n",
         "E1()\nC1(X[0])\nL1(X[1])\nR1(0,L1(X[1]))\n(E1()-R1(0,L1(X[1]))-C1(X[0]))\n", 0},
        // A transformer between a 1- and a 0-junction, a gyrator into a resistor.
        {"TransformerGyratorBothJunctions",
         "SE1    1\nOJ     -1    2     3\nII1    2\nTF1    3     4\nZJ     -4    5     6\nCI1    5\n"
         "GY1    6     7\nRE1    7\n",
         " *** SOLUTIONS OF VARIABLES ***\n"
         "   EFFORT (  1) = E1()\n"
         "   FLOW   (  1) = L1(X[0])\n"
         "   EFFORT (  2) = (E1()-TF1()*C1(X[1]))\n"
         "   FLOW   (  2) = L1(X[0])\n"
         "   EFFORT (  3) = TF1()*C1(X[1])\n"
         "   FLOW   (  3) = L1(X[0])\n"
         "   EFFORT (  4) = C1(X[1])\n"
         "   FLOW   (  4) = TF1()*L1(X[0])\n"
         "   EFFORT (  5) = C1(X[1])\n"
         "   FLOW   (  5) = (TF1()*L1(X[0])-R1(0,C1(X[1])/GY1())/GY1())\n"
         "   EFFORT (  6) = C1(X[1])\n"
         "   FLOW   (  6) = R1(0,C1(X[1])/GY1())/GY1()\n"
         "   EFFORT (  7) = R1(0,C1(X[1])/GY1())\n"
         "   FLOW   (  7) = C1(X[1])/GY1()\n"
         "process4\nprocess7\n",
         "E1()\nL1(X[0])\nC1(X[1])\nTF1()*L1(X[0])\nTF1()*C1(X[1])\n(E1()-TF1()*C1(X[1]))\n"
         "C1(X[1])/GY1()\nR1(0,C1(X[1])/GY1())\nR1(0,C1(X[1])/GY1())/GY1()\n"
         "(TF1()*L1(X[0])-R1(0,C1(X[1])/GY1())/GY1())\n",
         0},
        // Inflow open at a 0-junction with two outflows: their sum.
        {"ZeroJunctionInflow", "SE1    1\nZJ     -1    2     3\nSF1    2\nSF2    3\n",
         " *** SOLUTIONS OF VARIABLES ***\n"
         "   EFFORT (  1) = E1()\n"
         "   FLOW   (  1) = (F1()+F2())\n"
         "   EFFORT (  2) = E1()\n"
         "   FLOW   (  2) = F1()\n"
         "   EFFORT (  3) = E1()\n"
         "   FLOW   (  3) = F2()\n"
         "process4\nprocess7\n",
         "E1()\nF1()\nF2()\n(F1()+F2())\n", 0},
        // Same sign as the open variable: the sum begins "(-".
        {"SameSignTermFirst", "DE1    1\nDF1    2\nZJ     1     2\n",
         " *** SOLUTIONS OF VARIABLES ***\n"
         "   EFFORT (  1) = DE(1)\n"
         "   FLOW   (  1) = (-DF(1))\n"
         "   EFFORT (  2) = DE(1)\n"
         "   FLOW   (  2) = DF(1)\n"
         "process4\nprocess7\n",
         "DE(1)\nDF(1)\n(-DF(1))\n", 0},
        // A gyrator used backward prints its new text at once.
        {"GyratorBackwardPrints", "SF1    1\nGY1    2     1\nRE1    2\n",
         "GY1()*F1()\n"
         " *** SOLUTIONS OF VARIABLES ***\n"
         "   EFFORT (  1) = GY1()*R1(1,GY1()*F1())\n"
         "   FLOW   (  1) = F1()\n"
         "   EFFORT (  2) = GY1()*F1()\n"
         "   FLOW   (  2) = R1(1,GY1()*F1())\n"
         "process4\nprocess7\n",
         "F1()\nGY1()*F1()\nR1(1,GY1()*F1())\nGY1()*R1(1,GY1()*F1())\n", 0},
        // Two transformers on the same bonds: the first relation wins.
        {"FirstRelationWins", "SE1    1\nSF1    2\nTF1    1     2\nTF2    1     2\n",
         " *** SOLUTIONS OF VARIABLES ***\n"
         "   EFFORT (  1) = E1()\n"
         "   FLOW   (  1) = F1()/TF1()\n"
         "   EFFORT (  2) = E1()/TF1()\n"
         "   FLOW   (  2) = F1()\n"
         "process4\nprocess7\n",
         "E1()\nF1()\nE1()/TF1()\nF1()/TF1()\n", 0},
        // The forward pass comes before the backward pass: GE (cause effort 1,
        // effect flow 1) gives the flow before the resistor is used backward.
        {"ForwardBeforeBackward", "SE1    1\nRE1    1\nGY1    1     1\n",
         " *** SOLUTIONS OF VARIABLES ***\n"
         "   EFFORT (  1) = E1()\n"
         "   FLOW   (  1) = E1()/GY1()\n"
         "process4\nprocess7\n",
         "E1()\nE1()/GY1()\n", 0},
        // Every variable given by the BOND phase: variable 1 is taken, the loop ends.
        {"AllGivenByBondPhase", "SE1    1\nSF1    1\n",
         " *** SOLUTIONS OF VARIABLES ***\n"
         "   EFFORT (  1) = E1()\n"
         "   FLOW   (  1) = F1()\n"
         "process4\nprocess7\n",
         "E1()\nF1()\n", 0},
        // A junction with a single bond: its open variable is the empty sum.
        {"SingleBondJunction", "SE1    1\nZJ     1\n",
         " *** SOLUTIONS OF VARIABLES ***\n"
         "   EFFORT (  1) = E1()\n"
         "   FLOW   (  1) = (0.0)\n"
         "process4\nprocess7\n",
         "E1()\n(0.0)\n", 1 - 1},
        {"NoBonds", "",
         " *** BOND GRAPH MODEL ERROR ***\n"
         " *** UNSOLVED VARIABLES EXIST ***\n"
         " *** DECOMPOSITION IS NECESSARY ***\n",
         "", 1},
        // Effort 1 is known, nothing reaches bond 2.
        {"Unreachable", "SE1    1\nRE1    2\n",
         " *** BOND GRAPH MODEL ERROR ***\n"
         " *** UNSOLVED VARIABLES EXIST ***\n"
         " *** DECOMPOSITION IS NECESSARY ***\n",
         "E1()\n", 1},
        // A closed loop of relations with no way in, after what was reachable.
        {"ClosedLoopAfterPropagation", "SE1    1\nRE1    1\nTF1    2     3\nTF2    3     2\n",
         " *** BOND GRAPH MODEL ERROR ***\n"
         " *** UNSOLVED VARIABLES EXIST ***\n"
         " *** DECOMPOSITION IS NECESSARY ***\n",
         "E1()\nR1(1,E1())\n", 1},
    };
}

class SolverFixtures : public ::testing::TestWithParam<SolverCase> {};

TEST_P(SolverFixtures, PrintsSolutionsAndFillsScratch) {
    const SolverCase& c = GetParam();
    RunResult r = run_model("BOND SYMBOL\r\n" + c.bond_lines + "/\n");
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(solver_output(r.out), c.printed);
    EXPECT_EQ(r.file("SCRATCH"), crlf(c.scratch));
    EXPECT_EQ(r.has("VRK_ERROR"), c.status == 0);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, SolverFixtures, ::testing::ValuesIn(solver_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// A plain transcription of the propagation scan, run on the tables that the
// BOND phase leaves: the indexed solver must append and print the same.

struct Tables {
    int nbond = 0, nrel = 0, njun = 0;
    std::vector<int> ia, iad, is, id, jnb;
    std::vector<std::string> rel, num, store;
    std::vector<std::vector<int>> ivn, isg;
};

Tables capture() {
    using namespace cvork2;
    Tables t;
    t.nbond = NBOND;
    t.nrel = NREL;
    t.njun = NJUN;
    t.ia = IA;
    t.iad = IAD;
    t.is = IS;
    t.id = ID;
    t.jnb = JNB;
    t.rel = REL;
    t.num = NUM;
    t.ivn = IVN;
    t.isg = ISG;
    for (int n = 1; n <= NSCR; ++n) t.store.push_back(expression(n));
    return t;
}

// Returns what the phase prints; t.store receives the appended lines.
std::string scan_solve(Tables& t, bool& unsolved) {
    std::string printed;
    const int V = 2 * t.nbond;
    std::vector<int> ia(t.ia), ib(V + 1, 0), iad(t.iad);
    ia.resize(V + 1);
    iad.resize(V + 1);
    auto append = [&](const std::string& s) {
        t.store.push_back(s);
        return static_cast<int>(t.store.size());
    };
    auto all = [&] {
        for (int v = 1; v <= V; ++v)
            if (!ia[v]) return false;
        return true;
    };
    unsolved = false;
    for (;;) {
        int v = 0;
        for (int k = 1; k <= V; ++k)
            if (ia[k] == 1 && ib[k] == 0) {
                v = k;
                break;
            }
        if (v == 0) {
            unsolved = true;
            return printed;
        }
        const std::string e = t.store[iad[v] - 1];
        for (int r = 1; r <= t.nrel; ++r) {
            if (t.is[r] != v || ia[t.id[r]]) continue;
            const std::string& k = t.rel[r];
            const std::string n = t.num[r].substr(0, t.num[r].find(' '));
            std::string s;
            if (k == "EQ") { iad[t.id[r]] = iad[v]; ia[t.id[r]] = 1; continue; }
            if (k == "RE") s = "R" + n + "(0," + e + ")";
            if (k == "TE") s = e + "/TF" + n + "()";
            if (k == "TF") s = "TF" + n + "()*" + e;
            if (k == "GE") s = e + "/GY" + n + "()";
            if (k == "GF") s = "GY" + n + "()*" + e;
            iad[t.id[r]] = append(s);
            ia[t.id[r]] = 1;
        }
        for (int r = 1; r <= t.nrel; ++r) {
            if (t.id[r] != v || ia[t.is[r]]) continue;
            const std::string& k = t.rel[r];
            const std::string n = t.num[r].substr(0, t.num[r].find(' '));
            std::string s;
            if (k == "EQ") { iad[t.is[r]] = iad[v]; ia[t.is[r]] = 1; continue; }
            if (k == "RE") s = "R" + n + "(1," + e + ")";
            if (k == "TE") s = "TF" + n + "()*" + e;
            if (k == "TF") s = e + "/TF" + n + "()";
            if (k == "GE") { s = "GY" + n + "()*" + e; printed += s + "\n"; }
            if (k == "GF") s = e + "/GY" + n + "()";
            iad[t.is[r]] = append(s);
            ia[t.is[r]] = 1;
        }
        ib[v] = 1;
        if (all()) break;
        for (int j = 1; j <= t.njun; ++j) {
            int open = 0, u = 0;
            for (int i = 1; i <= t.jnb[j]; ++i)
                if (!ia[t.ivn[j][i]]) { ++open; u = i; }
            if (open != 1) continue;
            std::string s = "(";
            for (int i = 1; i <= t.jnb[j]; ++i) {
                if (i == u) continue;
                const std::string& x = t.store[iad[t.ivn[j][i]] - 1];
                if (t.isg[j][i] == t.isg[j][u]) s += "-" + x;
                else s += (s == "(" ? "" : "+") + x;
            }
            if (t.jnb[j] == 1) s += "0.0";
            s += ")";
            iad[t.ivn[j][u]] = append(s);
            ia[t.ivn[j][u]] = 1;
        }
        if (all()) break;
    }
    printed += " *** SOLUTIONS OF VARIABLES ***\n";
    for (int v = 1; v <= V; ++v) {
        char head[40];
        std::snprintf(head, sizeof head, v % 2 ? "   EFFORT (%3d) = " : "   FLOW   (%3d) = ", (v + 1) / 2);
        printed += head + t.store[iad[v] - 1] + "\n";
    }
    return printed;
}

// A random bond section: sources, storage, resistors, transformers, gyrators
// and junctions of two to five bonds with random signs, over few bonds so
// that relations and junctions meet.
std::string random_bond_section(std::mt19937& rng) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int bonds = pick(2, 12);
    const int lines = pick(2, 16);
    int numbers[9] = {0};
    std::string out;
    auto field = [&](const std::string& text, bool last) {
        std::string f = text;
        if (!last) f += std::string(6 - f.size(), ' ');
        return f;
    };
    for (int l = 0; l < lines; ++l) {
        int kind = pick(0, 9);
        static const char* codes[] = {"SE", "SF", "RE", "CI", "II", "TF", "GY", "ZJ", "OJ", "ZJ"};
        std::string code = codes[kind];
        std::string line = code;
        if (kind <= 6) {
            std::string n = std::to_string(++numbers[kind]);
            line += n + std::string(5 - n.size(), ' ');
        } else {
            line += "     ";
        }
        int fields = kind <= 4 ? 1 : kind <= 6 ? 2 : pick(2, 5);
        for (int i = 0; i < fields; ++i) {
            std::string b = std::to_string(pick(1, bonds));
            if (kind >= 7 && pick(0, 2) == 0) b = "-" + b;
            line += field(b, i == fields - 1);
        }
        out += line + "\n";
    }
    return out;
}

TEST(Solver, SameResultAsAPlainScanOnRandomModels) {
    std::mt19937 rng(20261210);
    int solved = 0;
    for (int round = 0; round < 250; ++round) {
        const std::string section = random_bond_section(rng);
        RunResult bond_only = run_model("BOND\r\n" + section + "/\n");
        ASSERT_EQ(bond_only.status, 0) << section << bond_only.out;
        Tables t = capture();
        bool unsolved = false;
        std::string printed = scan_solve(t, unsolved);
        std::string scratch;
        for (const std::string& s : t.store) scratch += s + "\r\n";

        RunResult r = run_model("BOND SYMBOL\r\n" + section + "/\n");
        ASSERT_EQ(r.status, unsolved ? 1 : 0) << section;
        EXPECT_EQ(r.file("SCRATCH"), scratch) << section;
        if (unsolved) {
            EXPECT_EQ(solver_output(r.out),
                      printed + " *** BOND GRAPH MODEL ERROR ***\n *** UNSOLVED VARIABLES EXIST ***\n"
                      " *** DECOMPOSITION IS NECESSARY ***\n")
                << section;
        } else {
            ++solved;
            EXPECT_EQ(solver_output(r.out), printed + "process4\nprocess7\n") << section;
        }
    }
    EXPECT_GT(solved, 25);  // the generator must reach solvable models too
}

}  // namespace
