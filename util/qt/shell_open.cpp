#include "util/qt/shell_open.h"

#include <QDesktopServices>
#include <QProcess>
#include <QString>
#include <QUrl>
#include <filesystem>

#include "util/paths.h"

namespace tavrin {

bool OpenWithShell(QWidget*, const std::string& document) {
  // Resolved before the folder changes, so a relative path still names the
  // document the caller meant.
  std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(document));
  std::filesystem::current_path(std::filesystem::path(FolderOf(document)));
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(absolute.string())));
}

bool OpenInEditor(const std::string& path) {
  return QProcess::startDetached(QStringLiteral("xdg-open"), {QString::fromStdString(path)});
}

}  // namespace tavrin
