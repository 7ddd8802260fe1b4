#include "skin/content_scroller.h"

#include <QKeyEvent>
#include <QLayout>
#include <QScrollArea>
#include <QVBoxLayout>

namespace kavri {

namespace {

constexpr const char* kScrollerName = "ContentScroller";

class TContentScroller : public QScrollArea {
 public:
  explicit TContentScroller(QWidget* window) : QScrollArea(window) {
    setObjectName(kScrollerName);
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setFocusPolicy(Qt::NoFocus);
  }

  // The whole content: a scroll area's own hint stops at a few dozen lines.
  QSize sizeHint() const override {
    const QWidget* content = widget();
    return content ? content->sizeHint().expandedTo(content->minimumSizeHint()) : QScrollArea::sizeHint();
  }

 protected:
  // Keys go on to the window as they did before the content moved in here.
  void keyPressEvent(QKeyEvent* event) override { event->ignore(); }
};

}  // namespace

QScrollArea* ContentScroller(const QWidget* window) {
  return window ? window->findChild<QScrollArea*>(kScrollerName, Qt::FindDirectChildrenOnly) : nullptr;
}

QScrollArea* ScrollWindowContent(QWidget* window) {
  if (QScrollArea* scroller = ContentScroller(window)) return scroller;
  QLayout* layout = window ? window->layout() : nullptr;
  if (!layout || layout->sizeConstraint() != QLayout::SetDefaultConstraint) return nullptr;
  QWidget* menuBar = layout->menuBar();
  layout->setMenuBar(nullptr);
  const QList<QWidget*> children = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  auto* content = new QWidget;
  content->setLayout(layout);  // the widgets the layout holds come along
  // So do those laid over others by hand (a memo's skinned bars); child windows stay.
  for (QWidget* child : children)
    if (child != menuBar && !child->isWindow() && child->parentWidget() == window) child->setParent(content);
  auto* scroller = new TContentScroller(window);
  scroller->setWidget(content);
  auto* outer = new QVBoxLayout(window);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);
  if (menuBar) outer->setMenuBar(menuBar);
  outer->addWidget(scroller);
  return scroller;
}

}  // namespace kavri
