#include "records/lettercolumn.h"

#include <QScrollBar>

namespace orvane::records {

namespace {

constexpr int rowsAtLeast = 4;

} // namespace

LetterColumn::LetterColumn(QWidget *parent)
    : QListWidget(parent)
{
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        addItem(QString(QLatin1Char(letter)));
    setSelectionMode(QAbstractItemView::SingleSelection);
    fitWidth();
}

QSize LetterColumn::minimumSizeHint() const
{
    return {width(), fontMetrics().height() * rowsAtLeast + 2 * frameWidth()};
}

void LetterColumn::setEmphasis(const QColor &colour)
{
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    for (int i = 0; i < count(); ++i)
        item(i)->setForeground(colour);
    fitWidth();
}

void LetterColumn::fitWidth()
{
    setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("WW")) + verticalScrollBar()->sizeHint().width()
                  + 2 * frameWidth() + 4);
}

} // namespace orvane::records
