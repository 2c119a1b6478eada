#include "SettingsFile.h"

#include "Diagnostics.h"
#include "FieldRows.h"
#include "FileTools.h"
#include "IniFile.h"
#include "ProgramFolder.h"

#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace {

const QString ConfigSection = QStringLiteral("Config");
const QString FieldSection = QStringLiteral("Felder");
const QString DefinitionSection = QStringLiteral("Definitionen");
constexpr int ReadBufferLength = 8192;
constexpr int MaxNumberedKeys = 32767; // the counters were 16-bit

// All reads of one run come from one snapshot of the file, read once.
QString readKey(const IniDocument &document, const QString &section, const QString &key,
                const QString &standard)
{
    return document.readText(section, key, standard, ReadBufferLength);
}

// The leading numeric part of the text (none gives 0), rounded half to even; no
// value when that falls outside 16 bits.
std::optional<qint16> definitionNumber(const QString &text)
{
    static const QRegularExpression leadingNumber(
        QStringLiteral("^[ \\t]*([+-]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eEdD][+-]?\\d+)?)"));
    const QRegularExpressionMatch match = leadingNumber.match(text);
    if (!match.hasMatch())
        return qint16(0);
    QString number = match.captured(1);
    number.replace(u'd', u'e').replace(u'D', u'e');
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value);
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return qint16(rounded);
}

// "number;display name", split at the first semicolon; no value for a line
// without one or whose number is not a whole 16-bit number.
std::optional<CatalogueEntry> cacheEntry(const QString &line)
{
    const qsizetype semicolon = line.indexOf(u';');
    if (semicolon < 0)
        return std::nullopt;
    static const QRegularExpression wholeNumber(QStringLiteral("^[ \\t]*([+-]?\\d+)[ \\t]*$"));
    const QRegularExpressionMatch match = wholeNumber.match(line.left(semicolon));
    if (!match.hasMatch())
        return std::nullopt;
    bool ok = false;
    const int number = match.captured(1).toInt(&ok);
    if (!ok || number < -32768 || number > 32767)
        return std::nullopt;
    return CatalogueEntry{line.mid(semicolon + 1), number};
}

void loadDefinitions(const IniDocument &settings, Settings &loaded)
{
    for (int k = 1; k <= MaxNumberedKeys; ++k) {
        const QString id =
            readKey(settings, DefinitionSection, QStringLiteral("ID") + QString::number(k), {});
        const QString label =
            readKey(settings, DefinitionSection, QStringLiteral("Wert") + QString::number(k), {});
        if (id.isEmpty() || label.isEmpty())
            return;
        if (const std::optional<qint16> number = definitionNumber(id)) {
            loaded.DefinitionsLoaded = true;
            loaded.UserDefinitions.append(FieldValue{*number, label});
        }
    }
}

void loadFieldCache(const IniDocument &settings, FieldRows &rows)
{
    if (readKey(settings, ConfigSection, QStringLiteral("CacheFelder"), QStringLiteral("0")) !=
        u"1")
        return;
    bool cleared = false;
    for (int k = 1; k <= MaxNumberedKeys; ++k) {
        const QString line =
            readKey(settings, FieldSection, QStringLiteral("Zeile") + QString::number(k), {});
        if (line.isEmpty())
            return;
        const std::optional<CatalogueEntry> entry = cacheEntry(line);
        if (!entry)
            continue;
        // Only a usable line replaces the catalogue the rows already hold.
        if (!cleared) {
            rows.ClearAllLists();
            cleared = true;
        }
        rows.AddEntryToAllRows(entry->Name, entry->FieldNumber);
    }
}

} // namespace

QString SettingsFilePath()
{
    return SettingsFolder() + QStringLiteral("/ordalis.ini");
}

Settings LoadSettings(FieldRows &rows, const QString &path)
{
    Settings loaded;
    loaded.FilePath = path;
    QString unreadable;
    const std::shared_ptr<const IniDocument> settings = IniFile::load(path, &unreadable);
    if (!unreadable.isEmpty())
        qCWarning(lcSettings).noquote()
            << "settings not read, defaults used:" << path << "-" << unreadable;
    if (FileExists(path)) {
        loadDefinitions(*settings, loaded);
        loadFieldCache(*settings, rows);
    }
    loaded.StandardLand4PLZ = readKey(*settings, ConfigSection, QStringLiteral("StandardLand4PLZ"),
                                      loaded.StandardLand4PLZ);
    loaded.StandardLand5PLZ = readKey(*settings, ConfigSection, QStringLiteral("StandardLand5PLZ"),
                                      loaded.StandardLand5PLZ);
    return loaded;
}

void SaveFieldCache(const FieldRows &rows, const QString &path)
{
    try {
        if (readKey(*IniFile::load(path), ConfigSection, QStringLiteral("CacheFelder"),
                    QStringLiteral("0")) != u"1")
            return;
        const int count = rows.EntryCount();
        QList<IniFile::TextAssignment> lines;
        lines.reserve(count + 1);
        for (int i = 0; i < count; ++i) {
            const CatalogueEntry &entry = rows.EntryAt(i);
            lines.append({QStringLiteral("Zeile") + QString::number(i + 1),
                          QString::number(entry.FieldNumber) + u';' + entry.Name});
        }
        // The empty end marker bounds the list; older, higher lines may stay.
        lines.append({QStringLiteral("Zeile") + QString::number(count + 1), QString()});
        IniFile::write(path, FieldSection, lines);
    } catch (...) {
        // A cache that cannot be written is not worth interrupting the user for.
        qCWarning(lcSettings).noquote() << "field cache not saved:" << CaughtFailureReason();
    }
}
