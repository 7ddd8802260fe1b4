// The data-aware image on a pictures table (id, photo), in memory and in a SQLite file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QMimeData>
#include <QTest>

#include "skin/db_image.h"
#include "tests/skin/db_test_sets.h"
#include "tests/support/recording_dialogs.h"

using namespace kavri;

namespace {

QImage Pattern(QColor colour) {
  QImage image(12, 8, QImage::Format_RGB32);
  image.fill(colour);
  image.setPixelColor(3, 2, Qt::white);
  return image;
}

QByteArray Encoded(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return bytes;
}

// Record 1 holds a red bitmap, record 2 a JPEG, record 3 nothing.
struct MemoryPictures {
  std::unique_ptr<TDataSet> Open() {
    auto set = std::make_unique<TMemoryDataSet>();
    set->AddFieldDef("id", TFieldType::ftInteger);
    set->AddFieldDef("photo", TFieldType::ftBlob);
    set->AddRecord({1, Encoded(Pattern(Qt::red), "BMP")});
    set->AddRecord({2, Encoded(Pattern(Qt::blue), "JPG")});
    set->AddRecord({3, QVariant()});
    set->Open();
    return set;
  }
  QByteArray Stored(TDataSet& set, int id) {
    const TBookmark place = set.GetBookmark();
    set.Locate("id", {id});
    const QByteArray photo = set.FieldByName("photo")->Value().toByteArray();
    set.GotoBookmark(place);
    return photo;
  }
};

struct SqlitePictures {
  kavri_test::ScratchDir dir;
  QString file = QString::fromStdString(dir.Path("pictures.db"));
  std::unique_ptr<TDataSet> Open() {
    kavri_test::RunSqlite(file, QStringLiteral("CREATE TABLE pictures (id INTEGER, photo BLOB);\n"
                                               "INSERT INTO pictures VALUES (1, X'%1'), (2, X'%2'), (3, NULL);\n")
                                    .arg(QString::fromLatin1(Encoded(Pattern(Qt::red), "BMP").toHex()),
                                         QString::fromLatin1(Encoded(Pattern(Qt::blue), "JPG").toHex())));
    auto set = std::make_unique<TSQLiteDataSet>();
    set->SetDatabaseName(file);
    set->SetTableName("pictures");
    set->Open();
    return set;
  }
  QByteArray Stored(TDataSet&, int id) {
    return QByteArray::fromHex(
        kavri_test::RunSqlite(file, QStringLiteral("SELECT hex(photo) FROM pictures WHERE id = %1;").arg(id)).trimmed().toLatin1());
  }
};

template <typename Kind>
class DBImageTest : public ::testing::Test {
 protected:
  DBImageTest() : set(kind.Open()) {
    source.SetDataSet(set.get());
    image.SetDataField("photo");
    image.SetDataSource(&source);
  }
  QImage StoredPicture(int id) { return QImage::fromData(kind.Stored(*set, id)); }
  static bool SamePixels(const QImage& a, const QImage& b) {
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
  }

  Kind kind;
  std::unique_ptr<TDataSet> set;
  TDataSource source;
  kavri_test::RecordingDialogs dialogs;
  TSkinDBImage image;
};

using PictureSets = ::testing::Types<MemoryPictures, SqlitePictures>;
TYPED_TEST_SUITE(DBImageTest, PictureSets);

TYPED_TEST(DBImageTest, LoadsTheFieldsPictureAtOnceOrOnRequest) {
  EXPECT_TRUE(this->SamePixels(this->image.Picture(), Pattern(Qt::red)));
  EXPECT_TRUE(this->image.PictureIsBitmap());
  this->set->Next();
  EXPECT_EQ(this->image.Picture().size(), QSize(12, 8));  // the JPEG shows
  EXPECT_FALSE(this->image.PictureIsBitmap());
  this->image.SetAutoDisplay(false);
  this->set->First();
  EXPECT_FALSE(this->image.PictureLoaded());
  QTest::keyClick(&this->image, Qt::Key_Return);
  EXPECT_TRUE(this->image.PictureLoaded());
  EXPECT_TRUE(this->SamePixels(this->image.Picture(), Pattern(Qt::red)));
}

TYPED_TEST(DBImageTest, PasteAsksToEditAndPostsTheBitmap) {
  QApplication::clipboard()->setImage(Pattern(Qt::green));
  this->set->Last();  // no picture
  QTest::keyClick(&this->image, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(this->set->State(), TDataSetState::dsEdit);
  this->set->Post();
  EXPECT_TRUE(this->SamePixels(this->StoredPicture(3), Pattern(Qt::green)));
}

TYPED_TEST(DBImageTest, CopyAndCutGoThroughTheClipboard) {
  QApplication::clipboard()->clear();
  QTest::keyClick(&this->image, Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_TRUE(this->SamePixels(QApplication::clipboard()->image(), Pattern(Qt::red)));
  QApplication::clipboard()->clear();
  QTest::keyClick(&this->image, Qt::Key_Delete, Qt::ShiftModifier);
  EXPECT_TRUE(this->SamePixels(QApplication::clipboard()->image(), Pattern(Qt::red)));
  EXPECT_TRUE(this->image.Picture().isNull());
  this->set->Post();
  EXPECT_TRUE(this->kind.Stored(*this->set, 1).isEmpty());
}

TYPED_TEST(DBImageTest, RefusesTextOnTheClipboardAndCutOnAReadOnlyLink) {
  QApplication::clipboard()->setText("not a picture");
  this->image.PasteFromClipboard();
  EXPECT_EQ(this->set->State(), TDataSetState::dsBrowse);
  this->image.SetReadOnly(true);
  this->image.CutToClipboard();
  EXPECT_FALSE(this->image.Picture().isNull());
  EXPECT_EQ(this->set->State(), TDataSetState::dsBrowse);
}

TYPED_TEST(DBImageTest, PostingAPictureThatIsNoBitmapClearsTheField) {
  this->set->Edit();
  this->image.SetPicture(Pattern(Qt::yellow), false);
  this->set->Post();
  EXPECT_TRUE(this->kind.Stored(*this->set, 1).isEmpty());
}

TYPED_TEST(DBImageTest, LeavingWritesOnlyAnEditInProgress) {
  QWidget window;
  this->image.setParent(&window);
  auto* other = new QWidget(&window);
  other->setFocusPolicy(Qt::StrongFocus);
  window.show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  this->image.setFocus();
  this->image.SetPicture(Pattern(Qt::yellow));  // by code, while browsing
  other->setFocus(Qt::TabFocusReason);
  EXPECT_TRUE(this->dialogs.messages.empty());
  EXPECT_TRUE(other->hasFocus());
  QApplication::clipboard()->setImage(Pattern(Qt::green));
  this->image.setFocus();
  this->image.PasteFromClipboard();
  other->setFocus(Qt::TabFocusReason);
  this->set->Post();
  EXPECT_TRUE(this->SamePixels(this->StoredPicture(1), Pattern(Qt::green)));
  this->image.setParent(nullptr);
}

}  // namespace
