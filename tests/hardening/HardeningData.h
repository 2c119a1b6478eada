#pragma once

#include "support/FieldRows.h"

#include <QString>
#include <QVariantList>

// What the writer child and the tests agree on.
namespace HardeningData {

// Two catalogues of different length, big enough that one save takes a while.
inline void FillCatalogue(FieldRows &rows, bool second)
{
    rows.ClearAllLists();
    const int count = second ? 700 : 1500;
    for (int i = 0; i < count; ++i) {
        const QString name = second ? QStringLiteral("Zweites Feld Nr. %1 – Ölmühle").arg(i)
                                    : QStringLiteral("Feld %1 der ersten Liste").arg(i);
        rows.AddEntryToAllRows(name, second ? 20000 - i : i + 1);
    }
}

inline const QString CycledCommand = QStringLiteral("Dauerläufer");

inline QVariantList AddArguments(const QString &name)
{
    return {name,
            QStringLiteral("/opt/ordalis/bin/ordalis"),
            QStringLiteral("/opt/ordalis/bin"),
            QStringLiteral("Adresse übernehmen"),
            QStringLiteral("Übernimmt die Adresse aus der Zwischenablage"),
            QStringLiteral("/opt/ordalis/klein.ico"),
            QStringLiteral("/opt/ordalis/gross.ico"),
            QVariant::fromValue<short>(0)};
}

} // namespace HardeningData
