// The phone, e-mail and web-address cleaners on any text, as UTF-8 and as raw
// UTF-16 code units.

#include "recognition/Normalisers.h"

#include <QString>

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString utf8 = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    QString utf16(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(utf16.data(), data, size_t(utf16.size()) * 2);
    for (const QString &text : {utf8, utf16}) {
        // The cleaners only cut: what they give back was in the text.
        if (!text.contains(CleanEMail(text)) || !text.contains(CleanWebAddress(text)) ||
            CleanPhone(text).size() > text.size())
            abort();
    }
    return 0;
}
