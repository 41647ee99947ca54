// Renders the Markdown source of the user manual into the help PDF that
// stands beside the executables:
//   tavrin-helppdf <manual.md> <output.pdf>
// Runs headless (the offscreen platform is chosen when none is set) and fails
// when the Japanese font is missing, so a build never ships a PDF of blanks.
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QTextTableFormat>
#include <cstdio>

namespace {

const char kFontFamily[] = "Noto Sans CJK JP";

int Fail(const QString& message) {
  std::fprintf(stderr, "tavrin-helppdf: %s\n", message.toLocal8Bit().constData());
  return 1;
}

// Markdown tables come without rules; give them thin borders and padding
// so the option tables read as tables on paper.
void StyleTables(QTextFrame* frame) {
  for (QTextFrame* child : frame->childFrames()) {
    if (auto* table = qobject_cast<QTextTable*>(child)) {
      QTextTableFormat format = table->format();
      format.setBorder(0.5);
      format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
      format.setBorderCollapse(true);
      format.setCellPadding(4);
      format.setCellSpacing(0);
      format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
      table->setFormat(format);
    }
    StyleTables(child);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  if (argc != 3) return Fail(QStringLiteral("usage: tavrin-helppdf <manual.md> <output.pdf>"));
  const QString input = QString::fromLocal8Bit(argv[1]);
  const QString output = QString::fromLocal8Bit(argv[2]);

  QFile source(input);
  if (!source.open(QIODevice::ReadOnly)) return Fail(QStringLiteral("cannot read ") + input);
  const QString markdown = QString::fromUtf8(source.readAll());
  if (markdown.trimmed().isEmpty()) return Fail(input + QStringLiteral(" is empty"));

  const QString family = QString::fromLatin1(kFontFamily);
  if (!QFontDatabase::families(QFontDatabase::Japanese).contains(family))
    return Fail(family + QStringLiteral(" is not installed (package fonts-noto-cjk)"));
  QFont font(family);
  font.setPointSizeF(10.5);
  if (QFontInfo(font).family() != family) return Fail(QStringLiteral("cannot load ") + family);

  QTextDocument document;
  document.setDefaultFont(font);
  document.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
  StyleTables(document.rootFrame());

  QPdfWriter writer(output);
  writer.setTitle(QStringLiteral("Tavrin ユーザーズマニュアル"));
  writer.setCreator(QStringLiteral("Tavrin"));
  writer.setResolution(300);
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
  document.print(&writer);

  // QPdfWriter reports no write errors; check that a file came out.
  QFile written(output);
  if (!written.exists() || written.size() == 0) return Fail(QStringLiteral("cannot write ") + output);
  return 0;
}
