#pragma once
// The drawing editor window "Picure Edit": the canvas driven by the tool controller, the tool
// buttons, the status lines, and the close question for an unsaved drawing. The drawing, its
// selection and undo live in the document; this class only wires widgets to it.
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <array>
#include <string>

#include "editor/editor_canvas.h"
#include "editor/editor_document.h"
#include "editor/tool_controller.h"
#include "shell/settings_file.h"
#include "shell/shell_controls.h"
#include "shell/window_menu_bar.h"
#include "skin/skin_grid.h"
#include "skin/tool_bar.h"
#include "skin/up_down.h"

namespace kavri {

// The palette grid's cell for a program palette index: four columns of 64.
inline int PaletteIndexOfCell(int col, int row) { return col * 64 + row; }

class TForm1 : public QWidget {
  Q_OBJECT
 public:
  static constexpr const char* kCaption = "Picure Edit";
  static constexpr const char* kNewDrawingName = "newdrawing";
  static constexpr int kRedrawPollMs = 1000;

  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // Takes the editor's values from the main window's settings lines.
  void FormCreate(const TSettingsLines& settings);
  TEditorSettings CurrentSettings() const;

  void RedrawCanvas();
  void Timer3Timer();
  // The unsaved-drawing question; false when the operator cancels (or a wanted save failed).
  bool AskToSaveChanges();
  // Save and Save As; false when nothing was written (cancelled or failed, said in a message box).
  bool Save();
  bool SaveAs();
  // Replaces the drawing by the file's; false (editor unchanged) when the operator cancels the
  // unsaved-drawing question or the file cannot be read.
  bool OpenDrawing(const std::string& path);
  void New();
  void Open();  // asks for the file
  // Plays the drawing on the laser until Stop (stopping what else plays first).
  void Play();
  void Stop();
  void SelectTool(int code);
  // A letter key as the window previews it (whatever control has the focus); false when it has no
  // meaning here.
  bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
  // Palette cell (column, row) becomes the current colour.
  void SelectPaletteCell(int col, int row);
  // After an import: when the drawing has grown past what a drawing file may hold, says so in a
  // box and the message line, before the operator first tries to save it.
  void SayIfTooLargeToSave();
  // Shows the status text and the "Import Text" window.
  void ShowImportText(std::string_view status);

  EditorDocument& Document() { return doc_; }
  ToolController& Tools() { return tools_; }
  const std::string& DrawingFileName() const { return drawingFileName_; }
  bool RedrawPending = false;
  bool CanCloseFlag = true;
  int BackColor = 0;
  int BlankColor = 0;
  int GridStep1 = 16;
  int GridStep2 = 16;

  TWindowMenuBar* skinMainMenu1;
  TEditorCanvas* Image90;
  QLabel* Label1;   // status line
  QLabel* Label8;   // file name
  QLabel* Label6;   // number of points
  QLabel* Label2;   // x, y of the last press
  QLabel* Label3;
  QLabel* Label17;  // x, y under the mouse
  QLabel* Label18;
  TSkinEdit* Edit1;  // polygon sides
  TUpDown* UpDown1;
  TSkinEdit* Edit2;  // point space
  TUpDown* UpDown2;
  TSkinButton* skinButton20;  // "Visible Point"
  TSkinCheckBox* skinCheckBox1;  // "Copy object flag"
  QAction* CopyFlagItem;
  TSkinDrawGrid* skinDrawGrid1;  // the palette
  QLabel* Label13;  // R, G, B and index of the current colour
  QLabel* Label22;
  QLabel* Label24;
  QLabel* Label34;
  QWidget* Panel1;  // the current colour
  TSkinToolBar* skinToolBar1;
  TSkinToolButton* ToolButton1;  // Play
  TSkinToolButton* ToolButton8;  // Stop
  TSkinToolButton* ToolButton9;  // Horizontal invert
  TSkinToolButton* ToolButton3;  // Vertical invert
  TSkinToolButton* ToolButton2;  // Playing settings
  TSkinButton* BitBtn5;       // "Import Plt"
  TSkinButton* BitBtn22;      // "Text"
  TSkinButton* BitBtn9;       // "Ratate"
  QTimer* Timer3;
  struct TToolButton {
    int code;
    const char* name;
    const char* caption;
    TSkinButton* button;
  };
  std::array<TToolButton, 18> ToolButtons;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  QLayout* BuildCommandButtons();
  QLayout* BuildPalette();
  void RunCommand(void (*command)(EditorDocument&), std::string_view status = {});
  void ShowCurrentColour();
  void ChoosePicture();
  void ShowStatus(std::string_view text);
  void ShowFileName();
  void AfterPress(const PressResult& result);
  void NumberFieldDone(TSkinEdit* field, TUpDown* upDown, int& value, int minimum, int maximum);
  bool WriteTo(const std::string& path);

  EditorDocument doc_;
  ToolController tools_{doc_};
  std::string drawingFileName_;
  std::string backPictureFile_;
};

extern TForm1* Form1;

// Opens the drawing in the editor for the segment, quick-play and show windows' "Edit": asks about
// an unsaved drawing first, loads, and shows the editor. False when there is no editor, the
// operator cancels, or the file cannot be read.
bool OpenDrawingInEditor(const std::string& path);

}  // namespace kavri
