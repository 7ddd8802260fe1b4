#include <gtest/gtest.h>

#include "skin/page_control.h"
#include "skin/page_walk.h"
#include "skin/skin_tab.h"
#include "skin/tab_strip_layout.h"
#include "tests/skin/skin_mouse.h"

using namespace kavri;

namespace {

QStringList Captions(const TSkinPageControl& pc) { return pc.TopPanel()->Tabs(); }

// A page control with `n` pages that records what shows and what the strip reports.
struct TPages {
  QWidget form;
  TSkinPageControl* pc = new TSkinPageControl(&form);
  std::vector<TSkinTabSheet*> sheets;
  std::vector<QString> shown;
  std::vector<int> tabActive;

  explicit TPages(int n) {
    pc->resize(300, 200);
    for (int i = 0; i < n; ++i) {
      TSkinTabSheet* s = pc->NewPage();
      s->OnShow = [this](TSkinTabSheet* sheet) { shown.push_back(sheet->Caption()); };
      sheets.push_back(s);
    }
    pc->OnTabActive = [this](TSkinTab*, int i) { tabActive.push_back(i); };
    shown.clear();
  }
};

}  // namespace

TEST(PageWalk, NextPreviousAndNearestVisiblePage) {
  const std::vector<bool> v = {true, false, true, false, false};
  struct Case {
    int from, next, prev, nearest;
  } cases[] = {
      {0, 2, 2, 2},    // the previous one wraps round from the end
      {2, 0, 0, 0},
      {3, 0, 2, 2},    // next wraps to the start
      {4, 0, 2, 2},
      {1, 2, 0, 0},
      {-1, 0, 2, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindNextVisiblePage(v, c.from), c.next) << c.from;
    EXPECT_EQ(FindPrevVisiblePage(v, c.from), c.prev) << c.from;
    EXPECT_EQ(NearestVisiblePage(v, c.from), c.nearest) << c.from;
  }
  EXPECT_EQ(FindNextVisiblePage({false, true}, 1), -1);
  EXPECT_EQ(FindPrevVisiblePage({true}, 0), -1);
  EXPECT_EQ(NearestVisiblePage({false, false}, 0), -1);
}

TEST(TabStrip, WidthsFromCaptionsAndBoundedHitTest) {
  auto sevenEach = [](const QString& t) { return static_cast<int>(t.size()) * 7; };
  EXPECT_EQ(TabStripWidths({"", "i", "Page"}, {}, [](const QString&) { return -10; }),
            (std::vector<int>{80, 15, 15}));
  EXPECT_EQ(TabStripWidths({"Page", "Two"}, {false, true}, sevenEach), (std::vector<int>{0, 41}));
  const std::vector<int> widths = {48, 0, 41};
  EXPECT_EQ(TabStripHit(widths, 10, 20, QPoint(11, 5)), 0);
  EXPECT_EQ(TabStripHit(widths, 10, 20, QPoint(58, 5)), -1);  // on the edge between two tabs
  EXPECT_EQ(TabStripHit(widths, 10, 20, QPoint(60, 5)), 2);
  EXPECT_EQ(TabStripHit(widths, 10, 20, QPoint(60, 20)), -1);
  EXPECT_EQ(TabStripHit(widths, 10, 20, QPoint(100, 5)), -1);  // past the last tab
}

TEST(PageControl, InsertRemoveAndMovePages) {
  TPages p(3);
  TSkinPageControl* pc = p.pc;
  EXPECT_EQ(pc->PageCount(), 3);
  EXPECT_EQ(Captions(*pc), (QStringList{"skinTabSheet1", "skinTabSheet2", "skinTabSheet3"}));
  EXPECT_EQ(pc->ActivePage(), p.sheets[2]);  // a new page is shown at once
  EXPECT_TRUE(p.sheets[2]->isVisibleTo(pc));
  EXPECT_FALSE(p.sheets[0]->isVisibleTo(pc));
  EXPECT_EQ(p.sheets[1]->geometry(), QRect(0, pc->TopPanel()->height(), 300, 200 - pc->TopPanel()->height()));

  int to = 0;
  pc->MovePage(p.sheets[2], to);
  EXPECT_EQ(Captions(*pc), (QStringList{"skinTabSheet3", "skinTabSheet1", "skinTabSheet2"}));
  EXPECT_EQ(p.sheets[2]->PageIndex(), 0);
  EXPECT_EQ(p.sheets[1]->PageIndex(), 2);
  to = 7;
  pc->MovePage(p.sheets[1], to);
  EXPECT_EQ(to, 2);
  p.sheets[0]->SetPageIndex(2);
  EXPECT_EQ(Captions(*pc), (QStringList{"skinTabSheet3", "skinTabSheet2", "skinTabSheet1"}));
  EXPECT_EQ(pc->ActivePage(), p.sheets[0]);

  pc->SetActivePage(p.sheets[1]);
  delete p.sheets[1];  // the middle page, shown: the one before it comes up
  EXPECT_EQ(pc->PageCount(), 2);
  EXPECT_EQ(Captions(*pc), (QStringList{"skinTabSheet3", "skinTabSheet1"}));
  EXPECT_EQ(p.sheets[0]->PageIndex(), 1);
  EXPECT_EQ(pc->ActivePage(), p.sheets[2]);

  ASSERT_TRUE(PageControl_CanRemove(pc));
  TabSheet_RemovePage(p.sheets[2]);  // the first page: none is active afterwards
  EXPECT_EQ(pc->PageCount(), 1);
  EXPECT_EQ(pc->ActivePage(), nullptr);
  EXPECT_EQ(pc->ActivePageIndex(), 0);
  EXPECT_EQ(TabSheet_InsertPage(p.sheets[0])->Caption(), "skinTabSheet2");
  EXPECT_EQ(pc->PageCount(), 2);
}

TEST(PageControl, ChoosingATabShowsItsPageAndSelectNextSkipsHiddenTabs) {
  TPages p(4);
  TSkinPageControl* pc = p.pc;
  pc->SetTabIndex(1);
  EXPECT_EQ(pc->ActivePage(), p.sheets[1]);
  EXPECT_EQ(p.shown, std::vector<QString>{"skinTabSheet2"});
  EXPECT_EQ(p.tabActive, std::vector<int>{1});
  p.sheets[2]->SetTabVisible(false);
  pc->SelectNextPage(true);
  EXPECT_EQ(pc->ActivePage(), p.sheets[3]);
  pc->SelectNextPage(true);
  EXPECT_EQ(pc->ActivePage(), p.sheets[0]);
  pc->SelectNextPage(false);
  EXPECT_EQ(pc->ActivePage(), p.sheets[3]);
  EXPECT_EQ(pc->FindNextPage(p.sheets[1], true), p.sheets[3]);
}

TEST(PageControl, TabIndexMinusOneActivatesNoPageButStillReports) {
  TPages p(2);
  p.pc->SetTabIndex(-1);
  EXPECT_EQ(p.pc->ActivePage(), nullptr);
  EXPECT_TRUE(p.shown.empty());
  EXPECT_EQ(p.tabActive, std::vector<int>{-1});
  EXPECT_EQ(p.pc->TopPanel()->TabIndex(), -1);
}

TEST(PageControl, HidingATabSwitchesPagesOnlyWhenItIsTheActiveOne) {
  TPages p(3);
  TSkinPageControl* pc = p.pc;
  pc->SetActivePageIndex(2);
  p.sheets[0]->SetTabVisible(false);
  EXPECT_EQ(pc->ActivePage(), p.sheets[2]);
  p.sheets[2]->SetTabVisible(false);  // the nearest visible page before it
  EXPECT_EQ(pc->ActivePage(), p.sheets[1]);
  p.sheets[1]->SetTabVisible(false);  // none left: it stays
  EXPECT_EQ(pc->ActivePage(), p.sheets[1]);
  p.sheets[0]->SetTabVisible(true);  // showing a tab brings its page up
  EXPECT_EQ(pc->ActivePage(), p.sheets[0]);
}

TEST(TabStrip, AClickWhereARemovedTabWasChoosesNothing) {
  QWidget form;
  TSkinTabControl tabs(&form);
  tabs.resize(400, 80);
  tabs.SetTabs({"First", "Second", "Third"});
  std::vector<int> reported;
  tabs.OnTabActive = [&](TSkinTab*, int i) { reported.push_back(i); };
  TSkinTabControlTopPanel* strip = tabs.TopPanel();
  strip->Render();
  ASSERT_EQ(strip->TabWidths().size(), 3u);
  const int w = strip->TabWidths()[0], third = strip->LeftMargin() + w + strip->TabWidths()[1] + 5;

  tabs.SetTabs({"First"});
  strip->Render();
  EXPECT_EQ(strip->TabWidths().size(), 1u);
  EXPECT_EQ(strip->TabAt(QPoint(third, 5)), -1);
  kavri_test::Press(strip, QPoint(third, 5));
  EXPECT_TRUE(reported.empty());
  EXPECT_EQ(tabs.TabIndex(), 0);
  kavri_test::Press(strip, QPoint(strip->LeftMargin() + w / 2, 5));
  EXPECT_EQ(reported, std::vector<int>{0});
}

TEST(PageControl, RemovingAPageKeepsTheStripOnThePageShown) {
  TPages p(3);
  TSkinPageControl* pc = p.pc;
  pc->SetActivePageIndex(1);
  p.shown.clear();
  p.tabActive.clear();

  TabSheet_RemovePage(p.sheets[0]);  // a page before the one shown: the same page stays up
  EXPECT_EQ(pc->ActivePage(), p.sheets[1]);
  EXPECT_EQ(pc->TopPanel()->TabIndex(), 0);
  EXPECT_TRUE(p.sheets[1]->isVisibleTo(pc));
  EXPECT_EQ(p.tabActive, std::vector<int>{0});

  TabSheet_RemovePage(p.sheets[2]);  // a page after it: nothing changes
  EXPECT_EQ(pc->ActivePage(), p.sheets[1]);
  EXPECT_EQ(pc->TopPanel()->TabIndex(), 0);
  EXPECT_EQ(p.tabActive, std::vector<int>{0});

  TSkinTabSheet* added = pc->NewPage();
  pc->SetActivePage(p.sheets[1]);
  p.tabActive.clear();
  p.shown.clear();
  TabSheet_RemovePage(p.sheets[1]);  // the first page, shown: no page and no tab is active
  EXPECT_EQ(pc->ActivePage(), nullptr);
  EXPECT_EQ(pc->TopPanel()->TabIndex(), -1);
  EXPECT_FALSE(added->isVisibleTo(pc));
  EXPECT_TRUE(p.shown.empty());
  EXPECT_TRUE(p.tabActive.empty());
}

TEST(PageControl, ASheetMadeOnThePageControlIsOneOfItsPages) {
  TPages p(1);
  auto* sheet = new TSkinTabSheet(p.pc);
  EXPECT_EQ(sheet->PageControl(), p.pc);
  EXPECT_EQ(p.pc->PageCount(), 2);
  EXPECT_EQ(sheet->PageIndex(), 1);
  EXPECT_EQ(Captions(*p.pc), (QStringList{"skinTabSheet1", ""}));
  EXPECT_EQ(p.pc->ActivePage(), sheet);
  EXPECT_EQ(sheet->geometry(), p.sheets[0]->geometry());
  EXPECT_EQ(p.pc->NewPage()->Caption(), "skinTabSheet3");
  EXPECT_EQ(Captions(*p.pc), (QStringList{"skinTabSheet1", "", "skinTabSheet3"}));
}

TEST(TabStrip, FewerTabsDropAnIndexThatIsGone) {
  QWidget form;
  TSkinTabControl tabs(&form);
  tabs.SetTabs({"First", "Second", "Third"});
  tabs.SetTabIndex(2);
  tabs.SetTabs({"First", "Second", "Third", "Fourth"});
  EXPECT_EQ(tabs.TabIndex(), 2);
  tabs.SetTabs({"First"});
  EXPECT_EQ(tabs.TabIndex(), -1);
  tabs.SetTabIndex(0);
  tabs.SetTabs({});
  EXPECT_EQ(tabs.TabIndex(), -1);
}

TEST(PageControl, ASheetOfAnotherPageControlIsNotMadeActive) {
  TPages ours(1), theirs(3);
  ours.pc->SetActivePage(theirs.sheets[2]);
  EXPECT_EQ(ours.pc->ActivePage(), ours.sheets[0]);
  delete theirs.sheets[2];
  EXPECT_EQ(ours.pc->ActivePage(), ours.sheets[0]);
  EXPECT_EQ(ours.pc->TopPanel()->TabIndex(), 0);

  ours.pc->SetActivePage(nullptr);  // no page: no tab marked either
  EXPECT_EQ(ours.pc->ActivePage(), nullptr);
  EXPECT_EQ(ours.pc->TopPanel()->TabIndex(), -1);
}

TEST(PageControl, ASheetTakenOutIsNoLongerShownOverThePages) {
  TPages p(2);
  p.pc->SetActivePageIndex(0);
  p.sheets[0]->SetPageControl(nullptr);
  EXPECT_EQ(p.pc->PageCount(), 1);
  EXPECT_EQ(p.sheets[0]->PageControl(), nullptr);
  EXPECT_FALSE(p.sheets[0]->isVisibleTo(p.pc));
  delete p.sheets[0];
}
