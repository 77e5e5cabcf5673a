#include "document.h"

#include "canvas_drawing.h"
#include "platform/cp932.h"
#include "platform/fs.h"
#include "settings.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

DiagramDocument g_document;

int g_currentTool = kToolSelect;
int g_elementCount = 0;
int g_bondCount = 0;
int g_kindCounters[kKindCount] = {};
int g_currentIndex = 0;
int g_startX = 0;
int g_startY = 0;
int g_strokeBond = 0;
int g_scrollX = 0;
int g_scrollY = 0;
int g_language = 0;
int g_advanceMode = 0;
std::string g_startDirectory;
int g_elementDragging = 0;
int g_bondDrawing = 0;
int g_documentSaved = 0;
int g_autoTimeStep = 0;

namespace {

std::vector<void (*)()>& ResetHooks() {
  static std::vector<void (*)()> hooks;
  return hooks;
}

}  // namespace

void ResetEditorState() {
  DiagramDocument& d = g_document;
  d.occupiedRegion = plat::Region();
  d.spareRegion = plat::Region();
  d.selectionRect = Rect();
  // Record by record: a whole document is too large for a temporary on the stack.
  for (ElementRecord& e : d.elements) e = ElementRecord{};
  d.numeric = NumericConditions{};
  ZeroBytes(d.outputFileName, sizeof d.outputFileName);
  d.outputCount = 0;
  for (OutputVariable& o : d.outputs) o = OutputVariable{};
  d.initialValueKind = 0;
  for (BondRecord& b : d.bonds) b = BondRecord{};
  d.strokeHeadElement = 0;
  d.strokeTailElement = 0;
  d.selectedIndex = 0;
  d.selectionActive = 0;
  d.selectionIsElement = 0;

  g_currentTool = kToolSelect;
  g_elementCount = 0;
  g_bondCount = 0;
  for (int& c : g_kindCounters) c = 0;
  g_currentIndex = 0;
  g_startX = 0;
  g_startY = 0;
  g_strokeBond = 0;
  g_scrollX = 0;
  g_scrollY = 0;
  g_language = 0;
  g_advanceMode = 0;
  g_startDirectory.clear();
  g_elementDragging = 0;
  g_bondDrawing = 0;
  g_documentSaved = 0;
  g_autoTimeStep = 0;
  for (auto hook : ResetHooks()) hook();
}

EditorResetHook::EditorResetHook(void (*function)()) { ResetHooks().push_back(function); }

void StoreTextBytes(char* field, std::size_t capacity, const char* text, std::size_t length) {
  if (capacity == 0) return;
  // Cut to capacity - 1 bytes without splitting a double-byte character.
  std::size_t keep = 0;
  while (keep < length) {
    std::size_t step = (plat::cp932::IsLeadByte(static_cast<unsigned char>(text[keep])) && keep + 1 < length) ? 2 : 1;
    if (keep + step > capacity - 1) break;
    keep += step;
  }
  std::memmove(field, text, keep);
  std::memset(field + keep, 0, capacity - keep);
}

void ZeroBytes(void* address, std::size_t count) { std::memset(address, 0, count); }

void InitDocumentAndSettings() {
  DiagramDocument& d = g_document;
  // New, empty regions; whatever the old ones held is released with them.
  d.occupiedRegion = plat::Region();
  d.spareRegion = plat::Region();
  d.selectionActive = 0;
  g_canvasRect = Rect{0, 0, g_canvasWidth, g_canvasHeight};
  StoreText(d.numeric.startTime, "0.00000E+00");
  StoreText(d.numeric.endTime, "1.00000E+00");
  StoreText(d.numeric.timeStep, "1.00000E-05");
  StoreText(d.numeric.outputPoints, "1000");
  d.outputCount = 0;

  g_startDirectory = plat::fs::CurrentDir();
  const std::string path = SettingsPath();
  g_advanceMode = ReadAdvanceMode(path);
  FillDefaultDirectory("Directory", "Vrd", "Vrd", path);
  FillDefaultDirectory("Directory", "Data", "Csv", path);
  if (g_advanceMode == 1) {
    FillDefaultDirectory("Directory", "Par", "Advance/Par", path);
    FillDefaultDirectory("Directory", "C", "Advance/C", path);
    FillDefaultDirectory("Directory", "F", "Advance/F", path);
    FillDefaultDirectory("Directory", "VRK", "Advance/VRK", path);
  }
}

int PlaceElement(int clientX, int clientY) {
  // The table is full: refused like an overlapping box, never written past.
  if (!InElementTable(g_elementCount)) return 0;
  if (g_currentTool < kToolFirstElement || g_currentTool > kToolLastElement) return 0;
  const int kind = KindOfTool(g_currentTool);
  const bool numbered = g_currentTool < kToolFirstJunction;

  // The width follows the counter before the number is chosen.
  int width = static_cast<int>(g_fontHeight * kLabelWidthFactors[kind]);
  if (numbered) width += static_cast<int>(g_fontHeight * (g_kindCounters[kind] + 1 < 10 ? 0.4 : 0.8));
  const int height = g_fontHeight;
  const int left = clientX + g_scrollX * g_scrollUnit - width / 2;
  const int top = clientY + g_scrollY * g_scrollUnit - height / 2;
  if (g_document.occupiedRegion.IntersectsRect(left, top, left + width, top + height)) return 0;

  int number = 0;
  for (int n = 1; n <= g_kindCounters[kind] && number == 0; ++n) {
    bool taken = false;
    for (int i = 0; i < g_elementCount && !taken; ++i)
      taken = g_document.elements[i].kind == kind && g_document.elements[i].number == n;
    if (!taken) number = n;
  }
  if (number == 0) number = ++g_kindCounters[kind];

  ElementRecord& e = g_document.elements[g_elementCount];
  e.kind = kind;
  e.number = number;
  e.width = width;
  e.height = height;
  e.box = Rect{left, top, left + width, top + height};
  return 1;
}

void InitNewElement() {
  if (!InElementTable(g_elementCount)) return;
  ElementRecord& e = g_document.elements[g_elementCount];
  for (int s = 0; s < kPortSides; ++s) {
    e.portInUse[s] = 0;
    e.portPartner[s] = -1;
  }
  e.numbered = g_currentTool < kToolFirstJunction ? 1 : 0;
  for (int& c : e.checkBoxes) c = 0;
  ClearElementTexts(g_elementCount);
  e.usedCount = 0;
  e.feedbackCount = 0;
  e.staleMark = 0;
}

void ClearElementTexts(int element) {
  if (!InElementTable(element)) return;
  ElementRecord& e = g_document.elements[element];
  ZeroBytes(e.parameterNames, sizeof e.parameterNames);
  ZeroBytes(e.parameterValues, sizeof e.parameterValues);
  ZeroBytes(e.parameterUnits, sizeof e.parameterUnits);
  ZeroBytes(e.parameterComments, sizeof e.parameterComments);
  ZeroBytes(e.extraTexts, sizeof e.extraTexts);
  ZeroBytes(e.extraText2430, sizeof e.extraText2430);
  ZeroBytes(e.extraText2440, sizeof e.extraText2440);
  ZeroBytes(e.equation, sizeof e.equation);
  // A stale slot's counts may hold anything; never reach past the tables.
  const int used = e.usedCount < 0 ? 0 : (e.usedCount > kMaxUsedVariables ? kMaxUsedVariables : e.usedCount);
  for (int k = 0; k < used; ++k) e.used[k] = UsedVariable{};
  const int fed =
      e.feedbackCount < 0 ? 0 : (e.feedbackCount > kMaxFeedbackVariables ? kMaxFeedbackVariables : e.feedbackCount);
  for (int k = 0; k < fed; ++k) e.feedback[k] = FeedbackVariable{};
  e.usedCount = 0;
  e.feedbackCount = 0;
  e.hasExpData = 0;
}

void InitBondSlot() {
  if (!InBondTable(g_bondCount)) return;
  BondRecord& b = g_document.bonds[g_bondCount];
  for (int& r : b.reserved) r = 0;
  b.hasInitialValue = 0;
  ZeroBytes(b.initialName, sizeof b.initialName);
  StoreText(b.initialValue, "0.0000000E+00");
}

void DeleteRegions() {
  g_document.occupiedRegion.Clear();
  g_document.spareRegion.Clear();
}

// ---- the element and bond tables ----------------------------------------------

namespace {

bool IsSide(int s) { return s >= 0 && s < kPortSides; }

void FreeSide(int element, int side) {
  if (!ElementInUse(element) || !IsSide(side)) return;
  ElementRecord& e = g_document.elements[element];
  e.portInUse[side] = 0;
  e.portBond[side] = -1;
}

void SetSide(int element, int side, int bond, int partner, int isHead) {
  ElementRecord& e = g_document.elements[element];
  e.portInUse[side] = 1;
  e.portPartner[side] = partner;
  e.portIsHead[side] = isHead;
  e.portBond[side] = bond;
}

}  // namespace

int AppendElementAt(int clientX, int clientY) {
  if (PlaceElement(clientX, clientY) != 1) return -1;
  InitNewElement();
  return g_elementCount++;
}

int AppendBond(int tail, int tailSide, int head, int headSide) {
  const int k = g_bondCount;
  if (!InBondTable(k) || !ElementInUse(tail) || !ElementInUse(head) || tail == head) return -1;
  if (!IsSide(tailSide) || !IsSide(headSide)) return -1;
  if (g_document.elements[tail].portInUse[tailSide] != 0 || g_document.elements[head].portInUse[headSide] != 0)
    return -1;
  SetSide(tail, tailSide, k, head, 0);
  SetSide(head, headSide, k, tail, 1);
  SetBondEnds(tailSide, headSide, k, tail, head);
  InitBondSlot();
  g_bondCount = k + 1;
  return k;
}

void RemoveBond(int x) {
  if (!BondInUse(x)) return;
  BondRecord& b = g_document.bonds[x];
  FreeSide(b.tailElement, b.tailSide);
  FreeSide(b.headElement, b.headSide);
  for (int i = 0; i < g_elementCount; ++i) {
    for (int& k : g_document.elements[i].portBond) {
      if (k > x) --k;
    }
  }
  b.hitRegion.Clear();
  for (int k = x + 1; k < g_bondCount; ++k) g_document.bonds[k - 1] = g_document.bonds[k];
  g_bondCount -= 1;
}

int RemoveElement(int x) {
  if (!ElementInUse(x)) return -1;
  int lowest = -1;
  for (int s = 0; s < kPortSides; ++s) {
    const ElementRecord& e = g_document.elements[x];
    if (e.portInUse[s] != 1) continue;
    // Read after the removals of the sides before: the minimum is the lowest
    // index as numbered before the removal.
    const int k = e.portBond[s];
    if (!BondInUse(k)) continue;
    lowest = lowest < 0 ? k : std::min(lowest, k);
    RemoveBond(k);
  }
  for (int i = 0; i < g_elementCount; ++i) {
    ElementRecord& e = g_document.elements[i];
    for (int s = 0; s < kPortSides; ++s) {
      if (e.portInUse[s] == 1 && e.portPartner[s] > x) --e.portPartner[s];
    }
  }
  for (int k = 0; k < g_bondCount; ++k) {
    BondRecord& b = g_document.bonds[k];
    if (b.headElement > x) --b.headElement;
    if (b.tailElement > x) --b.tailElement;
  }
  for (int i = x + 1; i < g_elementCount; ++i) g_document.elements[i - 1] = g_document.elements[i];
  g_elementCount -= 1;
  return lowest;
}

void ClearTables() {
  const int oldElements = std::clamp(g_elementCount, 0, kMaxElements);
  const int oldBonds = std::clamp(g_bondCount, 0, kMaxBonds);
  for (int i = 0; i < oldElements; ++i) {
    ElementRecord& e = g_document.elements[i];
    e.kind = e.number = e.width = e.height = 0;
    e.box = Rect{};
    ClearElementTexts(i);
    e.hasExpData = 0;
    for (int& inUse : e.portInUse) inUse = 0;
    e.staleMark = 0;
  }
  for (int k = 0; k < oldBonds; ++k) {
    BondRecord& b = g_document.bonds[k];
    b.headElement = b.tailElement = b.headSide = b.tailSide = 0;
    for (Point& p : b.hitPolygon) p = Point{};
    b.hitRegion = plat::Region();
    for (int& r : b.reserved) r = 0;
  }
  g_elementCount = 0;
  g_bondCount = 0;
}

void ReplaceTables(const std::vector<ElementRecord>& elements, const std::vector<BondRecord>& bonds,
                   const int (&kindCounters)[kKindCount]) {
  DiagramDocument& doc = g_document;
  const int oldElements = std::clamp(g_elementCount, 0, kMaxElements);
  const int oldBonds = std::clamp(g_bondCount, 0, kMaxBonds);
  const int elementCount = std::min(static_cast<int>(elements.size()), kMaxElements);
  const int bondCount = std::min(static_cast<int>(bonds.size()), kMaxBonds);
  for (int i = 0; i < elementCount; ++i) doc.elements[i] = elements[static_cast<std::size_t>(i)];
  for (int i = elementCount; i < oldElements; ++i) doc.elements[i] = ElementRecord{};
  for (int k = 0; k < bondCount; ++k) doc.bonds[k] = bonds[static_cast<std::size_t>(k)];
  for (int k = bondCount; k < oldBonds; ++k) doc.bonds[k] = BondRecord{};
  std::copy(std::begin(kindCounters), std::end(kindCounters), g_kindCounters);
  g_elementCount = elementCount;
  g_bondCount = bondCount;
}

namespace {

// Stores the fault (when asked for) and gives false.
bool Fault(std::string* why, const std::string& what) {
  if (why) *why = what;
  return false;
}

std::string ElementSide(int i, int s) { return "element " + std::to_string(i) + " side " + std::to_string(s); }
std::string BondName(int k) { return "bond " + std::to_string(k); }

}  // namespace

bool TablesInRange(std::string* why) {
  const DiagramDocument& d = g_document;
  if (g_elementCount < 0 || g_elementCount > kMaxElements) return Fault(why, "element count out of range");
  if (g_bondCount < 0 || g_bondCount > kMaxBonds) return Fault(why, "bond count out of range");
  if (d.outputCount < 0 || d.outputCount > kMaxOutputVariables) return Fault(why, "output count out of range");
  for (int kind = 0; kind < kKindCount; ++kind) {
    if (g_kindCounters[kind] < 0 || g_kindCounters[kind] == INT_MAX)
      return Fault(why, "counter of kind " + std::to_string(kind) + " out of range");
  }
  for (int i = 0; i < g_elementCount; ++i) {
    const ElementRecord& e = d.elements[i];
    const std::string element = "element " + std::to_string(i);
    if (e.kind < 0 || e.kind >= kKindCount) return Fault(why, element + ": kind out of range");
    if (e.usedCount < 0 || e.usedCount > kMaxUsedVariables) return Fault(why, element + ": used count out of range");
    if (e.feedbackCount < 0 || e.feedbackCount > kMaxFeedbackVariables)
      return Fault(why, element + ": feedback count out of range");
    for (int s = 0; s < kPortSides; ++s) {
      if (e.portInUse[s] == 0) continue;
      if (!BondInUse(e.portBond[s])) return Fault(why, ElementSide(i, s) + ": bond not in use");
      if (!ElementInUse(e.portPartner[s])) return Fault(why, ElementSide(i, s) + ": partner not in use");
    }
  }
  for (int k = 0; k < g_bondCount; ++k) {
    const BondRecord& b = d.bonds[k];
    if (!ElementInUse(b.tailElement) || !ElementInUse(b.headElement))
      return Fault(why, BondName(k) + ": end not in use");
    if (!IsSide(b.tailSide) || !IsSide(b.headSide)) return Fault(why, BondName(k) + ": side out of range");
  }
  return true;
}

bool TablesConsistent(std::string* why) {
  if (!TablesInRange(why)) return false;
  const DiagramDocument& d = g_document;
  for (int i = 0; i < g_elementCount; ++i) {
    const ElementRecord& e = d.elements[i];
    const std::string element = "element " + std::to_string(i);
    int sidesInUse = 0;
    for (int s = 0; s < kPortSides; ++s) {
      if (e.portInUse[s] == 0) continue;
      if (e.portInUse[s] != 1) return Fault(why, ElementSide(i, s) + ": in-use flag neither 0 nor 1");
      ++sidesInUse;
      const BondRecord& b = d.bonds[e.portBond[s]];
      if (e.portIsHead[s] != 0 && e.portIsHead[s] != 1)
        return Fault(why, ElementSide(i, s) + ": head flag neither 0 nor 1");
      const bool head = e.portIsHead[s] == 1;
      if ((head ? b.headElement : b.tailElement) != i || (head ? b.headSide : b.tailSide) != s)
        return Fault(why, ElementSide(i, s) + ": its bond's end is elsewhere");
      if ((head ? b.tailElement : b.headElement) != e.portPartner[s])
        return Fault(why, ElementSide(i, s) + ": partner is not the bond's other end");
    }
    if (e.kind <= kKindSF && sidesInUse > 1) return Fault(why, element + ": a one-port with more than one bond");
    if (e.numbered != (e.kind < g_numberedKinds ? 1 : 0)) return Fault(why, element + ": numbered flag");
    if (e.number < 1 || e.number > g_kindCounters[e.kind]) return Fault(why, element + ": number out of range");
    for (int j = 0; j < i; ++j) {
      if (d.elements[j].kind == e.kind && d.elements[j].number == e.number)
        return Fault(why, element + ": number taken by element " + std::to_string(j));
    }
    if (e.height != g_fontHeight || e.box.right != e.box.left + e.width || e.box.bottom != e.box.top + e.height)
      return Fault(why, element + ": box is not its width and height");
  }
  for (int k = 0; k < g_bondCount; ++k) {
    const BondRecord& b = d.bonds[k];
    if (b.tailElement == b.headElement) return Fault(why, BondName(k) + ": both ends on one element");
    const ElementRecord& t = d.elements[b.tailElement];
    const ElementRecord& h = d.elements[b.headElement];
    if (t.portInUse[b.tailSide] != 1 || t.portBond[b.tailSide] != k || t.portIsHead[b.tailSide] != 0)
      return Fault(why, BondName(k) + ": the tail's side does not name it");
    if (h.portInUse[b.headSide] != 1 || h.portBond[b.headSide] != k || h.portIsHead[b.headSide] != 1)
      return Fault(why, BondName(k) + ": the head's side does not name it");
    if (t.kind < kKindZeroJunction && h.kind < kKindZeroJunction)
      return Fault(why, BondName(k) + ": no junction at either end");
  }
  return true;
}
