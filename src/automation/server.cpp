#include "automation/server.h"

#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <deque>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <unistd.h>

#include "com/classes.h"
#include "automation/code_verbs.h"
#include "automation/input_reader.h"
#include "automation/input_verbs.h"
#include "automation/object_verbs.h"
#include "automation/query_verbs.h"
#include "forms/app.h"
#include "forms/event_loop.h"
#include "forms/msgbox.h"
#include "forms/snapshot.h"
#include "runtime/clock.h"
#include "runtime/text.h"

namespace automation {
namespace {

bool IsSwitch(const std::string& argument, std::string_view name) {
  return argument.size() == name.size() + 1 && (argument[0] == '/' || argument[0] == '-') &&
         rt::EqualsNoCase(std::string_view(argument).substr(1), name);
}

// Writes whole lines; a director that has gone away is no reason to fail.
void WriteLine(int fd, std::string line) {
  line += '\n';
  size_t written = 0;
  while (written < line.size()) {
    const ssize_t n = write(fd, line.data() + written, line.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    written += static_cast<size_t>(n);
  }
}

Json QuestionEvent() {
  Json event = {{"event", "question"}, {"waiting", true}};
  if (const auto* box = forms::OpenMsgBox()) event["msgbox"] = Json(forms::Describe(*box));
  if (const auto* dialog = forms::OpenFileDialog()) event["filedialog"] = Json(forms::Describe(*dialog));
  return event;
}

using Poster = std::function<void(std::function<void()>)>;

// What the reader thread has read and the UI thread has not yet taken, in order: request lines,
// lines over the limit, and last the end of the input. When MaxWaitingRequests wait, counting the
// object calls that wait for the call running, the reader waits until half of them have gone (not
// for every one, which would wake it for each line): the pipe holds the rest. While a modal wait
// waits for input those calls do not count, since the line that ends the wait may come after any
// number of them.
class Inbox {
 public:
  enum class Kind { Line, Overlong, End };
  struct Entry {
    Kind kind;
    std::string line;
  };
  void Put(Entry entry) {
    std::unique_lock lock(mutex_);
    if (!HasRoom(MaxWaitingRequests)) {
      readerWaits_ = true;
      room_.wait(lock, [this] { return HasRoom(ResumeBelow); });
      readerWaits_ = false;
    }
    entries_.push_back(std::move(entry));
  }
  std::optional<Entry> Next() {
    std::lock_guard lock(mutex_);
    if (entries_.empty()) return std::nullopt;
    Entry entry = std::move(entries_.front());
    entries_.pop_front();
    return entry;
  }
  void SetWaitingCalls(size_t count) {
    Change([&] { waitingCalls_ = count; });
  }
  void NoteModalWait(bool waiting) {
    Change([&] { modalWaits_ += waiting ? 1 : -1; });
  }
  bool ReaderWaits() {
    std::lock_guard lock(mutex_);
    return readerWaits_;
  }
  // The process ends: the reader waits no more, and what it still hands on is answered as not run.
  void Close() {
    Change([&] { closed_ = true; });
  }

 private:
  static constexpr size_t ResumeBelow = MaxWaitingRequests / 2;

  bool HasRoom(size_t below) const {
    if (closed_) return true;
    if (entries_.size() >= below) return false;
    return modalWaits_ > 0 || entries_.size() + waitingCalls_ < below;
  }
  void Change(const std::function<void()>& change) {
    bool wake = false;
    {
      std::lock_guard lock(mutex_);
      change();
      wake = readerWaits_ && HasRoom(ResumeBelow);
    }
    if (wake) room_.notify_one();
  }

  std::mutex mutex_;
  std::condition_variable room_;
  std::deque<Entry> entries_;
  size_t waitingCalls_ = 0;
  int modalWaits_ = 0;
  bool closed_ = false;
  bool readerWaits_ = false;
};

Inbox* g_serving = nullptr;  // the inbox of the Serve running

// A request line, or one over the limit, to the channel; the end of the input is not for it.
void Deliver(Channel& channel, const Inbox::Entry& entry) {
  if (entry.kind == Inbox::Kind::Line) channel.Take(entry.line);
  if (entry.kind == Inbox::Kind::Overlong) {
    channel.Refuse("longer than " + std::to_string(InputReader::MaxLineBytes) + " bytes");
  }
}

// The director has gone: questions take their defaults one at a time (each returns to its caller
// before the next is answered); the requests running finish and those waiting run, a modal window
// getting no more input; then the director's objects go and the loop ends.
void FinishAfterInput(Channel& channel, const Poster& post) {
  forms::SetWhenUnanswered(forms::WhenUnanswered::TakeDefault);
  if (forms::IsQuestionOpen()) {
    AnswerWithDefault();
    post([&channel, post] { FinishAfterInput(channel, post); });
    return;
  }
  if (!channel.Idle()) forms::Quit();
  channel.WhenIdle([&channel] {
    channel.Objects().ReleaseAll();
    forms::Quit();
  });
}

// The UI thread takes what the reader read, one entry per posted item, in order, and tells the
// reader how many calls wait now.
void TakeNext(Channel& channel, Inbox& inbox, const Poster& post) {
  auto entry = inbox.Next();
  if (!entry) return;
  if (entry->kind == Inbox::Kind::End) {
    FinishAfterInput(channel, post);
  } else {
    Deliver(channel, *entry);
    inbox.SetWaitingCalls(channel.WaitingCalls());
  }
}

// The reader thread hands each line, refusal and the end to the inbox and has the UI thread take it.
InputReader::Callbacks ReaderCallbacks(Channel& channel, Inbox& inbox, const Poster& post) {
  const auto hand = [&channel, &inbox, post](Inbox::Entry entry) {
    inbox.Put(std::move(entry));
    post([&channel, &inbox, post] { TakeNext(channel, inbox, post); });
  };
  return {
      [hand](std::string line) { hand({Inbox::Kind::Line, std::move(line)}); },
      [hand] { hand({Inbox::Kind::Overlong, {}}); },
      [hand] { hand({Inbox::Kind::End, {}}); },
  };
}

// The process ends inside a request: every request read is answered, those not run as such.
void AnswerBeforeTheEnd(Channel& channel, Inbox& inbox) {
  channel.End();
  while (auto entry = inbox.Next()) Deliver(channel, *entry);
}

std::filesystem::path ProgramFile() { return std::filesystem::read_symlink("/proc/self/exe"); }

int Registration(bool registering) {
  try {
    registering ? com::RegisterServer(ProgramFile()) : com::UnregisterServer();
    return 0;
  } catch (const std::exception& failure) {
    std::cerr << (registering ? "/regserver: " : "/unregserver: ") << failure.what() << "\n";
    return 1;
  }
}

}  // namespace

ServerCommandLine ReadServerCommandLine(const std::vector<std::string>& arguments) {
  ServerCommandLine commandLine;
  for (const auto& argument : arguments) {
    if (IsSwitch(argument, "Embedding")) {
      commandLine.embedding = true;
    } else if (IsSwitch(argument, "regserver")) {
      commandLine.regServer = true;
    } else if (IsSwitch(argument, "unregserver")) {
      commandLine.unregServer = true;
    } else if (argument == "--virtual-clock") {
      commandLine.virtualClock = true;
    } else {
      commandLine.rest.push_back(argument);
    }
  }
  return commandLine;
}

std::optional<int> HandleServerSwitches(const ServerCommandLine& commandLine) {
  if (commandLine.virtualClock) rt::UseClock(std::make_shared<rt::VirtualClock>());
  if (commandLine.regServer) return Registration(true);
  if (commandLine.unregServer) return Registration(false);
  return std::nullopt;
}

void AddStandardVerbs(Channel& channel) {
  AddObjectVerbs(channel);
  AddInputVerbs(channel);
  AddCodeVerbs(channel);
  AddQueryVerbs(channel);
}

int Serve(Channel& channel, int inputFd, int outputFd) {
  channel.SetOutput([outputFd](const std::string& line) { WriteLine(outputFd, line); });
  channel.SetWaitingProbe(QuestionAwaitsAnswer);
  forms::SetWhenUnanswered(forms::WhenUnanswered::Wait);
  forms::SetQuestionOpenedHook([&channel] { channel.Notify(QuestionEvent()); });
  // Items the reader posted but the loop has not run when Serve returns must not reach the channel.
  const auto serving = std::make_shared<bool>(true);
  const Poster post = [serving](std::function<void()> item) {
    forms::Post([serving, item = std::move(item)] {
      if (*serving) item();
    });
  };
  Inbox inbox;
  g_serving = &inbox;
  forms::SetModalWaitHook([&inbox](bool waiting) { inbox.NoteModalWait(waiting); });
  {
    InputReader reader(inputFd, ReaderCallbacks(channel, inbox, post));
    // A request whose work ends the process is answered before the process goes, and so is every
    // other request read. The reader stops first: the process's end must not meet it posting a line.
    forms::App().SetEndingHook([&channel, &reader, &inbox, serving] {
      *serving = false;
      inbox.Close();
      reader.Stop();
      AnswerBeforeTheEnd(channel, inbox);
      forms::Quit();
    });
    forms::Run();
    forms::App().SetEndingHook(nullptr);
    inbox.Close();
  }
  *serving = false;
  g_serving = nullptr;
  forms::SetModalWaitHook(nullptr);
  forms::SetQuestionOpenedHook(nullptr);
  forms::SetWhenUnanswered(forms::WhenUnanswered::TakeDefault);
  channel.SetOutput(nullptr);
  channel.SetWaitingProbe(nullptr);
  return 0;
}

bool InputWaitsForRoom() { return g_serving && g_serving->ReaderWaits(); }

int ServeStdio(Channel& channel) {
  // A director that goes away must not take the plug-in with it in the middle of a write.
  std::signal(SIGPIPE, SIG_IGN);
  std::cout.flush();
  std::fflush(stdout);
  const int protocolOut = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
  if (protocolOut < 0) return 1;
  dup2(STDERR_FILENO, STDOUT_FILENO);
  const int code = Serve(channel, STDIN_FILENO, protocolOut);
  close(protocolOut);
  return code;
}

}  // namespace automation
