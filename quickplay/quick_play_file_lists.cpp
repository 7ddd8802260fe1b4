// The Quick play window's file sources: the thumbnail grid of the drawings and the ILDA folder
// with its file list and animated preview.
#include "editor/editor_window.h"
#include "quickplay/quick_play_state.h"
#include "quickplay/quick_play_window.h"
#include "segments/file_list_commands.h"
#include "shell/ilda_preview_tick.h"
#include "skin/folder_browser.h"

namespace kavri {

void TForm4::ShowPage() {
  for (int t = 0; t < kTilesPerPage; ++t) Tiles[t]->setPixmap(QPixmap::fromImage(grid_->TilePicture(t)));
  Label86->setNum(grid_->LastPageIndex() + 1);
  Label87->setNum(grid_->PageIndex() + 1);
}

void TForm4::ShowSelection() {
  Label94->setText(QString::fromStdString(grid_->SelectedNameText()));
  Label29->setText(QString::fromStdString(grid_->PointCountText()));
}

void TForm4::TileClick(int tile) {
  const int framed = grid_->TileIndex();
  grid_->ClickTile(tile);
  for (int t : {framed, tile}) Tiles[t]->setPixmap(QPixmap::fromImage(grid_->TilePicture(t)));
  SetPlayMode(QuickPlayDrawing);
  ShowSelection();
}

void TForm4::PreviousPage() {
  if (!grid_->PreviousPage()) return;
  ShowPage();
  ShowSelection();
}

void TForm4::NextPage() {
  if (!grid_->NextPage()) return;
  ShowPage();
  ShowSelection();
}

void TForm4::RefreshDrawings() {
  grid_->Refresh();
  ShowPage();
  ShowSelection();
}

void TForm4::FindDrawing() {
  TFileList& list = FileListBox1->Files();
  const std::optional<bool> found =
      FindListFile(list, "Find drawing", "drawing name", "drawing1", ".ddr", TCancelAnswer::Initial);
  if (!found) return;
  if (!*found) return ShowStatus("Drawing not found!");
  grid_->ShowDrawing(list.ItemIndex());
  ShowPage();
  ShowSelection();
}

void TForm4::EditSelectedDrawing() {
  const std::string path = FileListBox1->Files().SelectedPath();
  if (!path.empty()) OpenDrawingInEditor(path);
}

// --- ILDA side ---

void TForm4::BrowseIldaFolder(const std::string& folder) {
  const std::string shown = ShowFolder(DriveComboBox1, DirectoryListBox1, folder);
  if (shown.empty()) return;
  TFileList& list = FileListBox2->Files();
  list.SetDirectory(shown);
  if (list.Count() > 0) list.SetItemIndex(0);
  ShowSelectedIldaSize();
  // A new folder is read whether or not the preview is on: it is what ILD mode plays.
  ReadSelectedIlda();
}

void TForm4::ReadSelectedIlda() {
  const std::string path = FileListBox2->Files().SelectedPath();
  if (!path.empty()) preview_.Load(path);
}

// Called wherever the selection moves, so the size shown is never that of a file no longer
// selected, or deleted.
void TForm4::ShowSelectedIldaSize() { ShowSelectedFileSize(FileListBox2->Files(), Label24, FileListBox2); }

void TForm4::FileListBox2Change() {
  if (FileListBox2->Files().ItemIndex() < 0) return;
  ShowSelectedIldaSize();
  if (preview_.On()) ReadSelectedIlda();
}

void TForm4::SetIldPreview(bool on) {
  skinCheckBox1->SetChecked(on);
  IldPreviewItem->setChecked(on);
  preview_.SetOn(on);
  if (on) ReadSelectedIlda();
}

void TForm4::FindIlda() {
  const std::optional<bool> found =
      FindListFile(FileListBox2->Files(), "Find ILDA image", "Image name", "Image1", ".ild", TCancelAnswer::Initial);
  if (!found) return;
  if (!*found) return ShowStatus("Image not found!");
  ShowSelectedIldaSize();
  if (skinCheckBox1->Checked()) ReadSelectedIlda();
}

void TForm4::RefreshIldas() {
  FileListBox2->Files().Refresh();
  ShowSelectedIldaSize();
  if (preview_.On()) ReadSelectedIlda();
}

void TForm4::DeleteIlda() {
  TFileList& list = FileListBox2->Files();
  if (list.ItemIndex() < 0) return;
  const bool neighbourSelected = DeleteSelectedFile(list);
  ShowSelectedIldaSize();
  if (neighbourSelected) {
    if (skinCheckBox1->Checked()) ReadSelectedIlda();
    return;
  }
  // The last file went: nothing is left to preview.
  if (skinCheckBox1->Checked()) SetIldPreview(false);
}

void TForm4::Timer3Timer() {
  ShowNextIldaPreviewFrame(preview_, ildaBitmap_, Image3, Label6, isVisible());
}

}  // namespace kavri
