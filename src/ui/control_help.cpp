#include "ui/control_help.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabBar>
#include <string>
#include <string_view>

namespace quorl {

namespace {

constexpr ControlHelp kHelp[] = {
#include "ui/control_help.def"
};

QString Plain(QString text) {
  text.remove(QLatin1Char('&'));
  return text.simplified();
}

}  // namespace

std::span<const ControlHelp> ControlHelpTable() {
  return kHelp;
}

// `pattern` with each '*' standing for any text.
bool Matches(std::string_view pattern, std::string_view name) {
  const std::size_t star = pattern.find('*');
  if (star == std::string_view::npos) return pattern == name;
  if (!name.starts_with(pattern.substr(0, star))) return false;
  const std::string_view rest = pattern.substr(star + 1);
  for (std::size_t at = star; at <= name.size(); ++at)
    if (Matches(rest, name.substr(at))) return true;
  return false;
}

const ControlHelp* FindControlHelp(std::string_view window_name, std::string_view object_name) {
  const std::string qualified = std::string(window_name) + '/' + std::string(object_name);
  for (const ControlHelp& row : kHelp)
    if (qualified == row.object_name) return &row;
  for (const ControlHelp& row : kHelp)
    if (object_name == row.object_name) return &row;
  for (const ControlHelp& row : kHelp)
    if (std::string_view(row.object_name).find('*') != std::string_view::npos &&
        Matches(row.object_name, object_name))
      return &row;
  return nullptr;
}

bool IsInputControl(const QWidget* widget) {
  // The scroll buttons of a tab bar, the editor of a combo box and the scroll
  // bars of a scrolling area are parts of those controls, not controls of
  // their own.
  const QWidget* parent = widget->parentWidget();
  if (parent && (qobject_cast<const QTabBar*>(parent) || qobject_cast<const QComboBox*>(parent)))
    return false;
  if (qobject_cast<const QScrollBar*>(widget) && parent &&
      qobject_cast<const QAbstractScrollArea*>(parent->parentWidget()))
    return false;
  return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QLineEdit*>(widget) ||
         qobject_cast<const QAbstractSlider*>(widget) || qobject_cast<const QComboBox*>(widget) ||
         qobject_cast<const QTabBar*>(widget);
}

void ApplyControlHelp(QWidget* window) {
  const QList<QLabel*> labels = window->findChildren<QLabel*>();
  for (QWidget* control : window->findChildren<QWidget*>()) {
    if (!IsInputControl(control)) continue;
    if (const ControlHelp* help =
            FindControlHelp(window->objectName().toStdString(), control->objectName().toStdString()))
      control->setToolTip(QString::fromUtf8(help->tooltip));
    if (!control->accessibleName().isEmpty()) continue;
    QString spoken;
    if (auto* button = qobject_cast<QAbstractButton*>(control)) spoken = Plain(button->text());
    for (QLabel* label : labels)
      if (spoken.isEmpty() && label->buddy() == control) spoken = Plain(label->text());
    if (!spoken.isEmpty()) control->setAccessibleName(spoken);
  }
}

}  // namespace quorl
