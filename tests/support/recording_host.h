// A host that keeps the message boxes it was asked to show.
#pragma once

#include <string>
#include <vector>

#include "base/host.h"

namespace quorl {

class RecordingHost : public Host {
 public:
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

}  // namespace quorl
