#pragma once

#include "automation/channel.h"

namespace automation {

// A person's hands on the loaded windows: click, focus, type, key, tab, select, mouseover, close,
// and the answers to questions: answer (a message box), choose (a file dialog).
void AddInputVerbs(Channel& channel);

// Whether the innermost open question still waits for its answer. A question answered through
// the channel stays open until its modal loop takes the answer; it no longer waits.
bool QuestionAwaitsAnswer();
// Answers the innermost open question with its default (Cancel for a file dialog), unless it
// has its answer already.
void AnswerWithDefault();

}  // namespace automation
