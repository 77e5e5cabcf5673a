// The diagram file: opening, saving and saving as, in the token format.
//
// The file is a stream of tokens with no header or separators; writer and
// reader walk one fixed field order, and the counts read first decide how many
// records follow. An integer token is the length of T = "%d " of the value,
// written "%d ", then T: 123 gives "4 123 ". A string token is the length of
// T = "%d " of the byte length, written "%d ", then T, then the bytes as they
// are stored (CP932, blanks, CR LF): "abc" gives "2 3 abc". The first part of
// a token is always exactly two bytes, a digit and a blank.
//
// A file is read into a separate DiagramContent and checked before it
// replaces the document, so a damaged or foreign file leaves the open diagram
// as it was.
#pragma once

#include "document.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QString;
class QWidget;
namespace plat {
class ClientView;
}

// The current diagram file (file-system bytes); empty when there is none.
extern std::string g_diagramFileName;

// The saved part of a diagram: elements, bonds, the per-kind counters, the
// numeric conditions and the output list.
struct DiagramContent {
  int kindCounters[kKindCount] = {};
  std::vector<ElementRecord> elements;
  std::vector<BondRecord> bonds;
  NumericConditions numeric = {};
  std::vector<OutputVariable> outputs;
};

// ---- tokens -------------------------------------------------------------------------------
// Appends one token. False (nothing appended) when T would be longer than 9
// bytes, which the two-byte first part cannot announce.
bool WriteIntField(std::string& file, int value);
bool WriteStringField(std::string& file, std::string_view text);

// A byte buffer read token by token.
struct TokenCursor {
  const char* data = nullptr;
  std::size_t size = 0;
  std::size_t pos = 0;
};
// Reads one integer token. False on a malformed token (first part not a digit
// and a blank, T not an optional minus, digits and one closing blank) or at
// the end of the data.
bool ReadIntField(TokenCursor& file, int& value);
// Reads one string token into a field of `capacity` bytes, zero-filled after
// the text. False on a malformed token, a text longer than capacity - 1 bytes,
// a zero byte inside the text or the end of the data.
bool ReadStringField(TokenCursor& file, char* field, std::size_t capacity);

// ---- whole diagrams -----------------------------------------------------------------------
// The saved part of the current document.
DiagramContent CurrentDiagram();
// The file bytes of a diagram. False when a count exceeds its capacity or an
// integer does not fit a token.
bool EncodeDiagram(const DiagramContent& diagram, std::string& file);
// Reads a whole diagram. False, with `diagram` unspecified, when the data is
// malformed, ends early, has a count outside its capacity, a per-kind counter
// that is negative or whose next number would overflow, a text longer than
// its field, a kind outside 0..8, a side in use whose bond or partner is not
// in the diagram, or a bond whose end or side is out of range. Bytes after the
// output list are ignored. Check boxes and strokes read non-zero as 1.
bool DecodeDiagram(const char* data, std::size_t size, DiagramContent& diagram);

// ---- operations ---------------------------------------------------------------------------
// The dialogs and messages are owned by window; showTitle (when given) is called
// with the whole title of a file that became the current one, for the caption.
using ShowFileTitle = std::function<void(const QString& title)>;
// Asks for a diagram file and replaces the document with it: labels and bonds
// drawn anew in view (when given), hit polygons recomputed, selection and bond
// drawing ended, the title shown. A file that cannot be read or fails the
// checks shows "ファイルを読み込めませんでした．" and changes nothing.
// 1 = opened; 0 = cancelled or refused (the current file name is then empty).
int OpenDiagram(QWidget* window, plat::ClientView* view = nullptr, const ShowFileTitle& showTitle = {});
// Asks for a file name and writes the document there atomically; on success
// the name becomes the current file name and its title is shown. A file that
// cannot be written shows "ファイルを保存できませんでした．"; the file and the
// current file name stay as they were and no title is shown.
// 1 = written; 0 = cancelled (the current file name is then empty) or failed.
int SaveDiagramAs(QWidget* window, const ShowFileTitle& showTitle = {});
// Writes the document to the current file name, or reports as above that it
// cannot; with no current name it saves as. 1 = written.
int SaveDiagram(QWidget* window, const ShowFileTitle& showTitle = {});
