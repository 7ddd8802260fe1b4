#include "skin/url_label.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

namespace kavri {

TUrlOpener& UrlOpener() {
  static TUrlOpener opener = [](const QString& url) { QDesktopServices::openUrl(QUrl::fromUserInput(url)); };
  return opener;
}

TSkinURLLabel::TSkinURLLabel(QWidget* parent) : QLabel(parent) {
  QFont f = font();
  f.setUnderline(true);
  setFont(f);
  setCursor(Qt::PointingHandCursor);
  SetFontColor(FontLinkColor);
  adjustSize();
}

void TSkinURLLabel::SetURL(const QString& url) {
  if (url != FURL) FURL = url;
}

void TSkinURLLabel::SetLinkColor(TColor color) {
  FontLinkColor = color;
  SetFontColor(color);
}

void TSkinURLLabel::SetFontColor(TColor color) {
  QPalette pal = palette();
  pal.setColor(QPalette::WindowText, ToQColor(color));
  setPalette(pal);
}

TColor TSkinURLLabel::FontColor() const { return FromQColor(palette().color(QPalette::WindowText)); }

void TSkinURLLabel::Click() {
  const QString url = FURL.trimmed();
  if (!url.isEmpty() && UrlOpener()) UrlOpener()(url);
  if (OnClick) OnClick(this);
}

void TSkinURLLabel::enterEvent(QEnterEvent* event) {
  SetFontColor(FontHoverColor);
  QLabel::enterEvent(event);
}

void TSkinURLLabel::leaveEvent(QEvent* event) {
  SetFontColor(FontLinkColor);
  QLabel::leaveEvent(event);
}

void TSkinURLLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Click();
}

}  // namespace kavri
