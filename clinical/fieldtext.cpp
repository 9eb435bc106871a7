#include "clinical/fieldtext.h"

#include "platform/textlines.h"
#include "records/table.h"

namespace orvane::clinical {

void changeTextField(records::Table &table, const QString &field, const std::function<void(QString &)> &change)
{
    table.edit();
    QString text = table.text(field);
    change(text);
    table.setText(field, text);
    table.post();
}

void appendLinesToField(records::Table &table, const QString &field, const QStringList &lines)
{
    changeTextField(table, field, [&lines](QString &text) { appendLines(text, lines); });
}

} // namespace orvane::clinical
