// Plain-text printing through the painting routine the print dialog uses,
// here into PDF files.
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/fonts.h"
#include "platform/text_printing.h"

namespace {

// The text as a one-piece document (a paragraph when asked), made into a
// PDF file at path.
bool TextPdf(const std::string& text, const QString& path, std::string& error, bool paragraph = false) {
  tPrintedDocument document{"Courier New", 8, {{text, nullptr, paragraph}}};
  QByteArray pdf;
  if (!DocumentPdf(document, "report", pdf, error)) return false;
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(pdf) == pdf.size();
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Number of page objects in a PDF written by Qt ("/Type /Page" but not
// "/Type /Pages").
int PageCount(const QByteArray& pdf) {
  int count = 0;
  for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0; at = pdf.indexOf("/Type /Page", at + 1))
    if (pdf.mid(at + 11, 1) != "s") ++count;
  return count;
}

// The text of a PDF by pdftotext, or a null string when it is not installed.
QString PdfText(const QString& path) {
  const QString tool = QStandardPaths::findExecutable("pdftotext");
  if (tool.isEmpty()) return QString();
  QProcess p;
  p.start(tool, {"-layout", path, "-"});
  if (!p.waitForFinished(30000)) return QString();
  return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

TEST(PrintedLines, LineEndsAreNormalisedTabsExpandedAndTheFinalEndAddsNoLine) {
  EXPECT_EQ(PrintedLines("a\r\nb\rc\n"), (QStringList{"a", "b", "c"}));
  EXPECT_EQ(PrintedLines("a\n\n"), (QStringList{"a", ""}));
  EXPECT_EQ(PrintedLines("\n"), QStringList{""});
  EXPECT_TRUE(PrintedLines("").isEmpty());
  EXPECT_EQ(PrintedLines("ab\tc\t"), QStringList{"ab      c       "});
}

TEST(Fonts, CourierNewResolvesToAMonospacedFamily) {
  const QFont font = SubstitutedFont("Courier New", 8);
  EXPECT_EQ(font.family(), "Courier New");
  EXPECT_EQ(font.pointSize(), 8);
  const QFontInfo info(font);
  EXPECT_TRUE(info.fixedPitch()) << info.family().toStdString();
  if (QFontDatabase::hasFamily("Liberation Mono")) {
    EXPECT_EQ(info.family(), "Liberation Mono");
  }
}

TEST(PrintToPdf, WritesEveryLineInOrderOverAsManyPagesAsNeeded) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("report.pdf");
  std::string text;
  for (int i = 1; i <= 200; ++i) text += "Line " + std::to_string(i) + " of the report\n";
  // A line far wider than the page continues on the next printed line.
  const std::string wide = "W" + std::string(300, '-') + "E";
  text += wide + "\n";

  std::string error;
  ASSERT_TRUE(TextPdf(text, path, error)) << error;
  EXPECT_TRUE(error.empty());
  const QByteArray pdf = ReadAll(path);
  ASSERT_TRUE(pdf.startsWith("%PDF-"));
  // About 80 lines of 8 points fit on an A4 page within the margins.
  EXPECT_GE(PageCount(pdf), 3);
  EXPECT_LE(PageCount(pdf), 4);
  if (QFontDatabase::hasFamily("Liberation Mono")) {
    EXPECT_TRUE(pdf.contains("LiberationMono")) << "report font not embedded";
  }

  const QString printed = PdfText(path);
  if (printed.isNull()) GTEST_SKIP() << "pdftotext not installed: text order not checked";
  qsizetype at = 0;
  for (int i = 1; i <= 200; ++i) {
    const qsizetype next = printed.indexOf(QString("Line %1 of the report").arg(i), at);
    ASSERT_GE(next, at) << "line " << i << " missing or out of order";
    at = next;
  }
  QString rest = printed.mid(at);
  rest.remove(QRegularExpression("\\s"));
  EXPECT_TRUE(rest.contains(QString::fromStdString(wide))) << "characters of the wide line lost";
}

TEST(PrintToPdf, EmptyTextGivesAPdfAndAPrinterThatCannotOpenAReason) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  std::string error;
  EXPECT_TRUE(TextPdf("", dir.filePath("empty.pdf"), error)) << error;
  EXPECT_TRUE(ReadAll(dir.filePath("empty.pdf")).startsWith("%PDF-"));

  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath("no such folder/report.pdf"));
  EXPECT_FALSE(PaintDocumentPages(printer, {"Courier New", 8, {{"text\n", nullptr}}}, error));
  EXPECT_NE(error.find("no such folder/report.pdf"), std::string::npos) << error;
}

// A paragraph (the summary in words) wraps at blanks: every printed line
// holds whole words, and they come back in order; the same words as plain
// lines would be split inside a word.
TEST(PrintToPdf, AParagraphWrapsAtBlanksAndKeepsEveryWord) {
  QTemporaryDir dir;
  const QString path = dir.filePath("paragraph.pdf");
  std::string words, error;
  for (int i = 1; i <= 60; ++i) words += (i > 1 ? " word" : "word") + std::to_string(i) + "x";
  ASSERT_TRUE(TextPdf(words + "\n", path, error, true)) << error;
  const QString printed = PdfText(path);
  if (printed.isNull()) GTEST_SKIP() << "pdftotext not installed";
  const QStringList lines = printed.trimmed().split(QRegularExpression("\\s*\n\\s*"), Qt::SkipEmptyParts);
  EXPECT_GE(lines.size(), 3) << printed.toStdString();
  for (const QString& line : lines)
    EXPECT_TRUE(QRegularExpression("^(word\\d+x ?)+$").match(line.simplified()).hasMatch()) << line.toStdString();
  EXPECT_EQ(lines.join(' ').simplified().toStdString(), words);
}
