#pragma once
// The menu manager: a menu bar built from a definition whose texts mark their
// accelerator with "~", with every item reachable by name.
#include <QString>
#include <functional>
#include <map>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;

namespace velmont::widgets {

struct MenuItemDef {
  QString name;                  // unique within the bar; empty for a separator
  QString text;                  // "E~xit"; ignored for a separator
  std::function<void()> action;  // may be empty (the item then does nothing)
  bool enabled = true;
  bool separator = false;
};

struct MenuDef {
  QString name;   // "files"
  QString title;  // "~File"
  std::vector<MenuItemDef> items;
};

// "~" marks the accelerator; a literal "&" stays a literal.
QString menuText(const QString& tildeText);

class MenuManager {
 public:
  MenuManager(QMenuBar* bar, const QString& name) : bar_(bar), name_(name) {}
  const QString& name() const { return name_; }
  QMenuBar* bar() const { return bar_; }
  // The item or menu of that name, or null.
  QAction* item(const QString& name) const;
  QMenu* menu(const QString& name) const;
  // Replaces what an item does (e.g. when a report's dialog becomes available).
  void setAction(const QString& name, std::function<void()> action);

 private:
  friend MenuManager* lmdMMgr(QMainWindow*, const QString&, const std::vector<MenuDef>&);
  QMenuBar* bar_;
  QString name_;
  std::map<QString, QAction*> items_;
  std::map<QString, QMenu*> menus_;
  std::map<QString, std::function<void()>> actions_;
};

// lmdMMgr: builds the window's menu bar; the manager belongs to the window.
MenuManager* lmdMMgr(QMainWindow* window, const QString& barName, const std::vector<MenuDef>& menus);

}  // namespace velmont::widgets
