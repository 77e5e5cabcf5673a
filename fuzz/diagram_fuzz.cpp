// libFuzzer target: each input is a diagram file, read from memory without a
// window. A file the reader accepts must be written again, and what is written
// must read back to a diagram that writes the very same bytes: nothing read is
// lost on saving. Put into the tables as opening puts it, an accepted file
// keeps every index the editor follows inside the tables (TablesInRange); the
// reader takes cross-references as a file holds them, so the records' promises
// (TablesConsistent) must hold for the copy read back exactly when they held
// for the file.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "diagram_file.h"
#include "document.h"

namespace {

// The diagram in the tables; whether they then keep the records' promises.
bool InstallAndCheck(const DiagramContent& diagram) {
    ReplaceTables(diagram.elements, diagram.bonds, diagram.kindCounters);
    std::string why;
    if (!TablesInRange(&why)) {
        std::fprintf(stderr, "an accepted file leaves the tables out of range: %s\n", why.c_str());
        std::abort();
    }
    return TablesConsistent(nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DiagramContent diagram;
    if (!DecodeDiagram(reinterpret_cast<const char*>(data), size, diagram)) return 0;
    const bool consistent = InstallAndCheck(diagram);
    std::string saved;
    if (!EncodeDiagram(diagram, saved)) std::abort();
    DiagramContent reread;
    if (!DecodeDiagram(saved.data(), saved.size(), reread)) std::abort();
    if (InstallAndCheck(reread) != consistent) std::abort();
    std::string again;
    if (!EncodeDiagram(reread, again) || again != saved) std::abort();
    return 0;
}
