#pragma once
// The secret of a class view's link: 128 random bits from the system's
// generator, written in the URL-safe Base64 alphabet (22 characters).
#include <QByteArray>
#include <QByteArrayView>

namespace app::classview {

inline constexpr int kTokenBytes = 16;

QByteArray newToken();
// 22 characters of A-Z, a-z, 0-9, '-' and '_' (what newToken writes).
bool isWellFormedToken(QByteArrayView text);
// Whether `given` is the token. Takes the same time whatever part of the
// token `given` gets right; an empty token matches nothing.
bool sameToken(QByteArrayView given, QByteArrayView token);

}  // namespace app::classview
