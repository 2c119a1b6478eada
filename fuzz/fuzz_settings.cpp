// LoadSettings on any settings file; then the field cache it loaded, saved and
// loaded again, must give the same catalogue. Not when the save turned the file
// into valid UTF-8 (Windows-1252 text such as "Ã¶"): it then reads as UTF-8.

#include "FuzzScratch.h"

#include "support/FieldRows.h"
#include "support/IniFile.h"
#include "support/SettingsFile.h"

#include <algorithm>
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

// The catalogue as (number, name after a round trip), in one fixed order: a
// name whose control characters became blanks may sort elsewhere.
QList<std::pair<qint32, QString>> catalogue(const FieldRows &rows)
{
    QList<std::pair<qint32, QString>> entries;
    for (int i = 0; i < rows.EntryCount(); ++i)
        entries.append({rows.EntryAt(i).FieldNumber, afterRoundTrip(rows.EntryAt(i).Name)});
    std::sort(entries.begin(), entries.end());
    return entries;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = ScratchFile(QStringLiteral("settings.ini"));
    WriteWhole(path, QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));

    FieldRows rows;
    const Settings settings = LoadSettings(rows, path);
    for (const FieldValue &definition : settings.UserDefinitions)
        FUZZ_CHECK(!definition.value.isEmpty());
    FUZZ_CHECK(settings.DefinitionsLoaded == !settings.UserDefinitions.isEmpty());
    const auto first = catalogue(rows);
    FUZZ_CHECK(first.size() <= 32767);

    const IniDocument::Encoding before = IniFile::load(path)->encoding();
    SaveFieldCache(rows, path);
    FieldRows again;
    LoadSettings(again, path);
    if (IniFile::load(path)->encoding() == before)
        FUZZ_CHECK(catalogue(again) == first);
    return 0;
}
