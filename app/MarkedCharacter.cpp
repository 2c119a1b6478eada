#include "MarkedCharacter.h"

QChar MarkedCharacter(const QString &shown, int position)
{
    if (position < 0)
        return {};
    int documentPosition = 0;
    for (qsizetype i = 0; i < shown.size(); ++i, ++documentPosition) {
        if (documentPosition == position)
            return shown.at(i);
        if (shown.at(i) == u'\r' && i + 1 < shown.size() && shown.at(i + 1) == u'\n')
            ++i; // one line break in the document
    }
    return {};
}
