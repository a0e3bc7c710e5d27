#include "platform/user/scripted_user_services.h"

#include <gtest/gtest.h>

using namespace user;

TEST(ScriptedUserServicesTest, AnswersInOrderAndRecordsEveryPrompt) {
  ScopedScriptedUser scripted;
  scripted->AnswerMsgBox(kAnswerYes, "Internet").AnswerInputBox("ny", "market").AnswerMsgBox(kAnswerOK);

  EXPECT_EQ(MsgBox("Would you like to use an active Internet Connection?", kYesNo + kQuestion, "Start"), kAnswerYes);
  EXPECT_EQ(User().InputBox("Enter the market of IBM", "Missing symbol", "ns"), "ny");
  EXPECT_EQ(MsgBox("Done."), kAnswerOK);
  EXPECT_EQ(scripted->PendingAnswers(), 0u);

  const auto& prompts = scripted->Prompts();
  ASSERT_EQ(prompts.size(), 3u);
  EXPECT_EQ(prompts[0].kind, PromptKind::kMsgBox);
  EXPECT_EQ(prompts[0].style, kYesNo + kQuestion);
  EXPECT_EQ(prompts[0].title, "Start");
  EXPECT_EQ(prompts[0].answer, kAnswerYes);
  EXPECT_EQ(prompts[1].kind, PromptKind::kInputBox);
  EXPECT_EQ(prompts[1].defaultText, "ns");
  EXPECT_EQ(prompts[1].answerText, "ny");
  EXPECT_EQ(scripted->MessageTexts(),
            (std::vector<std::string>{"Would you like to use an active Internet Connection?", "Done."}));
  EXPECT_TRUE(scripted->UnscriptedPrompts().empty());
}

TEST(ScriptedUserServicesTest, FileDialogsAnswerWithThePathAndKeepTheRequest) {
  ScopedScriptedUser scripted;
  scripted->AnswerSaveFile("/tmp/a.sim", "Save").AnswerOpenFile("", "Open");
  FileDialogRequest save{"Save Simulation", "/tmp", "Simulation Files (*.sim)|*.sim", "a.sim"};
  EXPECT_EQ(User().SaveFileDialog(save), "/tmp/a.sim");
  EXPECT_EQ(User().OpenFileDialog({"Open Simulation", "", "", ""}), "");  // cancelled
  ASSERT_EQ(scripted->Prompts().size(), 2u);
  EXPECT_EQ(scripted->Prompts()[0].kind, PromptKind::kSaveFile);
  EXPECT_EQ(scripted->Prompts()[0].dialog.filter, "Simulation Files (*.sim)|*.sim");
  EXPECT_EQ(scripted->Prompts()[1].kind, PromptKind::kOpenFile);
}

TEST(ScriptedUserServicesTest, UnscriptedOrMismatchedPromptsFailLoudly) {
  ScopedScriptedUser scripted;
  try {
    MsgBox("No Internet Connection Detected.");
    FAIL() << "an unscripted message box must throw";
  } catch (const UnscriptedPrompt& e) {
    EXPECT_NE(std::string(e.what()).find("No Internet Connection Detected."), std::string::npos);
  }

  scripted->AnswerInputBox("x");
  EXPECT_THROW(MsgBox("wrong kind"), UnscriptedPrompt);
  EXPECT_EQ(scripted->PendingAnswers(), 1u);  // the input box answer is still there
  EXPECT_EQ(User().InputBox("now", "", ""), "x");

  scripted->AnswerMsgBox(kAnswerOK, "Stop");
  EXPECT_THROW(MsgBox("Continue?"), UnscriptedPrompt);  // text does not match
  EXPECT_EQ(MsgBox("Stop now?"), kAnswerOK);
  scripted->AnswerMsgBox(kAnswerYes);
  EXPECT_THROW(MsgBox("Stop the run?", kOKCancel), UnscriptedPrompt);  // Yes is no button of OK/Cancel
  EXPECT_EQ(scripted->UnscriptedPrompts().size(), 4u);
}

TEST(ScriptedUserServicesTest, CountsYieldsAndRecordsPointers) {
  ScopedScriptedUser scripted;
  int stopAt = 0;
  scripted->OnDoEvents([&](int count) {
    if (count == 3) stopAt = count;
  });
  for (int i = 0; i < 5; ++i) DoEvents();
  EXPECT_EQ(scripted->DoEventsCount(), 5);
  EXPECT_EQ(stopAt, 3);
  {
    BusyPointer busy;
    EXPECT_EQ(User().Pointer(), kPointerHourglass);
  }
  EXPECT_EQ(scripted->PointerChanges(), (std::vector<int>{kPointerHourglass, kPointerDefault}));
  EXPECT_TRUE(User().OpenWithDefaultApp("/r.csv"));
  scripted->SetOpenWithDefaultAppResult(false);
  EXPECT_FALSE(User().OpenWithDefaultApp("/s.csv"));
  EXPECT_EQ(scripted->OpenedFiles(), (std::vector<std::string>{"/r.csv", "/s.csv"}));
}

TEST(ScriptedUserServicesTest, TheScopePutsThePreviousServicesBack) {
  UserServices* before = &User();
  {
    ScopedScriptedUser scripted;
    EXPECT_EQ(&User(), &*scripted);
  }
  EXPECT_EQ(&User(), before);
}
