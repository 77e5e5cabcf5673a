#include "model_checks.h"

#include "document.h"
#include "model_source_writer.h"
#include "platform/canvas.h"
#include "platform/client_view.h"
#include "platform/cp932.h"
#include "platform/message_box.h"

#include <QString>

#include <cstdlib>
#include <locale.h>
#include <string>

namespace {

constexpr int kCircleRadius = 20;
constexpr plat::Rgb kCircleColor = plat::MakeRgb(255, 0, 0);

bool IsNumberedKind(int kind) { return kind >= 0 && kind < g_numberedKinds; }

// "C1 ", "SE12 ": the element's label and a blank.
std::string Label(const ElementRecord& e) { return kKindNames[e.kind] + std::to_string(e.number) + " "; }

void ShowMessage(QWidget* owner, const QString& text, const char* title) {
  plat::MessageBox(owner, text, QString::fromUtf8(title), plat::MB_OK);
}

// The number at the start of text as the C library's atof reads it, whatever the
// program's locale.
double ReadValue(const std::string& text) {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return strtod_l(text.c_str(), nullptr, c);
}

// The parameter names of an element, each with the value on the same line.
struct Parameter {
  std::string name;
  double value;
};
std::vector<Parameter> ParametersOf(const ElementRecord& e) {
  const std::string names = TextOf(e.parameterNames);
  const std::string values = TextOf(e.parameterValues);
  LineStartTable nameTable, valueTable;
  const int n = CountLineStarts(names, nameTable);
  BuildLineStartTable(values, valueTable);
  std::vector<Parameter> list;
  for (int k = 0; k < n; ++k)
    list.push_back({CopyTextLine(names, nameTable, k), ReadValue(CopyTextLine(values, valueTable, k))});
  return list;
}

}  // namespace

std::vector<int> FindFaultyJunctions() {
  std::vector<int> faulty;
  for (int i = 0; i < g_elementCount && i < kMaxElements; ++i) {
    const ElementRecord& e = g_document.elements[i];
    if (e.kind != kKindZeroJunction && e.kind != kKindOneJunction) continue;
    int n = 0, s = 0;
    for (int side = 0; side < kPortSides; ++side) {
      if (!e.portInUse[side]) continue;
      ++n;
      const int bond = e.portBond[side];
      if (!InBondTable(bond)) continue;
      const int strokeAtHead = g_document.bonds[bond].strokeAtHead;
      if ((e.portIsHead[side] && strokeAtHead == 1) || (!e.portIsHead[side] && strokeAtHead == 0)) ++s;
    }
    const bool bad = e.kind == kKindZeroJunction ? s != 1 : s != n - 1;
    if (bad) faulty.push_back(i);
  }
  return faulty;
}

int CheckJunctionStrokes(plat::ClientView* window) {
  const std::vector<int> faulty = FindFaultyJunctions();
  if (window && !faulty.empty()) {
    std::vector<Point> centres;
    for (int i : faulty) {
      const Rect& b = g_document.elements[i].box;
      centres.push_back(Point{(b.left + b.right) / 2, (b.top + b.bottom) / 2});
    }
    window->SetOverlay([centres](plat::WindowPaint& paint) {
      const plat::Pen pen = plat::Pen::Solid(1, kCircleColor);
      for (const Point& c : centres) {
        const int x = c.x - g_scrollX, y = c.y - g_scrollY;
        paint.Ellipse(x - kCircleRadius, y - kCircleRadius, x + kCircleRadius, y + kCircleRadius, pen);
      }
    });
  }
  return faulty.empty() ? 1 : 0;
}

int CheckEquationsPresent(QWidget* owner) {
  std::string labels;
  for (int i = 0; i < g_elementCount && i < kMaxElements; ++i) {
    const ElementRecord& e = g_document.elements[i];
    if (IsNumberedKind(e.kind) && e.equation[0] == '\0') labels += Label(e);
  }
  if (labels.empty()) return 1;
  ShowMessage(owner, QString::fromLatin1(labels.c_str()) + QString::fromUtf8("の特性式を入力してください."),
              "特性式エラー");
  return 0;
}

int CheckAllConnected(QWidget* owner) {
  for (int i = 0; i < g_elementCount && i < kMaxElements; ++i) {
    const ElementRecord& e = g_document.elements[i];
    bool connected = false;
    for (int side = 0; side < kPortSides; ++side) connected = connected || e.portInUse[side] == 1;
    if (connected) continue;
    QString what;
    if (IsNumberedKind(e.kind)) {
      what = QString::fromLatin1(Label(e).c_str());
    } else {
      what = QString::fromUtf8(e.kind == kKindZeroJunction ? "0接点" : "1接点");
    }
    ShowMessage(owner, what + QString::fromUtf8("に何もボンドがつながっていません"), "素子エラー");
    return 0;
  }
  return 1;
}

void CheckSharedVariables(QWidget* owner) {
  const int count = g_elementCount < kMaxElements ? g_elementCount : kMaxElements;
  std::vector<std::vector<Parameter>> parameters(static_cast<std::size_t>(count > 0 ? count : 0));
  for (int i = 0; i < count; ++i)
    if (IsNumberedKind(g_document.elements[i].kind)) parameters[i] = ParametersOf(g_document.elements[i]);
  for (int i = 0; i + 1 < count; ++i) {
    const ElementRecord& a = g_document.elements[i];
    if (!IsNumberedKind(a.kind)) continue;
    for (const Parameter& p : parameters[i]) {
      for (int j = i + 1; j < count; ++j) {
        const ElementRecord& b = g_document.elements[j];
        if (!IsNumberedKind(b.kind)) continue;
        for (const Parameter& q : parameters[j]) {
          if (p.name != q.name || p.value == q.value) continue;
          const QString text = QString::fromUtf8("%1素子と%2素子の\n変数名｢%3｣の値が違います.")
                                   .arg(QString::fromLatin1(Label(a).c_str()), QString::fromLatin1(Label(b).c_str()),
                                        plat::cp932::ToQString(p.name));
          ShowMessage(owner, text, "変数チェック");
          return;
        }
      }
    }
  }
  ShowMessage(owner, QString::fromUtf8("変数チェック終了"), "変数チェック");
}
