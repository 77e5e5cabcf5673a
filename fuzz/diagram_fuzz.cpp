// libFuzzer target: each input is a diagram file, read from memory without a
// window. A file the reader accepts must be written again, and what is written
// must read back to a diagram that writes the very same bytes: nothing read is
// lost on saving.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "diagram_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DiagramContent diagram;
    if (!DecodeDiagram(reinterpret_cast<const char*>(data), size, diagram)) return 0;
    std::string saved;
    if (!EncodeDiagram(diagram, saved)) std::abort();
    DiagramContent reread;
    if (!DecodeDiagram(saved.data(), saved.size(), reread)) std::abort();
    std::string again;
    if (!EncodeDiagram(reread, again) || again != saved) std::abort();
    return 0;
}
