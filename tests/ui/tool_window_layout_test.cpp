// Every tool window is laid out so that nothing is cut off or overlaps, with
// the ordinary font and with one 1.75 times larger (and, run a second time
// by ctest, at a screen scale of 1.75); every control has its tooltip from
// the one help table and an accessible name. With QUORL_SHOT_DIR set, each
// window is also saved there as a picture to look at.
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QtTest>

#include "settings/window_layout.h"
#include "support/ui_test_support.h"
#include "ui/control_help.h"
#include "ui/main_window.h"
#include "ui/tool_window.h"

using namespace quorl;

namespace {

bool InLayout(const QLayout* layout, const QWidget* widget) {
  if (!layout) return false;
  for (int i = 0; i < layout->count(); ++i) {
    QLayoutItem* item = layout->itemAt(i);
    if (item->widget() == widget) return true;
    if (item->layout() && InLayout(item->layout(), widget)) return true;
  }
  return false;
}

QString Describe(const QWidget* widget) {
  return QStringLiteral("%1 %2 (%3)")
      .arg(QString::fromUtf8(widget->metaObject()->className()), widget->objectName(),
           widget->window()->objectName());
}

// Faults of the shown part of `window`: controls outside their parent,
// narrower or lower than their text needs, or overlapping a laid-out
// sibling.
QStringList LayoutFaults(QWidget* window) {
  QStringList faults;
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    if (!widget->isVisibleTo(window) || widget->isWindow()) continue;
    QWidget* parent = widget->parentWidget();
    auto* scroller = qobject_cast<QScrollArea*>(parent->parentWidget());
    if (scroller && scroller->widget() == widget) {
      // A scrolled body may be higher than its view, never wider, and the
      // scroll bar reaches all of it.
      const int hidden = widget->height() - parent->height();
      if (widget->width() > parent->width() ||
          (hidden > 0 && scroller->verticalScrollBar()->maximum() < hidden))
        faults << Describe(widget) + QStringLiteral(" cannot be scrolled into view");
    } else if (!parent->rect().contains(widget->geometry())) {
      faults << Describe(widget) + QStringLiteral(" lies outside its parent");
    }
    const QSize needed = widget->minimumSizeHint();
    if (IsInputControl(widget) || qobject_cast<QLabel*>(widget)) {
      if (widget->width() < needed.width() || widget->height() < needed.height())
        faults << Describe(widget) + QStringLiteral(" is cut off");
    }
    if (!InLayout(parent->layout(), widget)) continue;
    for (QWidget* sibling : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (sibling <= widget || !sibling->isVisibleTo(window) || !InLayout(parent->layout(), sibling))
        continue;
      if (widget->geometry().intersects(sibling->geometry()))
        faults << Describe(widget) + QStringLiteral(" overlaps ") + Describe(sibling);
    }
  }
  return faults;
}

void SaveShot(QWidget* window, const QString& suffix) {
  const QString folder = qEnvironmentVariable("QUORL_SHOT_DIR");
  if (folder.isEmpty()) return;
  const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));
  window->grab().save(
      QStringLiteral("%1/%2_%3_scale%4.png").arg(folder, window->objectName(), suffix, scale));
}

}  // namespace

class ToolWindowLayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void windowsAreLaidOutWithoutOverlapsAtBothFontSizes_data() {
    QTest::addColumn<double>("font_scale");
    QTest::newRow("font 1") << 1.0;
    QTest::newRow("font 1.75") << 1.75;
  }

  void windowsAreLaidOutWithoutOverlapsAtBothFontSizes() {
    QFETCH(double, font_scale);
    const QFont ordinary = QApplication::font();
    QFont font = ordinary;
    font.setPointSizeF(ordinary.pointSizeF() * font_scale);
    QApplication::setFont(font);

    QTemporaryDir home;
    test::UseSettingsFolder(home.path());
    test::RecordingDialogs dialogs;
    {
      MainWindow window;
      const QList<ToolWindow*> tools = window.findChildren<ToolWindow*>();
      QCOMPARE(tools.size(), 11);
      QStringList faults;
      for (ToolWindow* tool : tools) {
        tool->SetFolded(false);
        tool->show();
        QCoreApplication::processEvents();
        QVERIFY2(tool->height() > ToolWindow::kFoldedHeight, qPrintable(tool->objectName()));
        const QString suffix = font_scale > 1 ? QStringLiteral("large") : QStringLiteral("ordinary");
        if (auto* tabs = tool->findChild<QTabBar*>()) {
          // Every page of a window with tabs, and the window keeps its size.
          const QSize size = tool->size();
          for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            QCoreApplication::processEvents();
            faults << LayoutFaults(tool);
            QCOMPARE(tool->size(), size);
            SaveShot(tool, suffix + QString::number(tab));
          }
        } else {
          faults << LayoutFaults(tool);
          SaveShot(tool, suffix);
        }
        // Folding leaves the top row, unfolding brings the rest back.
        const int full = tool->height();
        tool->ToggleFolded();
        QCoreApplication::processEvents();
        QVERIFY2(tool->height() < full, qPrintable(tool->objectName()));
        tool->ToggleFolded();
        QCoreApplication::processEvents();
        QCOMPARE(tool->height(), full);
        tool->hide();
      }
      QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }
    QApplication::setFont(ordinary);
  }

  void theStoredHeightSaysWhetherTheWindowIsFolded() {
    QTemporaryDir home;
    test::UseSettingsFolder(home.path());
    test::RecordingDialogs dialogs;
    MainWindow window;
    ToolWindow* values = window.findChild<ToolWindow*>(QStringLiteral("formQuorlValues"));
    QVERIFY(values);
    const StoredGeometry geometry = {&WindowLayout::ValuesHeight, &WindowLayout::ValuesLeft,
                                     &WindowLayout::ValuesTop, &WindowLayout::ValuesVisible};
    WindowLayout layout;
    layout.ValuesHeight = ToolWindow::kFoldedHeight;
    layout.ValuesVisible = true;
    values->ApplyStoredGeometry(layout, geometry);
    QVERIFY(values->Folded());
    WindowLayout stored;
    values->StoreGeometry(stored, geometry);
    QCOMPARE(stored.ValuesHeight, ToolWindow::kFoldedHeight);
    // Any taller stored height unfolds it to its laid-out size, which is what
    // goes back into the settings.
    layout.ValuesHeight = 120;
    values->ApplyStoredGeometry(layout, geometry);
    QVERIFY(!values->Folded());
    values->StoreGeometry(stored, geometry);
    QCOMPARE(stored.ValuesHeight, values->sizeHint().height());
    QVERIFY(stored.ValuesHeight > ToolWindow::kFoldedHeight);
  }

  void aWindowHigherThanTheScreenScrollsItsBody() {
    QTemporaryDir home;
    test::UseSettingsFolder(home.path());
    test::RecordingDialogs dialogs;
    MainWindow window;
    ToolWindow* animation = window.findChild<ToolWindow*>(QStringLiteral("formQuorlAnimation"));
    QVERIFY(animation);
    animation->SetFolded(false);
    animation->show();
    animation->LimitHeight(0);
    QCoreApplication::processEvents();
    // As high as its contents, or the screen where that is lower (a scaled
    // run on a small screen).
    const int before = animation->height();
    const bool fits = before == animation->layout()->totalSizeHint().height();
    QScrollBar* bar = animation->BodyScroller()->verticalScrollBar();
    QCOMPARE(bar->isVisible(), !fits);
    const int full = before;

    // A screen half as high: the window fits it and its body scrolls.
    animation->LimitHeight(full / 2);
    QCoreApplication::processEvents();
    QVERIFY(animation->height() <= full / 2);
    QVERIFY(bar->isVisible());
    QVERIFY2(LayoutFaults(animation).isEmpty(), qPrintable(LayoutFaults(animation).join('\n')));
    // The last control can be scrolled into view, whole.
    QList<QAbstractButton*> buttons = animation->findChildren<QAbstractButton*>();
    QWidget* lowest = nullptr;
    for (QAbstractButton* button : buttons) {
      if (!button->isVisibleTo(animation) || button == animation->FoldButton()) continue;
      if (!lowest || button->mapTo(animation, QPoint(0, 0)).y() > lowest->mapTo(animation, QPoint(0, 0)).y())
        lowest = button;
    }
    QVERIFY(lowest);
    animation->BodyScroller()->ensureWidgetVisible(lowest, 0, 0);
    QWidget* viewport = animation->BodyScroller()->viewport();
    const QRect shown(lowest->mapTo(viewport, QPoint(0, 0)), lowest->size());
    QVERIFY2(viewport->rect().contains(shown), qPrintable(Describe(lowest)));

    // The limit lifted: as before.
    animation->LimitHeight(0);
    QCoreApplication::processEvents();
    QCOMPARE(animation->height(), full);
    QCOMPARE(bar->isVisible(), !fits);
  }

  void everyControlHasATooltipAndAnAccessibleName() {
    QTemporaryDir home;
    test::UseSettingsFolder(home.path());
    test::RecordingDialogs dialogs;
    MainWindow window;
    QStringList missing;
    QSet<QString> used_rows;
    for (ToolWindow* tool : window.findChildren<ToolWindow*>()) {
      tool->ensurePolished();
      for (QWidget* control : tool->findChildren<QWidget*>()) {
        if (!IsInputControl(control) || control->objectName().isEmpty()) continue;
        const ControlHelp* help =
            FindControlHelp(tool->objectName().toStdString(), control->objectName().toStdString());
        if (!help) {
          missing << Describe(control) + QStringLiteral(" has no row in the help table");
          continue;
        }
        used_rows.insert(QString::fromUtf8(help->object_name));
        if (control->toolTip() != QString::fromUtf8(help->tooltip))
          missing << Describe(control) + QStringLiteral(" does not show its tooltip");
        if (control->accessibleName().trimmed().isEmpty())
          missing << Describe(control) + QStringLiteral(" has no accessible name");
      }
    }
    // Controls the windows make without a name would escape the table.
    for (ToolWindow* tool : window.findChildren<ToolWindow*>())
      for (QWidget* control : tool->findChildren<QWidget*>())
        if (IsInputControl(control) && control->objectName().isEmpty())
          missing << Describe(control) + QStringLiteral(" has no object name");
    // And no row of the table names a control that is gone.
    for (const ControlHelp& row : ControlHelpTable())
      if (!used_rows.contains(QString::fromUtf8(row.object_name)))
        missing << QStringLiteral("the help row %1 names no control").arg(QString::fromUtf8(row.object_name));
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
  }
};

QTEST_MAIN(ToolWindowLayoutTest)
#include "tool_window_layout_test.moc"
