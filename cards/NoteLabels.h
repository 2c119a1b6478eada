#pragma once

#include "ContactValues.h"

#include <QHash>
#include <QStringList>

#include <optional>

// The fields a card has no property for travel in its note as "Label: value"
// lines. The labels must name one field each, both ways: an unlabelled field
// is "Feld 150", a label that several fields share gets the number added
// ("Empfehlung (42)").
class NoteLabels
{
public:
    explicit NoteLabels(const FieldCatalogue &catalogue);

    QString LabelOf(qint32 number) const;
    std::optional<qint32> NumberOf(const QString &label) const;

    // "Label: value" lines (CR LF between them) for every field without a property.
    QString NoteText(const ContactValues &values) const;
    // Reads such lines back into `values`. A line that does not start with a
    // known label continues the value before it (values may span lines);
    // lines before the first known label are returned.
    QStringList ReadNote(const QString &note, ContactValues &values) const;

private:
    QHash<qint32, QString> m_labels;
    QHash<QString, qint32> m_numbers;
};

// Whether the card has a property of its own for this field.
bool HasCardProperty(qint32 number);
