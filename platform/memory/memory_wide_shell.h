#pragma once
// An in-memory desktop for the icon guard's tests: OEM conversion as the
// system does it with code page 437 (best fit included), scripted
// message-box answers and a log of every call.

#include <deque>
#include <string>
#include <vector>

#include "platform/wide_shell.h"

namespace platform::memory {

class MemoryWideShell : public WideShell {
 public:
  struct Call {
    enum class Kind { Message, Launch, Remove };
    Kind kind = Kind::Message;
    // Message: text, caption and style. Launch: verb, file, parameters,
    // directory and show. Remove: the path, in `file`.
    std::u16string text, caption;
    std::uint32_t style = 0;
    std::u16string verb, file, parameters, directory;
    int show = 0;

    bool operator==(const Call&) const = default;
  };

  // Answers for the coming message boxes, in order; once they run out a
  // message box fails (returns 0), as MessageBoxW does.
  void QueueAnswer(int answer) { answers_.push_back(answer); }
  void SetRemoveFileSucceeds(bool succeeds) { removeSucceeds_ = succeeds; }
  const std::vector<Call>& Calls() const { return calls_; }

  std::string ToOem(const std::u16string& text, std::size_t bufferBytes) override;
  int ShowMessage(const std::u16string& text, const std::u16string& caption,
                  std::uint32_t style) override;
  bool Launch(const std::u16string& verb, const std::u16string& file,
              const std::u16string& parameters, const std::u16string& directory,
              int show) override;
  bool RemoveFile(const std::u16string& path) override;

 private:
  std::deque<int> answers_;
  bool removeSucceeds_ = true;
  std::vector<Call> calls_;
};

}  // namespace platform::memory
