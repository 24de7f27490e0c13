// Keeping the canvas safe from a crash. While a run draws, the canvas grids
// and the run's position are copied at most once a minute, and at the end
// of every Draw, and a background thread compresses and writes the copy
// beside the history, so drawing never waits for the disk. A canvas whose
// grids are larger than the limit is not autosaved (the caller tells the
// user).
//
// A session marker tells the next start whether the program ended cleanly:
// it is made at start and removed at a clean exit. When it is found from a
// process that is gone, the last autosave can be offered back.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "engine/run_state.h"

namespace quorl {

struct AutosaveSettings {
  std::string folder;  // usually ProgramStateFolder()
  std::chrono::milliseconds interval{60000};
  std::uint64_t maxGridBytes = 1ULL << 30;
};

enum class AutosaveOffer {
  kQueued,    // a copy was taken and is being written
  kNotDue,    // less than the interval since the last one
  kTooLarge,  // the canvas's grids are beyond the limit
  kBusy,      // the last copy is still being written; tried again later
};

class Autosaver {
 public:
  explicit Autosaver(AutosaveSettings settings);
  ~Autosaver();
  Autosaver(const Autosaver&) = delete;
  Autosaver& operator=(const Autosaver&) = delete;

  // Between two steps of a run (or at its end, with `runEnded`, which is
  // always due). Takes the copy on the calling thread.
  AutosaveOffer Offer(const ProgramState& state, const RunPosition& position, bool runEnded);
  // As Offer between two steps, but copying now only what is small: the
  // returned job copies the canvas grids and starts the writer. The caller
  // runs it once, on any one thread, before the grids next change and
  // before anything else here is called (the window: on the step worker,
  // before its next step, so that copying a large canvas never holds up
  // the window). Empty unless the result is kQueued.
  std::function<void()> OfferDeferred(const ProgramState& state, const RunPosition& position,
                                      AutosaveOffer& result);
  // Makes room for the copy of a canvas of this size ahead of time, on the
  // writer's thread, so that taking the copy (at the end of a run, on the
  // window's thread) only copies. Cheap when the room is there.
  void PrepareRoom(int width, int height);
  // Waits until the copy being written (if any) is on disk.
  void Wait();
  // The last writer's failure, or "".
  std::string LastError() const;
  // How many autosaves reached the disk.
  int Written() const { return written_.load(); }

  std::string Path() const;
  static std::string PathIn(const std::string& folder);

 private:
  // Whether a copy is due now; when it is, marks it taken.
  AutosaveOffer Claim(const ProgramState& state, bool runEnded);
  void StartWriter(std::shared_ptr<RunSnapshot> snapshot);
  // The snapshot to copy into: its grids' memory is the room kept from the
  // last copy, when there is room.
  std::shared_ptr<RunSnapshot> NewSnapshot(const ProgramState& state, const RunPosition& position);
  // Grids up to this size keep their room between copies (twice the canvas
  // in memory); larger ones are made afresh each time.
  static constexpr std::uint64_t kKeptRoomBytes = 256ULL << 20;

  AutosaveSettings settings_;
  std::thread writer_;
  // Room for the next copy. `written_room_` is what the writer thread
  // leaves; it becomes `room_` once that thread is joined.
  CanvasGrids room_;
  CanvasGrids written_room_;
  std::atomic<bool> writing_{false};
  std::atomic<bool> preparing_{false};  // the writer's thread makes room
  std::atomic<int> written_{0};
  std::chrono::steady_clock::time_point last_{};
  bool any_ = false;
  mutable std::mutex errorMutex_;
  std::string error_;
};

// The session marker. StartSession makes it (with this process's id) and
// says whether the previous session ended without removing its own; a
// marker of a process that still runs (another window) does not count.
bool StartSession(const std::string& folder, bool& previousEndedUncleanly, std::string& error);
// At a clean exit.
void EndSession(const std::string& folder);

// The last autosave, for recovery.
bool ReadAutosave(const std::string& folder, RunSnapshot& snapshot, std::string& error);

}  // namespace quorl
