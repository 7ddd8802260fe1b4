#include "skin/skin_pictures.h"

#include <QDebug>
#include <QFile>
#include <map>
#include <mutex>
#include <string>

#include "skin/pixel_ops.h"

static void InitSkinArtResources() { Q_INIT_RESOURCE(skin_art); }

namespace kavri {
namespace {

QString ResourcePath(std::string_view name) {
  return QStringLiteral(":/skin/") + QString::fromUtf8(name.data(), static_cast<int>(name.size())) +
         QStringLiteral(".png");
}

}  // namespace

QImage LoadSkinPicture(std::string_view name) {
  static std::once_flag init;
  std::call_once(init, InitSkinArtResources);
  static std::mutex lock;
  static std::map<std::string, QImage, std::less<>> cache;
  std::lock_guard<std::mutex> guard(lock);
  if (auto it = cache.find(name); it != cache.end()) return it->second;
  QImage image;
  if (!name.empty()) {
    image = ToSkinBitmap(QImage(ResourcePath(name)));
    if (image.isNull()) qWarning() << "skin picture missing:" << QString::fromUtf8(name.data(), int(name.size()));
  }
  cache.emplace(std::string(name), image);
  return image;
}

bool SkinPictureExists(std::string_view name) { return !LoadSkinPicture(name).isNull(); }

}  // namespace kavri
