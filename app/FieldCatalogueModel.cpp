#include "FieldCatalogueModel.h"

#include "support/FieldRows.h"

#include <QMetaObject>

FieldCatalogueModel::FieldCatalogueModel(const FieldRows &rows, QObject *parent)
    : QAbstractListModel(parent), m_rows(rows)
{
    connect(&rows, &FieldRows::catalogueChanged, this, &FieldCatalogueModel::catalogueChanged);
    m_dirty = true;
    Refresh();
}

int FieldCatalogueModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant FieldCatalogueModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_names.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_names.at(index.row());
    return {};
}

void FieldCatalogueModel::catalogueChanged()
{
    m_dirty = true;
    if (m_refreshQueued)
        return;
    m_refreshQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_refreshQueued = false;
            Refresh();
        },
        Qt::QueuedConnection);
}

bool FieldCatalogueModel::Refresh()
{
    if (!m_dirty)
        return false;
    m_dirty = false;
    QStringList names;
    const int count = m_rows.EntryCount();
    names.reserve(count);
    for (int position = 0; position < count; ++position)
        names.append(m_rows.EntryAt(position).Name);
    beginResetModel();
    m_names = std::move(names);
    endResetModel();
    emit refreshed();
    return true;
}
