// Experimental data: a source element driven by a file of measured points, through interpolation code in its definition block.
//
// The dialog INPUT_EXP_RESULT attaches data to an SE or SF element: it stores
// the file name and the generated C or Fortran code (in the target language
// current at that moment) in the element; the model-source writer puts the
// code before the element's characteristic equation. Attachments live only in
// the open document.
#pragma once

#include <string>

class QWidget;

// The dialog's edit field as "追加" read it last (CP932, at most 199 bytes).
extern char g_expDataFileName[200];

// The interpolation code for a source of kind kKindSE (effort) or kKindSF (flow),
// every line ended by LF; language 0 = C, any other = Fortran. fileName is the
// file-system (UTF-8) name; it is escaped for the language's string literal.
std::string ExperimentalDataCode(int language, int kind, const std::string& fileName);

// A file name inside a C string literal ('\' and '"' escaped) and inside a
// Fortran one ('\'' doubled).
std::string EscapeForCString(const std::string& text);
std::string EscapeForFortranString(const std::string& text);

// The first SE or SF element in use whose label ("SE2", "SF12") is exactly
// label; -1 when there is none.
int FindSourceElement(const std::string& label);

// Attaches data to the SE or SF element labelled label: its file name (CP932 as
// typed) and the code for the current target language. false, changing nothing,
// when no such element exists.
bool AttachExperimentalDataTo(const std::string& label, const std::string& fileName);
// Detaches the element labelled exactly label (SE12 never detaches SE1).
void DetachExperimentalDataFrom(const std::string& label);

// INPUT_EXP_RESULT "実験値入力", modal, owned by owner; closes only through
// "閉じる" (or Enter). Returns the end code (0).
int RunExperimentalDataDialog(QWidget* owner);
