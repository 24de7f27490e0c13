// The history of the recipe: every change the user makes to the parameters
// or the curves is a step, and the steps form a tree. Undo goes to a step's
// parent, Redo to the child last visited, and changing something after an
// undo starts a branch beside the old one, which stays.
//
// Every step is its own file in the history folder (written atomically as
// the history grows), with a small index of where the user is. The history
// survives a restart and a crash. Steps older than the age limit, or beyond
// the size limit, are pruned oldest first; the current step never is.
// Files written by a newer version are refused and left alone: the history
// then records nothing, so it never overwrites what it cannot read.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/picture24.h"
#include "base/sealed_file.h"
#include "curves/curve_slots.h"
#include "settings/parameter_set.h"

namespace quorl {

inline constexpr SealedKind kHistoryStepKind{"QUORLHS\x01", 1, "history step"};
inline constexpr SealedKind kHistoryIndexKind{"QUORLHI\x01", 1, "history index"};

// What a step keeps: the parameters and the curves' points.
struct HistoryRecipe {
  ParameterSet params;
  CurveSlots curves;
};

class Host;

// The recipe of the program as it is.
HistoryRecipe RecipeOf(const ParameterSet& params, const CurveSlots& curves);
// Puts a recipe back: its parameters (window positions and sizes stay), its
// curve points, and the smooth curves built again from them.
void PutRecipeBack(const HistoryRecipe& recipe, ParameterSet& params, CurveSlots& curves);

// Same parameters (window positions aside) and same curve points.
bool SameRecipe(const HistoryRecipe& a, const HistoryRecipe& b);

// "Start radius 60 → 90", "Curve "Values - Radius" changed", ...; empty when
// nothing of the recipe differs.
std::string DescribeRecipeChange(const HistoryRecipe& before, const HistoryRecipe& after);

struct HistoryEntry {
  std::uint64_t id = 0;
  std::uint64_t parent = 0;  // 0: a first step (or its parent was pruned)
  std::int64_t time = 0;     // seconds since 1970
  std::string description;
  std::uint64_t bytes = 0;  // of its file
  bool hasThumbnail = false;
};

struct HistoryLimits {
  std::int64_t maxAgeSeconds = 30LL * 24 * 3600;
  std::uint64_t maxBytes = 2ULL << 30;
};

// The contents of one step's file (unpacked); false for damaged contents.
bool DecodeHistoryStep(std::string_view payload, HistoryEntry& entry, HistoryRecipe& recipe,
                       Picture24* thumbnail);

class RecipeHistory {
 public:
  explicit RecipeHistory(std::string folder, HistoryLimits limits = {});

  // Reads the folder. False with a message when something was refused: a
  // file from a newer version (the history is then read-only) or damaged
  // step files (skipped; the rest is kept).
  bool Open(std::string& message);

  // Adds `recipe` as a child of the current step and makes it current; a
  // recipe equal to the current one adds nothing. The description defaults
  // to what changed. Prunes afterwards.
  bool Record(const HistoryRecipe& recipe, std::string& error, const std::string& description = "");

  bool CanUndo() const;
  bool CanRedo() const;
  // The step Redo goes to, or 0.
  std::uint64_t RedoTarget() const;
  // Move to the parent / the child last visited / any step, and give its
  // recipe. False (nothing moved) when there is nowhere to go or the step's
  // file cannot be read.
  bool Undo(HistoryRecipe& recipe, std::string& error);
  bool Redo(HistoryRecipe& recipe, std::string& error);
  bool GoTo(std::uint64_t id, HistoryRecipe& recipe, std::string& error);

  // A small picture of a finished Draw for a step (rewrites its file).
  bool SetThumbnail(std::uint64_t id, const Picture24& thumbnail, std::string& error);
  bool Thumbnail(std::uint64_t id, Picture24& thumbnail, std::string& error) const;

  // Removes steps beyond the limits, oldest first, keeping the current one.
  void Prune();
  // New limits (the user changed them); the next Prune keeps to them.
  void SetLimits(const HistoryLimits& limits) { limits_ = limits; }
  const HistoryLimits& Limits() const { return limits_; }

  // Oldest first.
  const std::vector<HistoryEntry>& Entries() const { return entries_; }
  const HistoryEntry* Find(std::uint64_t id) const;
  std::uint64_t Current() const { return current_; }
  bool ReadOnly() const { return readOnly_; }
  std::uint64_t TotalBytes() const;
  const std::string& Folder() const { return folder_; }

  // Seconds since 1970; tests set their own clock.
  std::function<std::int64_t()> Now;

 private:
  std::string StepPath(std::uint64_t id) const;
  bool ReadStep(std::uint64_t id, HistoryRecipe& recipe, Picture24* thumbnail, std::string& error) const;
  bool WriteStep(const HistoryEntry& entry, const HistoryRecipe& recipe, const Picture24& thumbnail,
                 std::string& error);
  bool WriteIndex(std::string& error);
  bool MoveTo(std::uint64_t id, HistoryRecipe& recipe, std::string& error);

  std::string folder_;
  HistoryLimits limits_;
  std::vector<HistoryEntry> entries_;
  std::uint64_t current_ = 0;
  std::uint64_t nextId_ = 1;
  // For each step, the child Redo goes to.
  std::map<std::uint64_t, std::uint64_t> redoChild_;
  bool readOnly_ = false;
  bool haveCurrentRecipe_ = false;
  HistoryRecipe currentRecipe_;
};

}  // namespace quorl
