#pragma once

#include "cards/VCardWriter.h"

#include "recognition/ParseAddress.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

class FieldRows;
struct RecognitionContext;

// recognize --vcard [--vcard-version 3.0|4.0] or --csv: the rows as a contact
// card or a CSV line instead of the table or JSON.
struct CardOutputOptions
{
    enum class Format { None, VCard, Csv };
    Format format = Format::None;
    VCardVersion version = VCardVersion::V4;
    bool versionGiven = false;
};

// Takes `argument` when it is one of the card options (`value` fetches an
// option's value). True when taken; `reason` is set when it is unusable.
bool TakeCardOption(const QString &argument, const std::function<std::optional<QString>()> &value,
                    CardOutputOptions &options, QString &reason);
// Why the card options do not go with the others, or an empty text.
QString CardOptionConflict(const CardOutputOptions &options, bool json);

// How recognize answers: once before the first block, then per block; a block
// that could not be read still gets its answer, so outputs stay in input order.
struct BlockOutput
{
    std::function<QByteArray()> start;
    std::function<QByteArray(ParseStatus, const QString &clipText, const FieldRows &,
                             const RecognitionContext &)>
        block;
    std::function<QByteArray(const QString &reason)> failure;
};

BlockOutput JsonBlockOutput();
BlockOutput CardBlockOutput(const CardOutputOptions &options);
