#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/constants.h"

namespace forms {

// Where the answer of a message box or a file dialog came from.
enum class AnswerSource {
  Pending,      // still open
  Queue,        // queued in advance (tests, automation)
  Asker,        // the asker hook answered while it was open
  Interactive,  // answered while open through AnswerMsgBox / AnswerFileDialog
  Default,      // nobody answered: the default button, or Cancel for a file dialog
};
std::string_view AnswerSourceName(AnswerSource source);  // "pending", "queue", ...

struct MsgBoxRecord {
  std::string prompt;
  int style = vbOKOnly;  // buttons + icon + default button
  std::string title;
  int result = 0;  // 0 while open
  AnswerSource answeredBy = AnswerSource::Pending;

  int Buttons() const noexcept { return style & 7; }
  int Icon() const noexcept { return style & 0x70; }
  std::vector<int> Results() const;  // the buttons' results, left to right
  int DefaultResult() const;         // the default button's result (the first when out of range)
};
std::string_view ResultName(int result);  // "OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No"
std::optional<int> ResultFromName(std::string_view name);  // case-insensitive
std::string_view IconName(int icon);      // "critical", "question", "exclamation", "information", ""

// A modal message box. The title defaults to App.Title. The answer is taken, in order, from the
// queued answers, the asker hook, then by the unanswered policy: the default button (logged), or a
// modal wait until AnswerMsgBox. Every box is recorded. A box raises no focus or activation events.
int MsgBox(std::string_view prompt, int style = vbOKOnly, std::optional<std::string_view> title = std::nullopt);

// Answers kept for questions to come are bounded: error 5 when the queue is full.
inline constexpr size_t MaxQueuedAnswers = 256;
inline constexpr size_t MaxQueuedPathBytes = 1 << 20;
void QueueMsgBoxAnswer(int result);
using MsgBoxAsker = std::function<std::optional<int>(const MsgBoxRecord&)>;
void SetMsgBoxAsker(MsgBoxAsker asker);

// A file choice: a path, or Cancel.
struct FileChoice {
  bool cancelled = true;
  std::string path;
  static FileChoice Cancel() { return {}; }
  static FileChoice Path(std::string p) { return {false, std::move(p)}; }
};

struct FileDialogRecord {
  bool save = false;
  std::string title;
  std::string initDir;
  std::string filter;
  int32_t flags = 0;
  std::optional<FileChoice> choice;  // empty while open
  AnswerSource answeredBy = AnswerSource::Pending;
  std::string refusal;  // why a chosen path was refused ("" when none)
};

// Error 5 when MaxQueuedAnswers choices, or MaxQueuedPathBytes of their paths, wait already.
void QueueFileChoice(FileChoice choice);
using FileDialogAsker = std::function<std::optional<FileChoice>(const FileDialogRecord&)>;
void SetFileDialogAsker(FileDialogAsker asker);

// What a question does when neither the queue nor the asker answers it.
enum class WhenUnanswered {
  TakeDefault,  // the default button, or Cancel; logged
  Wait,         // stays open in a modal loop (timers keep ticking) until answered interactively
};
void SetWhenUnanswered(WhenUnanswered policy);
// Called when a question starts waiting for an interactive answer.
void SetQuestionOpenedHook(std::function<void()> hook);

// The innermost question that is open (timers may open one over another), or nullptr.
const MsgBoxRecord* OpenMsgBox();
const FileDialogRecord* OpenFileDialog();
// Answer the innermost open question; error (32001) when none is open or the answer does not fit.
void AnswerMsgBox(int result);
void AnswerFileDialog(FileChoice choice);
bool IsQuestionOpen();

const std::deque<MsgBoxRecord>& MsgBoxRecords();
const std::deque<FileDialogRecord>& FileDialogRecords();

}  // namespace forms
