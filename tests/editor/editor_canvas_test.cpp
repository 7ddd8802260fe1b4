#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <functional>
#include <vector>

#include "editor/editor_canvas.h"
#include "engine/colour_tables.h"
#include "engine/marked_points.h"
#include "tests/support/test_support.h"

using namespace kavri;

namespace {

// Palette indexes used below.
constexpr int kRed = 2, kGreen = 4, kBlue = 6, kYellow = 3;

QPoint Canvas(const TCanvasMouse& m) { return {m.X, m.Y}; }

struct Recorder {
  std::vector<TCanvasMouse> downs, moves, ups;
  void Attach(TEditorCanvas& canvas) {
    canvas.OnMouseDown = [this](const TCanvasMouse& m) { downs.push_back(m); };
    canvas.OnMouseMove = [this](const TCanvasMouse& m) { moves.push_back(m); };
    canvas.OnMouseUp = [this](const TCanvasMouse& m) { ups.push_back(m); };
  }
};

// Mouse events as the canvas receives them while it holds the mouse: positions may lie outside.
void Send(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::KeyboardModifiers mods) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
  QMouseEvent event(type, QPointF(p), QPointF(w->mapToGlobal(p)), type == QEvent::MouseMove ? Qt::NoButton : button,
                    held, mods);
  QApplication::sendEvent(w, &event);
}

// Only the window with the focus may hold the mouse.
void ShowActive(QWidget& window) {
  window.show();
  window.activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
}

PointRecord Pt(int x, int y, int colour, int kind = 0, int state = 0) {
  PointRecord p;
  p.x = x;
  p.y = y;
  p.colour = static_cast<uint8_t>(colour);
  p.kind = kind;
  p.state = static_cast<uint8_t>(state);
  return p;
}

TEST(EditorCanvas, ReportsPressMoveAndReleaseInCanvasPixelsWithButtonAndCtrl) {
  QWidget window;
  TEditorCanvas canvas(&window);
  canvas.move(30, 40);  // the canvas's own origin counts, not the window's
  window.show();
  EXPECT_EQ(canvas.objectName(), "Image90");
  EXPECT_EQ(canvas.size(), QSize(512, 512));
  Recorder seen;
  seen.Attach(canvas);
  QTest::mousePress(&canvas, Qt::RightButton, Qt::ControlModifier, {10, 20});
  QTest::mouseMove(&canvas, {511, 0});
  QTest::mouseRelease(&canvas, Qt::RightButton, Qt::NoModifier, {300, 511});
  ASSERT_EQ(seen.downs.size(), 1u);
  EXPECT_EQ(Canvas(seen.downs[0]), QPoint(10, 20));
  EXPECT_EQ(seen.downs[0].Button, Qt::RightButton);
  EXPECT_TRUE(seen.downs[0].Ctrl);
  ASSERT_FALSE(seen.moves.empty());
  EXPECT_EQ(Canvas(seen.moves.back()), QPoint(511, 0));
  ASSERT_EQ(seen.ups.size(), 1u);
  EXPECT_EQ(Canvas(seen.ups[0]), QPoint(300, 511));
  EXPECT_FALSE(seen.ups[0].Ctrl);
  // Without confinement a drag past the edge is reported as it is.
  Send(&canvas, QEvent::MouseMove, {600, -5}, Qt::LeftButton, Qt::NoModifier);
  ASSERT_FALSE(seen.moves.empty());
  EXPECT_EQ(Canvas(seen.moves.back()), QPoint(600, -5));
}

// Where the pointer cannot be held on the canvas (here, offscreen) the canvas keeps every click
// while confined, and one outside it is no click at all: it adds no point and ends nothing.
TEST(EditorCanvas, ConfinedCanvasHoldsTheMouseDropsClicksOutsideAndClampsMoves) {
  QWidget window;
  TEditorCanvas canvas(&window);
  ShowActive(window);
  Recorder seen;
  seen.Attach(canvas);
  canvas.SetConfined(true);
  ASSERT_TRUE(canvas.Confined());
  EXPECT_FALSE(canvas.PointerHeld());
  EXPECT_EQ(QWidget::mouseGrabber(), &canvas);
  struct Case {
    QPoint sent, expected;
    bool pressed;
  };
  for (const Case& c : std::vector<Case>{{{600, -5}, {511, 0}, false},
                                         {{-40, 700}, {0, 511}, false},
                                         {{512, 512}, {511, 511}, false},
                                         {{511, 0}, {511, 0}, true},
                                         {{100, 200}, {100, 200}, true}}) {
    const size_t downs = seen.downs.size();
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
      Send(&canvas, QEvent::MouseMove, c.sent, Qt::NoButton, Qt::NoModifier);
      Send(&canvas, QEvent::MouseButtonPress, c.sent, button, Qt::ControlModifier);
    }
    ASSERT_FALSE(seen.moves.empty());
    EXPECT_EQ(Canvas(seen.moves.back()), c.expected);
    ASSERT_EQ(seen.downs.size(), downs + (c.pressed ? 2 : 0)) << c.sent.x() << "," << c.sent.y();
    if (!c.pressed) continue;
    EXPECT_EQ(Canvas(seen.downs.back()), c.expected);
    EXPECT_TRUE(seen.downs.back().Ctrl);
  }
  canvas.SetConfined(false);
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  Send(&canvas, QEvent::MouseMove, {600, -5}, Qt::NoButton, Qt::NoModifier);
  EXPECT_EQ(Canvas(seen.moves.back()), QPoint(600, -5));
}

TEST(EditorCanvas, GrabIsAlwaysReleasedWhenTheCanvasOrItsWindowGoesAway) {
  const std::vector<std::pair<const char*, std::function<void(QWidget& window, TEditorCanvas& canvas)>>> ways = {
      {"canvas hidden", [](QWidget&, TEditorCanvas& canvas) { canvas.hide(); }},
      {"window hidden", [](QWidget& window, TEditorCanvas&) { window.hide(); }},
      {"window closed", [](QWidget& window, TEditorCanvas&) { window.close(); }},
      {"window deactivated",
       [](QWidget& window, TEditorCanvas&) {
         QEvent deactivate(QEvent::WindowDeactivate);
         QApplication::sendEvent(&window, &deactivate);
       }},
      {"modal box opened",
       [](QWidget& window, TEditorCanvas&) {
         QEvent blocked(QEvent::WindowBlocked);
         QApplication::sendEvent(&window, &blocked);
       }},
  };
  for (const auto& [name, leave] : ways) {
    QWidget window;
    TEditorCanvas canvas(&window);
    ShowActive(window);
    canvas.SetConfined(true);
    ASSERT_EQ(QWidget::mouseGrabber(), &canvas) << name;
    leave(window, canvas);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr) << name;
    EXPECT_FALSE(canvas.Confined()) << name;
  }
  // A canvas that is not shown never takes the mouse.
  TEditorCanvas hidden;
  hidden.SetConfined(true);
  EXPECT_FALSE(hidden.Confined());
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

// The window system speaks device pixels; the held area never reaches past the canvas.
TEST(EditorCanvas, HeldAreaIsInDevicePixelsRoundedInwards) {
  const struct {
    QRect logical;
    double ratio;
    QRect device;
  } cases[] = {
      {{3, 5, 512, 400}, 1.0, {3, 5, 512, 400}},
      {{3, 5, 512, 400}, 2.0, {6, 10, 1024, 800}},
      {{3, 3, 5, 5}, 1.25, {4, 4, 6, 6}},  // 3.75..10 becomes 4..10
      {{0, 0, 1, 1}, 0.5, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(TPointerConfinement::DeviceArea(c.logical, c.ratio), c.device) << c.ratio;
}

TEST(EditorCanvas, LayerIsRebuiltOnlyWhenItsInputsChange) {
  TEditorCanvas canvas;
  Drawing drawing;
  canvas.SetBackColor(kBlue);
  canvas.SetGridSteps(16, 16);
  canvas.Redraw(drawing, true, 0);
  qint64 key = canvas.Layer().cacheKey();
  auto rebuilt = [&] {
    canvas.Redraw(drawing, true, 0);
    const bool changed = canvas.Layer().cacheKey() != key;
    key = canvas.Layer().cacheKey();
    return changed;
  };
  drawing.AddObject()->Add(Pt(100, 100, kRed));
  EXPECT_FALSE(rebuilt());  // the drawing is not part of the layer
  canvas.SetBackColor(kBlue);
  canvas.SetGridSteps(16, 16);
  EXPECT_FALSE(rebuilt());
  canvas.SetBackColor(kGreen);
  EXPECT_TRUE(rebuilt());
  canvas.SetGridSteps(16, 8);
  EXPECT_TRUE(rebuilt());
  QImage picture(50, 50, QImage::Format_RGB32);
  picture.fill(Qt::yellow);
  canvas.SetBackPicture(picture);
  EXPECT_TRUE(rebuilt());
  canvas.SetBackPicture(picture);
  EXPECT_FALSE(rebuilt());
  EXPECT_EQ(canvas.Image().pixel(20, 20), QColor(Qt::yellow).rgb());
  canvas.SetBackPicture(QImage());
  EXPECT_TRUE(rebuilt());
  EXPECT_EQ(FromQRgb(canvas.Image().pixel(20, 20)), ColorIndexToTColor(kGreen));
}

TEST(EditorCanvas, RedrawRemovesMarkedPointsAndDrawsTheRestOverTheLayer) {
  TEditorCanvas canvas;
  canvas.SetBackColor(kBlue);
  canvas.SetGridSteps(0, 0);
  Drawing drawing;
  DrawingObject* line = drawing.AddObject();
  line->Add(Pt(100, 300, kRed, 2));
  line->Add(Pt(200, 300, kRed));
  line->Add(Pt(400, 400, kRed, 0, kMarkedForDeletion));
  DrawingObject* other = drawing.AddObject();
  other->Add(Pt(100, 100, kGreen, 2));
  other->Add(Pt(100, 200, kGreen));
  EXPECT_EQ(canvas.Redraw(drawing, true, 0), 4u);
  EXPECT_EQ(line->Count(), 2u);
  const QImage& image = canvas.Image();
  EXPECT_EQ(FromQRgb(image.pixel(150, 300)), ColorIndexToTColor(kRed));
  EXPECT_EQ(FromQRgb(image.pixel(100, 150)), ColorIndexToTColor(kGreen));
  EXPECT_EQ(FromQRgb(image.pixel(300, 350)), ColorIndexToTColor(kBlue));  // the removed point's line is gone
  // The layer itself stays clean for the next redraw.
  EXPECT_EQ(FromQRgb(canvas.Layer().pixel(150, 300)), ColorIndexToTColor(kBlue));
}

TEST(EditorCanvas, PreviewIsPaintedOverTheCanvasWithoutChangingIt) {
  TEditorCanvas canvas;
  canvas.SetBackColor(0);
  canvas.SetGridSteps(16, 16);
  QImage picture(160, 120, QImage::Format_RGB32);
  picture.fill(QColor(40, 40, 90));
  canvas.SetBackPicture(picture);
  Drawing drawing;
  DrawingObject* square = drawing.AddObject();
  for (const QPoint& p : {QPoint(60, 60), QPoint(200, 60), QPoint(200, 200), QPoint(60, 200), QPoint(60, 60)})
    square->Add(Pt(p.x(), p.y(), kRed, square->Empty() ? 2 : 0));
  DrawingObject* zig = drawing.AddObject();
  for (int i = 0; i < 6; ++i) zig->Add(Pt(280 + i * 40, i % 2 ? 420 : 300, kGreen, i == 0 ? 2 : 0, i == 3 ? 1 : 0));
  (*zig)[5].kind = 3;
  DrawingObject* diagonal = drawing.AddObject();
  diagonal->Add(Pt(300, 100, kYellow, 2));
  diagonal->Add(Pt(460, 240, kYellow));
  EXPECT_EQ(canvas.Redraw(drawing, true, 1), 13u);
  canvas.OnDrawOverlay = [](TCanvas& c) {
    c.Pen.Color = clWhite;
    c.Pen.Style = TPenStyle::Dot;
    c.Brush.Style = TBrushStyle::Clear;
    c.Rectangle(40, 280, 180, 460);
  };
  const QImage shown = canvas.grab().toImage();
  EXPECT_EQ(FromQRgb(shown.pixel(40, 280)), clWhite);
  EXPECT_EQ(FromQRgb(canvas.Image().pixel(40, 280)), clBlack);
  ASSERT_TRUE(shown.save(QString::fromStdString(kavri_test::ArtifactPath("editor_canvas.png"))));
  canvas.OnDrawOverlay = nullptr;
  EXPECT_EQ(canvas.grab().toImage(), canvas.Image());
}

}  // namespace
