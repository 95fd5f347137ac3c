// The one channel through which every message the operator sees is shown:
// a message box in the desktop window, a recorder in tests, a collector in the
// batch program. Nothing below the window layer calls a toolkit.
#pragma once

#include <string>
#include <vector>

namespace zelto {

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // Shows one message (UTF-8) and returns when the operator has acknowledged it.
  virtual void ShowMessage(const std::string& text) = 0;
};

// Keeps every message in order; used by tests and by the batch program.
class MessageRecorder : public MessageSink {
 public:
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

// Writes each message as one line on standard error: the programs'
// diagnostics (for instance the library substances that were skipped).
class StandardErrorSink : public MessageSink {
 public:
  void ShowMessage(const std::string& text) override;
};

// Swallows messages (start-up passes whose refusals are not reported).
class NullMessageSink : public MessageSink {
 public:
  void ShowMessage(const std::string&) override {}
};

}  // namespace zelto
