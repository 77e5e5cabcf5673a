#include "platform/message_box.h"
namespace plat {
int MessageBox(QWidget*, const QString&, const QString&, unsigned) { return IDOK; }
namespace msgscript {
static std::vector<Record> g_records;
void Begin() {}
void End() {}
bool Active() { return false; }
void Answer(int) {}
const std::vector<Record>& Records() { return g_records; }
int Pending() { return 0; }
}  // namespace msgscript
}  // namespace plat
