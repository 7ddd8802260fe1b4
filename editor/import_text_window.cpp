#include "editor/import_text_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "editor/editor_imports.h"
#include "editor/editor_window.h"
#include "engine/glyph_outline.h"
#include "engine/render.h"
#include "engine/shared_state.h"

namespace kavri {

TForm6* Form6 = nullptr;

TForm6::TForm6(TForm1* editor, QWidget* parent) : QWidget(parent), editor_(editor) {
  setObjectName("Form6");
  setWindowTitle(kCaption);
  font_.family = "Arial";
  auto* layout = new QHBoxLayout(this);
  auto* controls = new QVBoxLayout;

  skinMemo1 = new TSkinMemo(this);
  skinMemo1->setObjectName("skinMemo1");
  skinMemo1->setPlainText("Text");
  skinMemo1->setFixedHeight(80);
  controls->addWidget(skinMemo1);

  auto* options = new QHBoxLayout;
  BitBtn1 = MakeSkinButton(this, "BitBtn1", "Font", 80);
  skinCheckBox1 = MakeSkinCheckBox(this, "skinCheckBox1", "Auto preview");
  skinCheckBox2 = MakeSkinCheckBox(this, "skinCheckBox2", "Large size");
  options->addWidget(BitBtn1);
  options->addWidget(skinCheckBox1);
  options->addWidget(skinCheckBox2);
  options->addStretch();
  controls->addLayout(options);

  auto* bars = new QGridLayout;
  Label4 = MakeLabel(this, "Label4");
  Label10 = MakeLabel(this, "Label10");
  Label7 = MakeLabel(this, "Label7");
  Label9 = MakeLabel(this, "Label9");
  Label18 = MakeLabel(this, "Label18");
  Label19 = MakeLabel(this, "Label19");
  Label25 = MakeLabel(this, "Label25");
  struct Row {
    TSkinTrackBar*& bar;
    const char* name;
    const char* caption;
    int min, max, position;
    QLabel* value;
    const char* sizeCaption;
    QLabel* size;
  };
  Row rows[] = {
      {TrackBar1, "TrackBar1", "Fine/Coarse factor", 0, 40, 5, Label4, nullptr, nullptr},
      {TrackBar2, "TrackBar2", "charactor width factor", 1, 20, 8, Label10, "charactor width", Label7},
      {skinTrackBar1, "skinTrackBar1", "charactor height factor", 1, 20, 8, Label9, "charactor height", Label18},
      {skinTrackBar2, "skinTrackBar2", "width interval factor", 1, 20, 8, Label19, nullptr, nullptr},
      {skinTrackBar3, "skinTrackBar3", "height interval factor", 1, 20, 8, Label25, nullptr, nullptr},
  };
  int r = 0;
  for (Row& row : rows) {
    row.bar = MakeSkinTrackBar(this, row.name, row.min, row.max);
    row.bar->SetPosition(row.position);
    bars->addWidget(new QLabel(row.caption, this), r, 0);
    bars->addWidget(row.bar, r, 1);
    bars->addWidget(row.value, r, 2);
    if (row.size) {
      bars->addWidget(new QLabel(row.sizeCaption, this), r, 3);
      bars->addWidget(row.size, r, 4);
    }
    ++r;
  }
  controls->addLayout(bars);

  auto* countRow = new QHBoxLayout;
  countRow->addWidget(new QLabel("PointCount", this));
  Label6 = MakeLabel(this, "Label6");
  Label6->setNum(0);
  countRow->addWidget(Label6);
  countRow->addStretch();
  controls->addLayout(countRow);
  controls->addStretch();

  auto* buttons = new QHBoxLayout;
  BitBtn2 = MakeSkinButton(this, "BitBtn2", "Preview", 80);
  BitBtn3 = MakeSkinButton(this, "BitBtn3", "OK", 80);
  BitBtn4 = MakeSkinButton(this, "BitBtn4", "Cancel", 80);
  for (TSkinButton* b : {BitBtn2, BitBtn3, BitBtn4}) buttons->addWidget(b);
  controls->addLayout(buttons);
  layout->addLayout(controls);
  Image1 = new TPreviewImage(this, "Image1");
  layout->addWidget(Image1, 0, Qt::AlignTop);

  skinCheckBox1->SetChecked(true);
  skinCheckBox2->SetChecked(ImportTextLargeSize == 1);
  ReadTrackBars();
  for (TSkinTrackBar* bar : {TrackBar1, TrackBar2, skinTrackBar1, skinTrackBar2, skinTrackBar3})
    bar->OnChange = [this](QObject*) {
      ReadTrackBars();
      AutoPreview();
    };
  connect(skinMemo1, &QPlainTextEdit::textChanged, this, [this] { AutoPreview(); });
  skinCheckBox1->OnClick = [this](TSkinCustomButton*) { AutoPreview(); };
  skinCheckBox2->OnClick = [this](TSkinCustomButton*) {
    ImportTextLargeSize = skinCheckBox2->Checked() ? 1 : 0;
    AutoPreview();
  };
  BitBtn1->OnClick = [this](TSkinCustomButton*) { BitBtn1Click(); };
  BitBtn2->OnClick = [this](TSkinCustomButton*) { PreviewText(); };
  BitBtn3->OnClick = [this](TSkinCustomButton*) { BitBtn3Click(); };
  BitBtn4->OnClick = [this](TSkinCustomButton*) { BitBtn4Click(); };
}

TForm6::~TForm6() {
  if (Form6 == this) Form6 = nullptr;
}

void TForm6::ReadTrackBars() {
  settings_.fine = TrackBar1->Position();
  settings_.widthFactor = TrackBar2->Position();
  settings_.heightFactor = skinTrackBar1->Position();
  settings_.widthInterval = skinTrackBar2->Position();
  settings_.heightInterval = skinTrackBar3->Position();
  Label4->setNum(settings_.fine);
  Label10->setNum(settings_.widthFactor);
  Label7->setNum(256 / settings_.widthFactor);
  Label9->setNum(settings_.heightFactor);
  Label18->setNum(256 / settings_.heightFactor);
  Label19->setNum(settings_.widthInterval);
  Label25->setNum(settings_.heightInterval);
}

void TForm6::AutoPreview() {
  if (skinCheckBox1->Checked()) PreviewText();
}

void TForm6::BitBtn1Click() {
  const std::optional<TFontChoice> chosen = Dialogs().ChooseFont(font_);
  if (!chosen) return;
  font_ = *chosen;
  glyphs_.reset();
}

void TForm6::BuildTextOutlines() {
  outlines_.Clear();
  textPoints_ = 0;
  const QString text = skinMemo1->toPlainText();
  if (text.trimmed().isEmpty()) {
    toldLinesCut_ = false;
    return;
  }
  if (!glyphs_) glyphs_ = OpenFontGlyphSource({font_.family, font_.pointSize, font_.bold, font_.italic});
  if (!glyphs_) return;
  // Only the lines that are built are cut out of the text, and of each only the start that can be
  // imported (a character takes at least one of its bytes and at most two UTF-16 units), so a huge
  // paste costs no more than they; a line break that ends the text starts no line.
  qsizetype from = 0;
  auto nextLine = [&] {
    qsizetype end = text.indexOf('\n', from);
    if (end < 0) end = text.size();
    const qsizetype length = std::min<qsizetype>(end - from, 2 * kTextLineBytes);
    const std::u32string line = QStringView(text).mid(from, length).toString().toStdU32String();
    from = end + 1;
    return line;
  };
  std::vector<std::u32string> lines;
  while (from < text.size() && lines.size() <= kMaxTextImportLines) lines.push_back(nextLine());
  const bool cut = lines.size() > kMaxTextImportLines;
  if (cut && !toldLinesCut_) Dialogs().ShowMessage(kTextImportCutText, TMessageKind::Information);
  toldLinesCut_ = cut;
  settings_.largeSize = ImportTextLargeSize == 1;
  outlines_ = kavri::BuildTextOutlines(lines, settings_, *glyphs_, editor_->Document().CurrentColor);
  // The count is of the whole text: the lines past those built are counted without being made.
  textPoints_ = outlines_.PointCount();
  if (!cut) return;
  TTextPointCounter counter(settings_, *glyphs_);
  textPoints_ += counter.Line(lines.back());
  while (from < text.size()) textPoints_ += counter.Line(nextLine());
}

void TForm6::PreviewText() {
  TCanvas& canvas = Image1->Clear();
  BuildTextOutlines();
  for (const auto& outline : outlines_.Objects()) DrawPointLists(canvas, *outline, editor_->BlankColor, 1);
  Label6->setText(QString::number(textPoints_));
  Image1->Show();
}

void TForm6::BitBtn3Click() {
  BuildTextOutlines();
  Drawing kept = OutlinesForCanvas(std::move(outlines_));
  outlines_.Clear();
  AddObjectsAsSelection(editor_->Document(), kept);
  close();
  editor_->RedrawPending = true;
  editor_->Tools().SelectTool(21);
  editor_->Label1->setText("Select Object...");
  editor_->SayIfTooLargeToSave();
}

void TForm6::BitBtn4Click() {
  close();
  editor_->RedrawPending = true;
}

}  // namespace kavri
