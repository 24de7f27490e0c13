// `quorl verify PICTURE.png...`: draws each picture again from the recipe
// inside it and compares the decoded pixels; `--quick` only checks the
// pixels against the SHA-256 the recipe stores, without drawing.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/command.h"

namespace quorl {

struct VerifyOptions {
  std::vector<std::string> pictures;
  bool quick = false;
  int threads = 0;  // 0: every core
};

// Prints one line per picture: "PICTURE: same", "PICTURE: differs: N
// pixels, max channel difference D", "PICTURE: not reproducible (N runs)"
// or "PICTURE: cannot verify: REASON". Exit status 0 only when every
// picture is the same, 1 otherwise.
int RunVerify(const VerifyOptions& options, CommandIo& io);

std::unique_ptr<Command> MakeVerifyCommand();

}  // namespace quorl
