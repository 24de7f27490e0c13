// `quorl animate SETTINGS.ini --save DIR ...`: the frames the Animation
// window makes after opening SETTINGS.ini, each saved as a picture set.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/command.h"
#include "app/shared_options.h"

namespace quorl {

struct AnimateOptions : SharedOptions {
  int frames = 0;       // --frames F: 0 takes NumberOfFrames from the file
  int firstFrame = 1;   // --frames A-B
  int lastFrame = 0;    // 0: to the last frame
  int startFrame = 1;   // --start-frame S
  bool offset = false;  // --offset: the window's "Offset?" with AnimationOffset cycles
  bool moveStart = false;
  bool moveEnd = false;
  bool frameNames = false;  // --frame-names: quorl_frame_0007.png and so on
  // --chunk I/N: the I-th of N near-equal shares of the frames asked for,
  // so each task of a job array draws its own share; implies frameNames.
  int chunk = 0;
  int chunks = 0;
  // --skip-existing: a frame whose set is already in the folder is left
  // alone, so a failed job can simply be run again; implies frameNames.
  bool skipExisting = false;
  std::string video;  // --video OUT.mp4, .webm or .gif
  int fps = 25;       // --fps
};

// Exit status: 0 done, 1 a file could not be read or written (or no
// ffmpeg for --video), 2 bad arguments.
int RunAnimate(const AnimateOptions& options, CommandIo& io);

std::unique_ptr<Command> MakeAnimateCommand();

// The name of frame f's picture set with --frame-names.
std::string FrameBaseName(int f);

struct FrameRange {
  int first = 1;
  int last = 0;  // last < first: no frames
};

// Share k (from 1) of n of the frames first..last: with M frames, frames
// floor((k-1)M/n)+1 .. floor(kM/n) counted from `first`. The shares cover
// every frame once and differ in size by at most one.
FrameRange ChunkOfFrames(int first, int last, int k, int n);

}  // namespace quorl
