// The shared state of the compiler: tables, counters, the model file in
// memory, the work files, the expression store and the error exit.
#include "model.h"

#include <algorithm>
#include <cstdarg>
#include <filesystem>
#include <ostream>
#include <strings.h>
#include <unordered_map>

#include "text.h"

namespace cvork2 {

// ------------------------------------------------------------------ globals

std::string NAFILE, DYCP, MODEL_PATH;
std::vector<std::string> NID, BNAME;
std::vector<std::vector<std::string>> NCNAME;
int NCOMP[9];
std::vector<int> IA, IB, IAD, IS, ID;
std::vector<std::string> REL, NUM;
std::vector<int> JNB;
std::vector<std::vector<int>> IVN, ISG;
std::vector<std::string> NIN;
std::vector<int> NIG[2];
std::vector<int> IDE, IDF;
int NBOND, NREL, NJUN, NLINE, MAXCOMP, NSTATE, NINTEG, NDUMMY, NSCR;
std::string EX0;
int NOUT, NPRM, NRNM;
std::vector<std::string> PRMNUM, RNMNAM;
bool PRMNUM_MADE;
size_t STORE_BYTE_LIMIT = 0;

OutFile FSYSVAR, FPROTO1, FPROTO2, FPAR, FSCRATCH;

namespace {
std::ostream* console = nullptr;
bool lost_file_reported = false;  // a FILE NOT WRITTEN message was printed this run

std::string model;       // translated text of temp.VRK
size_t model_pos = 0;    // read cursor of FMODEL

std::vector<std::string> store;  // the expression store, line n at n - 1
size_t store_bytes = 0;

std::unordered_map<int, int> bond_by_value;               // decimal value -> bond
std::unordered_map<std::string, int> component_by_name[9];  // 4 chars -> number

std::vector<void (*)()>& reset_hooks() {
    static std::vector<void (*)()> hooks;
    return hooks;
}

std::string vformat(const char* fmt, va_list args) {
    char small[512];
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(small, sizeof small, fmt, copy);
    va_end(copy);
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < sizeof small) return std::string(small, static_cast<size_t>(n));
    std::string out(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(&out[0], out.size(), fmt, args);
    out.resize(static_cast<size_t>(n));
    return out;
}
}  // namespace

ResetHook::ResetHook(void (*function)()) { reset_hooks().push_back(function); }

// --------------------------------------------------------------- console

void set_console(std::ostream* out) { console = out; }

void say(std::string_view text) {
    if (console) console->write(text.data(), static_cast<std::streamsize>(text.size()));
}

void sayf(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string s = vformat(fmt, args);
    va_end(args);
    say(s);
}

std::string format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string s = vformat(fmt, args);
    va_end(args);
    return s;
}

// ------------------------------------------------------------ error exit

void fail() { throw CompileExit{1}; }

void fail(std::string_view text) {
    say(text);
    fail();
}

namespace {
// The message of a file that could not be written: once per run, for the
// first such file.
void report_not_written(const std::string& name) {
    if (!lost_file_reported) say(" *** FILE NOT WRITTEN: " + name + " ***\n");
    lost_file_reported = true;
}
}  // namespace

void fail_not_written(const std::string& name) {
    report_not_written(name);
    fail();
}

void fail_too_many(const char* what, int limit) {
    sayf(" INPUT LINE NO.%4d\n", NLINE);
    sayf("*** INPUT DATA ERROR: TOO MANY %s (AT MOST %d) ***\n", what, limit);
    fail();
}

// ------------------------------------------------------------ model file

namespace {
bool read_whole_file(const std::string& path, std::string& out) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::string data;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    if (!ok) return false;
    // Text mode: a CR directly before an LF is dropped; nothing else changes.
    out.clear();
    out.reserve(data.size());
    for (size_t i = 0; i < data.size(); ++i) {
        if (data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n') continue;
        out.push_back(data[i]);
    }
    return true;
}
}  // namespace

bool load_model_file(const std::string& name) {
    model.clear();
    model_pos = 0;
    // An entry of the exact name is the model file, readable or not; only
    // without one does the first case-insensitive match in byte order stand in.
    std::error_code ec;
    std::string path = name;
    if (!std::filesystem::exists(std::filesystem::symlink_status(name, ec))) {
        std::vector<std::string> matches;
        for (std::filesystem::directory_iterator it(".", ec), end; !ec && it != end; it.increment(ec)) {
            std::string entry = it->path().filename().string();
            if (strcasecmp(entry.c_str(), name.c_str()) == 0) matches.push_back(entry);
        }
        if (matches.empty()) return false;
        path = *std::min_element(matches.begin(), matches.end());
    }
    if (!read_whole_file(path, model)) return false;
    MODEL_PATH = path;
    return true;
}

void rewind_model_file() { model_pos = 0; }

bool model_at_end() { return model_pos >= model.size(); }

std::string read_model_line() {
    if (model_at_end()) fail(" *** INPUT DATA ERROR: UNEXPECTED END OF FILE ***\n");
    size_t lf = model.find('\n', model_pos);
    std::string line;
    if (lf == std::string::npos) {
        line = model.substr(model_pos);
        model_pos = model.size();
    } else {
        line = model.substr(model_pos, lf - model_pos);
        model_pos = lf + 1;
    }
    return line;
}

std::string line_as_read(const std::string& line) {
    bool had_lf = !(model_at_end() && !model.empty() && model.back() != '\n');
    return had_lf ? line + "\n" : line;
}

const std::string& model_text() { return model; }

std::vector<std::string> model_lines() {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < model.size()) {
        size_t lf = model.find('\n', pos);
        if (lf == std::string::npos) {
            lines.push_back(model.substr(pos));
            break;
        }
        lines.push_back(model.substr(pos, lf - pos));
        pos = lf + 1;
    }
    return lines;
}

// ------------------------------------------------------------ work files

bool OutFile::open(const std::string& name) {
    close();
    name_ = name;
    file_ = std::fopen(name.c_str(), "wb");
    if (file_) std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
    return file_ != nullptr;
}

void OutFile::check() {
    if (file_ && std::ferror(file_)) fail_not_written(name_);
}

void OutFile::put(std::string_view text) {
    if (!file_) return;
    size_t start = 0;
    while (start < text.size()) {
        size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos) {
            std::fwrite(text.data() + start, 1, text.size() - start, file_);
            break;
        }
        std::fwrite(text.data() + start, 1, lf - start, file_);
        std::fwrite("\r\n", 1, 2, file_);
        start = lf + 1;
    }
    check();
}

void OutFile::raw(std::string_view bytes) {
    if (!file_) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file_);
    check();
}

void OutFile::line(std::string_view text) {
    put(text);
    put("\n");
}

void OutFile::printf(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string s = vformat(fmt, args);
    va_end(args);
    put(s);
}

bool OutFile::flush() { return !file_ || (std::fflush(file_) == 0 && !std::ferror(file_)); }

bool OutFile::close() {
    if (!file_) return true;
    const bool written = !std::ferror(file_);
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return written && closed;
}

std::array<OutFile*, 5> work_files() { return {&FSYSVAR, &FPROTO1, &FPAR, &FPROTO2, &FSCRATCH}; }

OutFile* unit_file(int unit) {
    if (unit == 10) return &FPROTO1;
    if (unit == 15) return &FPAR;
    return nullptr;
}

bool flush_all_outputs() {
    bool written = true;
    for (OutFile* f : work_files()) {
        if (f->flush()) continue;
        written = false;
        report_not_written(f->name());
    }
    if (console) console->flush();
    return written;
}

void close_all_files() {
    for (OutFile* f : work_files()) f->close();
}

// ------------------------------------------------------- expression store

int append_expression(const std::string& text, int count) {
    store.push_back(text);
    store_bytes += text.size() + 1;
    ++NSCR;
    FSCRATCH.line(text);
    if (STORE_BYTE_LIMIT != 0 && store_bytes > STORE_BYTE_LIMIT) fail();
    return count + 1;
}

bool has_expression(int n) { return n >= 1 && static_cast<size_t>(n) <= store.size(); }

void read_expression(int n) {
    if (has_expression(n)) EX0 = store[static_cast<size_t>(n) - 1];
    else EX0.clear();
}

const std::string& expression(int n) { return store.at(static_cast<size_t>(n) - 1); }

// -------------------------------------------------------------- lookups

int add_integral_variable(const std::string& name, int integrand, int second) {
    if (NINTEG >= MAX_INTEGRAL_VARIABLES) fail_too_many("INTEGRAL VARIABLES", MAX_INTEGRAL_VARIABLES);
    ++NINTEG;
    grow(NIN, NINTEG, std::string("     "));
    grow(NIG[0], NINTEG);
    grow(NIG[1], NINTEG);
    NIN[NINTEG] = name;
    NIG[0][NINTEG] = integrand;
    NIG[1][NINTEG] = second;
    return NINTEG;
}

int find_bond(std::string_view name) {
    auto it = bond_by_value.find(decimal_value(name));
    return it == bond_by_value.end() ? 0 : it->second;
}

int add_bond(std::string_view name) {
    ++NBOND;
    grow(BNAME, NBOND, std::string("       "));
    BNAME[NBOND] = std::string(name);
    bond_by_value.emplace(decimal_value(name), NBOND);
    return NBOND;
}

int add_component_name(int kind, std::string_view name) {
    std::string key(name.substr(0, 4));
    auto& index = component_by_name[kind];
    auto it = index.find(key);
    if (it != index.end()) return -it->second;
    int n = ++NCOMP[kind];
    index.emplace(key, n);
    if (NCNAME.size() < 9) NCNAME.resize(9);
    grow(NCNAME[kind], n, std::string(8, ' '));
    NCNAME[kind][n] = key + "    ";
    return n;
}

int find_component(int kind, std::string_view name8) {
    // A registered name is its 4 characters and 4 blanks (NCNAME); each is
    // registered once per kind, so the index gives the one match there is.
    if (kind < 0 || kind > 8 || name8.size() != 8 || name8.substr(4) != "    ") return 0;
    const auto& index = component_by_name[kind];
    auto it = index.find(std::string(name8.substr(0, 4)));
    return it == index.end() ? 0 : it->second;
}

// ---------------------------------------------------------------- reset

void reset_compiler_state() {
    close_all_files();
    lost_file_reported = false;
    NAFILE.clear();
    DYCP.clear();
    MODEL_PATH.clear();
    NID.clear();
    BNAME.clear();
    NCNAME.assign(9, {});
    std::fill(std::begin(NCOMP), std::end(NCOMP), 0);
    for (auto* t : {&IA, &IB, &IAD, &IS, &ID, &JNB, &IDE, &IDF, &NIG[0], &NIG[1]}) t->clear();
    REL.clear();
    NUM.clear();
    IVN.clear();
    ISG.clear();
    NIN.clear();
    NBOND = NREL = NJUN = NLINE = MAXCOMP = NSTATE = NINTEG = NDUMMY = NSCR = 0;
    EX0.clear();
    NOUT = NPRM = NRNM = 0;
    PRMNUM.clear();
    RNMNAM.clear();
    PRMNUM_MADE = false;
    model.clear();
    model_pos = 0;
    store.clear();
    store_bytes = 0;
    bond_by_value.clear();
    for (auto& m : component_by_name) m.clear();
    for (auto hook : reset_hooks()) hook();
}

// Used by the first pass to forget its bond and name registrations before the
// second pass registers them again.
void clear_lookup_indexes() {
    bond_by_value.clear();
    for (auto& m : component_by_name) m.clear();
}

}  // namespace cvork2
