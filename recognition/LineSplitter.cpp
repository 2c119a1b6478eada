#include "LineSplitter.h"

#include "DetailsNames.h"
#include "ScoreRules.h"
#include "TextOps.h"

#include <algorithm>

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString DetailsPrefix = QStringLiteral("Details der ");
const QString DetailsSuffix = QStringLiteral(" schließen");

// Every run of blanks shrinks to one blank (what repeated pair replacement
// leaves), then leading and trailing blanks go.
void collapseBlanks(QStringView piece, QString &out)
{
    out.resize(piece.size());
    QChar *d = out.data();
    qsizetype length = 0;
    for (QChar c : piece) {
        if (c == u' ' && (length == 0 || d[length - 1] == u' '))
            continue; // drops leading blanks and the second of a pair
        d[length++] = c;
    }
    if (length > 0 && d[length - 1] == u' ')
        --length;
    out.truncate(length);
}

bool isDetailsLine(const QString &piece)
{
    // A piece shorter than both marks together would ask for a name of
    // negative length; it stays an ordinary line.
    return piece.size() >= DetailsPrefix.size() + DetailsSuffix.size() &&
           piece.startsWith(DetailsPrefix) && piece.endsWith(DetailsSuffix);
}

// Splits at every occurrence of separator, calling take(piece) for each piece.
template <typename Take> void forEachPiece(QStringView text, QStringView separator, Take take)
{
    if (separator.isEmpty()) {
        take(text);
        return;
    }
    qsizetype from = 0;
    while (true) {
        const qsizetype at = FindText(text, separator, from);
        if (at < 0) {
            take(text.sliced(from));
            return;
        }
        take(text.sliced(from, at - from));
        from = at + separator.size();
    }
}

} // namespace

QString ChooseSeparator(QStringView text)
{
    static const QString Candidates[] = {CrLf, QStringLiteral("\n"), QStringLiteral("\t"),
                                         QStringLiteral(";"), QStringLiteral("#")};
    for (const QString &candidate : Candidates) {
        if (FindText(text, candidate) >= 0)
            return candidate;
    }
    return {};
}

LineList SplitIntoLines(const QString &text, const QString &separator, QString &clipText,
                        const LinesToBuild &build)
{
    QString working = text;
    if (separator != CrLf && FindText(working, CrLf) >= 0)
        working.replace(CrLf, separator);

    // A details line's mark has no blank in "Details", so no piece holds one
    // unless the text does.
    const bool everyLine =
        build.first == SIZE_MAX || (build.alsoBuild && working.contains(u"Details"));
    const size_t first = everyLine ? SIZE_MAX : build.first;
    const auto wanted = [&](size_t index, QStringView line) {
        return index < first || (build.alsoBuild && build.alsoBuild(line));
    };

    clipText.reserve(clipText.size() + working.size() + working.size() / 8 + 16);
    // Reserved up front: a list grown line by line copies a million-line text
    // over and over and touches fresh memory each time.
    size_t room = first;
    if (everyLine) {
        room = 0;
        forEachPiece(working, separator, [&room](QStringView) { ++room; });
    }
    LineList ordinary;
    ordinary.reserve(room);
    std::vector<int> detailsBefore; // per ordinary line: details lines seen before it
    detailsBefore.reserve(room);
    DetailsNames details;
    QString piece;
    size_t seen = 0; // ordinary lines, built or not
    forEachPiece(working, separator, [&](QStringView raw) {
        collapseBlanks(raw, piece);
        if (piece.isEmpty())
            return;
        if (isDetailsLine(piece)) {
            const QStringView name = QStringView(piece).sliced(
                DetailsPrefix.size(), piece.size() - DetailsPrefix.size() - DetailsSuffix.size());
            details.Add(StripControlChars(name));
            return;
        }
        QStringView kept = piece;
        QString unquoted;
        if (piece.startsWith(u'>')) {
            unquoted = piece;
            unquoted.remove(u'>');
            kept = TrimBlanks(unquoted);
        }
        const qsizetype start = clipText.size();
        AppendWithoutControlChars(kept, clipText);
        if (wanted(seen++, QStringView(clipText).sliced(start))) {
            ordinary.emplace_back().Text = clipText.sliced(start);
            detailsBefore.push_back(details.Count());
        }
        clipText += CrLf;
    });

    if (details.Count() == 0)
        return ordinary;

    // Each details name went to the front, so the last one is line 1; each
    // removed its name from every line taken before it.
    LineList lines;
    lines.reserve(std::min(size_t(details.Count()), first) + ordinary.size());
    for (int k = details.Count() - 1; k >= 0 && lines.size() < first; --k) {
        CapturedLine company;
        company.Text = details.At(k);
        Award(company, ScoreRules::DetailsWindowName);
        details.ApplyFrom(k + 1, company.Text);
        lines.push_back(std::move(company));
    }
    for (size_t p = 0; p < ordinary.size(); ++p) {
        details.ApplyFrom(detailsBefore[p], ordinary[p].Text);
        lines.push_back(std::move(ordinary[p]));
    }
    return lines;
}

QString SeparatorPreview(const QString &clipboardText, const QString &candidate)
{
    // The same line breaks as the parse sees, so the preview shows what it does.
    QString working = WithCrLfLineBreaks(clipboardText);
    working.replace(CrLf, candidate);
    QString preview;
    const auto append = [&preview](QStringView piece) {
        preview += TrimBlanks(piece);
        preview += CrLf;
    };
    forEachPiece(working, candidate, append);
    return preview;
}
