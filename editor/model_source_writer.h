// The model-source writer: the document written as the model source temp.VRK
// (keyword line, BOND, OUT, DEFIN, PARM and INIT sections in fixed columns),
// and the line tables of the multi-line texts of the element dialog.
#pragma once

#include "document.h"

#include <string>
#include <string_view>
#include <vector>

// The output kinds the model source knows, in the order the output dialog offers them;
// a feedback variable takes one of the first four.
inline constexpr const char* kOutputKindNames[] = {"Effort", "Flow", "Momentum", "Displacement", "Power", "Energy"};

// Where each line of a multi-line text begins. Entry 0 is 0, entry k (1 <= k < n)
// the offset just after the k-th LF, entry n the text's length + 2 (as if the last
// line were followed by CR LF). A line ends at its LF; one CR before the LF is not
// part of the line. Lines at or beyond n read as empty.
struct LineStartTable {
  std::vector<int> entries;
  int Lines() const { return entries.empty() ? 0 : static_cast<int>(entries.size()) - 1; }
};

// Fills the table of text and returns its number of lines (LF count + 1); an empty
// text has no lines.
int CountLineStarts(std::string_view text, LineStartTable& table);
// The same fill, an empty text counting as one empty line.
void BuildLineStartTable(std::string_view text, LineStartTable& table);
// Line k of text without its line end; empty for a line at or beyond the table's end.
std::string CopyTextLine(std::string_view text, const LineStartTable& table, int k);

// Appends line k of text, then blanks up to width bytes; a longer line is written
// whole with no blank after it, a missing line as width blanks.
void WriteTextLinePadded(std::string& out, std::string_view text, const LineStartTable& table, int k, int width);
// "int " (type "整数") or "double ", the name, ";" and LF.
void WriteDeclarationLine(std::string& out, const ElementRecord& element, int entry);
// "FB: ", the name padded to 6, a blank, the kind code, the bond text and LF.
void WriteFeedbackLine(std::string& out, const ElementRecord& element, int entry);

// The whole model source of the document, byte for byte.
std::string ModelSourceText();

// The model-source file's name in the working directory.
inline constexpr char kModelSourceName[] = "temp.VRK";

// Writes ModelSourceText() as temp.VRK in the current directory, replacing the file
// whole or not at all. When it cannot be written the old temp.VRK is removed, so the
// model compiler never reads a stale model. True when the file was written.
bool WriteModelSource();
