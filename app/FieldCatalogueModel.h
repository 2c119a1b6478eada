#pragma once

#include <QAbstractListModel>
#include <QStringList>

class FieldRows;

// The one list model behind all sixteen field lists: the rows' catalogue in
// its sorted order. A field load adds thousands of entries one by one, so the
// model takes a new snapshot once per burst of changes, not once per entry.
class FieldCatalogueModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit FieldCatalogueModel(const FieldRows &rows, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    // Takes the snapshot now if the catalogue changed since the last one.
    // Returns true when it did.
    bool Refresh();

signals:
    // After a new snapshot: the lists must take their selections again.
    void refreshed();

private:
    void catalogueChanged();

    const FieldRows &m_rows;
    QStringList m_names;
    bool m_dirty = false;
    bool m_refreshQueued = false;
};
