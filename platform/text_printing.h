// Printing plain text: one painting routine for every output, the printer
// the user chose and a PDF file named by the caller (the latter lets the
// whole print path run without a dialog).
#pragma once

#include <QString>
#include <QStringList>
#include <string>

class QPrinter;

// Paints text on the printer as plain lines in the given font family and
// point size, top to bottom, page after page. Line ends may be "\n",
// "\r\n" or "\r"; a final line end adds no empty line; tabs advance to the
// next multiple of eight columns; a line wider than the page continues on
// the next printed line so that no character is lost. Returns false with a
// reason in error when the printer cannot be opened or the job fails.
bool PrintPlainText(QPrinter& printer, const std::string& text, const std::string& fontFamily,
                    int pointSize, std::string& error);

// Gives the printer the page margins of every print job (10 mm on each
// side); set before the print dialog so that the dialog shows them.
void SetPrintMargins(QPrinter& printer);

// Prints text to a PDF file (A4) through PrintPlainText. An existing file
// of that name is replaced. Returns false with a reason in error when the
// file cannot be written.
bool PrintTextToPdf(const std::string& text, const std::string& fontFamily, int pointSize,
                    const std::string& pdfPath, std::string& error);

// Splits text into the lines that are printed, before wrapping: line ends
// normalised, the empty piece after a final line end dropped, tabs expanded.
QStringList PrintedLines(const QString& text);
