#include "run_settings_dialogs.h"
#include "platform/dialog.h"
int RunOutputSettingDialog(QWidget*) { return 2; }
int RunOutputFileNameDialog(QWidget*) { return 2; }
int RunNumericConditionsDialog(QWidget*) { return 2; }
int RunSelectCompilerDialog(QWidget*) { return 1; }
void RunFromDiagram(plat::Dialog&) {}
