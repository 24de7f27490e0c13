#include "services/random_picture.h"

#include <cmath>

#include "base/number_text.h"
#include "engine/shape_step.h"
#include "services/path_generators.h"
#include "services/picture_measures.h"
#include "services/recipe_random.h"
#include "settings/field_ranges.h"

namespace quorl {
namespace {

// A real value as a settings or curve file stores it, so a saved random
// picture draws again to the same bytes from its files.
double AsStored(double value) {
  return ParseFloat(FormatFloat(value)).value_or(value);
}

double Real(RecipeRandom& random, double low, double high) {
  return AsStored(std::round(random.RealIn(low, high) * 1e4) / 1e4);
}

// A colour that stands out: one channel high, the others anywhere.
void VividColour(RecipeRandom& random, int& red, int& green, int& blue) {
  red = random.IntIn(0, 255);
  green = random.IntIn(0, 255);
  blue = random.IntIn(0, 255);
  switch (random.IntIn(0, 2)) {
    case 0:
      red = random.IntIn(180, 255);
      break;
    case 1:
      green = random.IntIn(180, 255);
      break;
    default:
      blue = random.IntIn(180, 255);
      break;
  }
}

// A path curve from one of the generators, small enough to stay in view.
void RandomPath(RecipeRandom& random, CurveSlots& curves) {
  PathFigure figure;
  switch (random.IntIn(0, 2)) {
    case 0:
      figure.kind = PathKind::Circle;
      figure.shape = {Real(random, 0.6, 1.4), static_cast<double>(random.IntIn(0, 7)), Real(random, 0, 0.3)};
      break;
    case 1:
      figure.kind = PathKind::Lissajous;
      figure.shape = {Real(random, 0.7, 1.4),
                      Real(random, 0.7, 1.4),
                      static_cast<double>(random.IntIn(1, 4)),
                      static_cast<double>(random.IntIn(1, 5)),
                      Real(random, 0, 3.14),
                      0.0};
      break;
    default:
      figure.kind = PathKind::Hypotrochoid;
      figure.shape = {Real(random, 0.9, 1.6), Real(random, 0.2, 0.6), Real(random, 0.3, 0.9)};
      break;
  }
  figure.rotatedBy = Real(random, 0, 360);
  figure.steps = 400;
  CurvePoints generated;
  if (GeneratePath(figure, generated)) {
    CurvePoints& curve = curves[kPathCurveSlot].Curve;
    curve.Empty();
    for (const Point& point : generated.Points) curve.AddPoint(AsStored(point.X), AsStored(point.Y));
    curves.SetUpBezier(BezierKind::kSlot, kPathCurveSlot);
  }
}

}  // namespace

DrawableRecipe RandomRecipe(std::uint64_t seed, int attempt, int width, int height) {
  RecipeRandom random(seed, static_cast<std::uint64_t>(attempt));
  DrawableRecipe recipe;
  ParameterSet& p = recipe.params;
  const int fn = random.IntIn(0, 7);
  p.FunctionNumber = fn;
  p.CurrentStyle = kStyleKeywords[static_cast<std::size_t>(fn)];
  p.ImageWidth = width;
  p.ImageHeight = height;
  p.PercentToComplete = 100;

  // The shape. Points per step times steps is kept under about 400 000,
  // so a random picture draws in a few hundredths of a second.
  p.Steps = random.IntIn(250, 1000);
  p.StartGrain = random.IntIn(1, 2);
  p.EndGrain = random.IntIn(1, 2);
  p.GrainMultiplier = random.IntIn(100, 400000 / (p.Steps * 2));
  p.StartRadius = random.IntIn(30, 220);
  p.EndRadius = random.Chance(0.3) ? p.StartRadius : random.IntIn(10, 220);
  p.StartIota = random.IntIn(-360, 360);
  p.EndIota = p.StartIota + random.IntIn(-1080, 1080);
  p.StartBumps = random.IntIn(-12, 12);
  p.EndBumps = random.Chance(0.5) ? p.StartBumps : random.IntIn(-16, 16);
  p.StartDepth = random.IntIn(1, 12);
  p.EndDepth = random.IntIn(1, 12);
  p.StartScale = random.IntIn(170, 320);
  p.EndScale = random.Chance(0.7) ? p.StartScale : random.IntIn(170, 320);
  p.StartLimit = random.IntIn(1, 2);
  p.EndLimit = random.IntIn(1, 3);
  p.LissaDelta = random.IntIn(1, 9);
  p.StartEllipseWidth = Real(random, 0.3, 2.5);
  p.StartEllipseHeight = Real(random, 0.3, 2.5);
  p.EndEllipseWidth = Real(random, 0.3, 2.5);
  p.EndEllipseHeight = Real(random, 0.3, 2.5);
  if (random.Chance(0.35)) {
    p.NumberOfRocks = random.IntIn(1, 6);
    p.StartRockerAmount = Real(random, 0, 40);
    p.EndRockerAmount = Real(random, 0, 40);
  }
  p.Wobble = random.Chance(0.2);

  // Where the shape travels: a straight path, or a generated path curve.
  p.QuorlPointsXStart = Real(random, -1.6, -0.2);
  p.QuorlPointsYStart = Real(random, -1.0, 1.0);
  p.QuorlPointsXEnd = Real(random, 0.2, 1.6);
  p.QuorlPointsYEnd = Real(random, -1.0, 1.0);
  p.QuorlPointsRotateXStart = Real(random, -1.5, 1.5);
  p.QuorlPointsRotateYStart = Real(random, -1.0, 1.0);
  p.QuorlPointsRotateXEnd = Real(random, -1.5, 1.5);
  p.QuorlPointsRotateYEnd = Real(random, -1.0, 1.0);
  p.MoveRotation = random.Chance(0.6);
  if (random.Chance(0.4)) {
    RandomPath(random, recipe.curves);
    p.QuorlPointsUseBezier = true;
    p.QuorlPointsStraightPath = false;
  }

  // Colour: light or dark ground, straight sweeps or cycling colours.
  p.White = random.Chance(0.5);
  const int ground = p.White ? random.IntIn(225, 255) : random.IntIn(0, 30);
  p.BgMaxRed = ground;
  p.BgMaxGreen = p.White ? random.IntIn(215, 255) : random.IntIn(0, 30);
  p.BgMaxBlue = p.White ? random.IntIn(215, 255) : random.IntIn(0, 40);
  VividColour(random, p.StartMaxRed, p.StartMaxGreen, p.StartMaxBlue);
  VividColour(random, p.EndMaxRed, p.EndMaxGreen, p.EndMaxBlue);
  p.StartAmount = random.IntIn(15, 80);
  p.EndAmount = random.IntIn(15, 80);
  p.NewColor = random.Chance(0.3);
  p.ABA = random.Chance(0.3);
  p.StepColorMultiplier = random.IntIn(1, 4);
  p.ThetaColorMultiplier = random.IntIn(1, 4);
  p.OneOrTwo = p.NewColor && random.Chance(0.25);
  p.InterpolateColors = !p.White && random.Chance(0.15);

  KeepInFieldRanges(p);
  return recipe;
}

RandomPicture PickRandomRecipe(std::uint64_t seed, int width, int height) {
  RandomPicture picked;
  for (int attempt = 0; attempt < kRandomAttempts; ++attempt) {
    DrawableRecipe candidate = RandomRecipe(seed, attempt, width, height);
    picked.check = DrawRecipe(candidate, kRandomCheckSide, kRandomCheckSide);
    picked.recipe = std::move(candidate);
    picked.attempt = attempt;
    if (ShowsEnough(MeasureContent(picked.check))) {
      picked.accepted = true;
      break;
    }
  }
  return picked;
}

}  // namespace quorl
