#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace orvane::app {

// The cipher of the stored access password: PC1 with a 128-bit key, each enciphered byte written
// as two letters "a".."p". Every call starts from a fresh state, so one password always gives the
// same text.
class PasswordCipher
{
public:
    // The key compiled into the program.
    static const QByteArray programKey;

    explicit PasswordCipher(const QByteArray &key = programKey);

    QString encipher(const QByteArray &plain) const;
    // The bytes behind a stored text. A trailing single letter is ignored. No value when the text
    // cannot have been written by encipher(): a character outside "a".."p", or not even one pair.
    std::optional<QByteArray> decipher(const QString &letters) const;

private:
    QByteArray m_key;
};

} // namespace orvane::app
