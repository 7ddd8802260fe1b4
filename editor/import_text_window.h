#pragma once
// The "Import Text" window: typed text turned into glyph outlines of the chosen font, previewed
// and added to the editor's drawing as the new selection.
#include <QLabel>
#include <QWidget>
#include <memory>

#include "editor/preview_image.h"
#include "editor/text_outlines.h"
#include "platform/dialog_service.h"
#include "platform/glyph_source.h"
#include "shell/shell_controls.h"
#include "skin/memo.h"

namespace kavri {

class TForm1;

class TForm6 : public QWidget {
  Q_OBJECT
 public:
  static constexpr const char* kCaption = "Import Text";

  explicit TForm6(TForm1* editor, QWidget* parent = nullptr);
  ~TForm6() override;

  void PreviewText();
  void BitBtn1Click();  // "Font"
  void BitBtn3Click();  // "OK"
  void BitBtn4Click();  // "Cancel"

  // Replaces the glyph source the next build reads (tests give a synthetic one).
  void SetGlyphSource(std::unique_ptr<TGlyphSource> source) { glyphs_ = std::move(source); }
  const TFontChoice& Font() const { return font_; }
  const TTextImportSettings& Settings() const { return settings_; }
  const Drawing& Outlines() const { return outlines_; }

  TSkinMemo* skinMemo1;
  TSkinButton* BitBtn1;
  TSkinCheckBox* skinCheckBox1;  // "Auto preview"
  TSkinCheckBox* skinCheckBox2;  // "Large size"
  TSkinTrackBar* TrackBar1;      // fine
  TSkinTrackBar* TrackBar2;      // width factor
  TSkinTrackBar* skinTrackBar1;  // height factor
  TSkinTrackBar* skinTrackBar2;  // width interval
  TSkinTrackBar* skinTrackBar3;  // height interval
  QLabel* Label4;
  QLabel* Label10;
  QLabel* Label7;
  QLabel* Label9;
  QLabel* Label18;
  QLabel* Label19;
  QLabel* Label25;
  QLabel* Label6;  // point count
  TPreviewImage* Image1;
  TSkinButton* BitBtn2;  // "Preview"
  TSkinButton* BitBtn3;  // "OK"
  TSkinButton* BitBtn4;  // "Cancel"

 private:
  void BuildTextOutlines();
  void AutoPreview();
  void ReadTrackBars();

  TForm1* editor_;
  TFontChoice font_;
  std::unique_ptr<TGlyphSource> glyphs_;
  TTextImportSettings settings_;
  Drawing outlines_;
  size_t textPoints_ = 0;  // the points of the whole text, built or not
  bool toldLinesCut_ = false;  // the operator has been told this text is cut to its first lines
};

extern TForm6* Form6;

}  // namespace kavri
