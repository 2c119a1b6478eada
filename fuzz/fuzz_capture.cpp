// Capture and recognition on any clipboard text, under any settings file.
// Input: one flag byte, then the settings file's bytes up to the marker, then
// the clipboard text (as UTF-8, or as UTF-16 when the flag says so). Without a
// marker the whole rest is the text and no settings file exists.

#include "FuzzScratch.h"

#include "recognition/ParseAddress.h"
#include "recognition/RecognitionContext.h"
#include "support/FieldRows.h"
#include "support/SettingsFile.h"

#include <cstdint>
#include <cstring>

namespace {

const QByteArray TextMarker = QByteArrayLiteral("@@TEXT@@\n");

QString textFrom(QByteArrayView bytes, bool utf16)
{
    if (!utf16)
        return QString::fromUtf8(bytes);
    // Raw code units, unpaired surrogates and all.
    QString text(bytes.size() / 2, Qt::Uninitialized);
    std::memcpy(text.data(), bytes.data(), size_t(text.size()) * 2);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const quint8 flags = data[0];
    QByteArrayView rest(reinterpret_cast<const char *>(data) + 1, qsizetype(size) - 1);

    const QString settingsPath = ScratchFile(QStringLiteral("ordalis.ini"));
    QFile::remove(settingsPath);
    const qsizetype marker = rest.indexOf(TextMarker);
    if (marker >= 0) {
        WriteWhole(settingsPath, rest.first(marker));
        rest = rest.sliced(marker + TextMarker.size());
    }

    FieldRows rows;
    rows.FillStandardCatalogue();
    const Settings settings = LoadSettings(rows, settingsPath);
    RecognitionContext context(settings);

    const QString text = textFrom(rest, flags & 1);
    // As the window does: no separator found, the user picks one (the text's
    // first character) and the text is captured again with it.
    const QString choice = text.left(1);
    QString clipText;
    ParseStatus status = CaptureText(context, text, flags & 2, rows, clipText).status;
    if (status == ParseStatus::NoSeparator && !choice.isEmpty()) {
        context.UserSeparator = choice;
        status = CaptureText(context, text, flags & 2, rows, clipText).status;
    }

    // Every kept line ends with CR LF; nothing is kept without a parse.
    FUZZ_CHECK(clipText.isEmpty() || clipText.endsWith(QStringLiteral("\r\n")));
    FUZZ_CHECK(status == ParseStatus::Ok || status == ParseStatus::Aborted || clipText.isEmpty());
    for (int row = 0; row < FieldRows::RowCount; ++row) {
        const int position = rows.SelectedPosition(row);
        FUZZ_CHECK(position >= -1 && position < rows.EntryCount());
    }
    // The same text again, parsed directly, with the user's separator.
    context.UserSeparator = choice;
    QString again;
    ParseAddress(context, text, rows, again);

    // Without labels to look for, a parse builds only the lines that can reach
    // a row; with them it builds every line. No labels to find either way: the
    // rows and the captured text must be the same.
    Settings everyLine = settings;
    everyLine.UserDefinitions.clear();
    everyLine.DefinitionsLoaded = true;
    Settings rowLines = everyLine;
    rowLines.DefinitionsLoaded = false;
    FieldRows rowsOfEvery;
    rowsOfEvery.CopyCatalogueFrom(rows);
    RecognitionContext contextOfEvery(everyLine);
    contextOfEvery.UserSeparator = choice;
    QString textOfEvery;
    const ParseStatus statusOfEvery =
        ParseAddress(contextOfEvery, text, rowsOfEvery, textOfEvery).status;
    RecognitionContext contextOfRows(rowLines);
    contextOfRows.UserSeparator = choice;
    QString textOfRows;
    FUZZ_CHECK(ParseAddress(contextOfRows, text, rows, textOfRows).status == statusOfEvery);
    FUZZ_CHECK(textOfRows == textOfEvery);
    for (int row = 0; row < FieldRows::RowCount; ++row) {
        FUZZ_CHECK(rows.RowValue(row) == rowsOfEvery.RowValue(row));
        FUZZ_CHECK(rows.SelectedPosition(row) == rowsOfEvery.SelectedPosition(row));
    }
    return 0;
}
