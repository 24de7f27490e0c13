#include "services/recipe_drawing.h"

#include <gtest/gtest.h>

#include "settings/field_ranges.h"

namespace quorl {
namespace {

DrawableRecipe SmallRecipe(int bumps) {
  DrawableRecipe recipe;
  recipe.params.Steps = 40;
  recipe.params.GrainMultiplier = 60;
  recipe.params.StartBumps = bumps;
  recipe.params.White = false;
  recipe.params.BgMaxRed = recipe.params.BgMaxGreen = recipe.params.BgMaxBlue = 0;
  KeepInFieldRanges(recipe.params);
  return recipe;
}

TEST(RecipeDrawing, ManyAtOnceGiveWhatEachGivesAlone) {
  std::vector<DrawableRecipe> recipes;
  for (int bumps = 0; bumps < 5; ++bumps) recipes.push_back(SmallRecipe(bumps));
  const std::vector<Picture24> together = DrawRecipes(recipes, 48, 40, 3);
  ASSERT_EQ(together.size(), recipes.size());
  for (std::size_t i = 0; i < recipes.size(); ++i) {
    const Picture24 alone = DrawRecipe(recipes[i], 48, 40, 2);
    ASSERT_EQ(alone.Width(), 48);
    ASSERT_EQ(alone.Height(), 40);
    EXPECT_TRUE(together[i] == alone) << i;
  }
  // Different recipes, different pictures: the tiles are not one picture.
  EXPECT_FALSE(together[1] == together[4]);
}

TEST(RecipeDrawing, AStopEndsTheRunsAndLeavesTheirPicturesEmpty) {
  std::atomic<bool> stop{true};
  DrawableRecipe slow = SmallRecipe(3);
  slow.params.Steps = 60000;
  slow.params.GrainMultiplier = 1000;
  EXPECT_TRUE(DrawRecipe(slow, 32, 32, 1, &stop).Empty());
  const std::vector<Picture24> pictures = DrawRecipes({slow, slow}, 32, 32, 2, &stop);
  for (const Picture24& picture : pictures) EXPECT_TRUE(picture.Empty());
}

}  // namespace
}  // namespace quorl
