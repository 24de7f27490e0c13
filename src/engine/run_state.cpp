#include "engine/run_state.h"

#include <cstring>
#include <exception>

#include "base/byte_stream.h"
#include "curves/curve_record.h"
#include "settings/parameter_record.h"

namespace quorl {
namespace {

// Sections of the payload, in order; each starts with its tag so that a
// payload cut or shifted is noticed where it happens.
enum Tag : std::uint32_t {
  kTagRecipe = 0x50434552,    // "RECP"
  kTagCurves = 0x56525543,    // "CURV"
  kTagStep = 0x50455453,      // "STEP"
  kTagRun = 0x204E5552,       // "RUN "
  kTagGrids = 0x44495247,     // "GRID"
  kTagPictures = 0x53434950,  // "PICS"
  kTagEnd = 0x20444E45,       // "END "
};

// StepState and AnimationOverrides hold only doubles and points; their fields
// are listed here once for writing and reading alike.
template <typename Io, typename S, typename A>
void StepFields(Io&& io, S& s, A& a) {
  io(s.StepFraction);
  io(s.PathFraction);
  io(s.StepScale);
  for (auto& v : s.StepAmount) io(v);
  for (auto& v : s.StepColor) io(v);
  io(s.SourceThetaMultiplier);
  io(s.SourceStepMultiplier);
  io(s.StepEllipseWidth);
  io(s.StepEllipseHeight);
  io(s.EllipseFactorX);
  io(s.EllipseFactorY);
  io(s.StepShiftX);
  io(s.StepShiftY);
  io(s.DimmerFactor);
  io(s.ZFactor);
  io(s.PathCurvePoint);
  io(s.MouseRealPoint);
  io(a.AnimStartRadius);
  io(a.AnimEndRadius);
  io(a.AnimStartAngle);
  io(a.AnimEndAngle);
  io(a.AnimStartBumps);
  io(a.AnimEndBumps);
  io(a.AnimStartSmooth);
  io(a.AnimEndSmooth);
  io(a.AnimStartX);
  io(a.AnimEndX);
  io(a.AnimStartY);
  io(a.AnimEndY);
  io(a.AnimRotateStart);
  io(a.AnimRotateEnd);
  io(a.AnimShiftStart);
  io(a.AnimShiftEnd);
  io(a.AnimRocksAdd);
  io(a.AnimRockerStartAdd);
  io(a.AnimRockerEndAdd);
  io(a.AnimLissaAdd);
  io(a.AnimPathOffset);
  io(a.AnimationPhase);
}

void WritePicture(ByteWriter& out, const Picture24& picture) {
  out.I32(picture.Width());
  out.I32(picture.Height());
  out.Raw(picture.Bytes().data(), picture.Bytes().size());
}

void ReadPicture(ByteReader& in, Picture24& picture) {
  const std::int32_t width = in.I32();
  const std::int32_t height = in.I32();
  if (!in.Ok() || width < 0 || height < 0 ||
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 3 > in.Left()) {
    in.Fail();
    return;
  }
  Picture24 read;
  try {
    read.Resize(width, height);
  } catch (const std::exception&) {
    in.Fail();
    return;
  }
  in.Raw(read.Bytes().data(), read.Bytes().size());
  if (in.Ok()) picture = std::move(read);
}

// The source store keeps one extra column; the picture as loaded is the
// rest.
Picture24 LoadedSource(const SourceStore& source) {
  if (!source.Loaded()) return {};
  Picture24 picture(source.SourceWidth, source.SourceHeight);
  for (int y = 0; y < source.SourceHeight; ++y)
    std::memcpy(picture.Row(y), source.Bitmap.Row(y), picture.Stride());
  return picture;
}

void Expect(ByteReader& in, Tag tag) {
  if (in.U32() != tag) in.Fail();
}

}  // namespace

RunSnapshot TakeRunSnapshot(const ProgramState& state, const RunPosition& position, bool withGrids) {
  RunSnapshot s;
  s.params = state.params;
  s.curves = state.curves;
  s.step = state.step;
  s.anim = state.anim;
  s.inAnimation = state.flags.InAnimation;
  s.drawEachStep = state.flags.DrawEachStep;
  s.preview = state.flags.Preview;
  s.useArctan2 = state.UseArctan2;
  s.random = state.random.SaveState();
  if (withGrids) s.grids = state.canvas.CopyGrids();
  s.source = LoadedSource(state.source);
  if (state.background.Loaded()) s.background = state.background.Bitmap;
  s.position = position;
  return s;
}

bool ApplyRunSnapshot(RunSnapshot&& snapshot, ProgramState& state, std::string& error) {
  if (!snapshot.grids.Consistent()) {
    error = "The canvas in the state file does not fit together.";
    return false;
  }
  SeededRandom random{1};
  if (!random.RestoreState(snapshot.random)) {
    error = "The random numbers in the state file cannot be read.";
    return false;
  }
  try {
    if (!state.canvas.RestoreGrids(std::move(snapshot.grids))) {
      error = "Not enough memory for the canvas of the state file.";
      return false;
    }
    state.source.SetPicture(snapshot.source);
    state.background.SetPicture(snapshot.background);
  } catch (const std::exception&) {
    error = "Not enough memory to open the state file.";
    return false;
  }
  state.params = snapshot.params;
  state.curves = std::move(snapshot.curves);
  state.step = snapshot.step;
  state.anim = snapshot.anim;
  state.flags.InAnimation = snapshot.inAnimation;
  state.flags.DrawEachStep = snapshot.drawEachStep;
  state.flags.Preview = snapshot.preview;
  state.UseArctan2 = snapshot.useArctan2;
  state.random = random;
  return true;
}

std::string EncodeRunSnapshot(const RunSnapshot& s) {
  ByteWriter out;
  out.U32(kTagRecipe);
  WriteParameters(out, s.params);
  out.U32(kTagCurves);
  WriteCurvePoints(out, s.curves);
  WriteBuiltCurves(out, s.curves);
  out.U32(kTagStep);
  StepFields(
      [&out](const auto& v) {
        if constexpr (std::is_same_v<std::decay_t<decltype(v)>, Point>)
          WritePoint(out, v);
        else
          out.F64(v);
      },
      s.step, s.anim);
  out.Bool(s.inAnimation);
  out.Bool(s.drawEachStep);
  out.Bool(s.preview);
  out.Bool(s.useArctan2);
  out.String(s.random);
  out.U32(kTagRun);
  const RunPosition& p = s.position;
  out.I32(p.fn);
  out.I64(p.iterations);
  out.I64(p.step);
  out.Bool(p.loopEnded);
  out.F64(p.factorA);
  out.F64(p.factorB);
  out.F64(p.delta);
  out.Bool(p.shownHuh);
  out.I32(p.counters.stepsDrawn);
  out.I64(p.counters.points);
  out.I64(p.counters.subSamples);
  out.U32(kTagPictures);
  WritePicture(out, s.source);
  WritePicture(out, s.background);
  out.U32(kTagGrids);
  WriteCanvasGrids(out, s.grids);
  out.U32(kTagEnd);
  return out.Take();
}

bool DecodeRunSnapshot(std::string_view payload, RunSnapshot& snapshot, std::string& error) {
  ByteReader in(payload);
  RunSnapshot s;
  Expect(in, kTagRecipe);
  if (in.Ok()) ReadParameters(in, s.params);
  Expect(in, kTagCurves);
  if (in.Ok()) ReadCurvePoints(in, s.curves);
  if (in.Ok()) ReadBuiltCurves(in, s.curves);
  Expect(in, kTagStep);
  StepFields(
      [&in](auto& v) {
        if constexpr (std::is_same_v<std::decay_t<decltype(v)>, Point>)
          v = ReadPoint(in);
        else
          v = in.F64();
      },
      s.step, s.anim);
  s.inAnimation = in.Bool();
  s.drawEachStep = in.Bool();
  s.preview = in.Bool();
  s.useArctan2 = in.Bool();
  s.random = in.String();
  Expect(in, kTagRun);
  RunPosition& p = s.position;
  p.fn = in.I32();
  p.iterations = in.I64();
  p.step = in.I64();
  p.loopEnded = in.Bool();
  p.factorA = in.F64();
  p.factorB = in.F64();
  p.delta = in.F64();
  p.shownHuh = in.Bool();
  p.counters.stepsDrawn = in.I32();
  p.counters.points = in.I64();
  p.counters.subSamples = in.I64();
  // A position no run could have reached.
  if (p.iterations < 0 || p.step < 0 || p.step > p.iterations || p.iterations > (1LL << 31)) in.Fail();
  Expect(in, kTagPictures);
  if (in.Ok()) ReadPicture(in, s.source);
  if (in.Ok()) ReadPicture(in, s.background);
  Expect(in, kTagGrids);
  if (in.Ok()) ReadCanvasGrids(in, s.grids);
  Expect(in, kTagEnd);
  if (!in.AtEnd()) {
    error = "The state file is damaged.";
    return false;
  }
  snapshot = std::move(s);
  return true;
}

bool WriteRunStateFile(const std::string& path, const SealedKind& kind, const RunSnapshot& snapshot,
                       std::string& error, int level) {
  std::string payload;
  try {
    payload = EncodeRunSnapshot(snapshot);
  } catch (const std::exception&) {
    error = std::string("Not enough memory to write the ") + kind.name + ".";
    return false;
  }
  return WriteSealedFile(path, kind, payload, error, level);
}

bool ReadRunStateFile(const std::string& path, const SealedKind& kind, RunSnapshot& snapshot,
                      std::string& error) {
  std::string payload;
  if (!ReadSealedFile(path, kind, payload, error)) return false;
  if (!DecodeRunSnapshot(payload, snapshot, error)) {
    error = std::string("The ") + kind.name + " is damaged.";
    return false;
  }
  return true;
}

bool LooksLikeRunStateFile(std::string_view firstBytes) {
  return firstBytes.size() >= 8 && std::memcmp(firstBytes.data(), kStateFileKind.magic, 8) == 0;
}

}  // namespace quorl
