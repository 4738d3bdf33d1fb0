// The link's token: random, compared whole, kept in its own file (owner only)
// across runs until renewed, and kept in memory when the file cannot be used.
#include "app/classview/token.h"
#include "app/classview/token_store.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using namespace app::classview;

TEST(Token, IsAHundredAndTwentyEightRandomBitsComparedWhole) {
    QSet<QByteArray> seen;
    for (int i = 0; i < 200; ++i) {
        const QByteArray t = newToken();
        EXPECT_TRUE(isWellFormedToken(t)) << t.toStdString();
        EXPECT_EQ(QByteArray::fromBase64(t, QByteArray::Base64UrlEncoding).size(), 16);
        seen.insert(t);
    }
    EXPECT_EQ(seen.size(), 200);

    const QByteArray t = newToken();
    EXPECT_TRUE(sameToken(t, t));
    QByteArray last = t;
    last[last.size() - 1] = last.back() == 'A' ? 'B' : 'A';
    QByteArray first = t;
    first[0] = first.front() == 'A' ? 'B' : 'A';
    for (const QByteArray& wrong : {QByteArray(), t.chopped(1), t + 'A', last, first, t + t})
        EXPECT_FALSE(sameToken(wrong, t)) << wrong.toStdString();
    EXPECT_FALSE(sameToken(QByteArray(), QByteArray()));
    EXPECT_FALSE(isWellFormedToken(t.chopped(1)));
    EXPECT_FALSE(isWellFormedToken(t.chopped(1) + '=' ));
}

TEST(TokenStore, KeepsTheTokenAcrossRunsUntilRenewed) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pristroje/class-view-token"));
    QByteArray kept;
    {
        TokenStore store(path);
        kept = store.token();
        EXPECT_EQ(store.problem(), "");
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), kept + '\n');
    file.close();
    struct stat info{};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    TokenStore again(path);
    EXPECT_EQ(again.token(), kept);
    again.renew();
    EXPECT_NE(again.token(), kept);
    EXPECT_EQ(TokenStore(path).token(), again.token());

    // A file that holds no token gets a new one written over it.
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("not a token\n");
    file.close();
    TokenStore replaced(path);
    EXPECT_TRUE(isWellFormedToken(replaced.token()));
    EXPECT_EQ(TokenStore(path).token(), replaced.token());
}

TEST(TokenStore, KeepsTheTokenInMemoryWhereNoFileCanHoldIt) {
    QTemporaryDir dir;
    // A folder where the file would be: left alone, and the teacher told.
    const QString folder = dir.filePath(QStringLiteral("token"));
    ASSERT_TRUE(QDir().mkpath(folder));
    TokenStore store(folder);
    EXPECT_TRUE(isWellFormedToken(store.token()));
    EXPECT_TRUE(store.problem().startsWith(QStringLiteral("Odkaz nelze uložit"))) << store.problem().toStdString();
    EXPECT_TRUE(QFileInfo(folder).isDir());
    const QByteArray before = store.token();
    store.renew();
    EXPECT_NE(store.token(), before);

    // No configuration folder at all: in memory, and nothing to say about it.
    TokenStore memory{QString()};
    EXPECT_TRUE(isWellFormedToken(memory.token()));
    EXPECT_EQ(memory.problem(), "");
    EXPECT_TRUE(defaultTokenFile().endsWith(QStringLiteral("/pristroje/class-view-token")));
}

}  // namespace
