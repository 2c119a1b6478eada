#include "CardOutput.h"

#include "CommandMessages.h"
#include "RowOutput.h"

#include "recognition/RecognitionContext.h"

#include "cards/ContactValues.h"
#include "cards/CsvWriter.h"
#include "cards/NoteLabels.h"

#include <memory>

using namespace Qt::StringLiterals;

QString CardOptionsFrom(bool vcard, bool csv, const std::optional<QString> &versionName,
                        CardOutputOptions &options)
{
    using Format = CardOutputOptions::Format;
    if (vcard && csv)
        return u"--vcard and --csv exclude each other"_s;
    options.format = vcard ? Format::VCard : (csv ? Format::Csv : Format::None);
    if (!versionName)
        return {};
    const std::optional<VCardVersion> version = VCardVersionNamed(*versionName);
    if (!version)
        return u"--vcard-version is 4.0 or 3.0, not %1"_s.arg(*versionName);
    options.version = *version;
    options.versionGiven = true;
    return {};
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

BlockOutput JsonBlockOutput(const FieldRows &catalogue)
{
    const auto members = std::make_shared<const RowJsonMembers>(catalogue);
    return {[] { return QByteArray(); },
            [members](std::string &out, ParseStatus status, const QString &clipText,
                      const FieldRows &rows, const RecognitionContext &context) {
                AppendParseResultJson(out, *members, status, clipText, rows, context);
                out += '\n';
            },
            [](BlockAnswers &answers, const QString &reason) {
                AppendErrorJson(answers.out, reason);
                answers.out += '\n';
            }};
}

BlockOutput CardBlockOutput(const CardOutputOptions &options)
{
    const bool csv = options.format == CardOutputOptions::Format::Csv;
    const VCardVersion version = options.version;
    const auto card = [csv, version](std::string &out, const ContactValues &values,
                                     const NoteLabels &labels) {
        const QByteArray text =
            csv ? ContactCsv::Line(values, labels) : WriteVCard(values, labels, version);
        out.append(text.constData(), std::size_t(text.size()));
    };
    return {[csv] { return csv ? ContactCsv::Header() : QByteArray(); },
            [card](std::string &out, ParseStatus, const QString &, const FieldRows &rows,
                   const RecognitionContext &context) {
                card(out, ValuesFromRows(rows, context.LoadedDefinitionHits()),
                     NoteLabels(CatalogueFromRows(rows)));
            },
            // An empty card or line keeps the place of a block that could not be read; the
            // reason goes to standard error.
            [card](BlockAnswers &answers, const QString &reason) {
                AppendMessageLine(answers.messages, u"ordalis-cli recognize: "_s + reason);
                card(answers.out, {}, NoteLabels({}));
            }};
}
