#include "services/recipe_drawing.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include "base/worker_pool.h"
#include "engine/drawing_run.h"
#include "settings/field_ranges.h"

namespace quorl {
namespace {

// The source store keeps one extra column; this is the picture as loaded.
Picture24 SourcePicture(const SourceStore& store) {
  Picture24 picture(store.SourceWidth, store.SourceHeight);
  for (int y = 0; y < store.SourceHeight; ++y)
    std::memcpy(picture.Row(y), store.Bitmap.Row(y), picture.Stride());
  return picture;
}

// Ends the run after the current step once `stop` is set.
class StoppableHost : public Host {
 public:
  explicit StoppableHost(const std::atomic<bool>* stop) : stop_(stop) {}
  void Attach(DrawingRun& run) { run_ = &run; }
  void ProcessPendingEvents() override {
    if (stop_ && stop_->load() && run_) run_->RequestStop();
  }

 private:
  const std::atomic<bool>* stop_;
  DrawingRun* run_ = nullptr;
};

}  // namespace

DrawableRecipe CaptureRecipe(const ProgramState& state, std::uint64_t seed) {
  DrawableRecipe recipe;
  recipe.params = state.params;
  recipe.curves = state.curves;
  if (state.source.Loaded()) recipe.source = std::make_shared<const Picture24>(SourcePicture(state.source));
  if (state.background.Loaded())
    recipe.background = std::make_shared<const Picture24>(state.background.Bitmap);
  recipe.seed = seed;
  return recipe;
}

bool PrepareState(const DrawableRecipe& recipe, int width, int height, ProgramState& state,
                  std::string* error) {
  state.params = recipe.params;
  state.params.ImageWidth = width;
  state.params.ImageHeight = height;
  KeepCanvasSizeInRange(state.params);
  state.curves = recipe.curves;
  state.random = SeededRandom(recipe.seed);
  if (recipe.source) state.source.SetPicture(*recipe.source);
  if (recipe.background) state.background.SetPicture(*recipe.background);
  if (!state.canvas.SetImageDimensions(state.params, error)) return false;
  state.canvas.MakePictureBlack(state.params, state.background);
  return true;
}

Picture24 DrawRecipe(const DrawableRecipe& recipe, int width, int height, int threads,
                     const std::atomic<bool>* stop) {
  auto state = std::make_unique<ProgramState>();
  if (!PrepareState(recipe, width, height, *state)) return {};
  StoppableHost host(stop);
  DrawingRun run(*state, host);
  host.Attach(run);
  run.SetThreads(std::max(threads, 1));
  // Only the finished picture is wanted, and nothing edits the recipe.
  run.SetStepsAhead(true);
  run.SetShowsPictureWhileDrawing(false);
  run.DrawOrStop();
  if (stop && stop->load()) return {};
  return state->canvas.Bitmap();
}

std::vector<Picture24> DrawRecipes(const std::vector<DrawableRecipe>& recipes, int width, int height,
                                   int threads, const std::atomic<bool>* stop) {
  std::vector<Picture24> pictures(recipes.size());
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t i = next++; i < recipes.size(); i = next++) {
      if (stop && stop->load()) return;
      pictures[i] = DrawRecipe(recipes[i], width, height, 1, stop);
    }
  };
  const std::size_t helpers = std::min(
      recipes.size(), static_cast<std::size_t>(std::max(threads < 1 ? HardwareThreads() : threads, 1)));
  std::vector<std::thread> pool;
  for (std::size_t t = 1; t < helpers; ++t) pool.emplace_back(work);
  work();
  for (auto& thread : pool) thread.join();
  return pictures;
}

}  // namespace quorl
