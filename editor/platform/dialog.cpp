#include "platform/dialog.h"
namespace plat {
Dialog::Dialog(const DialogTemplate& t) : name_(QString::fromUtf8(t.name)), tx_(t.x), ty_(t.y) {}
Dialog::~Dialog() = default;
QWidget* Dialog::AddChildPx(int, Ctl, int, int, int, int, const QString&) { return nullptr; }
QWidget* Dialog::Child(int) const { return nullptr; }
std::string Dialog::GetText(int, std::size_t) const { return {}; }
void Dialog::SetText(int, std::string_view) {}
QString Dialog::GetTextU(int) const { return {}; }
void Dialog::SetTextU(int, const QString&) {}
bool Dialog::IsChecked(int) const { return false; }
void Dialog::Check(int, bool) {}
void Dialog::Enable(int, bool) {}
bool Dialog::IsEnabled(int) const { return false; }
void Dialog::ComboAdd(int, std::string_view) {}
int Dialog::ComboCount(int) const { return 0; }
int Dialog::ComboSelection(int) const { return -1; }
void Dialog::ComboSelect(int, int) {}
std::string Dialog::ComboText(int, int) const { return {}; }
void Dialog::ListAddColumn(int, const QString&, int, Align) {}
void Dialog::ListInsertRow(int, int, const std::vector<std::string>&) {}
void Dialog::ListDeleteRow(int, int) {}
int Dialog::ListRowCount(int) const { return 0; }
int Dialog::ListNextSelected(int, int) const { return -1; }
void Dialog::ListSelect(int, int, bool) {}
std::string Dialog::ListText(int, int, int) const { return {}; }
void Dialog::End(int code) { ended_ = true; endCode_ = code; }
void Dialog::Command(int id) { OnCommand(id); }
void Dialog::Press(int id) { Command(id); }
void Dialog::ChooseCombo(int id, int) { Command(id); }
void Dialog::PressEscape() { Command(2); }
void Dialog::PressCloseBox() { Command(2); }
void Dialog::PressEnter() { Command(1); }
void Dialog::reject() { Command(2); }
void Dialog::accept() { Command(1); }
void Dialog::keyPressEvent(QKeyEvent* e) { QDialog::keyPressEvent(e); }
void Dialog::done(int r) { QDialog::done(r); }
void Dialog::MakeControl(int, Ctl, const QString&, int, int, int, int) {}
Dialog::Control* Dialog::Find(int) { return nullptr; }
const Dialog::Control* Dialog::Find(int) const { return nullptr; }
int RunModal(Dialog& d, QWidget*) { d.OnInit(); return d.Ended() ? d.EndCode() : -1; }
namespace dlgscript {
static std::vector<std::string> g_opened;
void Begin() {}
void End() {}
bool Active() { return false; }
void Queue(const std::string&, Script) {}
int Pending(const std::string&) { return 0; }
const std::vector<std::string>& Opened() { return g_opened; }
void SetShownHook(std::function<void(Dialog&)>) {}
}  // namespace dlgscript
}  // namespace plat
