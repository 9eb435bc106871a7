#pragma once

#include "prescribing/printersurface.h"

#include <QHash>
#include <QList>
#include <QStringList>

namespace orvane::test {

// A printer surface that keeps every call, for layout tests. Texts are measured as on paper
// (in the device units) unless a test fixes the width of a particular text.
class RecordingSurface final : public prescribing::PrinterSurface
{
public:
    struct Text
    {
        QString text;
        int x = 0;
        int y = 0;
        prescribing::PrintFont font;
    };
    struct Line
    {
        int x1 = 0;
        int y1 = 0;
        int x2 = 0;
        int y2 = 0;
    };
    // One print job, its drawing calls in order ("text ...", "line ...").
    struct Document
    {
        PrintJob job;
        QList<Text> texts;
        QList<Line> lines;
        QStringList calls;

        // The texts equal to the given one, in the order drawn.
        QList<Text> find(const QString &text) const;
        // The one text equal to the given one; fails the running test when there is not exactly one.
        Text only(const QString &text) const;
        QStringList textsInOrder() const;
    };

    void beginDocument(const PrintJob &job) override;
    void endDocument() override;
    void setFont(const prescribing::PrintFont &font) override;
    void drawText(int x, int y, const QString &text) override;
    int textWidth(const QString &text) override;
    void drawLine(int x1, int y1, int x2, int y2) override;
    QSize printableArea() override { return m_printableArea; }
    bool setUpPrinter(QWidget *parent) override;

    void fixWidth(const QString &text, int width) { m_fixedWidths.insert(text, width); }
    void answerSetUp(bool confirmed) { m_setUpAnswer = confirmed; }
    void setPrintableArea(const QSize &area) { m_printableArea = area; }

    const QList<Document> &documents() const { return m_documents; }
    bool documentOpen() const { return m_open; }
    int setUpRequests() const { return m_setUpRequests; }
    const prescribing::PrintFont &currentFont() const { return m_font; }

private:
    Document &current();

    QList<Document> m_documents;
    bool m_open = false;
    prescribing::PrintFont m_font;
    QHash<QString, int> m_fixedWidths;
    bool m_setUpAnswer = true;
    // A whole A4 sheet at 1/360 inch, unless a test says otherwise.
    QSize m_printableArea{2976, 4209};
    int m_setUpRequests = 0;
};

} // namespace orvane::test
