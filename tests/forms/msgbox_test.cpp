// Message boxes and the common file dialog: answers, defaults and records.
#include "forms/controls_command.h"
#include "forms_fixture.h"
#include "support/temp_machine.h"

#include <filesystem>

using forms::AnswerSource;
using testing::ElementsAre;
using testing::HasSubstr;

namespace {

using MsgBoxTest = FormsTest;

struct DefaultCase {
  int style;
  int expected;
  friend void PrintTo(const DefaultCase& c, std::ostream* os) { *os << "style " << c.style; }
};

class UnansweredTest : public FormsTest, public testing::WithParamInterface<DefaultCase> {};

TEST_P(UnansweredTest, ABoxNobodyAnswersTakesItsDefaultButtonAndIsLogged) {
  EXPECT_EQ(forms::MsgBox("Question?", GetParam().style), GetParam().expected);
  ASSERT_EQ(forms::MsgBoxRecords().size(), 1u);
  EXPECT_EQ(forms::MsgBoxRecords().back().answeredBy, AnswerSource::Default);
  ASSERT_EQ(platformLog.size(), 1u);
  EXPECT_THAT(platformLog[0], HasSubstr("Question?"));
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, UnansweredTest,
    testing::Values(DefaultCase{forms::vbOKOnly, forms::vbOK}, DefaultCase{forms::vbOKCancel, forms::vbOK},
                    DefaultCase{forms::vbYesNo + forms::vbDefaultButton2, forms::vbNo},
                    DefaultCase{forms::vbAbortRetryIgnore + forms::vbCritical, forms::vbAbort},
                    DefaultCase{forms::vbAbortRetryIgnore + forms::vbDefaultButton3, forms::vbIgnore},
                    DefaultCase{forms::vbYesNoCancel + forms::vbDefaultButton3, forms::vbCancel},
                    DefaultCase{forms::vbRetryCancel + forms::vbDefaultButton3, forms::vbRetry}));  // no third button

TEST_F(MsgBoxTest, QueuedAnswersAreTakenInOrder) {
  forms::QueueMsgBoxAnswer(forms::vbRetry);
  forms::QueueMsgBoxAnswer(forms::vbIgnore);
  EXPECT_EQ(forms::MsgBox("Failed", forms::vbAbortRetryIgnore), forms::vbRetry);
  EXPECT_EQ(forms::MsgBox("Failed", forms::vbAbortRetryIgnore), forms::vbIgnore);
  EXPECT_EQ(forms::MsgBoxRecords().back().answeredBy, AnswerSource::Queue);
  EXPECT_TRUE(platformLog.empty());
}

TEST_F(MsgBoxTest, QueuedAnswersAndChoicesAreBoundedByCountAndSize) {
  for (size_t i = 0; i < forms::MaxQueuedAnswers; ++i) {
    forms::QueueMsgBoxAnswer(forms::vbYes);
    forms::QueueFileChoice(forms::FileChoice::Cancel());
  }
  EXPECT_EQ(ErrorNumberOf([] { forms::QueueMsgBoxAnswer(forms::vbNo); }), rt::err::InvalidProcedureCall);
  EXPECT_EQ(ErrorNumberOf([] { forms::QueueFileChoice(forms::FileChoice::Cancel()); }), rt::err::InvalidProcedureCall);
  forms::ResetForTests();
  const std::string halfOfTheBytes(forms::MaxQueuedPathBytes / 2, 'p');
  forms::QueueFileChoice(forms::FileChoice::Path(halfOfTheBytes));
  forms::QueueFileChoice(forms::FileChoice::Path(halfOfTheBytes));
  EXPECT_EQ(ErrorNumberOf([] { forms::QueueFileChoice(forms::FileChoice::Path("x")); }), rt::err::InvalidProcedureCall);
}

TEST_F(MsgBoxTest, AQueuedAnswerThatFitsNoButtonTakesTheDefault) {
  forms::QueueMsgBoxAnswer(forms::vbYes);
  EXPECT_EQ(forms::MsgBox("Done", forms::vbOKOnly), forms::vbOK);
  EXPECT_EQ(forms::MsgBoxRecords().back().answeredBy, AnswerSource::Default);
  EXPECT_THAT(platformLog.at(0), HasSubstr("fits no button"));
}

TEST_F(MsgBoxTest, TheRecordKeepsTextButtonsIconAndTheDefaultTitle) {
  forms::App().SetTitle("Plug-in title");
  forms::QueueMsgBoxAnswer(forms::vbNo);
  forms::MsgBox("Are you sure?", forms::vbYesNo + forms::vbQuestion + forms::vbDefaultButton2);
  forms::MsgBox("Given title", forms::vbOKOnly, "fMain InitDevice");
  forms::MsgBox("Empty title", forms::vbOKOnly, "");
  const auto& boxes = forms::MsgBoxRecords();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].prompt, "Are you sure?");
  EXPECT_EQ(boxes[0].title, "Plug-in title");
  EXPECT_THAT(boxes[0].Results(), ElementsAre(forms::vbYes, forms::vbNo));
  EXPECT_EQ(boxes[0].Icon(), forms::vbQuestion);
  EXPECT_EQ(boxes[0].result, forms::vbNo);
  EXPECT_EQ(boxes[1].title, "fMain InitDevice");
  EXPECT_EQ(boxes[2].title, "");
}

TEST_F(MsgBoxTest, TheAskerAnswersWhileTheBoxIsOpen) {
  std::string seen;
  forms::SetMsgBoxAsker([&seen](const forms::MsgBoxRecord& box) {
    seen = forms::OpenMsgBox() ? forms::OpenMsgBox()->prompt : "";
    return box.prompt == "Continue?" ? std::optional<int>(forms::vbYes) : std::nullopt;
  });
  EXPECT_EQ(forms::MsgBox("Continue?", forms::vbYesNo + forms::vbDefaultButton2), forms::vbYes);
  EXPECT_EQ(seen, "Continue?");
  EXPECT_EQ(forms::MsgBox("Other?", forms::vbYesNo + forms::vbDefaultButton2), forms::vbNo);
  EXPECT_EQ(forms::OpenMsgBox(), nullptr);
}

TEST_F(MsgBoxTest, AWaitingBoxTakesAnInteractiveAnswerWhileTimersKeepTicking) {
  auto form = forms::New<RecordingForm>();
  int ticks = 0;
  form->On("tmrFast", forms::Event::Timer, [&ticks](forms::EventArgs&) {
    if (++ticks == 3) forms::AnswerMsgBox(forms::vbNo);
  });
  form->Load();
  form->Ctl<forms::Timer>("tmrFast").SetEnabled(true);
  bool opened = false;
  forms::SetQuestionOpenedHook([&opened] { opened = true; });
  forms::SetWhenUnanswered(forms::WhenUnanswered::Wait);
  EXPECT_EQ(forms::MsgBox("Exit?", forms::vbYesNo), forms::vbNo);
  EXPECT_TRUE(opened);
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(forms::MsgBoxRecords().back().answeredBy, AnswerSource::Interactive);
}

TEST_F(MsgBoxTest, AWaitingBoxTakesAPostedAnswer) {
  forms::SetWhenUnanswered(forms::WhenUnanswered::Wait);
  forms::Post([] { forms::AnswerMsgBox(forms::vbCancel); });
  EXPECT_EQ(forms::MsgBox("Save?", forms::vbYesNoCancel), forms::vbCancel);
}

TEST_F(MsgBoxTest, AWaitingBoxThatNoInputCanReachTakesItsDefault) {
  forms::SetWhenUnanswered(forms::WhenUnanswered::Wait);
  EXPECT_EQ(forms::MsgBox("Alone", forms::vbOKCancel + forms::vbDefaultButton2), forms::vbCancel);
  EXPECT_EQ(forms::MsgBoxRecords().back().answeredBy, AnswerSource::Default);
}

TEST_F(MsgBoxTest, AnswersThatDoNotFitTheOpenQuestionAreRefused) {
  EXPECT_EQ(ErrorNumberOf([] { forms::AnswerMsgBox(forms::vbOK); }), forms::err::InputRefused);
  int wrongButton = 0;
  int fileAnswer = 0;
  forms::SetMsgBoxAsker([&](const forms::MsgBoxRecord&) {
    wrongButton = ErrorNumberOf([] { forms::AnswerMsgBox(forms::vbYes); });
    fileAnswer = ErrorNumberOf([] { forms::AnswerFileDialog(forms::FileChoice::Cancel()); });
    return std::optional<int>(forms::vbOK);
  });
  forms::MsgBox("Note");
  EXPECT_EQ(wrongButton, forms::err::InputRefused);
  EXPECT_EQ(fileAnswer, forms::err::InputRefused);
}

TEST_F(MsgBoxTest, BoxesOpenedByTimersInsideAnOpenBoxNestAndAnswerInnermostFirst) {
  auto form = forms::New<RecordingForm>();
  std::vector<int> results;
  form->On("tmrFast", forms::Event::Timer, [&](forms::EventArgs&) {
    form->Ctl<forms::Timer>("tmrFast").SetEnabled(false);
    forms::Post([] { forms::AnswerMsgBox(forms::vbOK); });
    results.push_back(forms::MsgBox("Inner"));
    forms::Post([] { forms::AnswerMsgBox(forms::vbYes); });
  });
  form->Load();
  form->Ctl<forms::Timer>("tmrFast").SetEnabled(true);
  forms::SetWhenUnanswered(forms::WhenUnanswered::Wait);
  results.push_back(forms::MsgBox("Outer", forms::vbYesNo));
  EXPECT_THAT(results, ElementsAre(forms::vbOK, forms::vbYes));
}

class FileDialogTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    form = forms::New<RecordingForm>();
    dialog = &form->Ctl<forms::CommonDialog>("dlgFile");
    dialog->SetDialogTitle("Locate the XIF file with Program ID 80071A5501030400");
    dialog->SetFilter("External Interface Files (*.XIF)|*.XIF");
    dialog->SetFlags(forms::cdlOFNFileMustExist | forms::cdlOFNHideReadOnly);
    dialog->SetCancelError(true);
    // A folder of its own: the cases run side by side as separate processes.
    existing = folder.Root() / "forms_dialog_test.xif";
    orvex::test::WriteFile(existing, "x");
  }

  orvex::test::TempMachine folder{"forms_dialog"};
  std::shared_ptr<RecordingForm> form;
  forms::CommonDialog* dialog = nullptr;
  std::filesystem::path existing;
};

TEST_F(FileDialogTest, AChosenFileSetsFileNameAndFileTitle) {
  forms::QueueFileChoice(forms::FileChoice::Path(existing.string()));
  dialog->ShowOpen();
  EXPECT_EQ(dialog->FileName(), existing.string());
  EXPECT_EQ(dialog->FileTitle(), "forms_dialog_test.xif");
  const auto& record = forms::FileDialogRecords().back();
  EXPECT_EQ(record.title, "Locate the XIF file with Program ID 80071A5501030400");
  EXPECT_EQ(record.flags, 4100);
  EXPECT_EQ(record.answeredBy, AnswerSource::Queue);
}

TEST_F(FileDialogTest, CancelRaises32755WhenCancelErrorIsSet) {
  forms::QueueFileChoice(forms::FileChoice::Cancel());
  EXPECT_EQ(ErrorNumberOf([&] { dialog->ShowOpen(); }), rt::err::CancelPressed);
  dialog->SetCancelError(false);
  EXPECT_NO_THROW(dialog->ShowOpen());  // unanswered: cancelled, logged
  EXPECT_EQ(dialog->FileName(), "");
  EXPECT_EQ(forms::FileDialogRecords().back().answeredBy, AnswerSource::Default);
}

TEST_F(FileDialogTest, AFileThatMustExistButDoesNotIsRefused) {
  forms::QueueFileChoice(forms::FileChoice::Path("/no/such/file.xif"));
  EXPECT_EQ(ErrorNumberOf([&] { dialog->ShowOpen(); }), rt::err::CancelPressed);
  EXPECT_THAT(forms::FileDialogRecords().back().refusal, HasSubstr("does not exist"));
  forms::SetWhenUnanswered(forms::WhenUnanswered::Wait);
  int refused = 0;
  forms::Post([&] {
    refused = ErrorNumberOf([] { forms::AnswerFileDialog(forms::FileChoice::Path("/no/such/file.xif")); });
    forms::AnswerFileDialog(forms::FileChoice::Path(existing.string()));
  });
  dialog->ShowOpen();
  EXPECT_EQ(refused, forms::err::InputRefused);
  EXPECT_EQ(dialog->FileName(), existing.string());
}

}  // namespace
