#pragma once

#include <QIdentityProxyModel>

namespace orvane {

// The file list of Qt's own file dialog as a French reader reads it: sizes and dates in French
// forms whatever the system's language (Qt writes them in the system's), folders typed "Dossier".
class FrenchFileColumns : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // The columns of the file system's list.
    enum Column { Name, Size, Type, Modified };
};

} // namespace orvane
