#include "skin/page_control.h"

#include <QPainter>
#include <algorithm>

#include "skin/page_walk.h"
#include "skin/system_colors.h"

namespace kavri {

// ---- sheet ----

TSkinTabSheet::TSkinTabSheet(QWidget* parent) : QWidget(parent) {
  // A sheet made on a page control is one of its pages, not a loose panel over the strip.
  if (auto* pageControl = qobject_cast<TSkinPageControl*>(parent)) SetPageControl(pageControl);
}

TSkinTabSheet::~TSkinTabSheet() {
  if (pageControl_) pageControl_->RemovePage(this);
}

void TSkinTabSheet::SetPageControl(TSkinPageControl* pageControl) {
  if (pageControl == pageControl_) return;
  if (pageControl_) {
    pageControl_->RemovePage(this);
    hide();  // still a child there, it would cover the pages without a tab
  }
  pageControl_ = pageControl;
  if (!pageControl) return;
  setParent(pageControl);
  pageControl->InsertPage(this);
}

void TSkinTabSheet::SetPageIndex(int index) {
  if (!pageControl_) return;
  pageControl_->MovePage(this, index);
  pageIndex_ = index;
}

void TSkinTabSheet::SetCaption(const QString& caption) {
  caption_ = caption;
  if (pageControl_) pageControl_->UpdateCaptions();
}

void TSkinTabSheet::SetTabVisible(bool visible) {
  tabVisible_ = visible;
  if (!pageControl_) return;
  pageControl_->UpdateTabVisible();
  if (visible) {
    pageControl_->ActivatePage(pageIndex_);
  } else if (pageControl_->ActivePage() == this) {
    // Only hiding the page on show moves the operator to another one.
    pageControl_->ActivateNextVisiblePage(pageIndex_);
  }
}

void TSkinTabSheet::SetBorderColor(TColor color) {
  borderColor_ = color;
  update();
}

void TSkinTabSheet::SetColor(TColor color) {
  color_ = color;
  update();
}

void TSkinTabSheet::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), ToQColor(ColorToRGB(color_)));
  // The top stays open under the tabs.
  p.setPen(ToQColor(ColorToRGB(borderColor_)));
  const QPoint edges[] = {{0, 0}, {0, height() - 1}, {width() - 1, height() - 1}, {width() - 1, 0}};
  p.drawPolyline(edges, 4);
}

// ---- page control ----

TSkinPageControl::TSkinPageControl(QWidget* parent) : TSkinTab(parent) { TopPanel()->SetTabs({}); }

TSkinPageControl::~TSkinPageControl() {
  for (TSkinTabSheet* sheet : pages_) sheet->pageControl_ = nullptr;
}

TSkinTabSheet* TSkinPageControl::Page(int index) const {
  return index >= 0 && index < PageCount() ? pages_[index] : nullptr;
}

int TSkinPageControl::ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : 0; }

void TSkinPageControl::SetActivePageIndex(int index) {
  if (Page(index)) ActivatePage(index);
}

TSkinTabSheet* TSkinPageControl::NewPage() {
  const QString name = QString("skinTabSheet%1").arg(PageCount() + 1);
  auto* sheet = new TSkinTabSheet(this);
  sheet->setObjectName(name);
  sheet->SetCaption(name);
  return sheet;
}

void TSkinPageControl::InsertPage(TSkinTabSheet* sheet) {
  if (!sheet || std::find(pages_.begin(), pages_.end(), sheet) != pages_.end()) return;
  sheet->pageControl_ = this;
  sheet->SetColor(Color());
  sheet->SetBorderColor(BorderColor());
  sheet->setGeometry(ClientArea());
  pages_.push_back(sheet);
  UpdatePageIndex();
  UpdateCaptions();
  ActivatePage(sheet);
}

void TSkinPageControl::RemovePage(TSkinTabSheet* sheet) {
  const auto it = std::find(pages_.begin(), pages_.end(), sheet);
  if (it == pages_.end()) return;
  const int index = static_cast<int>(it - pages_.begin());
  pages_.erase(it);
  sheet->pageIndex_ = -1;
  UpdatePageIndex();
  UpdateCaptions();
  if (activePage_ == sheet) {
    activePage_ = nullptr;
    ActivatePage(index - 1);
  } else if (activePage_ && activePage_->PageIndex() != TopPanel()->TabIndex()) {
    // Removing another page leaves the operator on the same one; only its tab moved.
    ActivatePage(activePage_);
  }
}

void TSkinPageControl::ActivatePage(TSkinTabSheet* sheet) {
  // Another control's sheet would be remembered here after it is gone.
  if (sheet && sheet->pageControl_ != this) return;
  activePage_ = sheet;
  // The strip reports the chosen tab back through TabActive, which shows the page.
  if (sheet) SetTabIndex(sheet->PageIndex());
  else TopPanel()->ClearTabIndex();  // no tab stays marked without an active page
}

void TSkinPageControl::ActivatePage(int index) { ActivatePage(Page(index)); }

void TSkinPageControl::ShowPage(TSkinTabSheet* sheet) {
  for (TSkinTabSheet* other : pages_)
    if (other != sheet) other->hide();
  sheet->show();
  sheet->raise();
  if (sheet->OnShow) sheet->OnShow(sheet);
}

void TSkinPageControl::TabActive(int index) {
  activePage_ = Page(index);
  if (activePage_) ShowPage(activePage_);
  TSkinTab::TabActive(index);
}

void TSkinPageControl::MovePage(TSkinTabSheet* sheet, int& newIndex) {
  const auto it = std::find(pages_.begin(), pages_.end(), sheet);
  if (it == pages_.end()) return;
  if (newIndex < 0 || newIndex >= PageCount()) {
    newIndex = static_cast<int>(it - pages_.begin());
    return;
  }
  pages_.erase(it);
  pages_.insert(pages_.begin() + newIndex, sheet);
  UpdatePageIndex();
  UpdateCaptions();
  ActivatePage(sheet);
}

std::vector<bool> TSkinPageControl::VisibleTabs() const {
  std::vector<bool> visible;
  for (const TSkinTabSheet* sheet : pages_) visible.push_back(sheet->TabVisible());
  return visible;
}

int TSkinPageControl::FindNextVisiblePage(int index) const { return kavri::FindNextVisiblePage(VisibleTabs(), index); }
int TSkinPageControl::FindPrevVisiblePage(int index) const { return kavri::FindPrevVisiblePage(VisibleTabs(), index); }

TSkinTabSheet* TSkinPageControl::FindNextPage(TSkinTabSheet* sheet, bool goForward) const {
  if (!sheet) return nullptr;
  return Page(goForward ? FindNextVisiblePage(sheet->PageIndex()) : FindPrevVisiblePage(sheet->PageIndex()));
}

void TSkinPageControl::SelectNextPage(bool goForward) {
  if (!activePage_) return;
  if (TSkinTabSheet* next = FindNextPage(activePage_, goForward)) ActivatePage(next);
}

void TSkinPageControl::ActivateNextVisiblePage(int index) {
  const int next = NearestVisiblePage(VisibleTabs(), index);
  if (next >= 0) ActivatePage(next);
}

void TSkinPageControl::UpdatePageIndex() {
  for (size_t i = 0; i < pages_.size(); ++i) pages_[i]->pageIndex_ = static_cast<int>(i);
}

void TSkinPageControl::UpdateCaptions() {
  QStringList captions;
  for (const TSkinTabSheet* sheet : pages_) captions << sheet->Caption();
  TopPanel()->SetTabs(captions);
  UpdateTabVisible();
}

void TSkinPageControl::UpdateTabVisible() { TopPanel()->SetTabVisible(VisibleTabs()); }

void TSkinPageControl::UpdateUIStyle(TSkinUIStyle style) {
  TSkinTab::UpdateUIStyle(style);
  for (TSkinTabSheet* sheet : pages_) {
    sheet->SetColor(Color());
    sheet->SetBorderColor(BorderColor());
    sheet->UpdateUIStyle(style);
  }
}

void TSkinPageControl::BorderColorChanged() {
  for (TSkinTabSheet* sheet : pages_) sheet->SetBorderColor(BorderColor());
}

void TSkinPageControl::ColorChanged() {
  for (TSkinTabSheet* sheet : pages_) sheet->SetColor(Color());
}

void TSkinPageControl::resizeEvent(QResizeEvent* event) {
  TSkinTab::resizeEvent(event);
  for (TSkinTabSheet* sheet : pages_) sheet->setGeometry(ClientArea());
}

// ---- designer commands ----

TSkinTabSheet* PageControl_InsertPage(TSkinPageControl* pageControl) {
  return pageControl ? pageControl->NewPage() : nullptr;
}

void PageControl_RemovePage(TSkinPageControl* pageControl) {
  if (!pageControl) return;
  if (TSkinTabSheet* sheet = pageControl->ActivePage()) TabSheet_RemovePage(sheet);
}

bool PageControl_CanRemove(const TSkinPageControl* pageControl) {
  return pageControl && !pageControl->TopPanel()->Tabs().isEmpty();
}

TSkinTabSheet* TabSheet_InsertPage(TSkinTabSheet* sheet) {
  return sheet ? PageControl_InsertPage(sheet->PageControl()) : nullptr;
}

void TabSheet_RemovePage(TSkinTabSheet* sheet) {
  if (!sheet) return;
  sheet->SetPageControl(nullptr);
  delete sheet;
}

bool TabSheet_CanRemove(const TSkinTabSheet* sheet) { return sheet && PageControl_CanRemove(sheet->PageControl()); }

}  // namespace kavri
