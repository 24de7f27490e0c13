// `quorl random --seed N [-o OUT.png] [--save DIR]`: a picture from a recipe
// drawn at random; the same seed gives the same picture on every machine.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/command.h"

namespace quorl {

struct RandomOptions {
  std::uint64_t seed = 0;
  std::string outputPath;  // -o: the picture alone
  std::string saveDir;     // --save: the whole set, recipe included
  int width = 600;         // --size WxH
  int height = 600;
  int threads = 0;  // --threads; 0: all cores
};

// Exit status: 0 done, 1 a file could not be written. Prints the seed and
// the attempt that was kept to io.out, and the saved PNG's path with --save.
int RunRandom(const RandomOptions& options, CommandIo& io);

std::unique_ptr<Command> MakeRandomCommand();

}  // namespace quorl
