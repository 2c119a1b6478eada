#include "ClipboardCard.h"

#include "cards/NoteLabels.h"
#include "cards/VCardImport.h"
#include "cards/VCardReader.h"

#include <QMimeData>

using namespace Qt::StringLiterals;

namespace {

QByteArray cardBytes(const QMimeData &data)
{
    for (const QString &type : {u"text/vcard"_s, u"text/x-vcard"_s}) {
        if (data.hasFormat(type))
            return data.data(type);
    }
    if (!data.hasText())
        return {};
    const QString text = data.text();
    // Only a text that is a card, not an address that quotes one.
    if (!text.trimmed().startsWith(u"BEGIN:VCARD"_s, Qt::CaseInsensitive))
        return {};
    return text.toUtf8();
}

} // namespace

std::optional<ClipboardCard> CardOnClipboard(const QMimeData *data, const FieldCatalogue &catalogue)
{
    if (data == nullptr)
        return std::nullopt;
    const QByteArray bytes = cardBytes(*data);
    if (bytes.isEmpty())
        return std::nullopt;
    const VCardReadResult read = ReadVCards(bytes);
    if (read.Cards.isEmpty())
        return std::nullopt;
    ContactValues values = ContactFromVCard(read.Cards.first(), NoteLabels(catalogue)).Values;
    if (values.isEmpty())
        return std::nullopt;
    return ClipboardCard{values, QString::fromUtf8(bytes)};
}
