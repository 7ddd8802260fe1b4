#pragma once
// A tab strip over pages: each TSkinTabSheet is a child panel filling the area below the strip, and
// the sheet of the chosen tab is the one shown.
//
//   auto* pages = new TSkinPageControl(window);
//   TSkinTabSheet* general = pages->NewPage();   // "skinTabSheet1", shown at once
//   general->SetCaption("General");
//   new TSkinButton(general);                    // controls are children of a sheet
#include <QWidget>
#include <functional>
#include <vector>

#include "skin/skin_tab.h"

namespace kavri {

class TSkinPageControl;

class TSkinTabSheet : public QWidget, public TSkinStyleHooks {
  Q_OBJECT
 public:
  // Made on a page control, the sheet becomes its last page.
  explicit TSkinTabSheet(QWidget* parent = nullptr);
  ~TSkinTabSheet() override;

  TSkinPageControl* PageControl() const { return pageControl_; }
  // Moves the sheet into that page control (out of its previous one); null takes it out.
  void SetPageControl(TSkinPageControl* pageControl);
  int PageIndex() const { return pageIndex_; }
  void SetPageIndex(int index);
  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool visible);
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor color);
  TColor Color() const { return color_; }
  void SetColor(TColor color);

  void UpdateUIStyle(TSkinUIStyle style) { ContainerApplyUIStyle(this, style); }
  void ApplySubContainerStyle(TSkinUIStyle style) override { UpdateUIStyle(style); }

  std::function<void(TSkinTabSheet* sender)> OnShow;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  friend class TSkinPageControl;
  TSkinPageControl* pageControl_ = nullptr;
  int pageIndex_ = -1;
  QString caption_;
  TColor borderColor_ = 0;
  TColor color_ = 0xFFFFFF;
  bool tabVisible_ = true;
};

class TSkinPageControl : public TSkinTab {
  Q_OBJECT
 public:
  explicit TSkinPageControl(QWidget* parent = nullptr);
  ~TSkinPageControl() override;

  int PageCount() const { return static_cast<int>(pages_.size()); }
  TSkinTabSheet* Page(int index) const;  // null out of range
  TSkinTabSheet* ActivePage() const { return activePage_; }
  void SetActivePage(TSkinTabSheet* sheet) { ActivatePage(sheet); }
  int ActivePageIndex() const;  // 0 without an active page
  void SetActivePageIndex(int index);  // only in range

  // A new sheet named "skinTabSheet" + (page count + 1), captioned with its name.
  TSkinTabSheet* NewPage();
  void InsertPage(TSkinTabSheet* sheet);
  void RemovePage(TSkinTabSheet* sheet);
  // Null (or an index out of range) leaves no page active; another control's sheet is ignored.
  void ActivatePage(TSkinTabSheet* sheet);
  void ActivatePage(int index);
  // Moves the sheet to newIndex when that is a page index, else sets newIndex to where it stays.
  void MovePage(TSkinTabSheet* sheet, int& newIndex);

  int FindNextVisiblePage(int index) const;
  int FindPrevVisiblePage(int index) const;
  TSkinTabSheet* FindNextPage(TSkinTabSheet* sheet, bool goForward) const;
  void SelectNextPage(bool goForward);
  // The nearest page with a visible tab before index, else after it; nothing when none.
  void ActivateNextVisiblePage(int index);

  void UpdatePageIndex();
  void UpdateCaptions();
  void UpdateTabVisible();

  void TabActive(int index) override;
  void UpdateUIStyle(TSkinUIStyle style) override;

 protected:
  void BorderColorChanged() override;
  void ColorChanged() override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::vector<bool> VisibleTabs() const;
  void ShowPage(TSkinTabSheet* sheet);

  std::vector<TSkinTabSheet*> pages_;
  TSkinTabSheet* activePage_ = nullptr;
};

// What a form designer's page commands do, on the component it has selected.
TSkinTabSheet* PageControl_InsertPage(TSkinPageControl* pageControl);
void PageControl_RemovePage(TSkinPageControl* pageControl);  // frees the active page
bool PageControl_CanRemove(const TSkinPageControl* pageControl);
TSkinTabSheet* TabSheet_InsertPage(TSkinTabSheet* sheet);
void TabSheet_RemovePage(TSkinTabSheet* sheet);  // frees the sheet
bool TabSheet_CanRemove(const TSkinTabSheet* sheet);

}  // namespace kavri
