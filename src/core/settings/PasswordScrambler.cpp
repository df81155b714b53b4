#include "settings/PasswordScrambler.h"

namespace {

QByteArray shift(const QByteArray &text, QByteArray key, int direction)
{
    key = key.toUpper();
    const qsizetype keyLength = key.size();
    if (keyLength == 0)
        return text;
    QByteArray result(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        // Positions are 1-based in the stored scheme: character i pairs with key
        // character (i mod m) + 1, so a 4-character key is used as 2, 3, 4, 1, ...
        const int c = static_cast<unsigned char>(text[i]);
        const int k = static_cast<unsigned char>(key[(i + 1) % keyLength]);
        result[i] = static_cast<char>((c + direction * k) & 0xFF);
    }
    return result;
}

} // namespace

QByteArray EncryptPassword(const QByteArray &text, QByteArray key)
{
    return shift(text, std::move(key), +1);
}

QByteArray DecryptPassword(const QByteArray &text, QByteArray key)
{
    return shift(text, std::move(key), -1);
}
