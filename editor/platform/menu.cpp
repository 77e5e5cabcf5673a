#include "platform/menu.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>

#include <vector>

namespace plat {

namespace {

// Words and quoted strings of the resource text; commas separate like blanks.
std::vector<QString> Tokens(const QString& text, bool* ok) {
  std::vector<QString> out;
  *ok = true;
  int i = 0;
  const int n = text.size();
  while (i < n) {
    const QChar c = text[i];
    if (c.isSpace() || c == QLatin1Char(',')) {
      ++i;
    } else if (c == QLatin1Char('/') && i + 1 < n && text[i + 1] == QLatin1Char('/')) {
      while (i < n && text[i] != QLatin1Char('\n')) ++i;
    } else if (c == QLatin1Char('"')) {
      QString s(QLatin1Char('"'));
      ++i;
      while (i < n && text[i] != QLatin1Char('"')) s += text[i++];
      if (i >= n) {
        *ok = false;
        return out;
      }
      ++i;
      out.push_back(s);
    } else {
      QString w;
      while (i < n && !text[i].isSpace() && text[i] != QLatin1Char(',')) w += text[i++];
      out.push_back(w);
    }
  }
  return out;
}

bool IsQuoted(const QString& t) { return t.startsWith(QLatin1Char('"')); }

struct Parser {
  const std::vector<QString>& t;
  size_t pos = 0;
  std::function<void(int)> onCommand;
  std::map<int, QAction*>* items;

  bool Expect(const char* word) {
    if (pos < t.size() && t[pos].compare(QLatin1String(word), Qt::CaseInsensitive) == 0) {
      ++pos;
      return true;
    }
    return false;
  }

  // Items up to the matching END, added to menu (or to the bar at top level).
  bool Block(QMenuBar* bar, QMenu* menu) {
    if (!Expect("BEGIN")) return false;
    while (pos < t.size()) {
      if (Expect("END")) return true;
      if (Expect("POPUP")) {
        if (pos >= t.size() || !IsQuoted(t[pos])) return false;
        const QString title = t[pos++].mid(1);
        QMenu* sub = bar ? bar->addMenu(title) : menu->addMenu(title);
        if (!Block(nullptr, sub)) return false;
      } else if (Expect("MENUITEM")) {
        if (pos + 1 >= t.size() || !IsQuoted(t[pos])) return false;
        const QString text = t[pos++].mid(1);
        bool ok = false;
        const int id = t[pos++].toInt(&ok);
        if (!ok) return false;
        QAction* a = bar ? bar->addAction(text) : menu->addAction(text);
        a->setData(id);
        std::function<void(int)> cb = onCommand;
        QObject::connect(a, &QAction::triggered, a, [cb, id]() {
          if (cb) cb(id);
        });
        (*items)[id] = a;
      } else {
        return false;
      }
    }
    return false;
  }
};

}  // namespace

bool Menu::Load(QMenuBar* bar, const QString& path, std::function<void(int)> onCommand) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return false;
  return LoadText(bar, QString::fromUtf8(f.readAll()), std::move(onCommand));
}

bool Menu::LoadText(QMenuBar* bar, const QString& text, std::function<void(int)> onCommand) {
  bool ok = false;
  const std::vector<QString> tokens = Tokens(text, &ok);
  if (!ok || tokens.size() < 2 || tokens[1].compare(QLatin1String("MENU"), Qt::CaseInsensitive) != 0) return false;
  std::map<int, QAction*> items;
  Parser parser{tokens, 2, std::move(onCommand), &items};
  if (!parser.Block(bar, nullptr) || parser.pos != tokens.size()) {
    bar->clear();
    return false;
  }
  name_ = tokens[0];
  items_ = std::move(items);
  return true;
}

QAction* Menu::Item(int id) const {
  auto it = items_.find(id);
  return it == items_.end() ? nullptr : it->second;
}

void Menu::Check(int id, bool on) {
  if (QAction* a = Item(id)) {
    a->setCheckable(true);
    a->setChecked(on);
  }
}

void Menu::Enable(int id, bool on) {
  if (QAction* a = Item(id)) a->setEnabled(on);
}

}  // namespace plat
