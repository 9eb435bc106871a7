#include "app/passwordcipher.h"

#include <array>
#include <cstdint>
#include <utility>

namespace orvane::app {

const QByteArray PasswordCipher::programKey = QByteArrayLiteral("7302951846");

namespace {

// The running state of one encipher or decipher call. All words wrap modulo 65536.
class Pc1State
{
public:
    explicit Pc1State(const QByteArray &key)
    {
        for (int k = 0; k < int(m_key.size()) && k < key.size(); ++k)
            m_key[k] = std::uint8_t(key.at(k));
    }

    // The key schedule of one byte, giving the mask that byte is combined with.
    std::uint8_t nextMask()
    {
        m_x1a0[0] = word(m_key[0], m_key[1]);
        std::uint16_t inter = mix();
        for (int n = 1; n < 8; ++n) {
            m_x1a0[n] = m_x1a0[n - 1] ^ word(m_key[2 * n], m_key[2 * n + 1]);
            inter ^= mix();
        }
        m_i = 0;
        return std::uint8_t((inter >> 8) ^ (inter & 0xFF));
    }

    // The key evolves with the plain text.
    void absorb(std::uint8_t plain)
    {
        for (std::uint8_t &k : m_key)
            k ^= plain;
    }

private:
    static std::uint16_t word(std::uint8_t high, std::uint8_t low)
    {
        return std::uint16_t(high * 256 + low);
    }

    std::uint16_t mix()
    {
        constexpr std::uint16_t bx = 0x4E35;
        std::uint16_t dx = std::uint16_t(m_x1a2 + m_i);
        std::uint16_t ax = m_x1a0[m_i];
        std::uint16_t cx = 0x015A;
        std::swap(ax, m_si);
        std::swap(ax, dx);
        if (ax != 0)
            ax = std::uint16_t(ax * bx);
        std::swap(ax, cx);
        if (ax != 0) {
            ax = std::uint16_t(ax * m_si);
            cx = std::uint16_t(ax + cx);
        }
        std::swap(ax, m_si);
        ax = std::uint16_t(ax * bx);
        dx = std::uint16_t(cx + dx);
        ax = std::uint16_t(ax + 1);
        m_x1a2 = dx;
        m_x1a0[m_i] = ax;
        ++m_i;
        return std::uint16_t(ax ^ dx);
    }

    std::array<std::uint8_t, 16> m_key{};
    std::array<std::uint16_t, 8> m_x1a0{};
    std::uint16_t m_si = 0;
    std::uint16_t m_x1a2 = 0;
    int m_i = 0;
};

int letterValue(QChar letter)
{
    const char16_t c = letter.unicode();
    return c >= u'a' && c <= u'p' ? int(c - u'a') : -1;
}

} // namespace

PasswordCipher::PasswordCipher(const QByteArray &key)
    : m_key(key)
{
}

QString PasswordCipher::encipher(const QByteArray &plain) const
{
    Pc1State state(m_key);
    QString letters;
    letters.reserve(plain.size() * 2);
    for (const char byte : plain) {
        const auto c = std::uint8_t(byte);
        const std::uint8_t mask = state.nextMask();
        state.absorb(c);
        const auto enciphered = std::uint8_t(c ^ mask);
        letters.append(QChar(u'a' + (enciphered >> 4)));
        letters.append(QChar(u'a' + (enciphered & 0x0F)));
    }
    return letters;
}

std::optional<QByteArray> PasswordCipher::decipher(const QString &letters) const
{
    if (letters.size() < 2)
        return std::nullopt;
    for (const QChar letter : letters) {
        if (letterValue(letter) < 0)
            return std::nullopt;
    }
    Pc1State state(m_key);
    QByteArray plain;
    plain.reserve(letters.size() / 2);
    for (int pos = 0; pos + 1 < letters.size(); pos += 2) {
        const auto value = std::uint8_t(letterValue(letters.at(pos)) * 16 + letterValue(letters.at(pos + 1)));
        const auto c = std::uint8_t(value ^ state.nextMask());
        state.absorb(c);
        plain.append(char(c));
    }
    return plain;
}

} // namespace orvane::app
