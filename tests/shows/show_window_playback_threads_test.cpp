#include "shows/show_window_playback.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

#include "shows/show_edit_window.h"
#include "tests/shows/playing_show.h"
#include "tests/support/recording_dialogs.h"

namespace kavri {
namespace {

using kavri_test::PumpUntil;

class ShowWindowPlayback : public kavri_test::PlayingShow {
 protected:
  void SetUp() override {
    PlayingShow::SetUp();
    form_ = std::make_unique<TForm8>();
    form_->FormCreate();
    auto runner = std::make_unique<TShowWindowPlayback>(*form_);
    playback_ = &runner->Playback();
    form_->SetShowRunner(std::move(runner));
  }
  void TearDown() override {
    form_.reset();
    PlayingShow::TearDown();
  }
  std::string Message() const { return form_->Label18->text().toStdString(); }
  // Lit pixels of the live preview as the window shows it.
  int LitPixels() const {
    const QImage image = form_->Image1->pixmap().toImage();
    int lit = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) lit += (image.pixel(x, y) & 0xFFFFFF) != 0;
    return lit;
  }

  kavri_test::RecordingDialogs dialogs_;
  std::unique_ptr<TForm8> form_;
  TShowPlayback* playback_ = nullptr;
};

TEST_F(ShowWindowPlayback, ThreadsPlayPreviewsTheTracksAndStopEndsThem) {
  ASSERT_EQ(form_->FileListBox4->Files().SelectedPath(), folder_.root + "Sequence/show.seq");
  form_->ToolButton5->Click();  // Loop: the show keeps playing until Stop
  form_->FileListBox4->OnDblClick();
  EXPECT_EQ(Message(), "Show playing start...");
  PlayerStart();
  ASSERT_TRUE(PumpUntil([&] { return LitPixels() > 0; })) << "nothing previewed";
  EXPECT_GT(form_->Label31->text().toInt(), 0);
  form_->ToolButton8->Click();
  ASSERT_TRUE(PumpUntil([&] { return kavri_test::IsEndText(Message()); }));
  EXPECT_FALSE(AnyShowTrackRunning());
  EXPECT_EQ(MediaPlayer().Pid(), 0);
  EXPECT_TRUE(PumpUntil([&] { return !playback_->LoopTimerActive(); }, std::chrono::seconds(3)));
  form_->ToolButton1->Click();
  EXPECT_EQ(Message(), "Show playing start...");
  EXPECT_EQ(TracksSent(), (std::set<int>{1, 2, 3}));
}

// The window's notice that no player can be found stands through Open, which says nothing.
TEST_F(ShowWindowPlayback, ThreadsTheMissingPlayerNoticeStandsThroughOpen) {
  SetMediaPlayerPath(player_.Path("missing"));
  const std::string path = std::getenv("PATH");
  setenv("PATH", player_.Path().c_str(), 1);  // no mpv there
  auto runner = std::make_unique<TShowWindowPlayback>(*form_);
  setenv("PATH", path.c_str(), 1);
  playback_ = &runner->Playback();
  form_->SetShowRunner(std::move(runner));
  ASSERT_EQ(Message(), "mpv not installed.");
  ASSERT_EQ(form_->FileListBox4->Files().SelectedName(), "show.seq");
  form_->BitBtn17->Click();
  ASSERT_EQ(form_->skinEdit1->text(), "show");  // it opened
  EXPECT_EQ(Message(), "mpv not installed.");
}

// A player chosen in Settings that is there but cannot be run: the message line says why, as it
// says mpv's own failures, and the show plays without music.
TEST_F(ShowWindowPlayback, ThreadsAPlayerThatCannotBeStartedIsSaidOnTheMessageLine) {
  const std::string text = player_.Path("player.txt");
  std::ofstream(text) << "#!/bin/sh\n";
  ASSERT_EQ(chmod(text.c_str(), 0644), 0);
  SetMediaPlayerPath(text);
  form_->FileListBox4->OnDblClick();
  EXPECT_EQ(Message(), "The media player \"player.txt\" could not be started: Permission denied.");
  EXPECT_EQ(MediaPlayer().Pid(), 0);
  ASSERT_TRUE(PumpUntil([&] { return kavri_test::IsEndText(Message()); }));
  EXPECT_EQ(TracksSent(), (std::set<int>{1, 2, 3}));
}

}  // namespace
}  // namespace kavri
