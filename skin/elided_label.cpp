#include "skin/elided_label.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

namespace kavri {

namespace {
// Room for a few letters at the least, so that something of a message always shows.
constexpr int kLeastLetters = 4;
}  // namespace

TElidedLabel::TElidedLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  setTextFormat(Qt::PlainText);
}

QString TElidedLabel::OneLine() const {
  QString line = text();
  line.replace('\n', ' ');
  return line;
}

QString TElidedLabel::ShownText() const {
  return fontMetrics().elidedText(OneLine(), Qt::ElideRight, std::max(contentsRect().width(), 0));
}

QSize TElidedLabel::minimumSizeHint() const {
  const QMargins m = contentsMargins();
  return {fontMetrics().averageCharWidth() * kLeastLetters + m.left() + m.right(),
          fontMetrics().height() + m.top() + m.bottom()};
}

QSize TElidedLabel::sizeHint() const { return minimumSizeHint(); }

bool TElidedLabel::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
    const auto* help = static_cast<QHelpEvent*>(event);
    if (IsCut())
      QToolTip::showText(help->globalPos(), text(), this);
    else
      QToolTip::hideText();
    return true;
  }
  return QLabel::event(event);
}

void TElidedLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  style()->drawItemText(&painter, contentsRect(), QStyle::visualAlignment(layoutDirection(), alignment()),
                        palette(), isEnabled(), ShownText(), foregroundRole());
}

}  // namespace kavri
