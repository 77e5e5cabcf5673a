// Modal message boxes with the answers and Escape rules of the classic message box:
// Yes/No ignores Escape and has no working close box; OK/Cancel answers Escape with
// Cancel; OK answers it with OK.
#pragma once
#include "platform/dialog_ids.h"

#include <QString>
#include <vector>

class QWidget;

namespace plat {

// Button sets and icons.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_ICONERROR = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;

// Answers: IDOK and IDCANCEL (platform/dialog_ids.h), IDYES and IDNO.
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Shows text and title (Unicode; convert document bytes with cp932::ToQString) and
// returns IDOK, IDCANCEL, IDYES or IDNO.
int MessageBox(QWidget* owner, const QString& text, const QString& title, unsigned flags);

// Test hook. While scripting is on no box is shown: each call is recorded and takes
// the next queued answer. Queue kEscape or kCloseBox to press Escape or the close box;
// they follow the rules above (an ignored Escape takes the next queued answer). With
// the queue empty a box answers with its first button (IDOK or IDYES).
namespace msgscript {
constexpr int kEscape = -100;
constexpr int kCloseBox = -101;
struct Record {
  QString text;
  QString title;
  unsigned flags = 0;
  int answer = 0;
};
void Begin();              // scripting on, queue and records emptied
void End();                // scripting off (real boxes again)
bool Active();
void Answer(int answer);   // queue one answer (IDOK, IDYES, kEscape, ...)
const std::vector<Record>& Records();
int Pending();             // answers still queued
}  // namespace msgscript

}  // namespace plat
