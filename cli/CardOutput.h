#pragma once

#include "cards/VCardWriter.h"

#include "recognition/ParseAddress.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <string>

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

// The card options as given (versionName: the value of --vcard-version);
// the reason when they are unusable, else an empty text.
QString CardOptionsFrom(bool vcard, bool csv, const std::optional<QString> &versionName,
                        CardOutputOptions &options);
// Why the card options do not go with the others, or an empty text.
QString CardOptionConflict(const CardOutputOptions &options, bool json);

// Where a batch of blocks is answered: its output, and its lines for standard
// error, which follow the batch there so they stay in input order.
struct BlockAnswers
{
    std::string &out;
    std::string &messages;
};

// How recognize answers: once before the first block, then per block, appended
// to the batch's output; a block that could not be read still gets its answer,
// so outputs stay in input order. Called from several threads at once.
struct BlockOutput
{
    std::function<QByteArray()> start;
    std::function<void(std::string &out, ParseStatus, const QString &clipText, const FieldRows &,
                       const RecognitionContext &)>
        block;
    std::function<void(BlockAnswers &answers, const QString &reason)> failure;
};

// catalogue: the one every block's rows share.
BlockOutput JsonBlockOutput(const FieldRows &catalogue);
BlockOutput CardBlockOutput(const CardOutputOptions &options);
