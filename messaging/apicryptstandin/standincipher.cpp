// A stand-in for the Apicrypt library, for trying the program and for its tests where the real
// library is not installed. It offers no protection at all: the text is scrambled with a key
// stream drawn from the user name and written as Base64 lines between two marker lines that say
// so. It is not the Apicrypt library and cannot read or write that service's messages.

#include "messaging/apicryptcall.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#if defined(_WIN32)
#define STANDIN_EXPORT extern "C" __declspec(dllexport)
#else
#define STANDIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

#if defined(_MSC_VER) && defined(_M_IX86)
#pragma comment(linker, "/EXPORT:APICcrypter2=_APICcrypter2@28")
#pragma comment(linker, "/EXPORT:APICdecrypter2=_APICdecrypter2@28")
#endif

namespace {

const char *const firstLine = "-----ORVANE MODULE D'ESSAI : TEXTE BROUILLE SANS PROTECTION-----";
const char *const lastLine = "-----FIN DU TEXTE BROUILLE-----";
const char *const base64Digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::size_t lineWidth = 64;

bool readFile(const char *path, std::string &bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool writeFile(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(out);
}

// The same key stream scrambles and unscrambles (xorshift seeded from the user name).
void scramble(std::string &bytes, const char *user)
{
    std::uint64_t state = 1469598103934665603ull;
    for (const char *c = user ? user : ""; *c; ++c)
        state = (state ^ std::uint8_t(*c)) * 1099511628211ull;
    if (state == 0)
        state = 1;
    for (char &byte : bytes) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        byte = char(std::uint8_t(byte) ^ std::uint8_t(state));
    }
}

std::string toBase64Lines(const std::string &bytes)
{
    std::string digits;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = bytes.size() - i < 3 ? bytes.size() - i : 3;
        std::uint32_t group = std::uint32_t(std::uint8_t(bytes[i])) << 16;
        if (n > 1)
            group |= std::uint32_t(std::uint8_t(bytes[i + 1])) << 8;
        if (n > 2)
            group |= std::uint8_t(bytes[i + 2]);
        for (std::size_t k = 0; k < 4; ++k)
            digits += k <= n ? base64Digits[(group >> (18 - 6 * k)) & 63] : '=';
    }
    std::string text = std::string(firstLine) + "\r\n";
    for (std::size_t i = 0; i < digits.size(); i += lineWidth)
        text += digits.substr(i, lineWidth) + "\r\n";
    return text + lastLine + "\r\n";
}

bool fromBase64Lines(const std::string &text, std::string &bytes)
{
    const std::size_t begin = text.find('\n');
    const std::size_t end = text.rfind(lastLine);
    if (text.compare(0, std::char_traits<char>::length(firstLine), firstLine) != 0 || begin == std::string::npos
        || end == std::string::npos || end < begin)
        return false;
    std::uint32_t group = 0;
    int bits = 0;
    for (std::size_t i = begin + 1; i < end; ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n' || c == '=')
            continue;
        const char *digit = std::char_traits<char>::find(base64Digits, 64, c);
        if (!digit)
            return false;
        group = (group << 6) | std::uint32_t(digit - base64Digits);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes += char((group >> bits) & 0xff);
        }
    }
    return true;
}

} // namespace

STANDIN_EXPORT int ORVANE_APICRYPT_CALL APICcrypter2(const char *inputFile, const char *user, const char *,
                                                      const char *, const char *, const char *, int)
{
    std::string bytes;
    if (!inputFile || !readFile(inputFile, bytes))
        return 1;
    scramble(bytes, user);
    return writeFile(std::string(inputFile) + ".api", toBase64Lines(bytes)) ? 0 : 1;
}

// The way back: unscrambles a file written above into outputFile.
STANDIN_EXPORT int orvaneStandInDecipher(const char *inputFile, const char *outputFile, const char *user)
{
    std::string text;
    std::string bytes;
    if (!inputFile || !outputFile || !readFile(inputFile, text) || !fromBase64Lines(text, bytes))
        return 1;
    scramble(bytes, user);
    return writeFile(outputFile, bytes) ? 0 : 1;
}

// The library's own way back: "<name>.api" is unscrambled into "<name>".
STANDIN_EXPORT int ORVANE_APICRYPT_CALL APICdecrypter2(const char *inputFile, const char *user, const char *,
                                                        const char *, const char *, const char *, int)
{
    if (!inputFile)
        return 1;
    std::string output(inputFile);
    const std::string ending = ".api";
    if (output.size() <= ending.size() || output.compare(output.size() - ending.size(), ending.size(), ending) != 0)
        return 1;
    output.erase(output.size() - ending.size());
    return orvaneStandInDecipher(inputFile, output.c_str(), user);
}
