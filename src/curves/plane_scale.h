// Which scale the curve plane is read with, from the parameters.
#pragma once

namespace quorl {

struct ParameterSet;

// StartScale / 100: the scale mouse positions are read with.
double CurvePlaneScale(const ParameterSet& params);

// The scale GetPixelFromReal works with: the run's scale of the current step
// while a run is in progress, otherwise StartScale / 100.
double CurrentPixelScale(const ParameterSet& params, bool runInProgress, double stepScale);

}  // namespace quorl
