#include "diagram_file.h"

#include "canvas_drawing.h"
#include "platform/file_dialog.h"
#include "platform/fs.h"
#include "platform/message_box.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

std::string g_diagramFileName;

namespace {

void ResetDiagramFile() { g_diagramFileName.clear(); }
const EditorResetHook kResetHook(&ResetDiagramFile);

// Larger than any diagram the capacities allow (a few megabytes).
constexpr std::size_t kMaxDiagramFileBytes = 64 << 20;

// ---- tokens -------------------------------------------------------------------------------

// "%d " of a value; the longest T the two-byte first part announces is 9 bytes.
constexpr std::size_t kMaxTokenText = 9;

bool AppendToken(std::string& file, long long value, std::string_view payload) {
  char text[32];
  const int n = std::snprintf(text, sizeof text, "%lld ", value);
  if (n < 0 || static_cast<std::size_t>(n) > kMaxTokenText) return false;
  char prefix[8];
  std::snprintf(prefix, sizeof prefix, "%d ", n);
  file += prefix;
  file.append(text, static_cast<std::size_t>(n));
  file.append(payload.data(), payload.size());
  return true;
}

// The decimal value of bytes [p, p + n): digits (a minus sign first when
// allowed) closed by exactly one blank, nothing else.
bool ParseDecimal(const char* p, std::size_t n, bool allowMinus, long long& value) {
  if (n < 2 || p[n - 1] != ' ') return false;
  std::size_t i = 0;
  const bool negative = allowMinus && p[0] == '-';
  if (negative) i = 1;
  if (i == n - 1) return false;
  long long v = 0;
  for (; i < n - 1; ++i) {
    if (p[i] < '0' || p[i] > '9') return false;
    v = v * 10 + (p[i] - '0');
  }
  value = negative ? -v : v;
  return true;
}

// The value of the next token's T.
bool ReadTokenValue(TokenCursor& file, bool allowMinus, long long& value) {
  if (file.size - file.pos < 2) return false;
  long long n = 0;
  if (!ParseDecimal(file.data + file.pos, 2, false, n) || n < 2) return false;
  if (file.size - file.pos - 2 < static_cast<std::size_t>(n)) return false;
  if (!ParseDecimal(file.data + file.pos + 2, static_cast<std::size_t>(n), allowMinus, value)) return false;
  file.pos += 2 + static_cast<std::size_t>(n);
  return true;
}

// ---- the field order ----------------------------------------------------------------------
// One walk over the fields serves writing and reading, so both keep the same
// order. Int/Text/Flag move one field; Count moves a count and keeps it within
// its capacity; Check states what only a file read needs proving; Slot gives
// the record i of a table (the reader appends it).

class Writer {
 public:
  std::string file;
  bool Int(const int& v) { return WriteIntField(file, v); }
  // Check boxes and strokes: 1 only for a stored 1.
  bool Flag(const int& v) { return Int(v == 1 ? 1 : 0); }
  bool Count(const int& v, int capacity) { return v >= 0 && v <= capacity && Int(v); }
  bool Check(bool) { return true; }
  template <std::size_t N>
  bool Text(const char (&field)[N]) {
    return WriteStringField(file, TextOf(field));
  }
  template <class T>
  const T& Slot(const std::vector<T>& table, int i) {
    return table[static_cast<std::size_t>(i)];
  }
};

class Reader {
 public:
  Reader(const char* data, std::size_t size) {
    cursor_.data = data;
    cursor_.size = size;
  }
  bool Int(int& v) { return ReadIntField(cursor_, v); }
  bool Flag(int& v) {
    int read = 0;
    if (!Int(read)) return false;
    v = read != 0 ? 1 : 0;
    return true;
  }
  bool Count(int& v, int capacity) { return Int(v) && v >= 0 && v <= capacity; }
  bool Check(bool ok) { return ok; }
  template <std::size_t N>
  bool Text(char (&field)[N]) {
    return ReadStringField(cursor_, field, N);
  }
  template <class T>
  T& Slot(std::vector<T>& table, int) {
    table.emplace_back();
    return table.back();
  }

 private:
  TokenCursor cursor_;
};

bool InRange(int v, int count) { return v >= 0 && v < count; }

// A per-kind counter is the highest number given so far; placing an element may
// give counter + 1. (An integer token holds at most 8 digits, so of the two
// bounds only the lower one can be met by a file.)
bool CounterUsable(int counter) { return counter >= 0 && counter < std::numeric_limits<int>::max(); }

template <class IO, class Element>
bool WalkElement(IO& io, Element& e, int elementCount, int bondCount) {
  if (!io.Int(e.kind) || !io.Check(InRange(e.kind, kKindCount))) return false;
  if (!io.Int(e.number) || !io.Int(e.width) || !io.Int(e.height)) return false;
  if (!io.Int(e.box.left) || !io.Int(e.box.top) || !io.Int(e.box.right) || !io.Int(e.box.bottom)) return false;
  for (int s = 0; s < kPortSides; ++s) {
    if (!io.Int(e.portBond[s]) || !io.Int(e.portInUse[s]) || !io.Int(e.portPartner[s]) ||
        !io.Int(e.portIsHead[s]))
      return false;
    // A side in use names a bond and an element of this diagram.
    if (!io.Check(e.portInUse[s] == 0 ||
                  (InRange(e.portBond[s], bondCount) && InRange(e.portPartner[s], elementCount))))
      return false;
  }
  if (!io.Int(e.numbered)) return false;
  if (!io.Text(e.parameterNames) || !io.Text(e.parameterValues) || !io.Text(e.parameterUnits) ||
      !io.Text(e.parameterComments))
    return false;
  for (auto& text : e.extraTexts)
    if (!io.Text(text)) return false;
  if (!io.Text(e.extraText2430) || !io.Text(e.extraText2440) || !io.Text(e.equation)) return false;
  for (auto& flag : e.checkBoxes)
    if (!io.Flag(flag)) return false;
  if (!io.Count(e.usedCount, kMaxUsedVariables) || !io.Count(e.feedbackCount, kMaxFeedbackVariables)) return false;
  for (int k = 0; k < e.usedCount; ++k)
    if (!io.Text(e.used[k].type) || !io.Text(e.used[k].name) || !io.Text(e.used[k].comment)) return false;
  for (int k = 0; k < e.feedbackCount; ++k)
    if (!io.Text(e.feedback[k].name) || !io.Text(e.feedback[k].kind) || !io.Text(e.feedback[k].bond)) return false;
  return true;
}

template <class IO, class Bond>
bool WalkBond(IO& io, Bond& b, int elementCount) {
  if (!io.Int(b.headElement) || !io.Int(b.tailElement) || !io.Int(b.headSide) || !io.Int(b.tailSide)) return false;
  if (!io.Check(InRange(b.headElement, elementCount) && InRange(b.tailElement, elementCount) &&
                InRange(b.headSide, kPortSides) && InRange(b.tailSide, kPortSides)))
    return false;
  for (auto& p : b.hitPolygon)
    if (!io.Int(p.x) || !io.Int(p.y)) return false;
  for (auto& r : b.reserved)
    if (!io.Int(r)) return false;
  // The initial value comes before its name.
  return io.Flag(b.strokeAtHead) && io.Int(b.hasInitialValue) && io.Text(b.initialValue) && io.Text(b.initialName);
}

// Diagram is DiagramContent, empty before reading, or const DiagramContent
// for writing.
template <class IO, class Diagram>
bool WalkDiagram(IO& io, Diagram& d) {
  int elementCount = static_cast<int>(d.elements.size());
  int bondCount = static_cast<int>(d.bonds.size());
  int outputCount = static_cast<int>(d.outputs.size());
  if (!io.Count(elementCount, kMaxElements) || !io.Count(bondCount, kMaxBonds)) return false;
  for (auto& counter : d.kindCounters)
    if (!io.Int(counter) || !io.Check(CounterUsable(counter))) return false;
  for (int i = 0; i < elementCount; ++i)
    if (!WalkElement(io, io.Slot(d.elements, i), elementCount, bondCount)) return false;
  for (int k = 0; k < bondCount; ++k)
    if (!WalkBond(io, io.Slot(d.bonds, k), elementCount)) return false;
  if (!io.Text(d.numeric.startTime) || !io.Text(d.numeric.endTime) || !io.Text(d.numeric.timeStep) ||
      !io.Text(d.numeric.outputPoints))
    return false;
  if (!io.Count(outputCount, kMaxOutputVariables)) return false;
  for (int i = 0; i < outputCount; ++i) {
    auto& o = io.Slot(d.outputs, i);
    if (!io.Text(o.kindName) || !io.Text(o.bondText)) return false;
  }
  return true;
}

// ---- the document -----------------------------------------------------------------------

int Clamp(int v, int capacity) { return std::max(0, std::min(v, capacity)); }

// Replaces the document's diagram by d (step 3 of opening: the slots of the
// previous diagram are emptied as well), ends selection and bond drawing.
void InstallDiagram(const DiagramContent& d) {
  DiagramDocument& doc = g_document;
  ReplaceTables(d.elements, d.bonds, d.kindCounters);
  doc.numeric = d.numeric;
  doc.outputCount = static_cast<int>(d.outputs.size());
  std::copy(d.outputs.begin(), d.outputs.end(), doc.outputs);
  // Nothing of the previous diagram stays selected or half drawn.
  doc.selectionActive = 0;
  g_bondDrawing = 0;
  g_currentIndex = 0;
}

// Both canvases white, every label (each box back in the occupied region),
// every bond with its hit area made from the boxes, the clean copy.
void DrawOpenedDiagram(plat::ClientView* view) {
  g_document.occupiedRegion = plat::Region();
  if (g_drawDC) g_drawDC->FillWhite();
  if (g_cleanDC) g_cleanDC->FillWhite();
  for (int i = 0; i < g_elementCount; ++i) DrawElement(view, i);
  for (int k = 0; k < g_bondCount; ++k) {
    const BondRecord& b = g_document.bonds[k];
    SetBondEnds(b.tailSide, b.headSide, k, b.tailElement, b.headElement);
    if (g_drawDC) DrawBond(b.tailSide, b.headSide, b.tailElement, b.headElement, *g_drawDC, k);
  }
  CopyDrawingToClean();
  InvalidateCanvas(view);
}

// ---- files and dialogs ------------------------------------------------------------------

plat::FileDialogOptions DiagramDialogOptions(bool open) {
  plat::FileDialogOptions o;
  o.filters = {{QStringLiteral("VRD File"), QStringLiteral("*.VRD")}};
  o.defaultSuffix = QStringLiteral("VRD");
  o.initialDirectory = plat::fs::ToQString(plat::fs::Resolve(plat::fs::Join(g_startDirectory, "vrd")));
  o.mustExist = open;
  return o;
}

void ShowError(QWidget* window, const QString& text) {
  plat::MessageBox(window, text, QStringLiteral("エラー"), plat::MB_OK);
}

// The current file name empties; then the open or save dialog. The chosen
// file as an absolute file-system path, "" when cancelled.
std::string AskForFile(QWidget* window, bool open) {
  g_diagramFileName.clear();
  const plat::FileDialogOptions options = DiagramDialogOptions(open);
  const QString chosen = open ? plat::FileDialog::Open(window, options) : plat::FileDialog::Save(window, options);
  if (chosen.isEmpty()) return std::string();
  const std::string path = plat::fs::AbsolutePath(plat::fs::FromQString(chosen));
  if (!g_startDirectory.empty()) plat::fs::SetCurrentDir(g_startDirectory);
  return path;
}

// The file opened or saved becomes the current one and its whole title is shown.
void TakeFileName(const ShowFileTitle& showTitle, const std::string& path) {
  g_diagramFileName = path;
  if (showTitle) showTitle(plat::fs::ToQString(path.substr(path.find_last_of('/') + 1)));
}

// The document written to path whole: an existing file is replaced only by a
// complete one.
bool WriteDiagramFile(const std::string& path) {
  std::string bytes;
  return EncodeDiagram(CurrentDiagram(), bytes) && plat::fs::WriteFileAtomic(path, bytes);
}

// Only a regular file of a plausible size is read; a pipe or device is refused
// without waiting on it.
bool ReadDiagramFile(const std::string& path, DiagramContent& diagram) {
  std::string bytes;
  if (plat::fs::ReadFile(path, &bytes, kMaxDiagramFileBytes) != plat::fs::ReadResult::Ok) return false;
  return DecodeDiagram(bytes.data(), bytes.size(), diagram);
}

// Writes to path and reports a failure; true when written.
bool SaveTo(QWidget* window, const std::string& path) {
  if (WriteDiagramFile(path)) return true;
  ShowError(window, QStringLiteral("ファイルを保存できませんでした．"));
  return false;
}

}  // namespace

// ---- tokens -------------------------------------------------------------------------------

bool WriteIntField(std::string& file, int value) { return AppendToken(file, value, {}); }

bool WriteStringField(std::string& file, std::string_view text) {
  return AppendToken(file, static_cast<long long>(text.size()), text);
}

bool ReadIntField(TokenCursor& file, int& value) {
  long long v = 0;
  if (!ReadTokenValue(file, true, v)) return false;
  value = static_cast<int>(v);  // at most 8 digits
  return true;
}

bool ReadStringField(TokenCursor& file, char* field, std::size_t capacity) {
  const std::size_t start = file.pos;
  long long length = 0;
  if (capacity == 0 || !ReadTokenValue(file, false, length)) return false;
  const std::size_t n = static_cast<std::size_t>(length);
  if (n > capacity - 1 || file.size - file.pos < n || std::memchr(file.data + file.pos, '\0', n) != nullptr) {
    file.pos = start;
    return false;
  }
  std::memcpy(field, file.data + file.pos, n);
  std::memset(field + n, 0, capacity - n);
  file.pos += n;
  return true;
}

// ---- whole diagrams -----------------------------------------------------------------------

DiagramContent CurrentDiagram() {
  const DiagramDocument& doc = g_document;
  DiagramContent d;
  std::copy(std::begin(g_kindCounters), std::end(g_kindCounters), d.kindCounters);
  d.elements.assign(doc.elements, doc.elements + Clamp(g_elementCount, kMaxElements));
  d.bonds.assign(doc.bonds, doc.bonds + Clamp(g_bondCount, kMaxBonds));
  d.numeric = doc.numeric;
  d.outputs.assign(doc.outputs, doc.outputs + Clamp(doc.outputCount, kMaxOutputVariables));
  return d;
}

bool EncodeDiagram(const DiagramContent& diagram, std::string& file) {
  Writer writer;
  if (!WalkDiagram(writer, diagram)) return false;
  file = std::move(writer.file);
  return true;
}

bool DecodeDiagram(const char* data, std::size_t size, DiagramContent& diagram) {
  diagram = DiagramContent{};
  Reader reader(data, size);
  return WalkDiagram(reader, diagram);
}

// ---- operations ---------------------------------------------------------------------------

int OpenDiagram(QWidget* window, plat::ClientView* view, const ShowFileTitle& showTitle) {
  const std::string path = AskForFile(window, true);
  if (path.empty()) return 0;
  // Read whole and checked before anything of the open diagram changes.
  DiagramContent diagram;
  if (!ReadDiagramFile(path, diagram)) {
    ShowError(window, QStringLiteral("ファイルを読み込めませんでした．"));
    return 0;
  }
  InstallDiagram(diagram);
  TakeFileName(showTitle, path);
  DrawOpenedDiagram(view);
  return 1;
}

int SaveDiagramAs(QWidget* window, const ShowFileTitle& showTitle) {
  const std::string previous = g_diagramFileName;
  const std::string path = AskForFile(window, false);
  if (path.empty()) return 0;
  // A file that could not be written is not the diagram's: the name stays the one
  // the caption shows.
  if (!SaveTo(window, path)) {
    g_diagramFileName = previous;
    return 0;
  }
  TakeFileName(showTitle, path);
  return 1;
}

int SaveDiagram(QWidget* window, const ShowFileTitle& showTitle) {
  if (g_diagramFileName.empty()) return SaveDiagramAs(window, showTitle);
  return SaveTo(window, g_diagramFileName) ? 1 : 0;
}
