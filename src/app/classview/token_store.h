#pragma once
// TokenStore: the class view's token, kept in a file of its own so that the
// students' links stay valid when the program starts again, until the
// teacher asks for a new one ("Nový odkaz"). The file holds the token alone;
// it is written whole or not at all, readable by its owner only. A file that
// is missing or does not hold a token gets a new one; one that cannot be
// used (not a regular file, not readable, not writable) leaves the token in
// memory for this run, and problem() says why.
#include <QByteArray>
#include <QString>

namespace app::classview {

// $XDG_CONFIG_HOME/pristroje/class-view-token (or under ~/.config); "" when
// there is no configuration folder.
QString defaultTokenFile();

class TokenStore {
public:
    // An empty path keeps the token in memory only.
    explicit TokenStore(QString path);

    const QByteArray& token() const { return token_; }
    const QString& path() const { return path_; }
    // Why the token is not kept across runs, in Czech; "" when it is.
    const QString& problem() const { return problem_; }

    // A new token, saved at once: every earlier link stops working.
    void renew();

private:
    void save();

    QString path_;
    QByteArray token_;
    QString problem_;
};

}  // namespace app::classview
