// The run-settings dialogs: output variables, result name, numerical conditions and the
// compiler choice. Each Run* function runs its dialog modally, owned by owner, and
// returns the end code.
#pragma once

class QWidget;
namespace plat { class Dialog; }

// OUT_PUT_SETTING_DIALOG "出力変数の決定": the output list, changed at once by its buttons.
int RunOutputSettingDialog(QWidget* owner);
// OUT_VARIABLE_DIALOG "出力ファイル名の入力": the result name, stored at OK.
int RunOutputFileNameDialog(QWidget* owner);
// TIME_STEP_DIALOG "Numerical conditions": the four times and the automatic time step.
int RunNumericConditionsDialog(QWidget* owner);
// SELECT_COMPILER "コンパイラの選択": target language and compiler commands in vork.ini;
// closes only through OK. Start-up and the compiler command run it.
int RunSelectCompilerDialog(QWidget* owner);

