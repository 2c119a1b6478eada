#include "Messages.h"

#include "Log.h"

#include <cstdio>
#include <utility>

namespace {

// Without a window: the message goes to standard error, unattended.
class StandardErrorPresenter : public MessagePresenter
{
public:
    qint16 Present(const QString &title, const QString &text, qint16 style) override
    {
        const QByteArray line = (title + QStringLiteral(": ") + text + u'\n').toLocal8Bit();
        std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
        std::fflush(stderr);
        return UnattendedAnswer(style);
    }
};

MessagePresenter *installedPresenter = nullptr;

} // namespace

MessageKind DecodeMessageStyle(qint16 style)
{
    constexpr int YesNoButtons = 4;
    constexpr std::pair<int, MessageIcon> Icons[] = {
        {16, MessageIcon::Stop},
        {32, MessageIcon::Question},
        {48, MessageIcon::Exclamation},
        {64, MessageIcon::Information},
    };
    MessageKind kind;
    if ((style & 0x0F) == YesNoButtons)
        kind.Buttons = MessageButtons::YesNo;
    for (const auto &[code, icon] : Icons) {
        if ((style & 0xF0) == code)
            kind.Icon = icon;
    }
    return kind;
}

qint16 UnattendedAnswer(qint16 style)
{
    return DecodeMessageStyle(style).Buttons == MessageButtons::YesNo ? MessageAnswer::No
                                                                      : MessageAnswer::Ok;
}

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
