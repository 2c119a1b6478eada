// LoadSettings on any settings file; then the field cache it loaded, saved and
// loaded again, must give the same catalogue.

#include "FuzzScratch.h"

#include "support/FieldRows.h"
#include "support/modZusatzDefs.h"

#include <cstdint>

namespace {

// A name as a save and a second load hand it back: control characters become
// blanks in the file, and blanks at the end are trimmed on reading.
QString afterRoundTrip(QString name)
{
    for (QChar &c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u' ';
    }
    while (!name.isEmpty() && (name.back() == u' ' || name.back() == u'\t'))
        name.chop(1);
    return name;
}

QList<CatalogueEntry> catalogue(const FieldRows &rows)
{
    QList<CatalogueEntry> entries;
    for (int i = 0; i < rows.EntryCount(); ++i)
        entries.append(rows.EntryAt(i));
    return entries;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = ScratchFile(QStringLiteral("settings.ini"));
    WriteWhole(path, QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    SetSettingsFilePath(path);

    FieldRows rows;
    LoadSettings(rows);
    for (const clsZusatzDefs &definition : UserDefinitions)
        FUZZ_CHECK(!definition.Wert.isEmpty());
    FUZZ_CHECK(DefinitionsLoaded == !UserDefinitions.isEmpty());
    const QList<CatalogueEntry> first = catalogue(rows);
    FUZZ_CHECK(first.size() <= 32767);

    SaveFieldCache(rows);
    FieldRows again;
    LoadSettings(again);
    const QList<CatalogueEntry> second = catalogue(again);
    FUZZ_CHECK(second.size() == first.size());
    for (qsizetype i = 0; i < first.size(); ++i) {
        FUZZ_CHECK(second[i].FieldNumber == first[i].FieldNumber);
        FUZZ_CHECK(afterRoundTrip(first[i].Name) == afterRoundTrip(second[i].Name));
    }
    return 0;
}
