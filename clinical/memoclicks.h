#pragma once

#include <QObject>

class QPlainTextEdit;

namespace orvane::clinical {

// Reports every click into a memo: the running texts check their date on each one.
class MemoClicks : public QObject
{
    Q_OBJECT

public:
    explicit MemoClicks(QPlainTextEdit *memo);

signals:
    void clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace orvane::clinical
