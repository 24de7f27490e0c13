#include "curves/curve_plane.h"

#include "engine/parameter_set.h"

namespace quorl {

double CurvePlaneScale(const ParameterSet& params) { return params.StartScale / 100.0; }

double CurrentPixelScale(const ParameterSet& params, bool runInProgress, double stepScale) {
  return runInProgress ? stepScale : CurvePlaneScale(params);
}

double ConvertXtoXCoord(double px, const ParameterSet& params, int width, int height) {
  const double s = CurvePlaneScale(params);
  const double w = width;
  const double h = height;
  return -(s * w / h) + (2 * s * w / h / w) * px;
}

double ConvertYtoYCoord(double py, const ParameterSet& params, int height) {
  const double s = CurvePlaneScale(params);
  return s - (2 * s / height) * py;
}

kCoord ConvertMouseToCoord(double px, double py, const ParameterSet& params, int width, int height) {
  return kCoord{ConvertXtoXCoord(px, params, width, height), ConvertYtoYCoord(py, params, height)};
}

}  // namespace quorl
