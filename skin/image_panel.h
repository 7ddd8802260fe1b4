#pragma once
#include <QImage>
#include <QWidget>

#include "platform/tcolor.h"
#include "skin/style_apply.h"

namespace kavri {

enum class TSkinDrawStyle : uint8_t { skinNormal = 0, skinStretch = 1, skinTile = 2 };

// A panel that shows a picture (plain, stretched or tiled) and an optional caption; the thumb of the
// track bar and the base of the group boxes.
class TSkinCustomPanel : public QWidget, public TSkinStyleHooks {
  Q_OBJECT
 public:
  explicit TSkinCustomPanel(QWidget* parent = nullptr);

  const QImage& Picture() const { return FPicture; }
  void SetPicture(const QImage& picture);
  bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool transparent);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool autoSize);
  TSkinDrawStyle DrawStyle() const { return FDrawStyle; }
  void SetDrawStyle(TSkinDrawStyle style);
  int CaptionPosX() const { return FCaptionPosX; }
  int CaptionPosY() const { return FCaptionPosY; }
  void SetCaptionPosX(int x);
  void SetCaptionPosY(int y);
  QString Caption() const { return FCaption; }
  void SetCaption(const QString& caption);
  Qt::Alignment Alignment() const { return FAlignment; }
  void SetAlignment(Qt::Alignment alignment);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);

  // Restyles the panel's own children (one more level of nesting).
  virtual void UpdateUIStyle(TSkinUIStyle style);
  void ApplySubContainerStyle(TSkinUIStyle style) override { UpdateUIStyle(style); }

  // The panel as it paints itself.
  QImage Render();

 protected:
  virtual void ClearPanel() { update(); }
  virtual void RepaintText(const QRect&) {}
  virtual void PictureChanged();
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ApplyAutoSize();

  QImage FPicture;
  bool FTransparent = false;
  bool FAutoSize = false;
  int FCaptionPosX = -1;
  int FCaptionPosY = -1;
  TSkinDrawStyle FDrawStyle = TSkinDrawStyle::skinNormal;
  QString FCaption;
  Qt::Alignment FAlignment = Qt::AlignHCenter;
  TColor FColor;
};

class TSkinImagePanel : public TSkinCustomPanel {
  Q_OBJECT
 public:
  explicit TSkinImagePanel(QWidget* parent = nullptr) : TSkinCustomPanel(parent) {}
};

}  // namespace kavri
