#include "editor/editor_window.h"

#include <QCloseEvent>
#include <QFileInfo>

#include "platform/dialog_service.h"
#include "platform/file_io.h"
#include "platform/program_folder.h"
#include "shell/error_guard.h"
#include "shell/file_name_rule.h"
#include "shell/window_registry.h"

// The editor's file commands and the unsaved-drawing question.
namespace kavri {

namespace {
constexpr const char* kUnsavedQuestion = "The drawing have been changed,do you want to save it?";
}  // namespace

void TForm1::New() {
  if (!AskToSaveChanges()) return;
  doc_.ReplaceDrawing(Drawing());
  drawingFileName_.clear();
  ShowFileName();
  ShowStatus("Create a new drawing.");
  RedrawCanvas();
}

void TForm1::Open() {
  if (!AskToSaveChanges()) return;
  TFileDialogRequest request;
  request.title = "Open drawing";
  request.folder = DrawingFolder();
  request.filters = {"drawing files(*.ddr)"};
  const std::optional<std::string> chosen = Dialogs().ChooseOpenFile(request);
  if (!chosen || chosen->empty() || !FileExists(*chosen)) return;
  std::string error;
  if (!doc_.OpenDrawingFile(*chosen, &error)) {
    ShowStandardError(error);
    return;
  }
  drawingFileName_ = *chosen;
  ShowFileName();
  RedrawCanvas();
}

bool TForm1::WriteTo(const std::string& path) {
  std::string error;
  if (!SaveDrawingFile(path, doc_.EditorDrawing, 2, &error)) {
    const std::string refusal = "The drawing was not saved. " + error;
    ShowStatus(refusal);
    Dialogs().ShowMessage(refusal, TMessageKind::Error);
    return false;
  }
  drawingFileName_ = path;
  doc_.ResetHistory();
  ShowFileName();
  RedrawPending = true;
  return true;
}

void TForm1::SayIfTooLargeToSave() {
  const size_t points = doc_.EditorDrawing.PointCount();
  if (points <= kMaxDrawingPoints) return;
  const std::string text = "The drawing has " + std::to_string(points) + " points, more than the " +
                           std::to_string(kMaxDrawingPoints) +
                           " a drawing file may hold: it cannot be saved until some are erased.";
  ShowStatus(text);
  Dialogs().ShowMessage(text, TMessageKind::Warning);
}

bool TForm1::SaveAs() {
  TFileDialogRequest request;
  request.title = "Save drawing";
  request.folder = DrawingFolder();
  request.filters = {"drawing files(*.ddr)"};
  request.defaultSuffix = "ddr";
  const std::optional<std::string> chosen = Dialogs().ChooseSaveFile(request);
  if (!chosen || chosen->empty()) return false;
  const std::string name = QFileInfo(QString::fromStdString(*chosen)).fileName().toStdString();
  if (!CheckFileName(name)) {
    if (!name.empty()) ShowStatus(kRefusedNameText);  // the box goes; the message line keeps why
    return false;
  }
  return WriteTo(*chosen);
}

bool TForm1::Save() { return drawingFileName_.empty() ? SaveAs() : WriteTo(drawingFileName_); }

bool TForm1::AskToSaveChanges() {
  if (!doc_.ModifiedFlag) return true;
  switch (Dialogs().Confirm(kUnsavedQuestion, TConfirmButtons::YesNoCancel, kCaption)) {
    case TDialogAnswer::Yes: return Save();  // a save that wrote nothing keeps the drawing here
    case TDialogAnswer::No: return true;
    default: return false;  // Cancel, or the box closed
  }
}

bool TForm1::OpenDrawing(const std::string& path) {
  // The operator answers the question before anything of the drawing changes.
  if (!AskToSaveChanges()) return false;
  std::string error;
  if (!doc_.OpenDrawingFile(path, &error)) {
    ShowStandardError(error);
    return false;
  }
  drawingFileName_ = path;
  ShowFileName();
  RedrawPending = true;
  return true;
}

void TForm1::closeEvent(QCloseEvent* event) {
  CanCloseFlag = AskToSaveChanges();
  if (!CanCloseFlag) {
    event->ignore();
    return;
  }
  doc_.ModifiedFlag = false;
  Image90->SetConfined(false);
  event->accept();
}

bool OpenDrawingInEditor(const std::string& path) {
  if (!Form1 || !Form1->OpenDrawing(path)) return false;
  ShowRegisteredWindow("Form1");
  return true;
}

}  // namespace kavri
