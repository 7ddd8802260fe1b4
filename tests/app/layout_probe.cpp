// Prints where the controls that the end-to-end test clicks stand inside their windows, laid out
// on the same display with the same fonts, and placed the same way, as the program lays them out:
//   NAME X Y WIDTH HEIGHT        (window coordinates)
// With --show-edit-message TEXT FILE.png (or --segment-edit-message), it shows Show Edit's (or
// Segment Edit's) message line saying TEXT instead, prints the line's place and saves its picture:
// what the program's window must show when its message line says that, to compare with. With --error-box TEXT FILE.png it saves the picture of
// the program's error box saying TEXT. With --editor-canvas-shown W H [NOTCHES] it prints the part
// of the editor's canvas that shows when the editor's window is W x H (and the mouse wheel has
// turned NOTCHES notches down over the canvas): "Image90.shown X Y W H". With --import-text-count
// LINES FILE.png it saves Import Text's point count as it must read for LINES lines of "a".
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>
#include <QScreen>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "editor/editor_window.h"
#include "editor/import_plt_window.h"
#include "editor/import_text_window.h"
#include "quickplay/quick_play_window.h"
#include "segments/converter_window.h"
#include "segments/segment_edit_window.h"
#include "shell/main_window.h"
#include "shell/qt_dialog_service.h"
#include "shell/select_device_window.h"
#include "shell/window_menu_bar.h"
#include "shows/show_edit_window.h"
#include "skin/content_scroller.h"
#include "skin/window_placement.h"

namespace {

// A working window opened as the program opens it: its content in its scroll area, at its size.
void Open(QWidget* window) { kavri::ShowPlaced(window, kavri::TWindowPlacement::KeepOnScreen, nullptr); }

void PrintPlace(const QString& label, QWidget* widget, QWidget* window) {
  const QPoint at = widget->mapTo(window, QPoint(0, 0));
  std::printf("%s %d %d %d %d\n", qPrintable(label), at.x(), at.y(), widget->width(), widget->height());
}

// Controls of the dialogs are printed as "Form17.BitBtn1": their names repeat between windows.
void Print(const char* name, QWidget* window, const char* prefix = "") {
  QWidget* widget = window->findChild<QWidget*>(name);
  if (!widget) {
    std::printf("%s%s missing\n", prefix, name);
    return;
  }
  PrintPlace(QString(prefix) + name, widget, window);
}

// Where a working window's content scroll area stands and how far it scrolls:
//   PREFIXContentScroller.view|hbar|vbar X Y W H, and PREFIXContentScroller.range HMAX VMAX HPAGE VPAGE;
// and the window's size beside the most the screen's work area leaves it, its frame counted:
//   PREFIXwindow W H ROOMW ROOMH.
void PrintScroller(const char* prefix, QWidget* window) {
  QScrollArea* scroller = kavri::ContentScroller(window);
  if (!scroller) {
    std::printf("%sContentScroller missing\n", prefix);
    return;
  }
  // The widest frame of the windows shown: a window manager may not have framed this one yet.
  QMargins frame;
  for (const QWidget* shown : QApplication::topLevelWidgets()) {
    if (!shown->isVisible() || !shown->windowHandle()) continue;
    const QMargins m = shown->windowHandle()->frameMargins();
    if (m.left() + m.right() + m.top() + m.bottom() > frame.left() + frame.right() + frame.top() + frame.bottom()) frame = m;
  }
  const QSize room = window->screen()->availableGeometry().size().shrunkBy(frame);
  std::printf("%swindow %d %d %d %d\n", prefix, window->width(), window->height(), room.width(), room.height());
  const QString name = QString(prefix) + "ContentScroller";
  PrintPlace(name + ".view", scroller->viewport(), window);
  PrintPlace(name + ".hbar", scroller->horizontalScrollBar(), window);
  PrintPlace(name + ".vbar", scroller->verticalScrollBar(), window);
  const QScrollBar* h = scroller->horizontalScrollBar();
  const QScrollBar* v = scroller->verticalScrollBar();
  std::printf("%s.range %d %d %d %d\n", qPrintable(name), h->maximum(), v->maximum(), h->pageStep(), v->pageStep());
  // Every control of the content that a shown scroll bar lies over, at the scroll position the window
  // opens with: PREFIXContentScroller.covers CLASS NAME X Y W H. Plain boxes only hold controls.
  for (const QScrollBar* bar : {h, v}) {
    if (!bar->isVisible()) continue;
    const QRect barPlace(bar->mapTo(window, QPoint(0, 0)), bar->size());
    for (QWidget* control : scroller->widget()->findChildren<QWidget*>()) {
      if (!control->isVisible() || control->metaObject() == &QWidget::staticMetaObject) continue;
      const QRect place(control->mapTo(window, QPoint(0, 0)), control->size());
      if (!place.intersects(barPlace)) continue;
      std::printf("%s.covers %s %s %d %d %d %d\n", qPrintable(name), control->metaObject()->className(),
                  qPrintable(control->objectName().isEmpty() ? QStringLiteral("-") : control->objectName()), place.x(),
                  place.y(), place.width(), place.height());
    }
  }
}

template <typename TForm>
int WindowMessage(const char* name, const QString& text, const QString& picture) {
  TForm window;
  Open(&window);
  window.Label18->setText(text);
  QApplication::processEvents();
  const QRect place(window.Label18->mapTo(&window, QPoint(0, 0)), window.Label18->size());
  PrintPlace(name, window.Label18, &window);
  return window.grab(place).save(picture, "PNG") ? 0 : 1;
}

// The list's first `count` rows as "NAME.itemI".
void PrintItems(const QString& name, QListWidget* list, int count, QWidget* window) {
  list->doItemsLayout();
  for (int i = 0; i < count; ++i) {
    const QRect r = list->visualItemRect(list->item(i));
    const QPoint at = list->viewport()->mapTo(window, r.topLeft());
    std::printf("%s.item%d %d %d %d %d\n", qPrintable(name), i, at.x(), at.y(), r.width(), r.height());
  }
}

// Import Text's point count for `lines` lines of "a", from the count one line has: its label as the
// window shows that number, saved as a picture, and its place printed as "Form6.Label6 X Y W H".
int ImportTextCount(int lines, const QString& picture) {
  kavri::TForm1 editor;
  editor.FormCreate({});
  Open(&editor);
  kavri::TForm6 text(&editor);
  kavri::ShowPlaced(&text, kavri::TWindowPlacement::CentreOnOpener, &editor);
  text.skinMemo1->setPlainText("a");
  text.PreviewText();
  const int one = text.Label6->text().toInt();
  if (one <= 0) return 1;
  text.Label6->setText(QString::number(one * lines));
  QApplication::processEvents();
  PrintPlace("Form6.Label6", text.Label6, &text);
  return text.grab(QRect(text.Label6->mapTo(&text, QPoint(0, 0)), text.Label6->size())).save(picture, "PNG") ? 0 : 1;
}

// Taken while the box waits for its answer, then answered.
int ErrorBox(const std::string& text, const QString& picture) {
  bool saved = false;
  QTimer::singleShot(0, [&] {
    if (QWidget* box = QApplication::activeModalWidget()) {
      saved = box->grab().save(picture, "PNG");
      box->close();
    }
  });
  kavri::TQtDialogService().ShowMessage(text, kavri::TMessageKind::Error);
  return saved ? 0 : 1;
}

int EditorCanvasShown(int width, int height, int notches) {
  kavri::TForm1 editor;
  editor.FormCreate({});
  Open(&editor);
  editor.resize(width, height);
  // Scroll bars come and go a moment after the resize.
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
  if (editor.size() != QSize(width, height)) return 1;
  // The canvas leaves the wheel to the scroll area's view, as a wheel turned over it in the program.
  QWidget* view = kavri::ContentScroller(&editor)->viewport();
  const QPointF middle = editor.Image90->mapTo(view, QRectF(editor.Image90->rect()).center());
  for (int notch = 0; notch < notches; ++notch) {
    QWheelEvent wheel(middle, view->mapToGlobal(middle), {}, {0, -QWheelEvent::DefaultDeltasPerStep}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &wheel);
  }
  QApplication::processEvents();
  const QRect shown = editor.Image90->visibleRegion().boundingRect();
  const QPoint at = editor.Image90->mapTo(&editor, shown.topLeft());
  std::printf("Image90.shown %d %d %d %d\n", at.x(), at.y(), shown.width(), shown.height());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc == 4 && QString(argv[1]) == "--show-edit-message")
    return WindowMessage<kavri::TForm8>("Form8.Label18", argv[2], argv[3]);
  if (argc == 4 && QString(argv[1]) == "--segment-edit-message")
    return WindowMessage<kavri::TForm5>("Form5.Label18", argv[2], argv[3]);
  if (argc == 4 && QString(argv[1]) == "--error-box") return ErrorBox(argv[2], argv[3]);
  if ((argc == 4 || argc == 5) && QString(argv[1]) == "--editor-canvas-shown")
    return EditorCanvasShown(std::atoi(argv[2]), std::atoi(argv[3]), argc == 5 ? std::atoi(argv[4]) : 0);
  if (argc == 4 && QString(argv[1]) == "--import-text-count") return ImportTextCount(QString(argv[2]).toInt(), argv[3]);
  kavri::TForm15 main([] { return std::vector<kavri::TDetectedDevice>{}; });
  kavri::TForm1 editor;
  editor.FormCreate({});
  Open(&main);
  Open(&editor);
  app.processEvents();
  Print("BitBtn1", &main);
  PrintScroller("Form1.", &editor);
  Print("BitBtn27", &editor);
  Print("Image90", &editor);
  Print("Label6", &editor);
  Print("ToolButton1", &editor);
  Print("BitBtn4", &editor);
  Print("BitBtn5", &editor);
  Print("BitBtn22", &editor);
  for (const char* name :
       {"Edit2", "skinButton15", "skinButton29", "Label1", "Label13", "Label22", "Label24", "Label34", "Panel1"})
    Print(name, &editor);
  for (auto [col, row] : {std::pair{0, 4}, std::pair{1, 5}}) {
    const QRect r = editor.skinDrawGrid1->CellRect(col, row);
    const QPoint at = editor.skinDrawGrid1->mapTo(&editor, r.topLeft());
    std::printf("skinDrawGrid1.cell%d.%d %d %d %d %d\n", col, row, at.x(), at.y(), r.width(), r.height());
  }
  Print("BitBtn9", &editor);
  Print("ToolButton2", &editor);
  // The title of the System menu on the editor's bar.
  for (QAction* entry : editor.skinMainMenu1->actions()) {
    if (!entry->menu() || !entry->menu()->actions().contains(editor.skinMainMenu1->ExitItem())) continue;
    const QRect r = editor.skinMainMenu1->actionGeometry(entry);
    const QPoint at = editor.skinMainMenu1->mapTo(&editor, r.topLeft());
    std::printf("skinMainMenu1.System %d %d %d %d\n", at.x(), at.y(), r.width(), r.height());
  }
  kavri::TForm17 plt(&editor);
  kavri::TForm6 text(&editor);
  plt.show();
  text.show();
  app.processEvents();
  for (const char* name : {"Button1", "BitBtn3", "BitBtn1"}) Print(name, &plt, "Form17.");
  for (const char* name : {"skinMemo1", "skinCheckBox1", "skinCheckBox2", "BitBtn2", "BitBtn3", "BitBtn4"})
    Print(name, &text, "Form6.");
  kavri::TForm5 segments;
  // Two items, so that the drawing list's rows stand where the program's two drawings will.
  QTemporaryDir drawings;
  for (const char* name : {"a.ddr", "b.ddr"}) QFile(drawings.filePath(name)).open(QIODevice::WriteOnly);
  segments.FileListBox1->Files().SetMask("*.ddr");
  segments.FileListBox1->Files().SetDirectory(drawings.path().toStdString());
  // Three segments, so that the segment list's rows stand where three of the program's will.
  QTemporaryDir sections;
  for (const char* name : {"a.sec", "b.sec", "c.sec"}) QFile(sections.filePath(name)).open(QIODevice::WriteOnly);
  segments.FileListBox2->Files().SetMask("*.sec");
  segments.FileListBox2->Files().SetDirectory(sections.path().toStdString());
  Open(&segments);
  app.processEvents();
  for (const char* name : {"BitBtn2"}) Print(name, &main, "Form15.");
  for (const char* name : {"skinEdit2", "BitBtn1", "BitBtn4", "BitBtn5", "BitBtn17", "ToolButton1", "FileListBox2", "Image1"})
    Print(name, &segments, "Form5.");
  PrintScroller("Form5.", &segments);
  PrintItems("Form5.FileListBox1", segments.FileListBox1, 2, &segments);
  PrintItems("Form5.FileListBox2", segments.FileListBox2, 3, &segments);
  Print("skinStringGrid1", &segments, "Form5.");
  {
    // Column C of the first data row, where a long number is typed.
    const QRect r = segments.skinStringGrid1->CellRect(3, 1);
    const QPoint at = segments.skinStringGrid1->mapTo(&segments, r.topLeft());
    std::printf("Form5.skinStringGrid1.cell3.1 %d %d %d %d\n", at.x(), at.y(), r.width(), r.height());
  }
  kavri::TForm9 converter;
  converter.FileListBox1->Files().SetDirectory(drawings.path().toStdString());
  // One ILDA file, so that the image list's first row stands where the program's will.
  QTemporaryDir images;
  QFile(images.filePath("a.ild")).open(QIODevice::WriteOnly);
  converter.FileListBox3->Files().SetDirectory(images.path().toStdString());
  Open(&converter);
  app.processEvents();
  Print("BitBtn3", &main, "Form15.");
  for (const char* name : {"BitBtn2", "skinEdit2", "skinButton4", "skinButton9", "skinCheckBox1", "skinButton7", "skinButton10",
                           "skinButton16", "skinButton17", "Label18"})
    Print(name, &converter, "Form9.");
  PrintScroller("Form9.", &converter);
  PrintItems("Form9.FileListBox3", converter.FileListBox3, 1, &converter);
  PrintItems("Form9.FileListBox1", converter.FileListBox1, 2, &converter);
  // One file in each of the show window's lists (three shows), so that their rows stand where the program's will.
  kavri::TForm8 shows;
  QTemporaryDir content;
  for (const char* name : {"a.ddr", "a.sec", "a.ild", "a.seq", "b.seq", "c.seq"})
    QFile(content.filePath(name)).open(QIODevice::WriteOnly);
  for (kavri::TFileListBox* box : {shows.FileListBox1, shows.FileListBox2, shows.FileListBox3, shows.FileListBox4})
    box->Files().SetDirectory(content.path().toStdString());
  Open(&shows);
  app.processEvents();
  Print("BitBtn4", &main, "Form15.");
  for (const char* name : {"BitBtn1", "skinButton7", "skinButton5", "BitBtn4", "BitBtn5", "BitBtn16", "BitBtn17",
                           "ToolButton1", "Image1", "ColourPanels", "Label18"})
    Print(name, &shows, "Form8.");
  PrintScroller("Form8.", &shows);
  for (int i = 0; i < 4; ++i)
    PrintItems(QString("Form8.FileListBox%1").arg(i + 1),
               shows.findChild<kavri::TFileListBox*>(QString("FileListBox%1").arg(i + 1)), i == 3 ? 3 : 1, &shows);
  for (int t = 0; t < 3; ++t) {
    const QRect r = shows.Grid(t)->CellRect(0, 0);
    const QPoint at = shows.Grid(t)->mapTo(&shows, r.topLeft());
    std::printf("Form8.SskinStringGrid%d.header %d %d %d %d\n", t + 1, at.x(), at.y(), r.width(), r.height());
  }
  kavri::TForm4 quickPlay;
  Open(&quickPlay);
  app.processEvents();
  Print("BitBtn5", &main, "Form15.");
  for (const char* name : {"Image4", "Image5", "ToolButton1", "ToolButton5", "ToolButton8", "TrackBar2", "Image1", "FileListBox2",
                           "skinMemo1", "skinCheckBox4", "ColourPanels", "Label18"})
    Print(name, &quickPlay, "Form4.");
  PrintScroller("Form4.", &quickPlay);
  for (int i = 0; i < quickPlay.skinRadioGroup1->ButtonCount(); ++i)
    PrintPlace(QString("Form4.skinRadioGroup1.item%1").arg(i), quickPlay.skinRadioGroup1->Button(i), &quickPlay);
  // "Select device" as the program shows it with two interfaces, before and after multiple output is
  // ticked: the ticked box shows the interfaces' boxes and the list buttons, which move the rest.
  kavri::TForm15 twoDevices([] { return std::vector<kavri::TDetectedDevice>{}; });
  twoDevices.Choice().TakeFirstDetection({{"ezusb-0", "Usb-0"}, {"ezusb-1", "Usb-1"}});
  kavri::TForm19 select(&twoDevices);
  select.FormCreate();
  select.show();
  app.processEvents();
  Print("BitBtn7", &main, "Form15.");
  Print("CheckBox131", &select, "Form19.");
  select.CheckBox131->SetChecked(true);
  select.CheckBox131Click();
  app.processEvents();
  for (const char* name : {"skinButton2", "skinButton1"}) Print(name, &select, "Form19.");
  return 0;
}
