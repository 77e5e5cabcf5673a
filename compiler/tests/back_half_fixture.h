// Test fixture for the phases after the solver: a scratch working directory,
// the model tables set up by hand, the work files opened as the driver opens
// them, and the phase run in-process with its status and console captured.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "harness.h"
#include "model.h"
#include "phases.h"
#include "text.h"

namespace cvork2_test {

inline std::string pad(std::string text, size_t width) {
    if (text.size() < width) text.resize(width, ' ');
    return text;
}

// A parameter line as the editor writes it (at least 62 columns).
inline std::string pa_line(const std::string& name, const std::string& value, const std::string& unit = "",
                           const std::string& comment = "") {
    return "PA: " + pad(name, 7) + pad(value, 16) + pad(unit, 15) + pad(comment, 20) + "\n";
}

// A feedback line as the editor writes it.
inline std::string fb_line(const std::string& name, const std::string& kind, const std::string& bond) {
    return "FB: " + pad(name, 6) + " " + kind + bond + "\n";
}

class BackHalfTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::make_unique<ScratchDir>("cvork2-phase");
        cvork2::reset_compiler_state();
        cvork2::set_console(&console_);
        cvork2::NID = {"  ", "SE", "SF", "RE", "CI", "II", "TF", "GY", "D*"};
        cvork2::NCNAME.assign(9, std::vector<std::string>(1, std::string(8, ' ')));
    }

    void TearDown() override {
        cvork2::reset_compiler_state();
        cvork2::set_console(nullptr);
        dir_.reset();
    }

    // The section text the phase reads, as temp.VRK with the cursor at its start.
    void model(const std::string& text) {
        write_file("temp.VRK", text);
        ASSERT_TRUE(cvork2::load_model_file("temp.VRK"));
    }

    void open_work_files() {
        cvork2::DYCP = "temp";
        ASSERT_TRUE(cvork2::FPROTO1.open("proto1"));
        ASSERT_TRUE(cvork2::FPROTO2.open("proto2"));
        ASSERT_TRUE(cvork2::FPAR.open("temp.PAR"));
    }

    // Bonds named "1".."n" (or the given names), with room for every variable.
    void bonds(int n) {
        for (int b = 1; b <= n; ++b) cvork2::add_bond(std::to_string(b));
        size_t vars = static_cast<size_t>(2 * n + 3);
        cvork2::IA.assign(vars, 1);
        cvork2::IAD.assign(vars, 0);
        cvork2::IDE.assign(vars, 0);
        cvork2::IDF.assign(vars, 0);
    }

    void expression(int variable, const std::string& text) {
        cvork2::IAD[variable] = cvork2::append_expression(text, cvork2::NSCR);
    }

    // A state of a C (kind 'C', displacement DP<b>) or an I (momentum MN<b>).
    void state(char kind, int bond) {
        ++cvork2::NSTATE;
        if (kind == 'C')
            cvork2::add_integral_variable("DP" + std::to_string(bond), 2 * bond, 0);
        else
            cvork2::add_integral_variable("MN" + std::to_string(bond), 2 * bond - 1, 0);
    }

    // Runs a phase; returns its exit status (0 when it returned normally).
    int run(const std::function<void()>& phase) {
        int status = 0;
        try {
            phase();
        } catch (const cvork2::CompileExit& e) {
            status = e.status;
        }
        cvork2::flush_all_outputs();
        return status;
    }

    // The bytes of a work file after closing every work file.
    std::string file(const std::string& name) {
        cvork2::close_all_files();
        return read_file(name);
    }

    std::string console() const { return console_.str(); }

    std::ostringstream console_;
    std::unique_ptr<ScratchDir> dir_;
};

}  // namespace cvork2_test
