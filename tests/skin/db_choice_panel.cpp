// Data-aware controls in the screenshot panel, second part: list and combo boxes, check boxes, a
// radio group, lookup controls (one bound to a lookup field), an image and a grid, all on a
// SQLite file.
#include <QBuffer>
#include <QImage>
#include <QPainter>

#include "skin/db_check_box.h"
#include "skin/db_combo_box.h"
#include "skin/db_grid.h"
#include "skin/db_image.h"
#include "skin/db_list_box.h"
#include "skin/db_lookup_combo_box.h"
#include "skin/db_lookup_list_box.h"
#include "skin/db_radio_group.h"
#include "tests/skin/screenshot_panel.h"
#include "tests/support/people_data.h"
#include "tests/support/test_support.h"

using namespace kavri;

namespace {

QString Photo() {
  QImage image(48, 48, QImage::Format_RGB32);
  image.fill(QColor(20, 30, 60));
  QPainter p(&image);
  p.setPen(QPen(QColor(0, 220, 80), 3));
  p.drawEllipse(8, 8, 32, 32);
  p.setPen(QPen(QColor(240, 40, 40), 2));
  p.drawLine(4, 44, 44, 4);
  p.end();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "BMP");
  return QString::fromLatin1(bytes.toHex());
}

// "gear" (id, name, colour, active, spare, kind, photo) and the "kinds" its kind is looked up in.
QString GearFile() {
  static kavri_test::ScratchDir dir;
  static const QString file = [] {
    const QString f = QString::fromStdString(dir.Path("gear.db"));
    kavri_test::RunSqlite(f, QStringLiteral(
        "CREATE TABLE gear (id INTEGER, name VARCHAR(12), colour VARCHAR(8), active VARCHAR(5), spare VARCHAR(5),"
        " kind INTEGER, photo BLOB);\n"
        "INSERT INTO gear VALUES (1, 'Scanner', 'G', 'True', 'false', 2, X'%1');\n"
        "INSERT INTO gear VALUES (2, 'Diode', 'R', 'False', 'true', 1, NULL);\n"
        "INSERT INTO gear VALUES (3, 'Mirror', 'B', 'True', 'true', 3, NULL);\n"
        "CREATE TABLE kinds (id INTEGER, name VARCHAR(12));\n"
        "INSERT INTO kinds VALUES (1, 'Source'), (2, 'Deflector'), (3, 'Optics'), (4, 'Housing');\n")
                                    .arg(Photo()));
    return f;
  }();
  return file;
}

// `lookup` names a set that gives the table the lookup field "kind name": its kind's name.
TDataSource* OpenTable(QWidget* area, const QString& table, TDataSet* lookup = nullptr) {
  auto* set = new TSQLiteDataSet;
  set->setParent(area);
  set->SetDatabaseName(GearFile());
  set->SetTableName(table);
  if (lookup) set->AddLookupField("kind name", TFieldType::ftString, 12, {"kind", lookup, "id", "name"});
  set->Open();
  auto* source = new TDataSource(area);
  source->SetDataSet(set);
  return source;
}

int FillChoiceControls(QWidget* area, TSkinUIStyle style) {
  TDataSource* kinds = OpenTable(area, "kinds");
  TDataSource* gear = OpenTable(area, "gear", kinds->DataSet());
  // A second cursor on the table, on the diode, for the combo bound to the lookup field.
  TDataSource* diode = OpenTable(area, "gear", kinds->DataSet());
  diode->DataSet()->Next();
  const TColor border = GetThemeColor(style, 8);

  auto* list = new TSkinDBListBox(area);
  list->setGeometry(0, 0, 96, 62);
  list->SetItems({"Scanner", "Diode", "Mirror", "Lens"});
  list->SetDataField("name");
  list->SetDataSource(gear);
  auto* combo = new TSkinDBComboBox(area);
  combo->setGeometry(104, 0, 100, 22);
  combo->SetItems({"Scanner", "Diode", "Mirror"});
  combo->SetDataField("name");
  combo->SetDataSource(gear);
  auto* pick = new TSkinDBComboBox(area);
  pick->SetStyle(TComboBoxStyle::csDropDownList);
  pick->setGeometry(104, 28, 100, 22);
  pick->SetItems({"G", "R", "B"});
  pick->SetDataField("colour");
  pick->SetDataSource(gear);
  auto* active = new TSkinDBCheckBox(area);
  active->SetCaption("Active");
  active->move(214, 2);
  active->SetDataField("active");
  active->SetDataSource(gear);
  auto* spare = new TSkinDBCheckBox(area);
  spare->SetCaption("Spare");
  spare->move(214, 30);
  spare->SetDataField("spare");
  spare->SetDataSource(gear);
  for (TSkinStyleHooks* w : std::initializer_list<TSkinStyleHooks*>{list, combo, pick, active, spare})
    w->ApplyContainerStyle(style);

  auto* colours = new TSkinDBRadioGroup(area);
  colours->setGeometry(0, 68, 150, 74);
  colours->SetCaption("Colour");
  colours->SetUIStyle(style);
  colours->SetItems({"Red", "Green", "Blue"});
  colours->SetValues({"R", "G", "B"});
  colours->SetDataField("colour");
  colours->SetDataSource(gear);
  auto* lookupList = new TSkinDBLookupListBox(area);
  lookupList->move(158, 70);
  lookupList->resize(156, lookupList->height());
  lookupList->SetRowCount(4);
  lookupList->SetBorderColor(border);
  lookupList->SetDataSource(gear);
  lookupList->SetDataField("kind");
  lookupList->SetListSource(kinds);
  lookupList->SetKeyField("id");
  lookupList->SetListField("name;id");
  auto* lookupCombo = new TSkinDBLookupComboBox(area);
  lookupCombo->setGeometry(0, 150, 150, 22);
  lookupCombo->SetBorderColor(border);
  lookupCombo->SetDataSource(gear);
  lookupCombo->SetDataField("kind");
  lookupCombo->SetListSource(kinds);
  lookupCombo->SetKeyField("id");
  lookupCombo->SetListField("name");
  auto* lookupField = new TSkinDBLookupComboBox(area);  // the list, key and name from the field
  lookupField->setGeometry(0, 180, 150, 22);
  lookupField->SetBorderColor(border);
  lookupField->SetDataSource(diode);
  lookupField->SetDataField("kind name");
  auto* image = new TSkinDBImage(area);
  image->setGeometry(158, 150, 64, 64);
  image->SetBorderColor(border);
  image->SetDataField("photo");
  image->SetDataSource(gear);
  auto* label = new TSkinDBImage(area);  // a picture not shown until asked for: its label
  label->setGeometry(230, 150, 84, 64);
  label->SetBorderColor(border);
  label->SetAutoDisplay(false);
  label->SetDataField("photo");
  label->SetDataSource(gear);

  auto* grid = new TSkinDBGrid(area);
  grid->setGeometry(0, 222, 314, 96);
  grid->SetUIStyle(style);
  grid->SetDataSource(gear);
  grid->setFocus();
  return 324;
}

const bool kAdded = kavri_test::AddPanelSection(71, "Data-aware (SQLite): choices, lookups, grid",
                                                FillChoiceControls);

}  // namespace
