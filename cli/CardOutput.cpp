#include "CardOutput.h"

#include "RowOutput.h"

#include "recognition/RecognitionContext.h"

#include "cards/ContactValues.h"
#include "cards/CsvWriter.h"
#include "cards/NoteLabels.h"

#include <cstdio>

using namespace Qt::StringLiterals;

bool TakeCardOption(const QString &argument, const std::function<std::optional<QString>()> &value,
                    CardOutputOptions &options, QString &reason)
{
    using Format = CardOutputOptions::Format;
    if (argument == u"--vcard" || argument == u"--csv") {
        const Format format = argument == u"--vcard" ? Format::VCard : Format::Csv;
        if (options.format != Format::None && options.format != format)
            reason = u"--vcard and --csv exclude each other"_s;
        options.format = format;
        return true;
    }
    if (argument != u"--vcard-version")
        return false;
    const std::optional<QString> name = value();
    if (!name)
        return true;
    const std::optional<VCardVersion> version = VCardVersionNamed(*name);
    if (!version)
        reason = u"--vcard-version is 4.0 or 3.0, not %1"_s.arg(*name);
    options.version = version.value_or(VCardVersion::V4);
    options.versionGiven = true;
    return true;
}

QString CardOptionConflict(const CardOutputOptions &options, bool json)
{
    using Format = CardOutputOptions::Format;
    if (options.versionGiven && options.format != Format::VCard)
        return u"--vcard-version goes with --vcard"_s;
    if (options.format != Format::None && json)
        return u"--json prints JSON, not cards"_s;
    return {};
}

BlockOutput JsonBlockOutput()
{
    return {[] { return QByteArray(); },
            [](ParseStatus status, const QString &clipText, const FieldRows &rows,
               const RecognitionContext &context) {
                return ParseResultJson(status, clipText, rows, context) + '\n';
            },
            [](const QString &reason) { return ErrorJson(reason) + '\n'; }};
}

BlockOutput CardBlockOutput(const CardOutputOptions &options)
{
    const bool csv = options.format == CardOutputOptions::Format::Csv;
    const VCardVersion version = options.version;
    const auto card = [csv, version](const ContactValues &values, const NoteLabels &labels) {
        return csv ? ContactCsv::Line(values, labels) : WriteVCard(values, labels, version);
    };
    return {[csv] { return csv ? ContactCsv::Header() : QByteArray(); },
            [card](ParseStatus, const QString &, const FieldRows &rows,
                   const RecognitionContext &context) {
                return card(ValuesFromRows(rows, context.LoadedDefinitionHits()),
                            NoteLabels(CatalogueFromRows(rows)));
            },
            // An empty card or line keeps the place of a block that could not be read.
            [card](const QString &reason) {
                const QByteArray message = "ordalis-cli recognize: " + reason.toUtf8() + '\n';
                std::fwrite(message.constData(), 1, size_t(message.size()), stderr);
                return card({}, NoteLabels({}));
            }};
}
