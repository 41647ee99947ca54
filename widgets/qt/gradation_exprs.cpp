#include "widgets/qt/gradation_exprs.h"

#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <ctime>

#include "util/paths.h"
#include "util/qt/window_routines.h"

namespace tavrin {
namespace {

std::string& PictureFileFolder() {
  static std::string folder;
  return folder;
}

// Writes the bytes to a file that did not exist before. False when the file
// exists (it is someone else's, and is left alone) or cannot be written; a
// partly written file of ours is removed.
bool WriteNewFile(const QString& name, const std::vector<std::uint8_t>& bytes) {
  QFile file(name);
  if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return false;
  const auto size = static_cast<qint64>(bytes.size());
  bool written = file.write(reinterpret_cast<const char*>(bytes.data()), size) == size;
  file.close();
  written = written && file.error() == QFileDevice::NoError;
  if (!written) file.remove();
  return written;
}

}  // namespace

TGradationExprs::TGradationExprs(QWidget* owner, QWidget* parent)
    : QWidget(parent ? parent : owner), FOwner(owner) {
  // Qt widgets paint double-buffered already; the owner needs no switch.
}

TGradationExprs::~TGradationExprs() = default;

void TGradationExprs::SetAutoSize(bool on) {
  FAutoSize = on;
  if (on && !FPicture.isNull()) resize(FPicture.size());
}

void TGradationExprs::SetStretch(bool on) {
  FStretch = on;
  update();
}

void TGradationExprs::SetTransparent(bool on) {
  FTransparent = on;
  update();
}

void TGradationExprs::SetPictureFileFolder(std::string folder) {
  PictureFileFolder() = std::move(folder);
}

void TGradationExprs::PrepareImage() {
  if (FAutoSize) SetAutoSize(false);
  if (!FStretch) SetStretch(true);
  if (FTransparent) SetTransparent(false);
}

void TGradationExprs::ShowPicture(const TWorkBitmap& bitmap) {
  // The picture travels through a temporary file in the program's folder,
  // written, read back and deleted at once. Where that cannot be done (a
  // folder that is not writable, a file of that name already there) the
  // same bitmap bytes are read from memory, so the gradient is still shown
  // and nothing of the user's is touched.
  std::string folder = PictureFileFolder().empty() ? ProgramFolder() : PictureFileFolder();
  if (!folder.empty() && folder.back() != '/') folder += '/';
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const QString name = QString::fromStdString(GradationFileName(folder, local));

  const std::vector<std::uint8_t>& bytes = bitmap.FileBytes();
  // Read as an image: QPixmap::load caches by file name and time, and
  // renders within one second share the name.
  QImage picture;
  bool loaded = false;
  if (WriteNewFile(name, bytes)) {
    DropPicture();
    loaded = picture.load(name, "BMP");
    QFile::remove(name);
  }
  if (!loaded) picture.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "BMP");
  FPicture = QPixmap::fromImage(picture);
  if (FAutoSize && !FPicture.isNull()) resize(FPicture.size());
}

int TGradationExprs::DisplayBitsPerPixel() const {
  QScreen* s = screen();
  return s ? s->depth() : 24;
}

void TGradationExprs::mousePressEvent(QMouseEvent* e) {
  if (MouseDownDrag()) DragFormByClient(FOwner, e->button());
  Q_EMIT mouseDown(e->button(), e->modifiers(), e->position().toPoint());
  QWidget::mousePressEvent(e);
}

void TGradationExprs::paintEvent(QPaintEvent*) {
  if (FPicture.isNull()) return;
  QPainter p(this);
  if (FStretch)
    p.drawPixmap(rect(), FPicture);
  else
    p.drawPixmap(0, 0, FPicture);
}

}  // namespace tavrin
