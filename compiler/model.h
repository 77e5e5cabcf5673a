// The model compiler's shared state: the model tables, the counters, the model
// file held in memory, the work files, the expression store and the one error
// exit. Every phase includes this header; all of it lives in namespace cvork2.
//
// Tables are 1-based as the compiler numbers bonds, variables, relations,
// junctions, components and integral variables: entry 0 exists and is unused.
// They are std::vectors sized by allocate_model_arrays() from the first pass's
// counts; a phase that adds entries (integral variables) may grow them with
// grow() below. reset_compiler_state() empties everything between in-process
// runs.
#pragma once

#include <array>
#include <cstdio>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace cvork2 {

// ---------------------------------------------------------------- error exit

// Thrown by fail(); run_compiler() catches it, flushes stdout and every open
// work file, closes them and returns `status`. Never catch it in a phase.
struct CompileExit {
    int status;
};

// Ends the run with status 1. Print the messages first with say()/sayf().
[[noreturn]] void fail();
// say(text) then fail().
[[noreturn]] void fail(std::string_view text);
// " *** FILE NOT WRITTEN: <name> ***\n", then fail(): an output file could not
// be written or closed (a full disk, a file system error).
[[noreturn]] void fail_not_written(const std::string& name);
// " INPUT LINE NO.%4d\n" (NLINE) and
// "*** INPUT DATA ERROR: TOO MANY <what> (AT MOST <limit>) ***\n", then fail().
// `what` is e.g. "INTEGRAL VARIABLES", "OUTPUT VARIABLES", "PARAMETERS".
[[noreturn]] void fail_too_many(const char* what, int limit);

// --------------------------------------------------------- standard output

// Text for the console (LF line ends, no translation). In-process this goes
// to the stream given to run_compiler(); the binary passes std::cout.
void say(std::string_view text);
// printf-style say(); "%s" arguments need .c_str().
void sayf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// printf-style formatting into a std::string (C locale, as the C library does).
std::string format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// --------------------------------------------------------------- model file

// temp.VRK, read once at open_work_files() with every CR that stands directly
// before an LF dropped (as a Windows text-mode read); all three opens of the
// file are served from this text. The read cursor belongs to the open that
// the driver uses for the phases (FMODEL).
//
// read_model_line(): the next whole line without its LF, the cursor moves past
// the LF. A last line without LF is still a line. At the end of the file it
// prints " *** INPUT DATA ERROR: UNEXPECTED END OF FILE ***" and fails, so a
// reader loop always ends. Every section reader takes whole lines with it and
// then applies its column rules to the line (columns past the end read as
// whatever the reader decides: usually blanks).
std::string read_model_line();
// True when the cursor is at the end of the model text (no further line).
bool model_at_end();
// `line`, the one read_model_line() returned last, with the LF that ended it
// in the file (none for a last line without one).
std::string line_as_read(const std::string& line);
// The whole translated model text (for the final scan of the C-file writer,
// which reads the file a third time independently of the cursor).
const std::string& model_text();
// Splits model_text() into its lines (LF removed; a last line without LF
// counts). Convenience for the final "FB" scan.
std::vector<std::string> model_lines();

// ---------------------------------------------------------------- work files

// An output file written as a Windows text-mode file: every LF becomes CR LF
// on disk, any other byte (a CR included) is written unchanged. Buffered; the
// work files are closed by the driver at a normal end (a failed close ends the
// run) and flushed at a status-1 end. A write that fails ends the run with
// fail_not_written(name).
class OutFile {
public:
    bool open(const std::string& name);  // create or truncate; false on failure
    bool is_open() const { return file_ != nullptr; }
    const std::string& name() const { return name_; }
    void put(std::string_view text);  // LF -> CR LF
    void raw(std::string_view bytes); // unchanged
    void line(std::string_view text); // put(text) then put("\n")
    void printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
    bool flush();  // false when the buffered bytes cannot be written
    bool close();  // flush and close; false when that fails (true when not open)
    ~OutFile() { close(); }
private:
    void check();  // ends the run when a write has failed
    std::FILE* file_ = nullptr;
    std::string name_;
};

extern OutFile FSYSVAR;   // sysvar.txt
extern OutFile FPROTO1;   // proto1: function bodies (statement unit 10)
extern OutFile FPROTO2;   // proto2: prototypes
extern OutFile FPAR;      // temp.PAR: the parameter file (statement unit 15)
extern OutFile FSCRATCH;  // SCRATCH: the expression store on disk

// The five work files above, in the order they are flushed and closed.
std::array<OutFile*, 5> work_files();

// The file of a statement unit: 10 -> FPROTO1, 15 -> FPAR, anything else ->
// nullptr (the writer then writes nothing).
OutFile* unit_file(int unit);

// --------------------------------------------------------- expression store

// Appends `text` as the next line of SCRATCH (written at once) and keeps it in
// memory; NSCR += 1. Returns count + 1 (callers pass NSCR and keep the result
// as the new line's number).
int append_expression(const std::string& text, int count);
// EX0 := line n (1-based) of the store, served from memory. Outside 1..NSCR
// EX0 becomes empty; check has_expression() first where that can happen.
void read_expression(int n);
bool has_expression(int n);
// The text of line n without copying into EX0 (n must be in 1..NSCR).
const std::string& expression(int n);

// ------------------------------------------------------------- model tables

// Kind numbers of the element lines.
enum Kind { K_SE = 1, K_SF = 2, K_RE = 3, K_CI = 4, K_II = 5, K_TF = 6, K_GY = 7, K_DUMMY = 8 };

extern std::string NAFILE;   // "temp.VRK"
extern std::string DYCP;     // "temp": base name of temp.PAR and temp.c
extern std::string MODEL_PATH;  // the file actually opened (temp.VRK or its case-insensitive match)

extern std::vector<std::string> NID;     // kind 0..8: "  ","SE","SF","RE","CI","II","TF","GY","D*"
extern std::vector<std::string> BNAME;   // bond 1..NBOND: the name as first read
extern std::vector<std::vector<std::string>> NCNAME;  // [kind 0..8][n 1..]: 4 name chars + 4 blanks
extern int NCOMP[9];                     // [kind 1..8]: number of components (8: dummy names)
extern std::vector<int> IA;              // variable 1..2*NBOND(+2): 1 = has an expression
extern std::vector<int> IB;              // variable: 1 = propagated by the solver
extern std::vector<int> IAD;             // variable: SCRATCH line of its expression, 0 = none
extern std::vector<int> IS;              // relation 1..NREL: cause variable
extern std::vector<int> ID;              // relation: effect variable
extern std::vector<std::string> REL;     // relation: "RE","TE","TF","GE","GF","EQ"
extern std::vector<std::string> NUM;     // relation: component number as bare decimal text; "   " for EQ
extern std::vector<int> JNB;             // junction 1..NJUN: number of bonds
extern std::vector<std::vector<int>> IVN;  // [junction][1..JNB]: its variables in field order
extern std::vector<std::vector<int>> ISG;  // [junction][1..JNB]: +1 or -1
extern std::vector<std::string> NIN;     // integral variable 1..NINTEG: "DP3", "MN12", "EN4"
extern std::vector<int> NIG[2];          // [0][k]: integrand variable; [1][k]: second factor or 0
extern std::vector<int> IDE;             // dummy n: effort variable of its DF line's bond
extern std::vector<int> IDF;             // dummy n: flow variable of its DE line's bond

extern int NBOND, NREL, NJUN;  // counts (first pass: sizes; second pass: counted again)
extern int NLINE;              // line counter of the " INPUT LINE NO." messages
extern int MAXCOMP;            // 1 + largest component count of one kind
extern int NSTATE;             // states (CI and II lines)
extern int NINTEG;             // integral variables (states first)
extern int NDUMMY;             // DE and DF lines
extern int NSCR;               // lines in SCRATCH
extern std::string EX0;        // the expression last read by read_expression()

// State shared by the later phases (reset with everything else).
extern int NOUT;                       // outputs read by the OUT phase
extern int NPRM;                       // parameters in PRMNUM
extern std::vector<std::string> PRMNUM;  // parameter 1..NPRM: 6-character names
extern bool PRMNUM_MADE;               // the parameter table exists
extern int NRNM;                       // retained variables in RNMNAM
extern std::vector<std::string> RNMNAM;  // retained variable 1..NRNM: 6-character names

// Resizes a 1-based table so that index `last` is valid (never shrinks).
template <class T>
void grow(std::vector<T>& table, int last, const T& fill = T()) {
    if (last >= 0 && static_cast<size_t>(last) >= table.size()) table.resize(static_cast<size_t>(last) + 1, fill);
}

// Adds integral variable NINTEG + 1 (name, integrand, second factor), growing
// NIN and NIG; fails with TOO MANY INTEGRAL VARIABLES (AT MOST 130) when it
// would be the 131st. Returns the new NINTEG.
int add_integral_variable(const std::string& name, int integrand, int second);
constexpr int MAX_INTEGRAL_VARIABLES = 130;

// Bond by decimal value of the name (see text.h decimal_value): 1..NBOND, or 0.
int find_bond(std::string_view name);
// Registers a bond name (the caller found none by find_bond); returns its number.
int add_bond(std::string_view name);
// Registers `name` (4 characters) under `kind`: its new number, or -j when the
// kind already has it as component j.
int add_component_name(int kind, std::string_view name);
// The component number of an 8-character padded name under `kind`, or 0
// (looked up in the per-kind index of add_component_name).
int find_component(int kind, std::string_view name8);

// Empties every table, counter, buffer and index and closes every file; the
// driver calls it at the start of each run. Phases with state of their own
// register a reset function once (e.g. a namespace-scope
// `static cvork2::ResetHook hook(&my_reset);`); all hooks run here too.
void reset_compiler_state();
struct ResetHook {
    explicit ResetHook(void (*function)());
};

// ------------------------------------------------------- front-half phases

void prescan_bond_section();   // first pass over the BOND section
void allocate_model_arrays();  // sizes the tables, resets the counters
void read_bond_section();      // second pass: tables, first expressions, listing, sysvar.txt
void solve_variables();        // the SYMBOL phase

// ------------------------------------------------------- driver internals

// The console stream of the current run (set by run_compiler()).
void set_console(std::ostream* out);
// Reads the model file into memory (CR before LF dropped): `name` when an
// entry of that exact name exists, else the first directory entry in byte
// order whose name matches it without regard to case. Sets MODEL_PATH. False
// when there is no such file or it cannot be read.
bool load_model_file(const std::string& name);
// Cursor back to the start of the model text (the reopen).
void rewind_model_file();
// Forgets the bond and component-name indexes (the first pass's tables are
// dropped before the second pass registers everything again).
void clear_lookup_indexes();
// Flushes every open work file and the console (the end of a run, status 1
// included). A work file that cannot be written is reported with the FILE NOT
// WRITTEN message unless the run has reported one already; false then.
bool flush_all_outputs();
// Closes every work file, flushing it; failures are not reported (flush first).
void close_all_files();

// Internal limit used only by the fuzz target: when non-zero, the run ends
// with status 1 once the expression store holds more than this many bytes
// (fully expanded expressions can grow without bound on hostile input).
extern size_t STORE_BYTE_LIMIT;

}  // namespace cvork2
