// The record navigator and the data-aware edit and memo on the people table.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include "skin/db_edit.h"
#include "skin/db_memo.h"
#include "skin/db_navigator.h"
#include "tests/support/people_data.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/test_support.h"

using namespace kavri;

namespace {

using B = TNavigateBtn;

TNavButtonSet EnabledButtons(const TSkinDBNavigator& nav) {
  TNavButtonSet set = 0;
  for (int i = 0; i < kNavButtonCount; ++i)
    if (nav.Button(static_cast<B>(i))->isEnabled()) set |= NavBit(static_cast<B>(i));
  return set;
}

TNavButtonSet Bits(std::initializer_list<B> buttons) {
  TNavButtonSet set = 0;
  for (B b : buttons) set |= NavBit(b);
  return set;
}

// A window holding a navigator, an edit of "id", a memo of "note" and a plain field to leave to.
struct Form {
  explicit Form(const QStringList& names) : set(kavri_test::OpenPeopleInMemory(names)) {
    source->SetDataSet(set.get());
    auto* layout = new QVBoxLayout(&window);
    nav = new TSkinDBNavigator(&window);
    edit = new TSkinDBEdit(&window);
    memo = new TSkinDBMemo(&window);
    other = new QLineEdit(&window);
    for (QWidget* w : {static_cast<QWidget*>(nav), static_cast<QWidget*>(edit), static_cast<QWidget*>(memo), static_cast<QWidget*>(other)})
      layout->addWidget(w);
    nav->SetDataSource(source.get());
    edit->SetDataField("id");
    edit->SetDataSource(source.get());
    memo->SetDataField("note");
    memo->SetDataSource(source.get());
  }
  void Show() {
    window.show();
    QApplication::setActiveWindow(&window);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  void Focus(QWidget* w) {
    w->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
  }
  QString Id() const { return set->FieldByName("id")->AsString(); }

  std::unique_ptr<TMemoryDataSet> set;
  std::unique_ptr<TDataSource> source = std::make_unique<TDataSource>();
  QWidget window;
  TSkinDBNavigator* nav;
  TSkinDBEdit* edit;
  TSkinDBMemo* memo;
  QLineEdit* other;
};

TEST(DBNavigator, EnablesItsButtonsFromThePlaceAndStateOfTheSet) {
  const TNavButtonSet moves = Bits({B::nbFirst, B::nbPrior, B::nbNext, B::nbLast});
  const TNavButtonSet browsing = Bits({B::nbInsert, B::nbDelete, B::nbEdit, B::nbRefresh});
  const struct {
    const char* where;
    QStringList names;
    std::function<void(TDataSet&)> go;
    TNavButtonSet enabled;
  } cases[] = {
      {"first", {"a", "b", "c"}, [](TDataSet& s) { s.First(); }, browsing | Bits({B::nbNext, B::nbLast})},
      {"middle", {"a", "b", "c"}, [](TDataSet& s) { s.Next(); s.Next(); s.Prior(); }, browsing | moves},
      {"last", {"a", "b", "c"}, [](TDataSet& s) { s.Last(); }, browsing | Bits({B::nbFirst, B::nbPrior})},
      {"prior onto the first", {"a", "b"}, [](TDataSet& s) { s.Last(); s.Prior(); }, browsing | moves},
      {"empty", {}, [](TDataSet&) {}, Bits({B::nbInsert, B::nbEdit, B::nbRefresh})},
      {"editing", {"a", "b"}, [](TDataSet& s) { s.Next(); s.Edit(); },
       moves | Bits({B::nbInsert, B::nbDelete, B::nbPost, B::nbCancel, B::nbRefresh})},
      {"appending", {"a", "b"}, [](TDataSet& s) { s.Append(); },
       Bits({B::nbFirst, B::nbPrior, B::nbInsert, B::nbDelete, B::nbPost, B::nbCancel, B::nbRefresh})},
      {"closed", {"a"}, [](TDataSet& s) { s.Close(); }, 0},
  };
  for (const auto& c : cases) {
    Form form(c.names);
    c.go(*form.set);
    EXPECT_EQ(EnabledButtons(*form.nav), c.enabled) << c.where;
  }
  Form readOnly({"a", "b"});
  readOnly.set->Close();
  readOnly.set->SetReadOnly(true);
  readOnly.set->Open();
  EXPECT_EQ(EnabledButtons(*readOnly.nav), Bits({B::nbNext, B::nbLast}));
  readOnly.nav->setEnabled(false);
  EXPECT_EQ(EnabledButtons(*readOnly.nav), 0);
}

TEST(DBNavigator, DeleteAsksFirstAndClickEventsFireWhateverTheAnswer) {
  Form form({"a", "b"});
  kavri_test::RecordingDialogs dialogs;
  std::vector<B> clicked, before;
  form.nav->OnClick = [&](TSkinDBNavigator*, B b) { clicked.push_back(b); };
  form.nav->BeforeAction = [&](TSkinDBNavigator*, B b) { before.push_back(b); };
  dialogs.confirmAnswers = {TDialogAnswer::Cancel, TDialogAnswer::Ok};
  form.nav->Button(B::nbDelete)->Click();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].what, "confirm");
  EXPECT_EQ(dialogs.shown[0].text, "Delete record?");
  EXPECT_EQ(form.set->RecordCount(), 2);
  form.nav->Button(B::nbDelete)->Click();
  EXPECT_EQ(form.set->RecordCount(), 1);
  form.nav->SetConfirmDelete(false);
  form.nav->Button(B::nbDelete)->Click();
  EXPECT_EQ(form.set->RecordCount(), 0);
  EXPECT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(clicked, std::vector<B>(3, B::nbDelete));
  EXPECT_EQ(before, clicked);
}

TEST(DBNavigator, ButtonsActOnTheSet) {
  Form form({"a", "b", "c"});
  kavri_test::RecordingDialogs dialogs;
  form.nav->Button(B::nbLast)->Click();
  EXPECT_EQ(form.Id(), "3");
  form.nav->Button(B::nbPrior)->Click();
  form.nav->Button(B::nbEdit)->Click();
  form.set->FieldByName("name")->SetAsString("x");
  form.nav->Button(B::nbCancel)->Click();
  EXPECT_EQ(form.set->FieldByName("name")->AsString(), "b");
  form.nav->Button(B::nbInsert)->Click();
  EXPECT_EQ(form.set->State(), TDataSetState::dsInsert);
  form.nav->Button(B::nbCancel)->Click();
  form.nav->Button(B::nbEdit)->Click();
  form.set->FieldByName("id")->SetAsString("7");
  form.nav->Button(B::nbPost)->Click();
  EXPECT_EQ(form.Id(), "7");
  EXPECT_TRUE(dialogs.messages.empty());
  form.set->Close();
  form.nav->BtnClick(B::nbFirst);  // a closed set: nothing happens, nothing is shown
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST(DBNavigator, ARefusedPostIsShownAndTheInsertStays) {
  kavri_test::ScratchDir dir;
  auto set = kavri_test::OpenPeopleInSqlite(QString::fromStdString(dir.Path("people.db")), {"a", "b"});
  TDataSource source;
  source.SetDataSet(set.get());
  TSkinDBNavigator nav;
  nav.SetDataSource(&source);
  kavri_test::RecordingDialogs dialogs;
  nav.Button(B::nbInsert)->Click();
  set->FieldByName("id")->SetAsString("3");
  set->FieldByName("name")->SetAsString("a");
  nav.Button(B::nbPost)->Click();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0], "UNIQUE constraint failed: people.name");
  EXPECT_EQ(set->State(), TDataSetState::dsInsert);
  EXPECT_TRUE(nav.Button(B::nbPost)->isEnabled());
}

TEST(DBNavigator, PriorAndNextRepeatWhileHeld) {
  Form form({"a", "b", "c", "d", "e"});
  TSkinNavButton* next = form.nav->Button(B::nbNext);
  QTest::mousePress(next, Qt::LeftButton, {}, QPoint(5, 5));
  ASSERT_NE(next->RepeatTimer(), nullptr);
  EXPECT_TRUE(next->RepeatTimer()->isActive());
  EXPECT_EQ(next->RepeatTimer()->interval(), 400);
  next->TimerExpired();
  EXPECT_EQ(next->RepeatTimer()->interval(), 100);
  next->TimerExpired();
  EXPECT_EQ(form.Id(), "3");
  QTest::mouseRelease(next, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_FALSE(next->RepeatTimer()->isActive());
  EXPECT_EQ(form.Id(), "4");  // the release is a click of its own
  QTest::mousePress(form.nav->Button(B::nbLast), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(form.nav->Button(B::nbLast)->RepeatTimer(), nullptr);
  EXPECT_EQ(form.nav->FocusedButton(), B::nbLast);
}

TEST(DBNavigator, LaysOutWholeButtonsAndSpreadsTheRestWhenAligned) {
  TSkinDBNavigator nav;
  nav.show();
  nav.resize(253, 30);
  EXPECT_EQ(nav.width(), 250);
  EXPECT_EQ(nav.Button(B::nbRefresh)->geometry(), QRect(225, 0, 25, 30));
  nav.SetAligned(true);
  nav.resize(253, 30);
  std::vector<int> widths;
  for (int i = 0; i < kNavButtonCount; ++i) widths.push_back(nav.Button(static_cast<B>(i))->width());
  EXPECT_EQ(widths, std::vector<int>({25, 26, 25, 25, 25, 26, 25, 25, 26, 25}));
  nav.SetAligned(false);
  nav.SetVisibleButtons(Bits({B::nbPrior, B::nbNext}));
  nav.resize(101, 10);
  EXPECT_EQ(nav.size(), QSize(100, 18));
  EXPECT_EQ(nav.Button(B::nbNext)->geometry(), QRect(50, 0, 50, 18));
  EXPECT_GT(nav.Button(B::nbFirst)->x(), nav.width());
  nav.SetVisibleButtons(0);
  nav.resize(5, 30);
  EXPECT_EQ(nav.width(), 20);
}

TEST(DBNavigator, HintsAndTheKeyboardFocusMark) {
  TSkinDBNavigator nav;
  EXPECT_EQ(nav.Button(B::nbRefresh)->toolTip(), "Refresh data");
  QStringList hints = {"Go to start", ""};
  for (int i = 0; i < 10; ++i) hints << "extra";
  nav.SetHints(hints);
  EXPECT_EQ(nav.Button(B::nbFirst)->toolTip(), "Go to start");
  EXPECT_EQ(nav.Button(B::nbPrior)->toolTip(), "Prior record");
  EXPECT_EQ(nav.Button(B::nbRefresh)->toolTip(), "extra");

  Form form({"a", "b", "c"});
  form.nav->SetVisibleButtons(kAllNavButtons & ~NavBit(B::nbPrior));
  QTest::keyClick(form.nav, Qt::Key_Right);
  EXPECT_EQ(form.nav->FocusedButton(), B::nbNext);  // past the hidden one
  QTest::keyClick(form.nav, Qt::Key_Space);
  EXPECT_EQ(form.Id(), "2");
  QTest::keyClick(form.nav, Qt::Key_Left);
  QTest::keyClick(form.nav, Qt::Key_Left);
  EXPECT_EQ(form.nav->FocusedButton(), B::nbFirst);
}

TEST(DBEdit, WritesThroughOnLeavingAndRefusesABadValueKeepingTheFocus) {
  Form form({"a", "b"});
  kavri_test::RecordingDialogs dialogs;
  form.Show();
  EXPECT_TRUE(form.edit->isReadOnly());
  EXPECT_EQ(form.edit->text(), "1");
  EXPECT_EQ(form.edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);  // a number, unfocused
  form.Focus(form.edit);
  EXPECT_EQ(form.edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
  form.edit->selectAll();
  QTest::keyClicks(form.edit, "4x2");  // the letter beeps and is dropped
  EXPECT_EQ(form.set->State(), TDataSetState::dsEdit);
  EXPECT_EQ(form.edit->text(), "42");
  EXPECT_EQ(form.Id(), "1");  // still only in the control
  form.Focus(form.other);
  EXPECT_EQ(form.Id(), "42");
  EXPECT_TRUE(form.other->hasFocus());

  form.Focus(form.edit);
  form.edit->end(false);
  QTest::keyClicks(form.edit, "-");
  form.Focus(form.other);
  EXPECT_TRUE(form.edit->hasFocus());
  EXPECT_EQ(form.edit->selectedText(), "42-");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0], "'42-' is not a valid integer value");
  EXPECT_EQ(form.set->State(), TDataSetState::dsEdit);
  // Esc gives the field's value back, and then the focus can go.
  QTest::keyClick(form.edit, Qt::Key_Escape);
  EXPECT_EQ(form.edit->text(), "42");
  form.Focus(form.other);
  EXPECT_TRUE(form.other->hasFocus());
  form.nav->Button(B::nbPost)->Click();
  EXPECT_EQ(form.set->Lookup("name", {"a"}, "id").toInt(), 42);
}

TEST(DBEdit, NoTypingWithoutAModifiableField) {
  Form form({"a"});
  form.Show();
  form.edit->SetReadOnly(true);
  form.Focus(form.edit);
  QTest::keyClicks(form.edit, "9");
  QTest::keyClick(form.edit, Qt::Key_Delete);
  EXPECT_EQ(form.set->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(form.edit->text(), "1");
  form.edit->SetReadOnly(false);
  QApplication::clipboard()->setText("77");
  form.edit->selectAll();
  form.edit->PasteFromClipboard();  // asks to edit first, so the paste lands
  EXPECT_EQ(form.set->State(), TDataSetState::dsEdit);
  EXPECT_EQ(form.edit->text(), "77");
  form.set->Cancel();
  form.edit->SetDataSource(nullptr);
  EXPECT_EQ(form.edit->text(), "");
  QTest::keyClicks(form.edit, "9");
  EXPECT_EQ(form.edit->text(), "");
}

TEST(DBEdit, TakesItsLengthLimitFromTheStringFieldAndCasesAndHidesWhatIsTyped) {
  Form form({"a"});
  form.Show();
  form.edit->SetDataField("name");
  EXPECT_EQ(form.edit->MaxLength(), 20);
  EXPECT_EQ(form.edit->maxLength(), 20);
  EXPECT_EQ(form.edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
  form.edit->SetCharCase(TEditCharCase::ecUpperCase);
  form.edit->SetPasswordChar('#');
  form.Focus(form.edit);
  form.edit->end(false);
  QTest::keyClicks(form.edit, "bc");
  EXPECT_EQ(form.edit->text(), "ABC");
  EXPECT_EQ(form.edit->displayText(), "###");
  form.Focus(form.other);
  EXPECT_EQ(form.set->FieldByName("name")->AsString(), "ABC");
  form.edit->SetDataField("id");
  EXPECT_EQ(form.edit->MaxLength(), 0);
}

TEST(DBMemo, LoadsAMemoFieldAtOnceOrOnRequest) {
  Form form({"a", "b"});
  form.Show();
  EXPECT_EQ(form.memo->toPlainText(), "note 1");
  form.set->Next();
  EXPECT_EQ(form.memo->toPlainText(), "note 2");
  form.Focus(form.memo);
  QTest::keyClick(form.memo, Qt::Key_Tab);  // leaves, starting no edit
  EXPECT_FALSE(form.memo->hasFocus());
  EXPECT_EQ(form.set->State(), TDataSetState::dsBrowse);
  form.memo->SetAutoDisplay(false);
  form.set->First();
  EXPECT_EQ(form.memo->toPlainText(), "(note)");
  EXPECT_FALSE(form.memo->MemoLoaded());
  form.Focus(form.memo);
  QTest::keyClicks(form.memo, "zz");  // dropped until loaded
  EXPECT_EQ(form.set->State(), TDataSetState::dsBrowse);
  QTest::keyClick(form.memo, Qt::Key_Return);
  EXPECT_EQ(form.memo->toPlainText(), "note 1");
  form.memo->moveCursor(QTextCursor::End);
  QTest::keyClicks(form.memo, "!");
  EXPECT_EQ(form.set->State(), TDataSetState::dsEdit);
  EXPECT_FALSE(form.memo->isReadOnly());
  form.Focus(form.other);
  form.set->Post();
  EXPECT_EQ(form.set->FieldByName("note")->AsString(), "note 1!");
  form.set->FieldByName("note")->FocusControl();  // a field hands the focus to its control
  EXPECT_TRUE(form.memo->hasFocus());
}

TEST(DBControls, OutliveTheirDataSourceWithoutTouchingIt) {
  Form form({"a", "b"});
  form.Show();
  form.Focus(form.edit);
  QTest::keyClicks(form.edit, "5");
  form.source.reset();
  EXPECT_EQ(form.edit->DataSource(), nullptr);
  EXPECT_EQ(form.memo->DataSource(), nullptr);
  EXPECT_EQ(form.nav->DataSource(), nullptr);
  EXPECT_EQ(form.edit->text(), "");
  EXPECT_TRUE(form.edit->isReadOnly());
  EXPECT_EQ(EnabledButtons(*form.nav), 0);
  QTest::keyClicks(form.edit, "7");
  form.Focus(form.other);
  form.nav->Button(B::nbNext)->Click();
  EXPECT_EQ(form.set->State(), TDataSetState::dsEdit);  // the set itself was left alone
}

TEST(DBControls, OfferNoEditingOnAReadOnlyDatabaseFile) {
  kavri_test::ScratchDir dir;
  const QString file = QString::fromStdString(dir.Path("people.db"));
  kavri_test::WritePeopleTable(file, {"a", "b"});
  QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
  Form form({});
  TSQLiteDataSet set;
  set.SetDatabaseName(file);
  set.SetTableName("people");
  set.Open();
  form.source->SetDataSet(&set);
  form.Show();
  EXPECT_EQ(EnabledButtons(*form.nav), Bits({B::nbNext, B::nbLast}));
  form.Focus(form.edit);
  QTest::keyClicks(form.edit, "9");
  EXPECT_TRUE(form.edit->isReadOnly());
  EXPECT_EQ(form.edit->text(), "1");
  EXPECT_EQ(set.State(), TDataSetState::dsBrowse);
  form.source->SetDataSet(nullptr);
}

}  // namespace
