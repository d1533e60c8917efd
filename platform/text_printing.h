// Printing the report: one painting routine for every output, the printer
// the user chose and a PDF file. The text goes as plain lines in its font
// and size; a drawing stands between the lines at a fixed printed width.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <string>

#include "platform/printed_document.h"

class QPagedPaintDevice;

// Width of a printed drawing (narrower when the page is), in millimetres:
// beside the report's 8-point text it keeps the proportions of the screen.
inline constexpr double PrintedDrawingMillimetres = 155.0;

// Paints the document on the device top to bottom, page after page. Text
// pieces: line ends may be "\n", "\r\n" or "\r"; a final line end adds no
// empty line; tabs advance to the next multiple of eight columns; a line
// wider than the page continues on the next printed line so that no
// character is lost; a paragraph's line continues after the last blank
// that fits (a word wider than the page is split). A drawing has one empty line above and below it and
// starts a new page when it does not fit on the rest of the current one.
// Returns false with a reason in error when the device cannot be opened or
// the job fails.
bool PaintDocumentPages(QPagedPaintDevice& device, const tPrintedDocument& document, std::string& error);

// Gives the device the page margins of every print job (10 mm on each
// side); set before the print dialog so that the dialog shows them.
void SetPrintMargins(QPagedPaintDevice& device);

// The document as the bytes of a PDF file (A4, the print margins), titled
// title. Returns false with a reason in error when it cannot be made.
bool DocumentPdf(const tPrintedDocument& document, const QString& title, QByteArray& pdf, std::string& error);

// Splits text into the lines that are printed, before wrapping: line ends
// normalised, the empty piece after a final line end dropped, tabs expanded.
QStringList PrintedLines(const QString& text);
