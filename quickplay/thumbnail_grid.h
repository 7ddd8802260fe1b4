#pragma once
// The drawings of Quick play's thumbnail grid: pages of 30 tiles over the drawing file list, the
// framed tile, and the thumbnails, drawn when a page first shows them and kept in a bounded cache,
// so that opening on a folder of thousands of drawings reads only the first page's files.
#include <QImage>
#include <list>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/file_list.h"

namespace kavri {

constexpr int kTilesPerPage = 30;
constexpr int kTileColumns = 6;
constexpr int kThumbnailSide = 64;

// Points of a drawing file, counted from its size (one 5-byte record a point); nothing for a file
// the drawing reader would not read (missing, not a regular file, or past its size limit).
std::optional<int> DrawingFilePointCount(const std::string& path);
// The drawing at a quarter of its size on black; all black when the file is missing or unreadable.
QImage DrawThumbnail(const std::string& path);

class TThumbnailGrid {
 public:
  // Pages of `drawings`, which the grid also selects in; keeps at most `cacheLimit` thumbnails.
  explicit TThumbnailGrid(TFileList& drawings, size_t cacheLimit = 4 * kTilesPerPage);

  int LastPageIndex() const { return drawings_.Count() / kTilesPerPage; }
  int PageIndex() const { return page_; }
  int TileIndex() const { return tile_; }  // the framed tile of the page

  // The drawing behind a tile of the page shown; -1 for a grey tile.
  int DrawingAt(int tile) const;
  // The tile's picture: the thumbnail or grey, with the red frame on the framed tile.
  QImage TilePicture(int tile);

  // Back to page 0 with the first tile framed and the first drawing selected.
  void Reset();
  // Frames the tile and selects its drawing; a grey tile keeps the drawing selected before.
  void ClickTile(int tile);
  // One page back or on (false at the ends). The frame keeps its tile position, selecting what
  // lies there, or nothing.
  bool PreviousPage();
  bool NextPage();
  // Shows the page of the drawing, framing and selecting it.
  void ShowDrawing(int index);
  // Re-reads the folder, keeps the selected name (else the first drawing, on page 0) and forgets
  // the thumbnails.
  void Refresh();

  // The labels of the selection: its name ("None") and its point count ("00000") when none; a
  // drawing that cannot be read shows no count ("").
  std::string SelectedNameText() const;
  std::string PointCountText() const;

  size_t CachedCount() const { return cache_.size(); }

 private:
  const QImage& Thumbnail(int index);

  TFileList& drawings_;
  size_t cacheLimit_;
  int page_ = 0;
  int tile_ = 0;
  std::list<int> recent_;  // cached drawing indexes, latest first
  struct TCached {
    QImage image;
    std::list<int>::iterator use;
  };
  std::unordered_map<int, TCached> cache_;
  QImage grey_;
};

}  // namespace kavri
