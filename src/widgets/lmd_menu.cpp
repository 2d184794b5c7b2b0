#include "lmd_menu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <memory>

namespace velmont::widgets {

QString menuText(const QString& tildeText) {
  QString out;
  for (const QChar c : tildeText) {
    if (c == '&') out += "&&";
    else if (c == '~') out += '&';
    else out += c;
  }
  return out;
}

QAction* MenuManager::item(const QString& name) const {
  auto it = items_.find(name);
  return it == items_.end() ? nullptr : it->second;
}

QMenu* MenuManager::menu(const QString& name) const {
  auto it = menus_.find(name);
  return it == menus_.end() ? nullptr : it->second;
}

void MenuManager::setAction(const QString& name, std::function<void()> action) { actions_[name] = std::move(action); }

MenuManager* lmdMMgr(QMainWindow* window, const QString& barName, const std::vector<MenuDef>& menus) {
  QMenuBar* bar = window->menuBar();
  bar->setObjectName(barName);
  auto* manager = new MenuManager(bar, barName);
  // The manager lives as long as its bar.
  QObject::connect(bar, &QObject::destroyed, [manager] { delete manager; });
  for (const MenuDef& def : menus) {
    QMenu* menu = bar->addMenu(menuText(def.title));
    menu->setObjectName(def.name);
    manager->menus_[def.name] = menu;
    for (const MenuItemDef& item : def.items) {
      if (item.separator) {
        menu->addSeparator();
        continue;
      }
      QAction* action = menu->addAction(menuText(item.text));
      action->setObjectName(item.name);
      action->setEnabled(item.enabled);
      manager->items_[item.name] = action;
      manager->actions_[item.name] = item.action;
      const QString name = item.name;
      QObject::connect(action, &QAction::triggered, action, [manager, name] {
        auto it = manager->actions_.find(name);
        if (it != manager->actions_.end() && it->second) it->second();
      });
    }
  }
  return manager;
}

}  // namespace velmont::widgets
