// Form life cycle, default instances and reaching controls by name and index.
#include "forms/controls_text.h"
#include "forms_fixture.h"


using forms::Event;
using testing::ElementsAre;
using testing::IsEmpty;

namespace {

constexpr auto kLifeEvents = {Event::Initialize, Event::Load, Event::Activate, Event::Deactivate, Event::QueryUnload,
                              Event::Unload};

// A default-instance form class that logs its life into one shared list.
std::vector<std::string>* g_life = nullptr;

class fLife : public forms::Form {
 public:
  fLife() : Form("fSample") {
    for (Event event : kLifeEvents) {
      On(event, [event](forms::EventArgs& e) {
        std::string line(forms::EventName(event));
        if (event == Event::QueryUnload) line += "(" + std::to_string(e.unloadMode) + ")";
        g_life->push_back(line);
      });
    }
  }
};

class LifecycleTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    g_life = &life;
  }
  std::vector<std::string> life;
};

TEST_F(LifecycleTest, DefaultInstanceLoadsHiddenOnFirstUse) {
  EXPECT_FALSE(forms::DefaultExists<fLife>());
  forms::Form& form = forms::Default<fLife>();
  EXPECT_THAT(life, ElementsAre("Initialize", "Load"));
  EXPECT_TRUE(form.IsLoaded());
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(&forms::Default<fLife>(), &form);
  EXPECT_THAT(life, ElementsAre("Initialize", "Load")) << "the second use finds the same instance";
}

TEST_F(LifecycleTest, ShowHideAndUnloadRaiseTheEventsInOrder) {
  forms::Form& form = forms::Default<fLife>();
  form.Show();
  form.Unload();
  EXPECT_THAT(life, ElementsAre("Initialize", "Load", "Activate", "QueryUnload(1)", "Unload"));
  EXPECT_FALSE(forms::DefaultExists<fLife>());
  EXPECT_EQ(forms::ActiveForm(), nullptr);
}

TEST_F(LifecycleTest, TheCloseBoxUnloadsWithMode0) {
  forms::Form& form = forms::Default<fLife>();
  form.Show();
  forms::input::Close(form);
  EXPECT_THAT(life, testing::Contains("QueryUnload(0)"));
}

TEST_F(LifecycleTest, AReleasedDefaultInstanceComesBackFreshFromItsLayout) {
  forms::Form& first = forms::Default<fLife>();
  first.Ctl<forms::TextBox>("txtA").SetText("edited");
  first.SetTag("state");
  first.Unload();
  forms::Form& second = forms::Default<fLife>();
  EXPECT_EQ(second.Ctl<forms::TextBox>("txtA").Text(), "---");
  EXPECT_EQ(second.Tag(), "");
  EXPECT_THAT(life, ElementsAre("Initialize", "Load", "QueryUnload(1)", "Unload", "Initialize", "Load"));
}

TEST_F(LifecycleTest, CodeThatReachesAReleasedDefaultInstanceLoadsItAsTheDefaultAgain) {
  forms::Form& form = forms::Default<fLife>();
  form.Unload();
  form.Ctl("txtA");
  EXPECT_EQ(&forms::Default<fLife>(), &form);
  EXPECT_EQ(forms::Forms().size(), 1u);
}

TEST_F(LifecycleTest, CancelInQueryUnloadOrUnloadKeepsTheFormLoaded) {
  for (Event refusing : {Event::QueryUnload, Event::Unload}) {
    auto form = forms::New<RecordingForm>();
    form->On(refusing, [](forms::EventArgs& e) { e.cancel = true; });
    form->Show();
    form->Unload();
    EXPECT_TRUE(form->IsLoaded()) << forms::EventName(refusing);
    EXPECT_TRUE(form->Visible());
    EXPECT_NO_THROW(form->Ctl("txtA"));
  }
}

TEST_F(LifecycleTest, UnloadingAFormThatIsUnloadingDoesNothing) {
  auto form = forms::New<RecordingForm>();
  int unloads = 0;
  form->On(Event::Unload, [&](forms::EventArgs&) {
    ++unloads;
    form->Unload();
  });
  form->Load();
  form->Unload();
  EXPECT_EQ(unloads, 1);
  EXPECT_FALSE(form->IsLoaded());
}

TEST_F(LifecycleTest, AFormMayUnloadItselfFromItsOwnHandler) {
  forms::Form& form = forms::Default<fLife>();
  form.On("cmdExit", Event::Click, [&form](forms::EventArgs&) {
    form.Unload();
    form.Caption();  // still reachable until the handler returns
  });
  form.Show();
  forms::input::Click(form.Ctl("cmdExit"));
  EXPECT_FALSE(forms::DefaultExists<fLife>());
}

TEST_F(LifecycleTest, UnloadingTheActiveWindowActivatesTheNextOne) {
  auto first = forms::New<RecordingForm>();
  first->WatchForm({Event::Activate, Event::Deactivate});
  first->Show();
  auto second = forms::New<RecordingForm>("fSecond");
  second->WatchForm({Event::Deactivate});
  second->Show();
  first->events.clear();
  second->Unload();
  EXPECT_THAT(second->events, IsEmpty()) << "an unloading window raises no Deactivate";
  EXPECT_THAT(first->events, ElementsAre("Form_Activate"));
}

TEST_F(LifecycleTest, ReachingAControlOfAnUnloadedFormLoadsIt) {
  auto form = forms::New<RecordingForm>();
  form->WatchForm({Event::Load});
  EXPECT_EQ(form->Ctl<forms::TextBox>("txtA").Text(), "---");
  EXPECT_THAT(form->events, ElementsAre("Form_Load"));
}

TEST_F(LifecycleTest, FormsListsTheLoadedFormsByName) {
  auto form = forms::New<RecordingForm>();
  EXPECT_EQ(forms::FindForm("fsample"), nullptr);
  form->Load();
  EXPECT_EQ(forms::FindForm("fsample"), form.get());
  EXPECT_THAT(forms::Forms(), ElementsAre(form.get()));
  form->Unload();
  EXPECT_THAT(forms::Forms(), IsEmpty());
}

TEST_F(LifecycleTest, FormClassesAreReachableByName) {
  forms::RegisterFormClass<fLife>("fLife");
  forms::Form& form = forms::DefaultByName("FLIFE");
  EXPECT_EQ(&form, &forms::Default<fLife>());
  EXPECT_EQ(ErrorNumberOf([] { forms::DefaultByName("fNobody"); }), forms::err::ControlNotFound);
}

TEST_F(LifecycleTest, ModalShowReturnsWhenTheFormIsHidden) {
  auto form = forms::New<RecordingForm>("fSecond");
  form->On("cmdClose", Event::Click, [&form](forms::EventArgs&) { form->Hide(); });
  forms::Post([&form] { forms::input::Click(form->Ctl("cmdClose")); });
  form->Show(forms::vbModal);
  EXPECT_FALSE(form->Visible());
}

TEST_F(LifecycleTest, ModalShowWithNoInputToCloseItGivesUpWithAnError) {
  auto form = forms::New<RecordingForm>("fSecond");
  EXPECT_EQ(ErrorNumberOf([&] { form->Show(forms::vbModal); }), forms::err::ModalWithoutInput);
  EXPECT_FALSE(form->Visible());
}

TEST_F(LifecycleTest, AModalFormRefusesInputToOtherWindowsAndModelessShows) {
  auto other = forms::New<RecordingForm>();
  other->Show();
  auto modal = forms::New<RecordingForm>("fSecond");
  int refusedClick = 0;
  int refusedShow = 0;
  forms::Post([&] {
    refusedClick = ErrorNumberOf([&] { forms::input::Click(other->Ctl("cmdOK")); });
    refusedShow = ErrorNumberOf([] { forms::New<RecordingForm>()->Show(); });
    modal->Hide();
  });
  modal->Show(forms::vbModal);
  EXPECT_EQ(refusedClick, forms::err::InputRefused);
  EXPECT_EQ(refusedShow, forms::err::ModelessOverModal);
}

struct LookupCase {
  const char* name;
  int index;
  int error;
  friend void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.name << "(" << c.index << ")"; }
};

class ControlLookupTest : public FormsTest, public testing::WithParamInterface<LookupCase> {};

TEST_P(ControlLookupTest, UnknownNamesAndIndexesAreClearErrors) {
  auto form = forms::New<RecordingForm>();
  const LookupCase& c = GetParam();
  EXPECT_EQ(ErrorNumberOf([&] { c.index < 0 ? form->Ctl(c.name) : form->Ctl(c.name, c.index); }), c.error);
}

INSTANTIATE_TEST_SUITE_P(Cases, ControlLookupTest,
                         testing::Values(LookupCase{"txtA", -1, 0}, LookupCase{"TXTA", -1, 0},
                                         LookupCase{"txtCP", 2, 0}, LookupCase{"txtNope", -1, forms::err::ControlNotFound},
                                         LookupCase{"txtCP", 1, forms::err::ControlArrayElementMissing},
                                         LookupCase{"txtCP", -1, forms::err::NotAnArray},
                                         LookupCase{"txtA", 0, forms::err::NotAnArray}));

TEST_F(FormsTest, AControlOfAnotherKindIsATypeMismatch) {
  auto form = forms::New<RecordingForm>();
  EXPECT_EQ(ErrorNumberOf([&] { form->Ctl<forms::Label>("txtA"); }), rt::err::TypeMismatch);
  EXPECT_THAT(form->Indexes("txtCP"), ElementsAre(0, 2));
}

TEST_F(FormsTest, StartUpPositionCentresTheWindowOnTheScreen) {
  auto form = forms::New<RecordingForm>();
  form->Load();
  EXPECT_FLOAT_EQ(form->Left(), (forms::Screen().Width() - form->Width()) / 2);
  EXPECT_FLOAT_EQ(form->ScaleWidth(), 6000);
  EXPECT_FLOAT_EQ(form->ScaleHeight(), 4500);
}

TEST_F(FormsTest, BorderStyleIsReadOnlyAtRunTime) {
  auto form = forms::New<RecordingForm>();
  form->Load();
  EXPECT_EQ(ErrorNumberOf([&] { form->SetBorderStyle(forms::vbSizable); }), forms::err::PropertyReadOnly);
  EXPECT_EQ(form->BorderStyle(), forms::vbFixedSingle);
}

TEST_F(FormsTest, WindowStateOutsideTheThreeStatesRaises380) {
  auto form = forms::New<RecordingForm>();
  form->SetWindowState(forms::vbMinimized);
  EXPECT_EQ(ErrorNumberOf([&] { form->SetWindowState(3); }), rt::err::InvalidPropertyValue);
  EXPECT_EQ(form->WindowState(), forms::vbMinimized);
}

TEST_F(FormsTest, AppEndRunsTheHook) {
  int ends = 0;
  forms::App().SetEndHook([&ends] { ++ends; });
  forms::App().End();
  EXPECT_EQ(ends, 1);
  EXPECT_TRUE(forms::App().Ended());
}

TEST_F(FormsTest, ScreenMousePointerIsObservable) {
  forms::Screen().SetMousePointer(forms::vbHourglass);
  forms::Screen().SetMousePointer(forms::vbDefault);
  EXPECT_EQ(forms::Screen().MousePointerChanges(), 2);
  EXPECT_EQ(ErrorNumberOf([] { forms::Screen().SetMousePointer(42); }), rt::err::InvalidPropertyValue);
}

}  // namespace
