// The SYMBOL phase: every effort and flow gets an expression by propagation
// through the one-to-one relations and the junction equations.
//
// The order of the work is that of a plain scan: each cycle takes the lowest
// determined, unpropagated variable; runs its relations forward (as cause),
// then backward (as effect), each in relation order; then, unless everything
// is determined, visits the junctions in order and solves every junction with
// exactly one open variable, later junctions seeing what earlier ones of the
// same pass determined. Indexes (relations by cause and by effect, junctions
// by variable, open counts, ordered sets) replace the scans without changing
// the order of any append or print.
#include <set>
#include <string>
#include <vector>

#include "model.h"
#include "text.h"

namespace cvork2 {

namespace {

struct Solver {
    int V = 0;
    int determined = 0;
    std::vector<std::vector<int>> by_cause, by_effect;  // relations, in relation order
    std::vector<std::vector<int>> junctions_of;         // junction per occurrence of a variable
    std::vector<int> open_count;                        // per junction
    std::set<int> ready;     // determined, not yet propagated
    std::set<int> one_open;  // junctions with exactly one open variable

    void determine(int u, int line) {
        IA[u] = 1;
        IAD[u] = line;
        ++determined;
        ready.insert(u);
        for (int j : junctions_of[u]) {
            int c = --open_count[j];
            if (c == 1) one_open.insert(j);
            else one_open.erase(j);
        }
    }

    static std::string forward_text(const std::string& kind, const std::string& n, const std::string& e) {
        if (kind == "RE") return "R" + n + "(0," + e + ")";
        if (kind == "TE") return e + "/TF" + n + "()";
        if (kind == "TF") return "TF" + n + "()*" + e;
        if (kind == "GE") return e + "/GY" + n + "()";
        return "GY" + n + "()*" + e;  // GF
    }
    static std::string backward_text(const std::string& kind, const std::string& n, const std::string& e) {
        if (kind == "RE") return "R" + n + "(1," + e + ")";
        if (kind == "TE") return "TF" + n + "()*" + e;
        if (kind == "TF") return e + "/TF" + n + "()";
        if (kind == "GE") return "GY" + n + "()*" + e;
        return e + "/GY" + n + "()";  // GF
    }

    void setup() {
        V = 2 * NBOND;
        grow(IA, V);
        grow(IB, V);
        grow(IAD, V);
        by_cause.assign(static_cast<size_t>(V) + 1, {});
        by_effect.assign(static_cast<size_t>(V) + 1, {});
        junctions_of.assign(static_cast<size_t>(V) + 1, {});
        for (int r = 1; r <= NREL; ++r) {
            by_cause[IS[r]].push_back(r);
            by_effect[ID[r]].push_back(r);
        }
        open_count.assign(static_cast<size_t>(NJUN) + 1, 0);
        for (int j = 1; j <= NJUN; ++j) {
            for (int i = 1; i <= JNB[j]; ++i) {
                int w = IVN[j][i];
                junctions_of[w].push_back(j);
                if (IA[w] == 0) ++open_count[j];
            }
            if (open_count[j] == 1) one_open.insert(j);
        }
        for (int v = 1; v <= V; ++v) {
            if (IA[v] == 1) {
                ++determined;
                if (IB[v] == 0) ready.insert(v);
            }
        }
    }

    // The open variable of junction j gets the negated sum of the others.
    void solve_junction(int j) {
        int open_at = 0;
        for (int i = 1; i <= JNB[j]; ++i)
            if (IA[IVN[j][i]] == 0) open_at = i;
        const int s = ISG[j][open_at];
        std::string sum = "(";
        bool first = true;
        for (int i = 1; i <= JNB[j]; ++i) {
            if (i == open_at) continue;
            read_expression(IAD[IVN[j][i]]);
            if (ISG[j][i] == s) sum += "-";
            else if (!(sum.size() == 1)) sum += "+";
            sum += EX0;
            first = false;
        }
        // A junction with a single bond: its variable is the empty sum.
        if (first) sum += "0.0";
        sum += ")";
        determine(IVN[j][open_at], append_expression(sum, NSCR));
    }

    void run() {
        setup();
        for (;;) {
            if (ready.empty()) {
                say(" *** BOND GRAPH MODEL ERROR ***\n");
                say(" *** UNSOLVED VARIABLES EXIST ***\n");
                say(" *** DECOMPOSITION IS NECESSARY ***\n");
                fail();
            }
            const int v = *ready.begin();
            read_expression(IAD[v]);
            const std::string e = EX0;
            for (int r : by_cause[v]) {
                const int target = ID[r];
                if (IA[target] != 0) continue;
                if (REL[r] == "EQ") determine(target, IAD[v]);
                else determine(target, append_expression(forward_text(REL[r], std::string(leading_word(NUM[r])), e), NSCR));
            }
            for (int r : by_effect[v]) {
                const int target = IS[r];
                if (IA[target] != 0) continue;
                if (REL[r] == "EQ") {
                    determine(target, IAD[v]);
                    continue;
                }
                std::string text = backward_text(REL[r], std::string(leading_word(NUM[r])), e);
                if (REL[r] == "GE") say(text + "\n");
                determine(target, append_expression(text, NSCR));
            }
            IB[v] = 1;
            ready.erase(v);
            if (determined == V) break;
            for (int next = 1;;) {
                auto it = one_open.lower_bound(next);
                if (it == one_open.end()) break;
                const int j = *it;
                next = j + 1;
                solve_junction(j);
            }
            if (determined == V) break;
        }
    }
};

}  // namespace

void solve_variables() {
    EX0.clear();
    Solver solver;
    solver.run();
    say(" *** SOLUTIONS OF VARIABLES ***\n");
    for (int v = 1; v <= solver.V; ++v) {
        const std::string& x = expression(IAD[v]);
        if (v % 2 == 1) sayf("   EFFORT (%3d) = %s\n", (v + 1) / 2, x.c_str());
        else sayf("   FLOW   (%3d) = %s\n", (v + 1) / 2, x.c_str());
    }
}

}  // namespace cvork2
