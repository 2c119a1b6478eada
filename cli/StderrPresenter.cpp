#include "StderrPresenter.h"

#include <cstdio>

qint16 StderrPresenter::Present(const QString &, const QString &text, qint16 style)
{
    const QByteArray line = text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    return UnattendedAnswer(style);
}
