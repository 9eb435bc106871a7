#include "clinical/labgridmodel.h"

#include "platform/clock.h"

#include <QBrush>
#include <QFont>
#include <QFontMetrics>
#include <algorithm>

namespace orvane::clinical {

void LabGridModel::setGrid(LabGrid grid)
{
    beginResetModel();
    m_grid = std::move(grid);
    endResetModel();
}

QString LabGridModel::dateText(int column) const
{
    const QDate date = m_grid.dates.value(column);
    return date.isValid() ? shortDateText(date) : QStringLiteral("sans date");
}

const LabGrid::Cell *LabGridModel::cell(int row, int column) const
{
    if (row < 0 || row >= m_grid.rows.size() || column < 0 || column >= m_grid.dates.size())
        return nullptr;
    const std::optional<LabGrid::Cell> &cell = m_grid.cells.at(row).at(column);
    return cell ? &*cell : nullptr;
}

QList<int> LabGridModel::columnWidths(const QFontMetrics &boldMetrics) const
{
    // The margins a view's cell keeps around its text.
    const int padding = boldMetrics.horizontalAdvance(QLatin1Char('M'));
    QList<int> widths;
    for (int column = 0; column < m_grid.dates.size(); ++column) {
        int widest = boldMetrics.horizontalAdvance(dateText(column));
        for (int row = 0; row < m_grid.rows.size(); ++row) {
            if (const LabGrid::Cell *shown = cell(row, column))
                widest = std::max(widest, boldMetrics.horizontalAdvance(shownText(shown->shown)));
        }
        widths.append(widest + padding);
    }
    return widths;
}

int LabGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_grid.rows.size());
}

int LabGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_grid.dates.size());
}

QVariant LabGridModel::data(const QModelIndex &index, int role) const
{
    const LabGrid::Cell *shown = cell(index.row(), index.column());
    if (!shown)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return shownText(shown->shown);
    case Qt::ToolTipRole:
        return detailsOf(*shown);
    case Qt::ForegroundRole:
        return shown->shown.abnormal() ? QVariant(QBrush(Qt::red)) : QVariant();
    case Qt::FontRole:
        if (!shown->shown.seen) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default:
        return {};
    }
}

QVariant LabGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    return orientation == Qt::Horizontal ? QVariant(dateText(section)) : QVariant(m_grid.rows.value(section));
}

QString LabGridModel::shownText(const StoredLabResult &result)
{
    // A value sent as pages of text shows its beginning; the whole of it stays stored.
    const int longest = 60;
    QString text = LabGrid::cellText(result);
    if (text.size() > longest)
        text = text.left(longest) + QChar(0x2026);
    return text + (result.alert.isEmpty() ? QString() : QStringLiteral(" (!)"));
}

QString LabGridModel::detailsOf(const LabGrid::Cell &cell)
{
    const StoredLabResult &shown = cell.shown;
    QStringList lines;
    lines.append(shown.label.isEmpty() ? shown.code : shown.label);
    if (!shown.low.isEmpty() || !shown.high.isEmpty())
        lines.append(QStringLiteral("Normales : %1 - %2").arg(shown.low, shown.high));
    if (!shown.value2.isEmpty())
        lines.append(QStringLiteral("Soit %1 %2").arg(shown.value2, shown.unit2));
    if (!shown.laboratory.isEmpty())
        lines.append(shown.laboratory);
    if (!shown.comment.isEmpty())
        lines.append(shown.comment);
    if (!shown.alert.isEmpty())
        lines.append(shown.alert);
    for (const StoredLabResult &other : cell.alsoSent)
        lines.append(QStringLiteral("Aussi envoyé : %1").arg(LabGrid::cellText(other)));
    for (const StoredLabResult &former : cell.history)
        lines.append(QStringLiteral("Valeur remplacée : %1").arg(LabGrid::cellText(former)));
    return lines.join(QLatin1Char('\n'));
}

} // namespace orvane::clinical
