// Opening a document: the folder is made current, then the desktop is asked.
#include <QDesktopServices>
#include <QDir>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <filesystem>

#include "util/qt/shell_open.h"

using namespace tavrin;

class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> urls;
  QString folderAtOpen;
 public Q_SLOTS:
  void open(const QUrl& url) {
    urls << url;
    folderAtOpen = QDir::currentPath();
  }
};

class ShellOpenTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void openWithShellSetsFolderThenOpens() {
    QTemporaryDir dir;
    QString old = QDir::currentPath();
    QDir(dir.path()).mkdir(QStringLiteral("docs"));
    QString doc = dir.path() + QStringLiteral("/docs/help.pdf");
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    OpenWithShell(nullptr, doc.toStdString());
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(catcher.urls, QList<QUrl>{QUrl::fromLocalFile(doc)});
    QCOMPARE(QDir(catcher.folderAtOpen).canonicalPath(),
             QDir(dir.path() + QStringLiteral("/docs")).canonicalPath());
    QDir::setCurrent(old);
  }

  void openWithShellResolvesRelativePathFirst() {
    QTemporaryDir dir;
    QString old = QDir::currentPath();
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    QDir::setCurrent(dir.path());
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    OpenWithShell(nullptr, "sub/a.pdf");
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(catcher.urls.size(), 1);
    QFileInfo opened(catcher.urls[0].toLocalFile());
    QCOMPARE(opened.fileName(), QStringLiteral("a.pdf"));
    QCOMPARE(QDir(opened.absolutePath()).canonicalPath(),
             QDir(dir.path() + QStringLiteral("/sub")).canonicalPath());
    QDir::setCurrent(old);
  }

  void openWithShellFailsForMissingFolder() {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    QString old = QDir::currentPath();
    bool thrown = false;
    try {
      OpenWithShell(nullptr, "/nonexistent-tavrin-folder/help.pdf");
    } catch (const std::filesystem::filesystem_error&) {
      thrown = true;
    }
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QVERIFY(thrown);
    QVERIFY(catcher.urls.isEmpty());
    QCOMPARE(QDir::currentPath(), old);
  }
};

QTEST_MAIN(ShellOpenTest)
#include "shell_open_qttest.moc"
