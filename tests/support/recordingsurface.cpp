#include "support/recordingsurface.h"

#include <QTest>

namespace orvane::test {

QList<RecordingSurface::Text> RecordingSurface::Document::find(const QString &text) const
{
    QList<Text> found;
    for (const Text &drawn : texts) {
        if (drawn.text == text)
            found.append(drawn);
    }
    return found;
}

RecordingSurface::Text RecordingSurface::Document::only(const QString &text) const
{
    const QList<Text> found = find(text);
    if (found.size() != 1) {
        const QByteArray what = QStringLiteral("'%1' drawn %2 times").arg(text).arg(found.size()).toUtf8();
        QTest::qFail(what.constData(), __FILE__, __LINE__);
        return Text{};
    }
    return found.first();
}

QStringList RecordingSurface::Document::textsInOrder() const
{
    QStringList result;
    for (const Text &drawn : texts)
        result.append(drawn.text);
    return result;
}

RecordingSurface::Document &RecordingSurface::current()
{
    if (!m_open)
        QTest::qFail("drawing outside a print job", __FILE__, __LINE__);
    if (m_documents.isEmpty())
        m_documents.append(Document{});
    return m_documents.last();
}

void RecordingSurface::beginDocument(const PrintJob &job)
{
    if (m_open)
        QTest::qFail("print job begun twice", __FILE__, __LINE__);
    m_documents.append(Document{job, {}, {}, {}});
    m_open = true;
}

void RecordingSurface::endDocument()
{
    if (!m_open)
        QTest::qFail("print job ended without a beginning", __FILE__, __LINE__);
    m_open = false;
}

void RecordingSurface::setFont(const prescribing::PrintFont &font)
{
    m_font = font;
}

void RecordingSurface::drawText(int x, int y, const QString &text)
{
    Document &document = current();
    document.texts.append(Text{text, x, y, m_font});
    document.calls.append(QStringLiteral("text %1 %2 %3").arg(x).arg(y).arg(text));
}

int RecordingSurface::textWidth(const QString &text)
{
    const auto fixed = m_fixedWidths.constFind(text);
    if (fixed != m_fixedWidths.constEnd())
        return *fixed;
    return prescribing::deviceTextWidth(m_font, text);
}

void RecordingSurface::drawLine(int x1, int y1, int x2, int y2)
{
    Document &document = current();
    document.lines.append(Line{x1, y1, x2, y2});
    document.calls.append(QStringLiteral("line %1 %2 %3 %4").arg(x1).arg(y1).arg(x2).arg(y2));
}

bool RecordingSurface::setUpPrinter(QWidget *)
{
    ++m_setUpRequests;
    return m_setUpAnswer;
}

} // namespace orvane::test
