// The parameter set in the program's binary files, and the list of what
// differs between two sets. Each value is stored under its member's name,
// so a file stays readable when keys are added or dropped: a name this build
// does not know is skipped, a member the file lacks keeps its default.
// Numbers are stored exactly (doubles by their bits).
#pragma once

#include <string>
#include <vector>

#include "base/byte_stream.h"
#include "settings/parameter_set.h"

namespace quorl {

void WriteParameters(ByteWriter& out, const ParameterSet& params);
// False (and `in` failed) for damaged input; params then holds what was read.
bool ReadParameters(ByteReader& in, ParameterSet& params);

struct ParameterChange {
  std::string name;  // the member, e.g. "StartRadius"
  std::string before;
  std::string after;
};

// The recipe values that differ, in key order. Window positions and sizes
// (the "forms" section) are not part of a picture and are left out.
std::vector<ParameterChange> ChangedParameters(const ParameterSet& before, const ParameterSet& after);

// Copies every recipe value of `from` into `to`, leaving the window
// positions and sizes of `to` as they are.
void CopyRecipeValues(const ParameterSet& from, ParameterSet& to);

// "StartRadius" -> "Start radius".
std::string ReadableName(const std::string& member);

// "Start radius 60 → 90"; several changes are joined with ", " and a long
// list ends in "and N more".
std::string DescribeChanges(const std::vector<ParameterChange>& changes);

}  // namespace quorl
