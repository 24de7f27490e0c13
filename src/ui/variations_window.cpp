#include "ui/variations_window.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "base/worker_pool.h"
#include "engine/program_state.h"
#include "services/recipe_drawing.h"
#include "ui/colors_window.h"
#include "ui/function_window.h"
#include "ui/main_window.h"
#include "ui/values_window.h"

namespace quorl {
namespace {

// Grid places of the eight neighbours around the middle, clockwise.
constexpr int kPlaces[VariationsWindow::kNeighbours][2] = {{0, 0}, {0, 1}, {0, 2}, {1, 2},
                                                           {2, 2}, {2, 1}, {2, 0}, {1, 0}};

QImage ToImage(const Picture24& picture) {
  if (picture.Empty()) return {};
  QImage image(picture.Width(), picture.Height(), QImage::Format_BGR888);
  for (int y = 0; y < picture.Height(); ++y) std::copy_n(picture.Row(y), picture.Stride(), image.scanLine(y));
  return image;
}

}  // namespace

VariationsWindow::VariationsWindow(MainWindow& main, QWidget* parent)
    : QWidget(parent, Qt::Tool), main_(main) {
  setObjectName(QStringLiteral("formQuorlVariations"));
  setWindowTitle(QStringLiteral("Variations"));
  auto* layout = new QVBoxLayout(this);

  auto* controls = new QHBoxLayout;
  auto* group = new QButtonGroup(this);
  const char* names[] = {"Small", "Medium", "Large"};
  for (int s = 0; s < 3; ++s) {
    auto* button = new QRadioButton(QString::fromLatin1(names[s]), this);
    button->setObjectName(QStringLiteral("rbStep") + QString::fromLatin1(names[s]));
    button->setChecked(s == static_cast<int>(step_));
    group->addButton(button, s);
    controls->addWidget(button);
  }
  connect(group, &QButtonGroup::idClicked, this, [this](int id) { SetStep(static_cast<VariationStep>(id)); });
  auto* again = new QPushButton(QStringLiteral("Again"), this);
  again->setObjectName(QStringLiteral("btnAgain"));
  connect(again, &QPushButton::clicked, this, &VariationsWindow::Again);
  controls->addStretch();
  controls->addWidget(again);
  layout->addLayout(controls);

  auto* grid = new QGridLayout;
  for (int i = 0; i <= kNeighbours; ++i) {
    auto* tile = new QToolButton(this);
    tile->setObjectName(QStringLiteral("tileVariation%1").arg(i));
    tile->setIconSize(QSize(kTileSide, kTileSide));
    tile->setFixedSize(kTileSide + 8, kTileSide + 8);
    tile->setAutoRaise(i == kNeighbours);
    tiles_.push_back(tile);
    if (i < kNeighbours) {
      grid->addWidget(tile, kPlaces[i][0], kPlaces[i][1]);
      connect(tile, &QToolButton::clicked, this, [this, i] { Adopt(i); });
    } else {
      grid->addWidget(tile, 1, 1);
      tile->setToolTip(QStringLiteral("The current picture"));
    }
  }
  layout->addLayout(grid);
  caption_ = new QLabel(this);
  caption_->setWordWrap(true);
  layout->addWidget(caption_);
}

VariationsWindow::~VariationsWindow() {
  StopDrawing();
}

void VariationsWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (neighbours_.empty()) MakeNeighbours();
}

void VariationsWindow::SetStep(VariationStep step) {
  step_ = step;
  MakeNeighbours();
}

void VariationsWindow::Again() {
  ++seed_;
  MakeNeighbours();
}

void VariationsWindow::StopDrawing() {
  if (stop_) stop_->store(true);
  if (worker_.joinable()) worker_.join();
}

void VariationsWindow::MakeNeighbours() {
  StopDrawing();
  const ProgramState& state = main_.State();
  neighbours_ = MakeVariations(state.params, seed_, step_, kNeighbours);
  const DrawableRecipe current = CaptureRecipe(state, 1);

  // The tiles keep the picture's proportions.
  const int w = std::max(1, state.params.ImageWidth), h = std::max(1, state.params.ImageHeight);
  const int tileW = w >= h ? kTileSide : std::max(8, kTileSide * w / h);
  const int tileH = h >= w ? kTileSide : std::max(8, kTileSide * h / w);

  std::vector<DrawableRecipe> recipes;
  for (const Variation& v : neighbours_) {
    DrawableRecipe recipe = current;
    recipe.params = v.params;
    recipes.push_back(std::move(recipe));
  }
  recipes.push_back(current);
  for (std::size_t i = 0; i < tiles_.size(); ++i) {
    tiles_[i]->setIcon(QIcon());
    tiles_[i]->setEnabled(i < neighbours_.size() || i == static_cast<std::size_t>(kNeighbours));
    if (i < neighbours_.size()) tiles_[i]->setToolTip(QString::fromStdString(neighbours_[i].description));
  }
  caption_->setText(QStringLiteral("Drawing %1 variations (seed %2)...").arg(neighbours_.size()).arg(seed_));
  drawn_ = false;
  const int generation = ++generation_;
  stop_ = std::make_shared<std::atomic<bool>>(false);
  worker_ = std::thread([this, recipes = std::move(recipes), tileW, tileH, generation, stop = stop_] {
    const std::vector<Picture24> pictures = DrawRecipes(recipes, tileW, tileH, HardwareThreads(), stop.get());
    if (stop->load()) return;
    std::vector<QImage> images;
    for (const Picture24& picture : pictures) images.push_back(ToImage(picture));
    QMetaObject::invokeMethod(
        this, [this, generation, images = std::move(images)] { ShowPictures(generation, images); },
        Qt::QueuedConnection);
  });
}

void VariationsWindow::ShowPictures(int generation, const std::vector<QImage>& pictures) {
  if (generation != generation_) return;
  // The neighbours first, the current picture last.
  for (std::size_t i = 0; i < pictures.size() && i < neighbours_.size(); ++i)
    tiles_[i]->setIcon(QIcon(QPixmap::fromImage(pictures[i])));
  if (!pictures.empty()) tiles_.back()->setIcon(QIcon(QPixmap::fromImage(pictures.back())));
  caption_->setText(QStringLiteral("Click a variation to take its values (seed %1).").arg(seed_));
  drawn_ = true;
  emit PicturesDrawn();
}

bool VariationsWindow::Adopt(int i) {
  if (i < 0 || i >= static_cast<int>(neighbours_.size())) return false;
  if (main_.RunInProgress()) {
    main_.ShowMessage(QStringLiteral("Stop the drawing before taking a variation."));
    return false;
  }
  const Variation chosen = neighbours_[static_cast<std::size_t>(i)];
  ParameterSet& params = main_.Parameters();
  // Only the drawing values change; the windows keep their places.
  const ParameterSet before = params;
  params = chosen.params;
  params.CurrentStyle = before.CurrentStyle;
  for (auto* window : main_.findChildren<ValuesWindow*>()) window->Init();
  for (auto* window : main_.findChildren<ColorsWindow*>()) window->Init();
  for (auto* window : main_.findChildren<FunctionWindow*>()) window->Init();
  main_.ShowStatus(QStringLiteral("Took the variation ") + QString::fromStdString(chosen.description) +
                   QStringLiteral(": press Draw"));
  ++seed_;
  MakeNeighbours();
  return true;
}

}  // namespace quorl
