// The diagram document: element and bond records with their fixed
// capacities, the editor's global state with its start values, placing and
// numbering of new elements, and the initialisers of new records.
//
// Every text field holds CP932 bytes with a terminating zero; a field of N
// bytes holds at most N - 1 bytes. Conversion to and from QString happens only
// at the widgets.
#pragma once

#include "platform/region.h"
#include "resources/command_ids.h"

#include <cstddef>
#include <string>
#include <vector>

using Rect = plat::Rect;
using Point = plat::Point;

// ---- capacities ------------------------------------------------------------
inline constexpr int kMaxElements = 500;
inline constexpr int kMaxBonds = 500;
inline constexpr int kMaxOutputVariables = 100;
inline constexpr int kMaxUsedVariables = 20;
inline constexpr int kMaxFeedbackVariables = 20;
inline constexpr int kPortSides = 8;
inline constexpr int kKindCount = 9;

// ---- element kinds --------------------------------------------------------
// ElementKind, 0 to 8: C, I, R, SE, SF, TF, GY, 0-junction, 1-junction.
using ElementKind = int;
enum : int {
  kKindC = 0, kKindI = 1, kKindR = 2, kKindSE = 3, kKindSF = 4,
  kKindTF = 5, kKindGY = 6, kKindZeroJunction = 7, kKindOneJunction = 8
};

// PortSide, 0 to 7: left, left-top, top, right-top, right, right-bottom,
// bottom, left-bottom.
using PortSide = int;
inline constexpr int OppositeSide(int side) { return (side + 4) % 8; }

inline constexpr const char* kKindNames[kKindCount] = {"C", "I", "R", "SE", "SF", "TF", "GY", "0", "1"};
// Codes of the kinds in the model-source file.
inline constexpr const char* kKindCodes[kKindCount] = {"CI", "II", "RE", "SE", "SF", "TF", "GY", "ZJ", "OJ"};
inline constexpr double kLabelWidthFactors[kKindCount] = {0.6, 0.3, 0.6, 1.1, 1.0, 1.1, 1.3, 0.5, 0.5};

// ---- records ---------------------------------------------------------------
struct UsedVariable {
  char type[10];     // "整数" (integer) or "実数" (real)
  char name[10];
  char comment[15];
};

struct FeedbackVariable {
  char name[10];
  char kind[15];     // "Effort", "Flow", "Momentum" or "Displacement"
  char bond[5];      // 1-based bond number as text
};

struct OutputVariable {
  char kindName[20]; // "Effort", "Flow", "Momentum", "Displacement", "Power" or "Energy"
  char bondText[5];  // 1-based bond number as text
};

struct NumericConditions {
  char startTime[20];
  char endTime[20];
  char timeStep[20];
  char outputPoints[20];
};

struct ElementRecord {
  int kind;                     // ElementKind
  int number;                   // from 1, unique within the kind
  int width;                    // box width in pixels
  int height;                   // box height (= g_fontHeight)
  Rect box;                     // right = left + width, bottom = top + height
  int portBond[kPortSides];     // bond on the side, meaningful where portInUse is 1
  int portInUse[kPortSides];    // 1 = the side carries a bond
  int portPartner[kPortSides];  // element at the bond's other end, -1 = free
  int portIsHead[kPortSides];   // 1 = this element is the bond's head
  int numbered;                 // 1 for kinds 0 to 6
  char parameterNames[410];     // ParameterTexts, lines separated by CR LF
  char parameterValues[610];
  char parameterUnits[560];
  char parameterComments[810];
  char extraTexts[8][60];
  char extraText2430[50];
  char extraText2440[50];
  char extraText2450[80];
  char equation[2100];          // characteristic equation, CR LF lines
  int checkBoxes[8];
  int usedCount;                // 0 to kMaxUsedVariables
  int feedbackCount;            // 0 to kMaxFeedbackVariables
  UsedVariable used[kMaxUsedVariables];
  FeedbackVariable feedback[kMaxFeedbackVariables];
  int staleMark;                // 1 = circled in red
  int hasExpData;               // ExperimentalData attached
  std::string expDataCode;      // generated interpolation code (any length)
  char expDataFile[256];        // data file name as typed
};

struct BondRecord {
  int headElement;              // the arrow end: second element clicked
  int tailElement;              // first element clicked
  int headSide;                 // PortSide at the head element
  int tailSide;                 // PortSide at the tail element
  Point hitPolygon[4];
  plat::Region hitRegion;       // made from hitPolygon; not saved
  int reserved[4];
  int strokeAtHead;             // 1 = causal stroke at the head end
  int hasInitialValue;
  char initialName[8];          // "DP" or "MN" + display number
  char initialValue[20];
};

struct DiagramDocument {
  plat::Region occupiedRegion;  // union of the element boxes drawn so far
  plat::Region spareRegion;     // made empty with occupiedRegion; New makes it the occupied one
  Rect selectionRect;
  ElementRecord elements[kMaxElements];  // slots 0 .. g_elementCount - 1 in use
  NumericConditions numeric;
  char outputFileName[20];      // result name; not saved, not reset by New
  int outputCount;              // 0 to kMaxOutputVariables
  OutputVariable outputs[kMaxOutputVariables];
  int initialValueKind;         // 0 = displacement, 1 = momentum
  BondRecord bonds[kMaxBonds];  // slots 0 .. g_bondCount - 1 in use
  int strokeHeadElement;
  int strokeTailElement;
  // SelectionState: selectionRect and these three.
  int selectedIndex;
  int selectionActive;
  int selectionIsElement;
};

// ---- the document and the editor's global state ----------------------------
extern DiagramDocument g_document;  // all zero at program start

extern int g_currentTool;           // 1200
inline constexpr int g_fontHeight = 30;
inline constexpr int g_numberedKinds = 7;
inline constexpr int g_scrollUnit = 1;
extern int g_elementCount;          // 0
extern int g_bondCount;             // 0
extern int g_kindCounters[kKindCount];  // per kind the highest number given so far
extern int g_currentIndex;          // 0
extern int g_startX;                // 0
extern int g_startY;                // 0
extern int g_strokeBond;            // 0
extern int g_scrollX;               // 0
extern int g_scrollY;               // 0
extern int g_language;              // 0 = C, other = Fortran
extern int g_advanceMode;           // 0
extern std::string g_startDirectory;  // empty; the current directory at initialisation
extern int g_elementDragging;       // 0
extern int g_bondDrawing;           // 0
extern int g_documentSaved;         // 0 (1 from window creation on)
extern int g_autoTimeStep;          // 0

// Puts the document, every global above and the globals of every other source
// file back to their program-start values (for tests).
void ResetEditorState();
// A source file with globals of its own registers their reset once, in its
// unnamed namespace: `const EditorResetHook kResetHook(&ResetMyGlobals);`;
// ResetEditorState runs every hook after resetting the document.
struct EditorResetHook {
  explicit EditorResetHook(void (*function)());
};

// ---- text fields ------------------------------------------------------------
// Stores text into a byte field, cut to at most N - 1 bytes on a CP932
// character boundary, zero-terminated.
void StoreTextBytes(char* field, std::size_t capacity, const char* text, std::size_t length);
template <std::size_t N>
void StoreText(char (&field)[N], const std::string& text) {
  StoreTextBytes(field, N, text.data(), text.size());
}
// The bytes of a field up to its terminating zero (or its end).
template <std::size_t N>
std::string TextOf(const char (&field)[N]) {
  std::size_t n = 0;
  while (n < N && field[n] != '\0') ++n;
  return std::string(field, n);
}

void ZeroBytes(void* address, std::size_t count);

// ---- operations -------------------------------------------------------------
// Regions, numeric conditions, output count, start directory, advanced mode
// and the [Directory] defaults of vork.ini. Window creation and New.
void InitDocumentAndSettings();
// Lays out a new element of the current placing tool's kind in slot
// g_elementCount, centred on the client point; 1 = placed, 0 = refused (box
// meets the occupied region, or the table is full).
int PlaceElement(int clientX, int clientY);
// Initialises slot g_elementCount after PlaceElement returned 1.
void InitNewElement();
void ClearElementTexts(int element);
// Initialises bond slot g_bondCount (not beyond the table).
void InitBondSlot();
// Releases occupiedRegion and spareRegion (window destruction).
void DeleteRegions();

// ---- the element and bond tables ----------------------------------------------
// The counts, the per-kind counters and the cross-references between the
// elements' sides and the bonds' ends are written only by these functions.

// A slot of the table, in use or not: 0 .. capacity - 1.
inline bool InElementTable(int i) { return i >= 0 && i < kMaxElements; }
inline bool InBondTable(int k) { return k >= 0 && k < kMaxBonds; }
// A slot in use: below the count, inside the table.
inline bool ElementInUse(int i) { return InElementTable(i) && i < g_elementCount; }
inline bool BondInUse(int k) { return InBondTable(k) && k < g_bondCount; }

// A placement with the current placing tool centred on the client point
// (PlaceElement), the new record (InitNewElement) and the count: the new
// element's index, or -1 when refused. Drawing it is the caller's.
int AppendElementAt(int clientX, int clientY);
// The new bond in slot g_bondCount from side tailSide of tail to side headSide
// of head: both sides' entries (in use, bond, partner, head flag), the ends with
// the hit polygon and region (SetBondEnds), the slot's initial values
// (InitBondSlot), the count. Its index; -1, with nothing written, when the table
// is full, an end is not in use, both ends are one element, or a side is out of
// range or carries a bond. The stroke is the caller's, and so are the rules of
// which elements may be joined.
int AppendBond(int tail, int tailSide, int head, int headSide);
// Bond k out of the table: its two sides freed (in use 0, bond -1; partner and
// head flag left as they are), every bond index above k on every side of every
// element lowered by one, its hit region cleared, the later records moved down
// one slot. The slot at the old last index keeps its contents.
void RemoveBond(int k);
// Element i out of the table: each bond on its sides removed (RemoveBond, side
// 0 first, each side's index read after the removals before it), every partner
// above i on a side in use and every bond end above i lowered by one, the later
// records moved down one slot; the slot at the old last index keeps its
// contents. Returns the lowest index the removed bonds had before the removal,
// -1 when none went with it.
int RemoveElement(int i);
// New: the slots in use emptied (kind, number, geometry, texts, attachment,
// sides in use and mark; bond ends, sides, polygon, region and reserved values),
// both counts 0. The per-kind counters stay.
void ClearTables();
// An opened diagram: its records in the tables, the slots the previous diagram
// used beyond them emptied, the per-kind counters, the counts.
void ReplaceTables(const std::vector<ElementRecord>& elements, const std::vector<BondRecord>& bonds,
                   const int (&kindCounters)[kKindCount]);

// What the diagram reader checks of a file, over the tables: every count
// within its capacity, every per-kind counter usable for the next number, every
// kind 0 to 8, every side marked in use naming a bond and a partner in use,
// every bond's ends in use with sides 0 to 7, the variable and output counts
// within theirs. Every index the editor follows from a record then stays in its
// table. False with the first fault in *why (when why is given).
bool TablesInRange(std::string* why);
// TablesInRange, and what the records promise of the slots in use (slots at or
// after a count, and the sides not in use, may hold anything):
// - a side in use has flag 1, a head flag of 0 or 1, and names a bond whose end
//   at that flag is this element at this side and whose other end is the partner;
// - a bond joins two different elements, and both its ends are sides in use that
//   name it, the tail's with head flag 0, the head's with 1;
// - an element of kind 0 to 4 has at most one side in use; one end of every bond
//   is a junction;
// - numbered is 1 exactly for kinds 0 to 6; every number is from 1 up to the
//   kind's counter and unique within the kind;
// - the box is width x height with height g_fontHeight.
bool TablesConsistent(std::string* why);
