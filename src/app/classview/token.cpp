#include "app/classview/token.h"

#include <QRandomGenerator>
#include <array>

namespace app::classview {

QByteArray newToken() {
    std::array<quint32, kTokenBytes / sizeof(quint32)> words{};
    QRandomGenerator::system()->fillRange(words.data(), static_cast<qsizetype>(words.size()));
    const QByteArray bytes(reinterpret_cast<const char*>(words.data()), kTokenBytes);
    return bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

bool isWellFormedToken(QByteArrayView text) {
    if (text.size() != (kTokenBytes * 4 + 2) / 3) return false;
    for (const char c : text) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
        if (!ok) return false;
    }
    return true;
}

bool sameToken(QByteArrayView given, QByteArrayView token) {
    // Every byte of the token is compared, whatever came before: the loop's
    // length depends on the token alone, and no branch on what matched.
    unsigned difference = given.size() == token.size() ? 0u : 1u;
    for (qsizetype i = 0; i < token.size(); ++i) {
        const unsigned char g = i < given.size() ? static_cast<unsigned char>(given[i]) : 0u;
        difference |= g ^ static_cast<unsigned char>(token[i]);
    }
    return difference == 0 && !token.isEmpty();
}

}  // namespace app::classview
