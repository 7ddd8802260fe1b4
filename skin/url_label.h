#pragma once
#include <QLabel>
#include <functional>

#include "platform/tcolor.h"

namespace kavri {

// Opens a link; replaced in tests so nothing starts a browser.
using TUrlOpener = std::function<void(const QString& url)>;
TUrlOpener& UrlOpener();

// A hyperlink label: underlined, blue, red under the mouse; a click opens its URL.
class TSkinURLLabel : public QLabel {
  Q_OBJECT
 public:
  explicit TSkinURLLabel(QWidget* parent = nullptr);

  QString URL() const { return FURL; }
  void SetURL(const QString& url);
  TColor FontHoverColor = 0x0000FF;
  TColor LinkColor() const { return FontLinkColor; }
  void SetLinkColor(TColor color);
  TColor FontColor() const;

  std::function<void(QObject*)> OnClick;

  void Click();

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void SetFontColor(TColor color);
  QString FURL;
  TColor FontLinkColor = 0xFF0000;
};

}  // namespace kavri
