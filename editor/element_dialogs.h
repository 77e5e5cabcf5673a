// The element-parameter dialog ELEMENT_PARAMETER_DIALOG (parameters,
// characteristic equation, used and feedback variables) and the initial-value
// dialog INITIAL_VALUE_DIALOG of a bond's state.
#pragma once

class QWidget;
namespace plat {
class ClientView;
}

// ELEMENT_PARAMETER_DIALOG for element g_currentIndex; the end code.
int RunElementParameterDialog(QWidget* owner);
// After a key press with no element selected: opens INITIAL_VALUE_DIALOG when
// the selected bond has a C or I end.
void EditInitialValueOfSelectedBond(plat::ClientView* window);
