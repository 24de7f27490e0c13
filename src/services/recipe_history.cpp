#include "services/recipe_history.h"

#include <algorithm>
#include <ctime>
#include <filesystem>

#include "base/byte_stream.h"
#include "base/host.h"
#include "base/paths.h"
#include "curves/curve_record.h"
#include "settings/parameter_record.h"

namespace quorl {
namespace {

namespace fs = std::filesystem;

constexpr const char* kStepPrefix = "step-";
constexpr const char* kStepSuffix = ".qhist";
constexpr const char* kIndexName = "history.qidx";
// A thumbnail is never larger than this on either side.
constexpr int kMaxThumbnailSide = 1024;

void WritePicture(ByteWriter& out, const Picture24& picture) {
  out.I32(picture.Width());
  out.I32(picture.Height());
  out.Raw(picture.Bytes().data(), picture.Bytes().size());
}

bool ReadPicture(ByteReader& in, Picture24& picture) {
  const std::int32_t w = in.I32(), h = in.I32();
  if (!in.Ok() || w < 0 || h < 0 || w > kMaxThumbnailSide || h > kMaxThumbnailSide ||
      static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3 > in.Left()) {
    in.Fail();
    return false;
  }
  Picture24 read(w, h);
  in.Raw(read.Bytes().data(), read.Bytes().size());
  if (in.Ok()) picture = std::move(read);
  return in.Ok();
}

std::string CurveDisplayName(const std::string& name) {
  return name;
}

}  // namespace

HistoryRecipe RecipeOf(const ParameterSet& params, const CurveSlots& curves) {
  HistoryRecipe recipe;
  recipe.params = params;
  for (std::size_t i = 0; i < curves.Slots.size(); ++i) recipe.curves.Slots[i].Curve = curves.Slots[i].Curve;
  recipe.curves.AnimStartPathCurve = curves.AnimStartPathCurve;
  recipe.curves.AnimEndPathCurve = curves.AnimEndPathCurve;
  return recipe;
}

void PutRecipeBack(const HistoryRecipe& recipe, ParameterSet& params, CurveSlots& curves) {
  CopyRecipeValues(recipe.params, params);
  const bool forced = curves.UseForcedCurveIndex;
  curves.UseForcedCurveIndex = false;
  for (int slot = 0; slot < static_cast<int>(curves.Slots.size()); ++slot) {
    CurveSlot& target = curves[slot];
    const CurvePoints& points = recipe.curves[slot].Curve;
    if (SameCurvePointsOf(target.Curve, points)) continue;
    target.Curve = points;
    curves.SetUpBezier(BezierKind::kSlot, slot);
  }
  curves.UseForcedCurveIndex = forced;
  if (!SameCurvePointsOf(curves.AnimStartPathCurve, recipe.curves.AnimStartPathCurve)) {
    curves.AnimStartPathCurve = recipe.curves.AnimStartPathCurve;
    curves.SetUpBezier(BezierKind::kAnimStart, 0);
  }
  if (!SameCurvePointsOf(curves.AnimEndPathCurve, recipe.curves.AnimEndPathCurve)) {
    curves.AnimEndPathCurve = recipe.curves.AnimEndPathCurve;
    curves.SetUpBezier(BezierKind::kAnimEnd, 0);
  }
}

bool DecodeHistoryStep(std::string_view payload, HistoryEntry& entry, HistoryRecipe& recipe,
                       Picture24* thumbnail) {
  ByteReader in(payload);
  HistoryEntry e;
  e.id = in.U64();
  e.parent = in.U64();
  e.time = in.I64();
  e.description = in.String();
  HistoryRecipe r;
  ReadParameters(in, r.params);
  ReadCurvePoints(in, r.curves);
  Picture24 picture;
  ReadPicture(in, picture);
  if (!in.AtEnd() || e.id == 0 || e.parent == e.id) return false;
  e.hasThumbnail = !picture.Empty();
  entry = std::move(e);
  recipe.params = r.params;
  recipe.curves = std::move(r.curves);
  if (thumbnail) *thumbnail = std::move(picture);
  return true;
}

bool SameRecipe(const HistoryRecipe& a, const HistoryRecipe& b) {
  return ChangedParameters(a.params, b.params).empty() && SameCurvePoints(a.curves, b.curves);
}

std::string DescribeRecipeChange(const HistoryRecipe& before, const HistoryRecipe& after) {
  std::vector<ParameterChange> changes = ChangedParameters(before.params, after.params);
  // Every Draw in the window picks a scatter seed of its own and counts
  // itself: the step says it was a Draw rather than quoting a twenty-digit
  // number and a counter.
  const auto byDraw = [](const ParameterChange& c) {
    return c.name == "ScatterSeed" || c.name == "DrawsSinceClear";
  };
  const bool drawn = std::any_of(changes.begin(), changes.end(),
                                 [](const ParameterChange& c) { return c.name == "ScatterSeed"; });
  if (drawn) changes.erase(std::remove_if(changes.begin(), changes.end(), byDraw), changes.end());
  std::string text = DescribeChanges(changes);
  if (drawn) text += text.empty() ? "Draw with a new scatter seed" : ", then a Draw with a new scatter seed";
  std::vector<std::string> curves;
  for (std::size_t i = 0; i < before.curves.Slots.size(); ++i) {
    const CurvePoints& a = before.curves.Slots[i].Curve;
    const CurvePoints& b = after.curves.Slots[i].Curve;
    if (a.Points == b.Points && a.Sum == b.Sum && a.Centroid == b.Centroid) continue;
    const std::string name = CurveDisplayName(after.curves.Slots[i].Name);
    if (b.Points.empty())
      curves.push_back("Curve " + name + " cleared");
    else if (a.Points.empty())
      curves.push_back("Curve " + name + " drawn");
    else
      curves.push_back("Curve " + name + " changed");
  }
  const auto path = [&](const CurvePoints& a, const CurvePoints& b, const char* name) {
    if (!(a.Points == b.Points)) curves.push_back(std::string("Animation ") + name + " path changed");
  };
  path(before.curves.AnimStartPathCurve, after.curves.AnimStartPathCurve, "start");
  path(before.curves.AnimEndPathCurve, after.curves.AnimEndPathCurve, "end");
  for (std::size_t i = 0; i < curves.size() && i < 2; ++i) text += (text.empty() ? "" : ", ") + curves[i];
  if (curves.size() > 2) text += " and " + std::to_string(curves.size() - 2) + " more curves";
  return text;
}

RecipeHistory::RecipeHistory(std::string folder, HistoryLimits limits)
    : Now([] { return static_cast<std::int64_t>(std::time(nullptr)); }),
      folder_(std::move(folder)),
      limits_(limits) {
  if (!folder_.empty() && folder_.back() != '/') folder_ += '/';
}

std::string RecipeHistory::StepPath(std::uint64_t id) const {
  return folder_ + kStepPrefix + std::to_string(id) + kStepSuffix;
}

const HistoryEntry* RecipeHistory::Find(std::uint64_t id) const {
  for (const HistoryEntry& e : entries_)
    if (e.id == id) return &e;
  return nullptr;
}

std::uint64_t RecipeHistory::TotalBytes() const {
  std::uint64_t total = 0;
  for (const HistoryEntry& e : entries_) total += e.bytes;
  return total;
}

bool RecipeHistory::Open(std::string& message) {
  entries_.clear();
  redoChild_.clear();
  current_ = 0;
  nextId_ = 1;
  readOnly_ = false;
  haveCurrentRecipe_ = false;
  std::vector<std::string> problems;
  if (!MakeFolders(folder_.substr(0, folder_.size() - 1))) {
    message = "The history folder " + folder_ + " cannot be made.";
    readOnly_ = true;
    return false;
  }

  std::string payload, error;
  bool indexRead = false;
  if (FileExists(folder_ + kIndexName)) {
    if (ReadSealedFile(folder_ + kIndexName, kHistoryIndexKind, payload, error)) {
      ByteReader in(payload);
      const std::uint64_t current = in.U64(), next = in.U64();
      const std::size_t pairs = in.Count(16);
      std::map<std::uint64_t, std::uint64_t> redo;
      for (std::size_t i = 0; i < pairs && in.Ok(); ++i) {
        const std::uint64_t parent = in.U64();
        redo[parent] = in.U64();
      }
      // id, parent, time, description length, bytes, thumbnail: 41 bytes at least
      const std::size_t count = in.Count(41);
      std::vector<HistoryEntry> listed(count);
      for (HistoryEntry& e : listed) {
        e.id = in.U64();
        e.parent = in.U64();
        e.time = in.I64();
        e.description = in.String();
        e.bytes = in.U64();
        e.hasThumbnail = in.Bool();
        if (!in.Ok()) break;
      }
      if (in.AtEnd()) {
        current_ = current;
        nextId_ = next;
        redoChild_ = std::move(redo);
        entries_ = std::move(listed);
        indexRead = true;
      } else {
        problems.push_back("The history index is damaged; the newest step is taken as the current one.");
      }
    } else {
      if (error.find("newer version") != std::string::npos) readOnly_ = true;
      problems.push_back(error);
    }
  }

  std::error_code ec;
  for (const auto& file : fs::directory_iterator(folder_, ec)) {
    const std::string name = file.path().filename().string();
    if (name.rfind(kStepPrefix, 0) != 0 || name.size() <= std::string(kStepSuffix).size() ||
        name.compare(name.size() - std::string(kStepSuffix).size(), std::string::npos, kStepSuffix) != 0)
      continue;
    // Never reuse the number of a file that is there, readable or not.
    const std::string number =
        name.substr(std::string(kStepPrefix).size(),
                    name.size() - std::string(kStepPrefix).size() - std::string(kStepSuffix).size());
    if (!number.empty() && number.size() < 19 && number.find_first_not_of("0123456789") == std::string::npos)
      nextId_ = std::max<std::uint64_t>(nextId_, std::stoull(number) + 1);
    // The index lists the steps; their files are read when they are needed.
    if (indexRead) continue;
    std::string stepPayload, stepError;
    if (!ReadSealedFile(file.path().string(), kHistoryStepKind, stepPayload, stepError)) {
      if (stepError.find("newer version") != std::string::npos) readOnly_ = true;
      problems.push_back(name + ": " + stepError);
      continue;
    }
    HistoryEntry entry;
    HistoryRecipe recipe;
    Picture24 thumbnail;
    if (!DecodeHistoryStep(stepPayload, entry, recipe, &thumbnail) ||
        StepPath(entry.id) != file.path().string()) {
      problems.push_back(name + ": The history step is damaged.");
      continue;
    }
    entry.hasThumbnail = !thumbnail.Empty();
    entry.bytes = static_cast<std::uint64_t>(fs::file_size(file.path(), ec));
    entries_.push_back(std::move(entry));
  }
  std::sort(entries_.begin(), entries_.end(),
            [](const HistoryEntry& a, const HistoryEntry& b) { return a.id < b.id; });
  for (const HistoryEntry& e : entries_) nextId_ = std::max(nextId_, e.id + 1);
  if (!indexRead || !Find(current_)) current_ = entries_.empty() ? 0 : entries_.back().id;

  if (readOnly_)
    problems.insert(problems.begin(),
                    "The history was written by a newer version of Quorl; it is shown but not changed.");
  message.clear();
  for (const std::string& p : problems) message += (message.empty() ? "" : "\n") + p;
  return problems.empty();
}

bool RecipeHistory::ReadStep(std::uint64_t id, HistoryRecipe& recipe, Picture24* thumbnail,
                             std::string& error) const {
  std::string payload;
  if (!ReadSealedFile(StepPath(id), kHistoryStepKind, payload, error)) return false;
  HistoryEntry entry;
  HistoryRecipe read;
  Picture24 picture;
  if (!DecodeHistoryStep(payload, entry, read, &picture) || entry.id != id) {
    error = "The history step is damaged.";
    return false;
  }
  recipe.params = read.params;
  recipe.curves = std::move(read.curves);
  if (thumbnail) *thumbnail = std::move(picture);
  return true;
}

bool RecipeHistory::WriteStep(const HistoryEntry& entry, const HistoryRecipe& recipe,
                              const Picture24& thumbnail, std::string& error) {
  ByteWriter out;
  out.U64(entry.id);
  out.U64(entry.parent);
  out.I64(entry.time);
  out.String(entry.description);
  WriteParameters(out, recipe.params);
  WriteCurvePoints(out, recipe.curves);
  WritePicture(out, thumbnail);
  return WriteSealedFile(StepPath(entry.id), kHistoryStepKind, out.Bytes(), error);
}

bool RecipeHistory::WriteIndex(std::string& error) {
  if (readOnly_) return true;
  ByteWriter out;
  out.U64(current_);
  out.U64(nextId_);
  out.U64(redoChild_.size());
  for (const auto& [parent, child] : redoChild_) {
    out.U64(parent);
    out.U64(child);
  }
  out.U64(entries_.size());
  for (const HistoryEntry& e : entries_) {
    out.U64(e.id);
    out.U64(e.parent);
    out.I64(e.time);
    out.String(e.description);
    out.U64(e.bytes);
    out.Bool(e.hasThumbnail);
  }
  return WriteSealedFile(folder_ + kIndexName, kHistoryIndexKind, out.Bytes(), error);
}

bool RecipeHistory::Record(const HistoryRecipe& recipe, std::string& error, const std::string& description) {
  if (readOnly_) {
    error = "The history was written by a newer version of Quorl and is not changed.";
    return false;
  }
  if (current_ != 0 && !haveCurrentRecipe_) {
    haveCurrentRecipe_ = ReadStep(current_, currentRecipe_, nullptr, error);
  }
  const bool haveBefore = current_ != 0 && haveCurrentRecipe_;
  if (haveBefore && SameRecipe(currentRecipe_, recipe)) return true;
  HistoryEntry entry;
  entry.id = nextId_;
  entry.parent = current_;
  entry.time = Now();
  entry.description = description;
  if (entry.description.empty())
    entry.description = haveBefore ? DescribeRecipeChange(currentRecipe_, recipe) : "";
  if (entry.description.empty()) entry.description = "Recipe";
  if (!WriteStep(entry, recipe, Picture24(), error)) return false;
  std::error_code ec;
  entry.bytes = static_cast<std::uint64_t>(fs::file_size(StepPath(entry.id), ec));
  ++nextId_;
  if (current_ != 0) redoChild_[current_] = entry.id;
  entries_.push_back(entry);
  current_ = entry.id;
  currentRecipe_.params = recipe.params;
  currentRecipe_.curves = recipe.curves;
  haveCurrentRecipe_ = true;
  Prune();
  return WriteIndex(error);
}

bool RecipeHistory::CanUndo() const {
  const HistoryEntry* e = Find(current_);
  return e && e->parent != 0 && Find(e->parent);
}

bool RecipeHistory::CanRedo() const {
  for (const HistoryEntry& e : entries_)
    if (e.parent == current_ && current_ != 0) return true;
  return false;
}

bool RecipeHistory::MoveTo(std::uint64_t id, HistoryRecipe& recipe, std::string& error) {
  if (!Find(id)) {
    error = "There is no such step in the history.";
    return false;
  }
  HistoryRecipe read;
  if (!ReadStep(id, read, nullptr, error)) return false;
  current_ = id;
  currentRecipe_.params = read.params;
  currentRecipe_.curves = read.curves;
  haveCurrentRecipe_ = true;
  recipe.params = read.params;
  recipe.curves = std::move(read.curves);
  std::string ignored;
  WriteIndex(ignored);
  return true;
}

bool RecipeHistory::Undo(HistoryRecipe& recipe, std::string& error) {
  if (!CanUndo()) {
    error = "Nothing to undo.";
    return false;
  }
  const std::uint64_t from = current_;
  const std::uint64_t parent = Find(current_)->parent;
  if (!MoveTo(parent, recipe, error)) return false;
  redoChild_[parent] = from;
  std::string ignored;
  WriteIndex(ignored);
  return true;
}

std::uint64_t RecipeHistory::RedoTarget() const {
  if (const auto it = redoChild_.find(current_);
      it != redoChild_.end() && Find(it->second) && Find(it->second)->parent == current_)
    return it->second;
  // The newest child.
  std::uint64_t child = 0;
  for (const HistoryEntry& e : entries_)
    if (e.parent == current_ && current_ != 0) child = e.id;
  return child;
}

bool RecipeHistory::Redo(HistoryRecipe& recipe, std::string& error) {
  const std::uint64_t child = RedoTarget();
  if (child == 0) {
    error = "Nothing to redo.";
    return false;
  }
  return MoveTo(child, recipe, error);
}

bool RecipeHistory::GoTo(std::uint64_t id, HistoryRecipe& recipe, std::string& error) {
  return MoveTo(id, recipe, error);
}

bool RecipeHistory::SetThumbnail(std::uint64_t id, const Picture24& thumbnail, std::string& error) {
  if (readOnly_) {
    error = "The history was written by a newer version of Quorl and is not changed.";
    return false;
  }
  const auto it =
      std::find_if(entries_.begin(), entries_.end(), [id](const HistoryEntry& e) { return e.id == id; });
  if (it == entries_.end() || thumbnail.Width() > kMaxThumbnailSide ||
      thumbnail.Height() > kMaxThumbnailSide) {
    error = "No such step, or the picture is too large for a thumbnail.";
    return false;
  }
  HistoryRecipe recipe;
  if (!ReadStep(id, recipe, nullptr, error) || !WriteStep(*it, recipe, thumbnail, error)) return false;
  std::error_code ec;
  it->bytes = static_cast<std::uint64_t>(fs::file_size(StepPath(id), ec));
  it->hasThumbnail = !thumbnail.Empty();
  return WriteIndex(error);
}

bool RecipeHistory::Thumbnail(std::uint64_t id, Picture24& thumbnail, std::string& error) const {
  HistoryRecipe recipe;
  return ReadStep(id, recipe, &thumbnail, error);
}

void RecipeHistory::Prune() {
  if (readOnly_) return;
  const std::int64_t now = Now();
  std::uint64_t total = TotalBytes();
  std::vector<HistoryEntry> oldestFirst = entries_;
  std::stable_sort(oldestFirst.begin(), oldestFirst.end(),
                   [](const HistoryEntry& a, const HistoryEntry& b) { return a.time < b.time; });
  std::vector<std::uint64_t> gone;
  for (const HistoryEntry& e : oldestFirst) {
    const bool tooOld = now - e.time > limits_.maxAgeSeconds;
    if (e.id == current_ || (!tooOld && total <= limits_.maxBytes)) continue;
    std::error_code ec;
    fs::remove(StepPath(e.id), ec);
    total -= e.bytes;
    gone.push_back(e.id);
  }
  if (gone.empty()) return;
  std::erase_if(entries_, [&](const HistoryEntry& e) {
    return std::find(gone.begin(), gone.end(), e.id) != gone.end();
  });
  for (std::uint64_t id : gone) redoChild_.erase(id);
}

}  // namespace quorl
