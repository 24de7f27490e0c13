#include "curves/plane_scale.h"

#include "settings/parameter_set.h"

namespace quorl {

double CurvePlaneScale(const ParameterSet& params) {
  return params.StartScale / 100.0;
}

double CurrentPixelScale(const ParameterSet& params, bool runInProgress, double stepScale) {
  return runInProgress ? stepScale : CurvePlaneScale(params);
}

}  // namespace quorl
