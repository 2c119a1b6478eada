#include "Messages.h"

#include "Log.h"

#include <cstdio>

namespace {

// Without a window: the message goes to standard error, and a question is
// answered with No, so nothing irreversible happens unattended.
class StandardErrorPresenter : public MessagePresenter
{
public:
    qint16 Present(const QString &title, const QString &text, qint16 style) override
    {
        const QByteArray line = (title + QStringLiteral(": ") + text + u'\n').toLocal8Bit();
        std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
        std::fflush(stderr);
        constexpr qint16 YesNoButtons = 4;
        return (style & 0x0F) == YesNoButtons ? MessageAnswer::No : MessageAnswer::Ok;
    }
};

MessagePresenter *installedPresenter = nullptr;

} // namespace

void SetMessagePresenter(MessagePresenter *presenter)
{
    installedPresenter = presenter;
}

MessagePresenter &CurrentMessagePresenter()
{
    static StandardErrorPresenter standardError;
    return installedPresenter ? *installedPresenter : standardError;
}

qint16 ShowMessage(const QString &text, qint16 style, bool log)
{
    if (log)
        AppendToLog(text);
    return CurrentMessagePresenter().Present(ProgramName, text, style);
}
