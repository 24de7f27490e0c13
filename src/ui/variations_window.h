// The Variations window: the current picture in the middle and eight
// neighbours around it, each with one or two values moved by a small,
// medium or large step, drawn small on threads of their own. A click on a
// neighbour makes its values the current ones; "Again" draws eight new
// neighbours. The same seed always gives the same eight.
#pragma once

#include <QWidget>
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "services/variations.h"

class QLabel;
class QToolButton;
class QButtonGroup;

namespace quorl {

class MainWindow;

class VariationsWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kTileSide = 150;
  static constexpr int kNeighbours = 8;

  VariationsWindow(MainWindow& main, QWidget* parent);
  ~VariationsWindow() override;

  // Makes the neighbours of the current values with the current seed and
  // starts drawing them (and the current picture) in the background.
  void MakeNeighbours();
  // "Again": the next seed.
  void Again();
  // Adopts neighbour i (0 ... 7); false when there is none yet.
  bool Adopt(int i);

  VariationStep Step() const { return step_; }
  void SetStep(VariationStep step);
  std::uint64_t Seed() const { return seed_; }
  const std::vector<Variation>& Neighbours() const { return neighbours_; }
  // True once every picture of the latest set is shown.
  bool Drawn() const { return drawn_; }
  QToolButton* Tile(int i) const { return tiles_[static_cast<std::size_t>(i)]; }

 signals:
  void PicturesDrawn();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void StopDrawing();
  void ShowPictures(int generation, const std::vector<QImage>& pictures);

  MainWindow& main_;
  VariationStep step_ = VariationStep::Medium;
  std::uint64_t seed_ = 1;
  std::vector<Variation> neighbours_;
  // Tiles 0 ... 7 are the neighbours; tile 8 is the current picture.
  std::vector<QToolButton*> tiles_;
  QLabel* caption_ = nullptr;
  int generation_ = 0;
  bool drawn_ = false;
  std::thread worker_;
  std::shared_ptr<std::atomic<bool>> stop_;
};

}  // namespace quorl
