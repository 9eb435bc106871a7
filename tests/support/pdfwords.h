#pragma once

#include <QList>
#include <QString>

namespace orvane::test {

// A word of a PDF page as pdftotext -bbox reports it, its box converted to device units.
struct PdfWord
{
    QString text;
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

struct PdfPage
{
    double width = 0; // device units
    double height = 0;
    QList<PdfWord> words;

    // The words equal to the given one, in reading order.
    QList<PdfWord> find(const QString &word) const;
};

// Whether pdftotext is installed.
bool pdfToTextAvailable();

// The pages of a PDF file; empty when the file cannot be read.
QList<PdfPage> readPdfPages(const QString &path);

} // namespace orvane::test
