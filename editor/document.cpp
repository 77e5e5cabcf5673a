#include "document.h"

#include "canvas_drawing.h"
#include "platform/cp932.h"
#include "platform/fs.h"
#include "settings.h"

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
  if (g_elementCount < 0 || g_elementCount >= kMaxElements) return 0;
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
  if (g_elementCount < 0 || g_elementCount >= kMaxElements) return;
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
  if (element < 0 || element >= kMaxElements) return;
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
  if (g_bondCount < 0 || g_bondCount >= kMaxBonds) return;
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
