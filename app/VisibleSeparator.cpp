#include "VisibleSeparator.h"

#include <QStringList>

#include <algorithm>
#include <iterator>

namespace {

// Characters that an empty-looking box would hide, each shown as one visible
// sign (one for one, so cursor positions stay valid while typing) and named in
// the tool tip.
struct VisibleCharacter
{
    QChar character;
    QChar sign;
    const char *name;
};
constexpr VisibleCharacter VisibleCharacters[] = {
    {u' ', u'\u2423', "Leerzeichen"},                    // ␣
    {u'\t', u'\u21E5', "Tabulator"},                     // ⇥
    {u'\r', u'\u21B5', "Zeilenumbruch (Wagenrücklauf)"}, // ↵
    {u'\n', u'\u240A', "Zeilenvorschub"},                // ␊
};

// Other control characters show as their control picture (U+2400 + code).
constexpr char16_t ControlPictures = 0x2400;

enum class Direction { ToSigns, FromSigns };

QString swapSigns(QString text, Direction direction)
{
    const bool toSigns = direction == Direction::ToSigns;
    for (QChar &c : text) {
        const auto known = std::find_if(
            std::begin(VisibleCharacters), std::end(VisibleCharacters),
            [&](const VisibleCharacter &v) { return c == (toSigns ? v.character : v.sign); });
        if (known != std::end(VisibleCharacters))
            c = toSigns ? known->sign : known->character;
        else if (toSigns && c.unicode() < 0x20)
            c = QChar(ControlPictures + c.unicode());
        else if (!toSigns && c.unicode() >= ControlPictures && c.unicode() < ControlPictures + 0x20)
            c = QChar(c.unicode() - ControlPictures);
    }
    return text;
}

} // namespace

QString VisibleSeparator(const QString &separator)
{
    return swapSigns(separator, Direction::ToSigns);
}

QString SeparatorFromShown(const QString &shown)
{
    return swapSigns(shown, Direction::FromSigns);
}

QString SeparatorNames(const QString &separator)
{
    QStringList names;
    for (QChar c : separator) {
        QString name = QStringLiteral("„%1“").arg(c);
        for (const VisibleCharacter &visible : VisibleCharacters) {
            if (c == visible.character)
                name = QString::fromUtf8(visible.name);
        }
        if (c.unicode() < 0x20 && name.startsWith(u'„'))
            name = QStringLiteral("Steuerzeichen %1").arg(c.unicode());
        names.append(name);
    }
    return names.join(QStringLiteral(", "));
}
