#include "model_source_writer.h"

#include "platform/fs.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

// The codes of kOutputKindNames; feedback variables use the first four.
constexpr const char* kOutputKindCodes[] = {"EF", "FL", "MN", "DP", "PW", "EN"};
static_assert(std::size(kOutputKindCodes) == std::size(kOutputKindNames));
constexpr int kOutputKinds = static_cast<int>(std::size(kOutputKindNames));
constexpr int kFeedbackKinds = 4;

// The bytes of "整数" (integer) in CP932.
constexpr char kIntegerType[] = "\x90\xae\x90\x94";

// Column widths of the fixed-column lines.
constexpr int kNumberWidth = 5;
constexpr int kBondFieldWidth = 6;
constexpr int kOutputLabelWidth = 6;
constexpr int kParameterNameWidth = 7;
constexpr int kParameterValueWidth = 16;
constexpr int kParameterUnitWidth = 15;
constexpr int kParameterCommentWidth = 20;
constexpr int kFeedbackNameWidth = 6;
constexpr int kTimeWidth = 19;
constexpr int kStepWidth = 16;
constexpr int kStateNameWidth = 7;

void AppendPadded(std::string& out, std::string_view text, std::size_t width) {
  out.append(text);
  if (text.size() < width) out.append(width - text.size(), ' ');
}

// The code of a kind name among the first `count` kinds, or nullptr.
const char* KindCode(std::string_view name, int count) {
  for (int i = 0; i < count; ++i)
    if (name == kOutputKindNames[i]) return kOutputKindCodes[i];
  return nullptr;
}

bool IsJunction(int kind) { return kind == kKindZeroJunction || kind == kKindOneJunction; }
bool IsTwoPort(int kind) { return kind == kKindTF || kind == kKindGY; }
bool HasKindCode(int kind) { return kind >= 0 && kind < kKindCount; }

// The bonds of the element's sides as written: for a transformer or gyrator the
// bond entering it moves before the one leaving it (on a copy; the record stays).
std::vector<int> BondsInWritingOrder(const ElementRecord& e) {
  int bonds[kPortSides];
  std::copy(std::begin(e.portBond), std::end(e.portBond), bonds);
  if (IsTwoPort(e.kind)) {
    int leaving = -1;
    for (int s = 0; s < kPortSides; ++s) {
      if (!e.portInUse[s]) continue;
      if (e.portIsHead[s] == 0) {
        leaving = s;
      } else if (leaving >= 0) {
        std::swap(bonds[s], bonds[leaving]);
      } else {
        break;
      }
    }
  }
  std::vector<int> fields;
  for (int s = 0; s < kPortSides; ++s)
    if (e.portInUse[s]) fields.push_back(bonds[s]);
  return fields;
}

void WriteElementLine(std::string& out, const ElementRecord& e) {
  out += kKindCodes[e.kind];
  AppendPadded(out, e.numbered ? std::to_string(e.number) : std::string(), kNumberWidth);
  const std::vector<int> bonds = BondsInWritingOrder(e);
  int field = 0;
  for (int s = 0; s < kPortSides; ++s) {
    if (!e.portInUse[s]) continue;
    std::string text = std::to_string(bonds[field] + 1);
    if (IsJunction(e.kind) && e.portIsHead[s]) text.insert(0, "-");
    ++field;
    // The last field of the line is not padded.
    AppendPadded(out, text, field < static_cast<int>(bonds.size()) ? kBondFieldWidth : 0);
  }
  out += '\n';
}

void WriteOutputLine(std::string& out, const OutputVariable& v) {
  const char* code = KindCode(TextOf(v.kindName), kOutputKinds);
  if (!code) return;  // a kind the dialogs do not offer: no line
  const std::string s = code + TextOf(v.bondText);
  out += "BC: ";
  AppendPadded(out, s, kOutputLabelWidth);
  out += s;
  out += '\n';
}

void WriteParameterLines(std::string& out, const ElementRecord& e) {
  const std::string names = TextOf(e.parameterNames);
  const std::string values = TextOf(e.parameterValues);
  const std::string units = TextOf(e.parameterUnits);
  const std::string comments = TextOf(e.parameterComments);
  LineStartTable nameTable, valueTable, unitTable, commentTable;
  const int n = CountLineStarts(names, nameTable);
  BuildLineStartTable(values, valueTable);
  BuildLineStartTable(units, unitTable);
  BuildLineStartTable(comments, commentTable);
  for (int k = 0; k < n; ++k) {
    out += "PA: ";
    WriteTextLinePadded(out, names, nameTable, k, kParameterNameWidth);
    WriteTextLinePadded(out, values, valueTable, k, kParameterValueWidth);
    WriteTextLinePadded(out, units, unitTable, k, kParameterUnitWidth);
    WriteTextLinePadded(out, comments, commentTable, k, kParameterCommentWidth);
    out += '\n';
  }
}

void WriteDefinitionBlock(std::string& out, const ElementRecord& e) {
  out += kKindCodes[e.kind];
  out += std::to_string(e.number);
  out += '\n';
  WriteParameterLines(out, e);
  if (g_language == 0) {
    for (int i = 0; i < std::min(e.usedCount, kMaxUsedVariables); ++i) WriteDeclarationLine(out, e, i);
  }
  for (int i = 0; i < std::min(e.feedbackCount, kMaxFeedbackVariables); ++i) WriteFeedbackLine(out, e, i);
  if (e.hasExpData == 1) out += e.expDataCode;
  out += TextOf(e.equation);
  out += "\nEOD\n";
}

void WriteSimulationParameterLine(std::string& out, const NumericConditions& n) {
  out += ' ';
  AppendPadded(out, TextOf(n.startTime), kTimeWidth);
  AppendPadded(out, TextOf(n.endTime), kTimeWidth);
  AppendPadded(out, TextOf(n.timeStep), kStepWidth);
  out += TextOf(n.outputPoints);
  out += '\n';
}

// The state name of bond index b: a stored "DP" or "MN" name takes the bond's current
// display number (the stored one may be stale after deletions); any other name is
// written as stored.
std::string StateName(const BondRecord& bond, int b) {
  const std::string stored = TextOf(bond.initialName);
  const std::string prefix = stored.substr(0, 2);
  if (prefix == "DP" || prefix == "MN") return prefix + std::to_string(b + 1);
  return stored;
}

void WriteInitialValueLine(std::string& out, const BondRecord& bond, int b) {
  AppendPadded(out, StateName(bond, b), kStateNameWidth);
  out += TextOf(bond.initialValue);
  out += '\n';
}

// Fills the entries after 0 for the LFs of text and the end; returns the line count.
int FillLineStarts(std::string_view text, LineStartTable& table) {
  table.entries.assign(1, 0);
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n') table.entries.push_back(static_cast<int>(i) + 1);
  table.entries.push_back(static_cast<int>(text.size()) + 2);
  return table.Lines();
}

}  // namespace

int CountLineStarts(std::string_view text, LineStartTable& table) {
  table.entries.clear();
  if (text.empty()) return 0;
  return FillLineStarts(text, table);
}

void BuildLineStartTable(std::string_view text, LineStartTable& table) { FillLineStarts(text, table); }

std::string CopyTextLine(std::string_view text, const LineStartTable& table, int k) {
  if (k < 0 || k >= table.Lines()) return std::string();
  const std::size_t begin = static_cast<std::size_t>(table.entries[k]);
  std::size_t end;
  if (k + 1 < table.Lines()) {
    end = static_cast<std::size_t>(table.entries[k + 1]) - 1;  // the LF
    if (end > begin && text[end - 1] == '\r') --end;
  } else {
    end = text.size();
  }
  if (begin >= end || end > text.size()) return std::string();
  return std::string(text.substr(begin, end - begin));
}

void WriteTextLinePadded(std::string& out, std::string_view text, const LineStartTable& table, int k, int width) {
  AppendPadded(out, CopyTextLine(text, table, k), static_cast<std::size_t>(std::max(width, 0)));
}

void WriteDeclarationLine(std::string& out, const ElementRecord& element, int entry) {
  const UsedVariable& v = element.used[entry];
  out += TextOf(v.type) == kIntegerType ? "int " : "double ";
  out += TextOf(v.name);
  out += ";\n";
}

void WriteFeedbackLine(std::string& out, const ElementRecord& element, int entry) {
  const FeedbackVariable& v = element.feedback[entry];
  out += "FB: ";
  AppendPadded(out, TextOf(v.name), kFeedbackNameWidth);
  out += ' ';
  if (const char* code = KindCode(TextOf(v.kind), kFeedbackKinds)) out += code;
  out += TextOf(v.bond);
  out += '\n';
}

std::string ModelSourceText() {
  const DiagramDocument& d = g_document;
  const int elements = std::clamp(g_elementCount, 0, kMaxElements);
  const int bonds = std::clamp(g_bondCount, 0, kMaxBonds);
  std::string out = "BOND SYMBOL EXPR OUT DEFIN PARM INIT\r\n";
  for (int i = 0; i < elements; ++i)
    if (HasKindCode(d.elements[i].kind)) WriteElementLine(out, d.elements[i]);
  out += "/\n";
  for (int i = 0; i < std::clamp(d.outputCount, 0, kMaxOutputVariables); ++i) WriteOutputLine(out, d.outputs[i]);
  out += "/\n";
  for (int i = 0; i < elements; ++i) {
    const ElementRecord& e = d.elements[i];
    if (e.kind >= 0 && e.kind < g_numberedKinds) WriteDefinitionBlock(out, e);
  }
  out += "/\n";
  WriteSimulationParameterLine(out, d.numeric);
  for (int b = 0; b < bonds; ++b)
    if (d.bonds[b].hasInitialValue != 0) WriteInitialValueLine(out, d.bonds[b], b);
  out += "/\n";
  return out;
}

bool WriteModelSource() {
  const std::string path = plat::fs::Join(plat::fs::CurrentDir(), kModelSourceName);
  if (plat::fs::WriteFileAtomic(path, ModelSourceText())) return true;
  plat::fs::DeleteAllCases(path);
  return false;
}
