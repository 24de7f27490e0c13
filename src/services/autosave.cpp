#include "services/autosave.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>

#include "base/atomic_file.h"
#include "base/paths.h"

namespace quorl {
namespace {

constexpr const char* kAutosaveName = "canvas.qauto";
constexpr const char* kSessionName = "session.lock";

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

// zstd's fast end: an autosave is written often and must not lag behind.
constexpr int kAutosaveLevel = 1;

}  // namespace

Autosaver::Autosaver(AutosaveSettings settings) : settings_(std::move(settings)) {}

Autosaver::~Autosaver() {
  Wait();
}

std::string Autosaver::PathIn(const std::string& folder) {
  return WithSlash(folder) + kAutosaveName;
}

std::string Autosaver::Path() const {
  return PathIn(settings_.folder);
}

void Autosaver::Wait() {
  if (!writer_.joinable()) return;
  writer_.join();
  if (written_room_.Bytes() > 0) room_ = std::move(written_room_);
  written_room_ = {};
}

void Autosaver::PrepareRoom(int width, int height) {
  const std::uint64_t bytes = GridBytesFor(width, height);
  if (bytes == 0 || bytes > kKeptRoomBytes || bytes > settings_.maxGridBytes) return;
  // A copy being written gives its room back when it is on disk.
  if (writing_.load() || preparing_.load()) return;
  Wait();
  if (room_.Bytes() == bytes) return;
  room_ = {};
  preparing_.store(true);
  writer_ = std::thread([this, width, height] {
    const std::size_t cells = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    CanvasGrids room;
    // Filled, so that the pages are really there.
    room.pixels.assign(cells * 3, 0.0);
    room.background.assign(cells * 3, 0.0);
    room.normal.assign(cells * 3, 0.0);
    room.firstStep.assign(cells, 0);
    written_room_ = std::move(room);
    preparing_.store(false);
  });
}

std::shared_ptr<RunSnapshot> Autosaver::NewSnapshot(const ProgramState& state, const RunPosition& position) {
  auto snapshot = std::make_shared<RunSnapshot>(TakeRunSnapshot(state, position, false));
  snapshot->grids = std::move(room_);
  room_ = {};
  return snapshot;
}

std::string Autosaver::LastError() const {
  std::lock_guard lock(errorMutex_);
  return error_;
}

AutosaveOffer Autosaver::Offer(const ProgramState& state, const RunPosition& position, bool runEnded) {
  const AutosaveOffer offer = Claim(state, runEnded);
  if (offer == AutosaveOffer::kQueued) {
    std::shared_ptr<RunSnapshot> snapshot = NewSnapshot(state, position);
    state.canvas.CopyGridsInto(snapshot->grids);
    StartWriter(std::move(snapshot));
  }
  return offer;
}

std::function<void()> Autosaver::OfferDeferred(const ProgramState& state, const RunPosition& position,
                                               AutosaveOffer& result) {
  result = Claim(state, false);
  if (result != AutosaveOffer::kQueued) return {};
  std::shared_ptr<RunSnapshot> snapshot = NewSnapshot(state, position);
  const Canvas* canvas = &state.canvas;
  return [this, snapshot, canvas] {
    canvas->CopyGridsInto(snapshot->grids);
    StartWriter(snapshot);
  };
}

AutosaveOffer Autosaver::Claim(const ProgramState& state, bool runEnded) {
  const auto now = std::chrono::steady_clock::now();
  if (!runEnded && any_ && now - last_ < settings_.interval) return AutosaveOffer::kNotDue;
  if (GridBytesFor(state.canvas.CanvasWidth(), state.canvas.CanvasHeight()) > settings_.maxGridBytes)
    return AutosaveOffer::kTooLarge;
  if (writing_.load()) {
    // The end of a run must be kept: wait for the one before it.
    if (!runEnded) return AutosaveOffer::kBusy;
    Wait();
  }
  Wait();
  any_ = true;
  last_ = now;
  writing_.store(true);
  return AutosaveOffer::kQueued;
}

void Autosaver::StartWriter(std::shared_ptr<RunSnapshot> snapshot) {
  // A writer that has cleared writing_ may still be ending.
  Wait();
  writer_ = std::thread([this, snapshot] {
    std::string error;
    MakeFolders(WithSlash(settings_.folder).substr(0, WithSlash(settings_.folder).size() - 1));
    const bool ok = WriteRunStateFile(Path(), kAutosaveKind, *snapshot, error, kAutosaveLevel);
    {
      std::lock_guard lock(errorMutex_);
      error_ = ok ? "" : error;
    }
    if (ok) ++written_;
    // The copy's memory is the room for the next one, when it is not too
    // large to keep.
    if (snapshot->grids.Bytes() <= kKeptRoomBytes) written_room_ = std::move(snapshot->grids);
    writing_.store(false);
  });
}

bool StartSession(const std::string& folder, bool& previousEndedUncleanly, std::string& error) {
  const std::string dir = WithSlash(folder);
  previousEndedUncleanly = false;
  std::string text;
  if (ReadWholeFile(dir + kSessionName, text)) {
    long pid = 0;
    const bool parsed = std::sscanf(text.c_str(), "%ld", &pid) == 1 && pid > 0;
    // This very process (an earlier window of it) or one still running
    // (another window) has not crashed.
    const bool ours = parsed && pid == static_cast<long>(::getpid());
    const bool running = parsed && !ours && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
    previousEndedUncleanly = !ours && !running;
  }
  if (!MakeFolders(dir.substr(0, dir.size() - 1))) {
    error = "The folder " + dir + " cannot be made.";
    return false;
  }
  return WriteFileAtomically(dir + kSessionName, std::to_string(::getpid()) + "\n", &error);
}

void EndSession(const std::string& folder) {
  std::remove((WithSlash(folder) + kSessionName).c_str());
}

bool ReadAutosave(const std::string& folder, RunSnapshot& snapshot, std::string& error) {
  return ReadRunStateFile(Autosaver::PathIn(folder), kAutosaveKind, snapshot, error);
}

}  // namespace quorl
