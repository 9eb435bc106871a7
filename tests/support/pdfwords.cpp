#include "support/pdfwords.h"

#include "prescribing/printfont.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextDocumentFragment>

namespace orvane::test {

namespace {

constexpr double unitsPerPoint = prescribing::deviceUnitsPerInch / 72.0;

double attribute(const QString &element, const QString &name)
{
    const QRegularExpression pattern(name + QStringLiteral("=\"([-0-9.]+)\""));
    return pattern.match(element).captured(1).toDouble() * unitsPerPoint;
}

} // namespace

QList<PdfWord> PdfPage::find(const QString &word) const
{
    QList<PdfWord> found;
    for (const PdfWord &candidate : words) {
        if (candidate.text == word)
            found.append(candidate);
    }
    return found;
}

bool pdfToTextAvailable()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

QList<PdfPage> readPdfPages(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(process.readAllStandardOutput());

    QList<PdfPage> pages;
    static const QRegularExpression element(QStringLiteral("<(page|word)([^>]*)>(?:([^<]*)</word>)?"));
    for (auto match = element.globalMatch(html); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        const QString attributes = found.captured(2);
        if (found.captured(1) == QLatin1String("page")) {
            pages.append(PdfPage{attribute(attributes, QStringLiteral("width")),
                                 attribute(attributes, QStringLiteral("height")), {}});
        } else if (!pages.isEmpty()) {
            pages.last().words.append(PdfWord{QTextDocumentFragment::fromHtml(found.captured(3)).toPlainText(),
                                              attribute(attributes, QStringLiteral("xMin")),
                                              attribute(attributes, QStringLiteral("yMin")),
                                              attribute(attributes, QStringLiteral("xMax")),
                                              attribute(attributes, QStringLiteral("yMax"))});
        }
    }
    return pages;
}

} // namespace orvane::test
