#pragma once

#include <QListWidget>

namespace orvane::records {

// The column of the letters A to Z beside a list, a click on one moving the list to the first
// word at or after it. As narrow as two letters and its scroll bar; a few letters tall at least.
class LetterColumn : public QListWidget
{
    Q_OBJECT

public:
    explicit LetterColumn(QWidget *parent = nullptr);
    QSize minimumSizeHint() const override;
    // Letters shown in bold and in that colour.
    void setEmphasis(const QColor &colour);

private:
    void fitWidth();
};

} // namespace orvane::records
