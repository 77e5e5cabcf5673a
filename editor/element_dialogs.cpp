#include "element_dialogs.h"

int RunElementParameterDialog(QWidget*) { return 2; }
void EditInitialValueOfSelectedBond(plat::ClientView*) {}
