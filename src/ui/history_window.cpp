#include "ui/history_window.h"

#include <QDateTime>
#include <QFormLayout>
#include <QHeaderView>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <map>
#include <vector>

#include "ui/history_controller.h"

namespace quorl {
namespace {

constexpr int kIdRole = Qt::UserRole + 1;
constexpr int kIconSide = 48;

QIcon IconOf(const Picture24& picture) {
  if (picture.Empty()) return {};
  const QImage image(picture.Bytes().data(), picture.Width(), picture.Height(),
                     static_cast<qsizetype>(picture.Stride()), QImage::Format_BGR888);
  return QIcon(QPixmap::fromImage(image.copy()));
}

QSpinBox* NewSpinBox(QWidget* parent, const char* name, int minimum, int maximum, const QString& suffix,
                     const QString& tip) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(QString::fromUtf8(name));
  box->setRange(minimum, maximum);
  box->setSuffix(suffix);
  box->setToolTip(tip);
  box->setAccessibleName(tip);
  box->setKeyboardTracking(false);
  return box;
}

QString Size(std::uint64_t bytes) {
  if (bytes < 1024 * 1024)
    return QString::number(static_cast<double>(bytes) / 1024.0, 'f', 1) + QStringLiteral(" KB");
  return QString::number(static_cast<double>(bytes) / (1024.0 * 1024.0), 'f', 1) + QStringLiteral(" MB");
}

}  // namespace

HistoryWindow::HistoryWindow(HistoryController& controller, QWidget* parent)
    : QWidget(parent, Qt::Tool), controller_(controller) {
  setObjectName(QStringLiteral("formQuorlHistory"));
  setWindowTitle(QStringLiteral("History"));
  auto* layout = new QVBoxLayout(this);
  steps_ = new QTreeWidget(this);
  steps_->setObjectName(QStringLiteral("tvHistorySteps"));
  steps_->setAccessibleName(QStringLiteral("Steps of the recipe"));
  steps_->setToolTip(
      QStringLiteral("Every change of the recipe; click a step to return to it. A branch left "
                     "by an undo and a new change is listed under the step it left from."));
  steps_->setColumnCount(2);
  steps_->setHeaderLabels({QStringLiteral("Change"), QStringLiteral("When")});
  steps_->setIconSize(QSize(kIconSide, kIconSide));
  steps_->header()->setStretchLastSection(false);
  steps_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  steps_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  layout->addWidget(steps_, 1);
  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("labelHistorySummary"));
  summary_->setWordWrap(true);
  summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(summary_);
  auto* form = new QFormLayout;
  BuildSettings(form);
  layout->addLayout(form);
  resize(460, 560);
  // Activated, not clicked: the keyboard reaches a step as well.
  connect(steps_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    if (filling_ || !item) return;
    controller_.GoTo(item->data(0, kIdRole).toULongLong());
  });
  connect(steps_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    if (filling_ || !item) return;
    controller_.GoTo(item->data(0, kIdRole).toULongLong());
  });
  connect(&controller_, &HistoryController::HistoryChanged, this, [this] {
    if (isVisible()) Refill();
  });
}

void HistoryWindow::BuildSettings(QFormLayout* form) {
  keep_days_ = NewSpinBox(this, "editHistoryKeepDays", HistorySettings::kMinDays, HistorySettings::kMaxDays,
                          QStringLiteral(" days"), QStringLiteral("Steps older than this are removed"));
  keep_megabytes_ = NewSpinBox(this, "editHistoryKeepMegabytes", HistorySettings::kMinMegabytes,
                               HistorySettings::kMaxMegabytes, QStringLiteral(" MB"),
                               QStringLiteral("The oldest steps are removed beyond this much room"));
  autosave_seconds_ =
      NewSpinBox(this, "editAutosaveSeconds", HistorySettings::kMinSeconds, HistorySettings::kMaxSeconds,
                 QStringLiteral(" s"), QStringLiteral("While drawing, the canvas is autosaved this often"));
  autosave_limit_ = NewSpinBox(this, "editAutosaveLimit", HistorySettings::kMinLimitMegabytes,
                               HistorySettings::kMaxLimitMegabytes, QStringLiteral(" MB"),
                               QStringLiteral("Canvases whose grids take more than this are not autosaved"));
  form->addRow(QStringLiteral("Keep history for"), keep_days_);
  form->addRow(QStringLiteral("Keep at most"), keep_megabytes_);
  form->addRow(QStringLiteral("Autosave every"), autosave_seconds_);
  form->addRow(QStringLiteral("Autosave canvases up to"), autosave_limit_);
  ShowSettings();
  for (QSpinBox* box : {keep_days_, keep_megabytes_, autosave_seconds_, autosave_limit_})
    connect(box, &QSpinBox::editingFinished, this, &HistoryWindow::StoreSettings);
}

void HistoryWindow::ShowSettings() {
  const HistorySettings& settings = controller_.Settings();
  keep_days_->setValue(settings.keepDays);
  keep_megabytes_->setValue(settings.keepMegabytes);
  autosave_seconds_->setValue(settings.autosaveSeconds);
  autosave_limit_->setValue(settings.autosaveLimitMegabytes);
}

void HistoryWindow::StoreSettings() {
  HistorySettings settings;
  settings.keepDays = keep_days_->value();
  settings.keepMegabytes = keep_megabytes_->value();
  settings.autosaveSeconds = autosave_seconds_->value();
  settings.autosaveLimitMegabytes = autosave_limit_->value();
  const HistorySettings& now = controller_.Settings();
  if (settings.keepDays == now.keepDays && settings.keepMegabytes == now.keepMegabytes &&
      settings.autosaveSeconds == now.autosaveSeconds &&
      settings.autosaveLimitMegabytes == now.autosaveLimitMegabytes)
    return;
  controller_.SetSettings(settings);
}

QTreeWidgetItem* HistoryWindow::ItemOf(std::uint64_t id) const {
  for (QTreeWidgetItemIterator it(steps_); *it; ++it)
    if ((*it)->data(0, kIdRole).toULongLong() == id) return *it;
  return nullptr;
}

void HistoryWindow::Refill() {
  filling_ = true;
  steps_->clear();
  RecipeHistory& history = controller_.History();
  std::map<std::uint64_t, std::vector<const HistoryEntry*>> children;
  std::vector<const HistoryEntry*> roots;
  for (const HistoryEntry& e : history.Entries()) {
    if (e.parent != 0 && history.Find(e.parent))
      children[e.parent].push_back(&e);
    else
      roots.push_back(&e);
  }
  const auto makeItem = [&](const HistoryEntry& e) {
    auto* item = new QTreeWidgetItem;
    item->setText(0, QString::fromStdString(e.description.empty() ? std::string("Start") : e.description));
    item->setToolTip(0, item->text(0));
    item->setText(1, QDateTime::fromSecsSinceEpoch(e.time).toString(QStringLiteral("d MMM hh:mm:ss")));
    item->setData(0, kIdRole, QVariant::fromValue<qulonglong>(e.id));
    if (e.hasThumbnail) {
      Picture24 thumbnail;
      std::string error;
      if (history.Thumbnail(e.id, thumbnail, error)) item->setIcon(0, IconOf(thumbnail));
    }
    if (e.id == history.Current()) {
      QFont bold = item->font(0);
      bold.setBold(true);
      item->setFont(0, bold);
      item->setFont(1, bold);
    }
    return item;
  };
  // A line of steps goes on with its oldest child; every other child starts
  // a branch, listed under the step it left from. Worked through a list, so
  // a long history cannot exhaust the stack.
  struct Pending {
    const HistoryEntry* entry;
    QTreeWidgetItem* under;  // nullptr: the top level
  };
  std::vector<Pending> work;
  for (auto it = roots.rbegin(); it != roots.rend(); ++it) work.push_back({*it, nullptr});
  while (!work.empty()) {
    const Pending next = work.back();
    work.pop_back();
    for (const HistoryEntry* e = next.entry; e;) {
      QTreeWidgetItem* item = makeItem(*e);
      if (next.under)
        next.under->addChild(item);
      else
        steps_->addTopLevelItem(item);
      const auto found = children.find(e->id);
      if (found == children.end()) break;
      const std::vector<const HistoryEntry*>& kids = found->second;
      for (std::size_t k = kids.size(); k-- > 1;) work.push_back({kids[k], item});
      e = kids.front();
    }
  }
  steps_->expandAll();
  if (QTreeWidgetItem* current = ItemOf(history.Current())) {
    steps_->setCurrentItem(current);
    steps_->scrollToItem(current);
  }
  summary_->setText(
      QStringLiteral("%1 steps, %2 in %3%4")
          .arg(history.Entries().size())
          .arg(Size(history.TotalBytes()))
          .arg(QString::fromStdString(history.Folder()))
          .arg(history.ReadOnly() ? QStringLiteral(" (read-only: written by a newer Quorl)") : QString()));
  ShowSettings();
  filling_ = false;
}

}  // namespace quorl
