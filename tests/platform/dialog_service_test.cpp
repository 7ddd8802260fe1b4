#include <gtest/gtest.h>

#include "platform/dialog_service.h"
#include "tests/support/recording_dialogs.h"

using namespace kavri;

TEST(DialogService, WithoutAServiceNothingBlocksAndEveryQuestionGetsItsHarmlessAnswer) {
  DialogService& d = Dialogs();
  d.ShowMessage("Read Error!", TMessageKind::Error);
  EXPECT_EQ(d.Confirm("replace it?", TConfirmButtons::YesNo), TDialogAnswer::No);
  EXPECT_EQ(d.Confirm("save it?", TConfirmButtons::YesNoCancel), TDialogAnswer::Cancel);
  EXPECT_EQ(d.Confirm("delete it?", TConfirmButtons::OkCancel), TDialogAnswer::Cancel);
  std::string value = "keep";
  EXPECT_FALSE(d.InputQuery("Find drawing", "drawing name", value));
  EXPECT_EQ(value, "keep");
  EXPECT_FALSE(d.ChooseOpenFile({}).has_value());
  EXPECT_FALSE(d.ChooseSaveFile({}).has_value());
  EXPECT_FALSE(d.ChooseFont({}).has_value());
  EXPECT_FALSE(d.ChoosePicture({}).has_value());
  EXPECT_FALSE(d.ChooseColor(clRed).has_value());
}

TEST(DialogService, AnInstalledServiceAnswersUntilItIsRemoved) {
  {
    kavri_test::RecordingDialogs fake;
    fake.confirmAnswers.push_back(TDialogAnswer::Yes);
    fake.inputAnswers.push_back(std::string("abc"));
    EXPECT_EQ(&Dialogs(), &fake);
    EXPECT_EQ(Dialogs().Confirm("replace it?", TConfirmButtons::YesNo), TDialogAnswer::Yes);
    std::string value;
    EXPECT_TRUE(Dialogs().InputQuery("c", "p", value));
    EXPECT_EQ(value, "abc");
    Dialogs().ShowMessage("hello");
    ASSERT_EQ(fake.shown.size(), 3u);
    EXPECT_EQ(fake.shown[0].what, "confirm");
    EXPECT_EQ(fake.messages, std::vector<std::string>{"hello"});
  }
  EXPECT_EQ(Dialogs().Confirm("again?", TConfirmButtons::YesNo), TDialogAnswer::No);
}

// The notes pass every box on to the service they stand over, keep the last error's text, and put
// that service back when they end.
TEST(DialogService, ErrorBoxNotesKeepTheLastErrorAndPassEveryBoxOn) {
  kavri_test::RecordingDialogs recording;
  recording.inputAnswers.push_back(std::string("typed"));
  {
    TErrorBoxNotes notes;
    EXPECT_EQ(&Dialogs(), &notes);
    EXPECT_FALSE(notes.Last().has_value());
    Dialogs().ShowMessage("Saved.", TMessageKind::Information);
    Dialogs().ShowMessage("Careful.", TMessageKind::Warning);
    EXPECT_FALSE(notes.Last().has_value());
    Dialogs().ShowMessage("first refusal", TMessageKind::Error);
    Dialogs().ShowMessage("second refusal", TMessageKind::Error);
    Dialogs().ShowMessage("Done.", TMessageKind::Information);
    EXPECT_EQ(notes.Last(), "second refusal");
    std::string value;
    EXPECT_TRUE(Dialogs().InputQuery("Save", "name", value));
    EXPECT_EQ(value, "typed");
  }
  EXPECT_EQ(&Dialogs(), &recording);
  EXPECT_EQ(recording.messages,
            (std::vector<std::string>{"Saved.", "Careful.", "first refusal", "second refusal", "Done."}));
}
