#include "document.h"

#include <cstring>

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

void ResetEditorState() {}
void StoreTextBytes(char* field, std::size_t capacity, const char* text, std::size_t length) {
  if (capacity == 0) return;
  if (length > capacity - 1) length = capacity - 1;
  std::memcpy(field, text, length);
  field[length] = '\0';
}
void ZeroBytes(void* address, std::size_t count) { std::memset(address, 0, count); }
void InitDocumentAndSettings() {}
int PlaceElement(int, int) { return 0; }
void InitNewElement() {}
void ClearElementTexts(int) {}
void InitBondSlot() {}
void DeleteRegions() {}
