#include "skin/db_navigator.h"

#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

#include "platform/dialog_service.h"
#include "skin/db_error.h"
#include "skin/db_texts.h"
#include "skin/skin_pictures.h"

namespace kavri {

namespace {

constexpr int kMinButtonWidth = 20, kMinButtonHeight = 18;
constexpr int kFirstRepeatMs = 400, kRepeatMs = 100;

constexpr const char* kButtonWords[kNavButtonCount] = {"FIRST",  "PRIOR", "NEXT", "LAST",   "INSERT",
                                                       "DELETE", "EDIT",  "POST", "CANCEL", "REFRESH"};
constexpr const char* kDefaultHints[kNavButtonCount] = {SFirstRecord,  SPriorRecord, SNextRecord, SLastRecord,
                                                        SInsertRecord, SDeleteRecord, SEditRecord, SPostEdit,
                                                        SCancelEdit,   SRefreshRecord};

}  // namespace

// ---- button ----

TSkinNavButton::TSkinNavButton(TSkinDBNavigator* navigator, TNavigateBtn index)
    : TSkinButton(navigator), navigator_(navigator), index_(index) {
  SetTabStop(false);                    // the navigator takes the focus, not its buttons
  SetMouseContinuouslyDownInterval(0);  // the navigator's own repeat, below
}

TSkinNavButton::~TSkinNavButton() = default;

void TSkinNavButton::mousePressEvent(QMouseEvent* event) {
  TSkinButton::mousePressEvent(event);
  if (event->button() == Qt::LeftButton) navigator_->BtnMouseDown(this);
  if (!allowTimer_ || !Pressed()) return;
  if (!timer_) {
    timer_ = std::make_unique<QTimer>();
    connect(timer_.get(), &QTimer::timeout, this, &TSkinNavButton::TimerExpired);
  }
  timer_->setInterval(kFirstRepeatMs);
  timer_->start();
}

void TSkinNavButton::mouseReleaseEvent(QMouseEvent* event) {
  if (timer_) timer_->stop();
  TSkinButton::mouseReleaseEvent(event);
}

void TSkinNavButton::TimerExpired() {
  if (timer_) timer_->setInterval(kRepeatMs);
  if (Pressed()) navigator_->ClickHandler(this);
}

void TSkinNavButton::paintEvent(QPaintEvent*) {
  QImage face = RenderFace();
  if (navigator_->hasFocus() && navigator_->FocusedButton() == index_) {
    const int shift = Pressed() ? 1 : 0;
    DrawFocusFrame(face, QRect(3 + shift, 3 + shift, width() - 6, height() - 6));
  }
  QPainter(this).drawImage(0, 0, face);
}

// ---- link ----

void TSkinNavDataLink::EditingChanged() {
  if (navigator_) navigator_->EditingChanged();
}
void TSkinNavDataLink::DataSetChanged() {
  if (navigator_) navigator_->DataChanged();
}
void TSkinNavDataLink::ActiveChanged() {
  if (navigator_) navigator_->ActiveChanged();
}

// ---- navigator ----

TSkinDBNavigator::TSkinDBNavigator(QWidget* owner)
    : QWidget(owner), link_(std::make_unique<TSkinNavDataLink>(this)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::TabFocus);
  InitButtons();
  InitHints();
  resize(250, 30);
  SetUIStyle(GetSkinFormStyle(OwnerForm(owner)));
  ActiveChanged();
}

TSkinDBNavigator::~TSkinDBNavigator() { link_.reset(); }

void TSkinDBNavigator::InitButtons() {
  int x = 0;
  for (int i = 0; i < kNavButtonCount; ++i) {
    auto* b = new TSkinNavButton(this, static_cast<TNavigateBtn>(i));
    b->SetSpacing(-1);
    b->setVisible((visible_ >> i) & 1);
    b->setGeometry(x, 0, kMinButtonWidth, kMinButtonHeight);
    x += kMinButtonWidth;
    b->SetGlyph(LoadSkinPicture(std::string("DBNAV_BUTTON_") + kButtonWords[i]));
    b->OnClick = [this](TSkinCustomButton* sender) { ClickHandler(static_cast<TSkinNavButton*>(sender)); };
    buttons_[i] = b;
  }
  Button(TNavigateBtn::nbPrior)->SetAllowTimer(true);
  Button(TNavigateBtn::nbNext)->SetAllowTimer(true);
}

void TSkinDBNavigator::InitHints() {
  for (int i = 0; i < kNavButtonCount; ++i) buttons_[i]->setToolTip(kDefaultHints[i]);
  for (int i = 0; i < kNavButtonCount && i < hints_.size(); ++i)
    if (!hints_[i].isEmpty()) buttons_[i]->setToolTip(hints_[i]);
}

void TSkinDBNavigator::SetHints(const QStringList& hints) {
  hints_ = hints;
  InitHints();
}

void TSkinDBNavigator::SetDataSource(TDataSource* source) {
  link_->SetDataSource(source);
  ActiveChanged();
}

void TSkinDBNavigator::SetUIStyle(TSkinUIStyle style) {
  uiStyle_ = style;
  for (TSkinNavButton* b : buttons_) b->SetUIStyle(style);
  update();
}

void TSkinDBNavigator::SetVisibleButtons(TNavButtonSet buttons) {
  visible_ = buttons & kAllNavButtons;
  for (int i = 0; i < kNavButtonCount; ++i) buttons_[i]->setVisible((visible_ >> i) & 1);
  int w = width(), h = height();
  SetSize(w, h);
  if (w != width() || h != height()) resize(w, h);
  update();
}

void TSkinDBNavigator::SetAligned(bool value) {
  aligned_ = value;
  int w = width(), h = height();
  SetSize(w, h);
  if (w != width() || h != height()) resize(w, h);
}

int TSkinDBNavigator::VisibleCount() const {
  int count = 0;
  for (int i = 0; i < kNavButtonCount; ++i) count += (visible_ >> i) & 1;
  return std::max(count, 1);
}

void TSkinDBNavigator::CalcMinSize(int& w, int& h) const {
  const int count = VisibleCount();
  w = std::max(w, count * kMinButtonWidth);
  h = std::max(h, kMinButtonHeight);
  if (!aligned_) w = (w / count) * count;
}

void TSkinDBNavigator::SetSize(int& w, int& h) {
  CalcMinSize(w, h);
  const int count = VisibleCount();
  buttonWidth_ = w / count;
  if (!aligned_) w = count * buttonWidth_;
  // The pixels left over go one each to buttons spread evenly along the row.
  const int remainder = w - count * buttonWidth_;
  int running = count / 2, x = 0;
  for (int i = 0; i < kNavButtonCount; ++i) {
    if (!((visible_ >> i) & 1)) {
      buttons_[i]->setGeometry(w + 1, 0, buttonWidth_, h);
      continue;
    }
    int bw = buttonWidth_;
    if (remainder != 0) {
      running -= remainder;
      if (running < 0) {
        running += count;
        ++bw;
      }
    }
    buttons_[i]->setGeometry(x, 0, bw, h);
    x += bw;
  }
}

void TSkinDBNavigator::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (sizing_) return;
  int w = width(), h = height();
  sizing_ = true;
  SetSize(w, h);
  if (w != width() || h != height()) resize(w, h);
  sizing_ = false;
}

void TSkinDBNavigator::DataChanged() {
  TDataSet* set = link_->DataSet();
  const bool on = isEnabled() && link_->Active() && set;
  const bool up = on && !set->Bof(), down = on && !set->Eof();
  Button(TNavigateBtn::nbFirst)->setEnabled(up);
  Button(TNavigateBtn::nbPrior)->setEnabled(up);
  Button(TNavigateBtn::nbNext)->setEnabled(down);
  Button(TNavigateBtn::nbLast)->setEnabled(down);
  Button(TNavigateBtn::nbDelete)->setEnabled(on && set->CanModify() && !(set->Bof() && set->Eof()));
}

void TSkinDBNavigator::EditingChanged() {
  TDataSet* set = link_->DataSet();
  const bool m = isEnabled() && link_->Active() && set && set->CanModify();
  const bool editing = link_->Editing();
  Button(TNavigateBtn::nbInsert)->setEnabled(m);
  Button(TNavigateBtn::nbEdit)->setEnabled(m && !editing);
  Button(TNavigateBtn::nbPost)->setEnabled(m && editing);
  Button(TNavigateBtn::nbCancel)->setEnabled(m && editing);
  Button(TNavigateBtn::nbRefresh)->setEnabled(m);
}

void TSkinDBNavigator::ActiveChanged() {
  if (!(isEnabled() && link_->Active())) {
    for (TSkinNavButton* b : buttons_) b->setEnabled(false);
    return;
  }
  DataChanged();
  EditingChanged();
}

void TSkinDBNavigator::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) ActiveChanged();
}

void TSkinDBNavigator::ClickHandler(TSkinNavButton* sender) { BtnClick(sender->Index()); }

void TSkinDBNavigator::BtnClick(TNavigateBtn button) {
  TDataSource* source = DataSource();
  if (source && source->State() != TDataSetState::dsInactive) {
    if (BeforeAction) BeforeAction(this, button);
    RunDataStep([&] {
      TDataSet* set = source->DataSet();
      switch (button) {
        case TNavigateBtn::nbFirst: set->First(); break;
        case TNavigateBtn::nbPrior: set->Prior(); break;
        case TNavigateBtn::nbNext: set->Next(); break;
        case TNavigateBtn::nbLast: set->Last(); break;
        case TNavigateBtn::nbInsert: set->Insert(); break;
        case TNavigateBtn::nbDelete:
          if (!confirmDelete_ ||
              Dialogs().Confirm(SDeleteRecordQuestion, TConfirmButtons::OkCancel) != TDialogAnswer::Cancel)
            set->Delete();
          break;
        case TNavigateBtn::nbEdit: set->Edit(); break;
        case TNavigateBtn::nbPost: set->Post(); break;
        case TNavigateBtn::nbCancel: set->Cancel(); break;
        case TNavigateBtn::nbRefresh: set->Refresh(); break;
      }
    });
  }
  if (OnClick) OnClick(this, button);
}

void TSkinDBNavigator::BtnMouseDown(TSkinNavButton* sender) {
  const TNavigateBtn old = focused_;
  focused_ = sender->Index();
  if (focusPolicy() & Qt::TabFocus && !hasFocus()) {
    setFocus(Qt::MouseFocusReason);
    if (!hasFocus()) return;
  } else if (hasFocus() && old != focused_) {
    Button(old)->update();
    sender->update();
  }
}

void TSkinDBNavigator::MoveFocus(int step) {
  // Past hidden buttons, up to the end of the row.
  const auto shown = [this](int i) { return (visible_ >> i) & 1; };
  int next = static_cast<int>(focused_);
  do {
    if (next + step < 0 || next + step >= kNavButtonCount) break;
    next += step;
  } while (!shown(next));
  if (next == static_cast<int>(focused_) || !shown(next)) return;
  const TNavigateBtn old = focused_;
  focused_ = static_cast<TNavigateBtn>(next);
  Button(old)->update();
  Button(focused_)->update();
}

void TSkinDBNavigator::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Right: MoveFocus(1); break;
    case Qt::Key_Left: MoveFocus(-1); break;
    case Qt::Key_Space:
      if (Button(focused_)->isEnabled()) Button(focused_)->Click();
      break;
    default: QWidget::keyPressEvent(event); return;
  }
  event->accept();
}

void TSkinDBNavigator::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  Button(focused_)->update();
}

void TSkinDBNavigator::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  Button(focused_)->update();
}

}  // namespace kavri
