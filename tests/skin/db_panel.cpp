// Data-aware controls in the screenshot panel: a navigator, an edit and a memo on a SQLite table.
#include "skin/db_edit.h"
#include "skin/db_memo.h"
#include "skin/db_navigator.h"
#include "tests/skin/screenshot_panel.h"
#include "tests/support/people_data.h"
#include "tests/support/test_support.h"

using namespace kavri;

namespace {

QString PeopleFile() {
  static kavri_test::ScratchDir dir;
  static const QString file = [] {
    const QString f = QString::fromStdString(dir.Path("people.db"));
    kavri_test::WritePeopleTable(f, {"Ann Laser", "Bob Beam", "Cid Scan"});
    return f;
  }();
  return file;
}

int FillDataControls(QWidget* area, TSkinUIStyle style) {
  auto* set = new TSQLiteDataSet;
  set->setParent(area);
  set->SetDatabaseName(PeopleFile());
  set->SetTableName("people");
  set->Open();
  set->Next();  // a middle record: every move button is live
  auto* source = new TDataSource(area);
  source->SetDataSet(set);

  auto* nav = new TSkinDBNavigator(area);
  nav->SetUIStyle(style);
  nav->setGeometry(0, 0, 250, 25);
  nav->SetDataSource(source);
  auto* edit = new TSkinDBEdit(area);
  edit->setGeometry(0, 31, 140, 22);
  edit->SetDataField("name");
  edit->SetDataSource(source);
  auto* id = new TSkinDBEdit(area);
  id->setGeometry(150, 31, 100, 22);
  id->SetDataField("id");  // a number sits on the right
  id->SetDataSource(source);
  auto* memo = new TSkinDBMemo(area);
  memo->setGeometry(0, 59, 250, 44);
  memo->SetDataField("note");
  memo->SetDataSource(source);
  for (TSkinStyleHooks* w : std::initializer_list<TSkinStyleHooks*>{edit, id, memo}) w->ApplyContainerStyle(style);
  // The second navigator shows a set in edit state: post and cancel live, edit off.
  auto* editing = new TSkinDBNavigator(area);
  editing->SetUIStyle(style);
  editing->setGeometry(0, 109, 250, 25);
  auto* second = new TSQLiteDataSet;
  second->setParent(area);
  second->SetDatabaseName(PeopleFile());
  second->SetTableName("people");
  second->Open();
  auto* secondSource = new TDataSource(area);
  secondSource->SetDataSet(second);
  editing->SetDataSource(secondSource);
  second->Edit();
  return 140;
}

const bool kAdded = kavri_test::AddPanelSection(70, "Data-aware (SQLite): navigator, edits, memo",
                                                FillDataControls);

}  // namespace
