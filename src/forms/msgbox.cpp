#include "forms/msgbox.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "forms/app.h"
#include "forms/event_loop.h"
#include "forms/internal.h"
#include "runtime/text.h"

namespace forms {
namespace {

constexpr std::array<std::string_view, 8> kResultNames = {"", "OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No"};

// Opens a question for the duration of the scope: input to the windows is refused meanwhile.
class OpenScope {
 public:
  explicit OpenScope(OpenQuestion& question) : question_(question) { State().openQuestions.push_back(&question_); }
  ~OpenScope() {
    auto& open = State().openQuestions;
    open.erase(std::remove(open.begin(), open.end(), &question_), open.end());
  }
  OpenScope(const OpenScope&) = delete;
  OpenScope& operator=(const OpenScope&) = delete;

 private:
  OpenQuestion& question_;
};

bool Fits(const MsgBoxRecord& box, int result) {
  auto results = box.Results();
  return std::find(results.begin(), results.end(), result) != results.end();
}

std::string BoxText(const MsgBoxRecord& box) { return "message box \"" + box.title + "\": \"" + box.prompt + "\""; }

void Settle(MsgBoxRecord& box, int result, AnswerSource source) {
  box.result = result;
  box.answeredBy = source;
}

void SettleWithDefault(MsgBoxRecord& box, const std::string& why) {
  Settle(box, box.DefaultResult(), AnswerSource::Default);
  PlatformLog(why + "; " + BoxText(box) + " took its default button " + std::string(ResultName(box.result)));
}

// Takes an answer from the queue or the asker when one fits; false when neither answered.
bool Prepared(MsgBoxRecord& box) {
  auto& state = State();
  std::optional<int> answer;
  AnswerSource source = AnswerSource::Queue;
  if (!state.queuedAnswers.empty()) {
    answer = state.queuedAnswers.front();
    state.queuedAnswers.pop_front();
  } else if (state.msgBoxAsker) {
    MsgBoxAsker asker = state.msgBoxAsker;
    answer = asker(box);
    source = AnswerSource::Asker;
  }
  if (!answer) return false;
  if (Fits(box, *answer)) {
    Settle(box, *answer, source);
  } else {
    SettleWithDefault(box, "The answer " + std::to_string(*answer) + " fits no button");
  }
  return true;
}

// Waits in a modal loop for an interactive answer when the policy says so.
std::optional<int> Waited(OpenQuestion& question) {
  if (State().whenUnanswered != WhenUnanswered::Wait) return std::nullopt;
  if (State().questionOpened) State().questionOpened();
  ModalWaitWhile([&question] { return !question.answer && !question.choice; });
  return question.answer;
}

std::optional<std::string> RefusalOf(const FileDialogRecord& dialog, const FileChoice& choice) {
  if (choice.cancelled) return std::nullopt;
  if (choice.path.empty()) return "no file name was given";
  std::error_code error;
  bool mustExist = !dialog.save && (dialog.flags & cdlOFNFileMustExist) != 0;
  if (mustExist && !std::filesystem::is_regular_file(choice.path, error)) return "the file " + choice.path + " does not exist";
  return std::nullopt;
}

void SettleDialog(FileDialogRecord& dialog, FileChoice choice, AnswerSource source) {
  if (auto refusal = RefusalOf(dialog, choice)) {
    dialog.refusal = *refusal;
    PlatformLog("The file dialog \"" + dialog.title + "\" refused the answer: " + *refusal + "; cancelled");
    choice = FileChoice::Cancel();
  }
  dialog.choice = std::move(choice);
  dialog.answeredBy = source;
}

OpenQuestion& Innermost(bool box) {
  auto& open = State().openQuestions;
  if (open.empty()) RefuseInput(box ? "no message box is open" : "no file dialog is open");
  OpenQuestion& question = *open.back();
  if (box && !question.box) RefuseInput("the open question is a file dialog, not a message box");
  if (!box && !question.dialog) RefuseInput("the open question is a message box, not a file dialog");
  if (question.answer || question.choice) RefuseInput("the open question is already answered");
  return question;
}

}  // namespace

std::string_view AnswerSourceName(AnswerSource source) {
  switch (source) {
    case AnswerSource::Pending: return "pending";
    case AnswerSource::Queue: return "queue";
    case AnswerSource::Asker: return "asker";
    case AnswerSource::Interactive: return "interactive";
    case AnswerSource::Default: return "default";
  }
  return "";
}

std::vector<int> MsgBoxRecord::Results() const {
  switch (Buttons()) {
    case vbOKCancel: return {vbOK, vbCancel};
    case vbAbortRetryIgnore: return {vbAbort, vbRetry, vbIgnore};
    case vbYesNoCancel: return {vbYes, vbNo, vbCancel};
    case vbYesNo: return {vbYes, vbNo};
    case vbRetryCancel: return {vbRetry, vbCancel};
    default: return {vbOK};
  }
}

int MsgBoxRecord::DefaultResult() const {
  auto results = Results();
  size_t which = static_cast<size_t>((style & 0x300) >> 8);
  return which < results.size() ? results[which] : results.front();
}

std::string_view ResultName(int result) {
  return result >= 1 && result <= 7 ? kResultNames[static_cast<size_t>(result)] : std::string_view();
}

std::optional<int> ResultFromName(std::string_view name) {
  for (int result = 1; result <= 7; ++result) {
    if (rt::EqualsNoCase(kResultNames[static_cast<size_t>(result)], name)) return result;
  }
  return std::nullopt;
}

std::string_view IconName(int icon) {
  switch (icon) {
    case vbCritical: return "critical";
    case vbQuestion: return "question";
    case vbExclamation: return "exclamation";
    case vbInformation: return "information";
    default: return "";
  }
}

int MsgBox(std::string_view prompt, int style, std::optional<std::string_view> title) {
  auto& state = State();
  state.boxes.push_back(MsgBoxRecord{std::string(prompt), style, std::string(title ? *title : App().Title())});
  MsgBoxRecord& box = state.boxes.back();
  OpenQuestion question;
  question.box = &box;
  OpenScope open(question);
  if (Prepared(box)) return box.result;
  if (auto answer = Waited(question)) {
    Settle(box, *answer, AnswerSource::Interactive);
  } else {
    SettleWithDefault(box, "Nobody answered");
  }
  return box.result;
}

void QueueMsgBoxAnswer(int result) {
  if (State().queuedAnswers.size() >= MaxQueuedAnswers) {
    throw rt::Error(rt::err::InvalidProcedureCall, {},
                    "The answer queue is full: " + std::to_string(MaxQueuedAnswers) + " answers wait already");
  }
  State().queuedAnswers.push_back(result);
}

void SetMsgBoxAsker(MsgBoxAsker asker) { State().msgBoxAsker = std::move(asker); }

void QueueFileChoice(FileChoice choice) {
  const auto& queued = State().queuedChoices;
  size_t bytes = choice.path.size();
  for (const FileChoice& waiting : queued) bytes += waiting.path.size();
  if (queued.size() >= MaxQueuedAnswers || bytes > MaxQueuedPathBytes) {
    throw rt::Error(rt::err::InvalidProcedureCall, {},
                    "The file choice queue is full: " + std::to_string(MaxQueuedAnswers) + " choices or " +
                        std::to_string(MaxQueuedPathBytes) + " bytes of paths wait already");
  }
  State().queuedChoices.push_back(std::move(choice));
}

void SetFileDialogAsker(FileDialogAsker asker) { State().fileDialogAsker = std::move(asker); }

void SetWhenUnanswered(WhenUnanswered policy) { State().whenUnanswered = policy; }

void SetQuestionOpenedHook(std::function<void()> hook) { State().questionOpened = std::move(hook); }

const MsgBoxRecord* OpenMsgBox() {
  auto& open = State().openQuestions;
  return open.empty() ? nullptr : open.back()->box;
}

const FileDialogRecord* OpenFileDialog() {
  auto& open = State().openQuestions;
  return open.empty() ? nullptr : open.back()->dialog;
}

bool IsQuestionOpen() { return !State().openQuestions.empty(); }

void AnswerMsgBox(int result) {
  OpenQuestion& question = Innermost(true);
  if (!Fits(*question.box, result)) {
    RefuseInput("the message box has no " + std::string(ResultName(result).empty() ? std::to_string(result)
                                                                                   : ResultName(result)) +
                " button");
  }
  question.answer = result;
}

void AnswerFileDialog(FileChoice choice) {
  OpenQuestion& question = Innermost(false);
  if (auto refusal = RefusalOf(*question.dialog, choice)) RefuseInput(*refusal);
  question.choice = std::move(choice);
}

FileChoice AskFile(FileDialogRecord record) {
  auto& state = State();
  state.dialogs.push_back(std::move(record));
  FileDialogRecord& dialog = state.dialogs.back();
  OpenQuestion question;
  question.dialog = &dialog;
  OpenScope open(question);
  std::optional<FileChoice> choice;
  AnswerSource source = AnswerSource::Queue;
  if (!state.queuedChoices.empty()) {
    choice = std::move(state.queuedChoices.front());
    state.queuedChoices.pop_front();
  } else if (state.fileDialogAsker) {
    FileDialogAsker asker = state.fileDialogAsker;
    choice = asker(dialog);
    source = AnswerSource::Asker;
  }
  if (!choice) {
    Waited(question);
    choice = question.choice;
    source = AnswerSource::Interactive;
  }
  if (choice) {
    SettleDialog(dialog, std::move(*choice), source);
  } else {
    SettleDialog(dialog, FileChoice::Cancel(), AnswerSource::Default);
    PlatformLog("Nobody answered; the file dialog \"" + dialog.title + "\" was cancelled");
  }
  return *dialog.choice;
}

const std::deque<MsgBoxRecord>& MsgBoxRecords() { return State().boxes; }

const std::deque<FileDialogRecord>& FileDialogRecords() { return State().dialogs; }

}  // namespace forms
