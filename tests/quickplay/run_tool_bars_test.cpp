// The tool bars of the four playing windows: pictures, not captions, with the same picture for the
// same command on every window and the window's own hint as the tooltip.
#include <gtest/gtest.h>

#include <QPainter>
#include <map>
#include <memory>

#include "editor/editor_window.h"
#include "quickplay/quick_play_window.h"
#include "segments/segment_edit_window.h"
#include "shows/show_edit_window.h"
#include "skin/tool_bar.h"
#include "tests/support/program_folder_scope.h"
#include "tests/support/test_support.h"

namespace kavri {
namespace {

struct TButtonCase {
  const char* command;
  TSkinToolButton* button;
  QString hint;
};

// Pixels of a button face that are not the bare face: what its picture (or caption) put there.
int InkedPixels(const QImage& face) {
  int inked = 0;
  for (int y = 0; y < face.height(); ++y)
    for (int x = 0; x < face.width(); ++x) inked += qAlpha(face.pixel(x, y)) != 0;
  return inked;
}

TEST(RunToolBars, EveryPlayingWindowShowsOnePicturePerCommandWithItsHintAsTooltip) {
  kavri_test::ScratchDir dir;
  kavri_test::ProgramFolderScope scope(dir.Path());
  auto quick = std::make_unique<TForm4>();
  auto editor = std::make_unique<TForm1>();
  auto segment = std::make_unique<TForm5>();
  auto show = std::make_unique<TForm8>();
  const std::vector<std::pair<TSkinToolBar*, std::vector<TButtonCase>>> bars = {
      {quick->skinToolBar1,
       {{"play", quick->ToolButton1, "播放"},
        {"loop", quick->ToolButton5, "循环"},
        {"stop", quick->ToolButton8, "停止"},
        {"hinvert", quick->ToolButton9, "水平反向"},
        {"vinvert", quick->ToolButton3, "垂直反向"},
        {"pause", quick->ToolButton10, "暂停"},
        {"settings", quick->ToolButton2, "播放设定"}}},
      {editor->skinToolBar1,
       {{"play", editor->ToolButton1, "Play"},
        {"stop", editor->ToolButton8, "Stop"},
        {"hinvert", editor->ToolButton9, "Horizontal invert"},
        {"vinvert", editor->ToolButton3, "Vertical invert"},
        {"settings", editor->ToolButton2, "Playing settings"}}},
      {segment->skinToolBar1,
       {{"play", segment->ToolButton1, "Play"},
        {"stop", segment->ToolButton8, "Stop"},
        {"pause", segment->ToolButton10, "Pause"},
        {"loop", segment->ToolButton5, "Loop"},
        {"hinvert", segment->ToolButton9, "Horizontal invert"},
        {"vinvert", segment->ToolButton3, "Vertical invert"},
        {"settings", segment->ToolButton2, "Settings"}}},
      {show->skinToolBar1,
       {{"play", show->ToolButton1, "Play"},
        {"stop", show->ToolButton8, "Stop"},
        {"pause", show->ToolButton10, "Pause"},
        {"loop", show->ToolButton5, "Loop"},
        {"hinvert", show->ToolButton9, "Horizontal invert"},
        {"vinvert", show->ToolButton3, "Vertical invert"},
        {"settings", show->ToolButton2, "Settings"}}},
  };
  std::map<std::string, QImage> faceOf;  // the first window's face of each command
  for (const auto& [bar, buttons] : bars) {
    SCOPED_TRACE(bar->window()->objectName().toStdString());
    EXPECT_FALSE(bar->ShowCaptions());
    ASSERT_NE(bar->Images(), nullptr);
    std::map<int, std::string> commandOfImage;
    for (const TButtonCase& c : buttons) {
      SCOPED_TRACE(c.command);
      EXPECT_EQ(c.button->Hint(), c.hint);
      const QImage picture = bar->Images()->Image(c.button->ImageIndex());
      ASSERT_FALSE(picture.isNull());
      EXPECT_EQ(picture.size(), QSize(30, 30));
      // Two commands of one bar never share a picture.
      auto [it, fresh] = commandOfImage.emplace(c.button->ImageIndex(), c.command);
      EXPECT_TRUE(fresh) << "shares its picture with " << it->second;
      // The picture fits the button whole, and the bar draws it.
      EXPECT_GE(c.button->width(), picture.width() + 2);
      EXPECT_GE(c.button->height(), picture.height() + 4);
      const QImage face = bar->RenderButton(c.button);
      EXPECT_GT(InkedPixels(face), 60);
      auto [first, isFirst] = faceOf.emplace(c.command, face);
      if (!isFirst) {
        EXPECT_TRUE(face == first->second) << "looks different from the same command elsewhere";
      }
    }
  }
  // For a person to look at: each bar as drawn, then the pictures four times their size.
  QImage sheet(7 * 124, 4 * 44 + 124, QImage::Format_RGB32);
  sheet.fill(Qt::white);
  {
    QPainter painter(&sheet);
    int y = 0;
    for (const auto& bar : bars) {
      painter.drawPixmap(0, y, bar.first->grab());
      y += 44;
    }
    for (int i = 0; i < bars[0].first->Images()->Count(); ++i)
      painter.drawImage(QRect(i * 124, y, 120, 120), bars[0].first->Images()->Image(i));
  }
  EXPECT_TRUE(sheet.save(QString::fromStdString(kavri_test::ArtifactPath("run_tool_bars.png"))));
  // The pictures of different commands differ.
  for (auto a = faceOf.begin(); a != faceOf.end(); ++a)
    for (auto b = std::next(a); b != faceOf.end(); ++b) EXPECT_FALSE(a->second == b->second) << a->first << " " << b->first;
}

}  // namespace
}  // namespace kavri
