// The three wave forms that move a value around its base over a series.
#pragma once

namespace quorl {

// The fractional part of R*u, in [0, 1).
double Mantissa(double u, double R);

// sin(R*theta)*C + B: starts at B in the first frame.
double SineWave(double theta, double R, double C, double B);

// A sawtooth rising from B towards B + C, R times over the series.
double LinearWave(double u, double R, double C, double B);

// A triangle rising to B + C half-way through each cycle and back to B.
double LinearReturnWave(double u, double R, double C, double B);

}  // namespace quorl
