// Claims on cards in a shared folder, as instances of the program make them
// (what the first and the second say of each other: tests/app/status): the
// second takes the card over when the first ends, and a claim left by a
// program that died counts for nothing.
#include "platform/wave/card_claim.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using platform::wave::CardClaim;

// Handles events until `done` holds (the folder's watcher reports through them).
bool waitFor(const std::function<bool()>& done) {
    QDeadlineTimer deadline(5000);
    while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

TEST(CardClaim, AnotherCardIsAnotherClaimAndAGuestTakesTheCardOverWhenItsHolderEnds) {
    QTemporaryDir dir;
    auto first = std::make_unique<CardClaim>(dir.path(), "card 1");
    ASSERT_TRUE(first->ours()) << first->problem().toStdString();
    EXPECT_TRUE(CardClaim(dir.path(), "default").ours());
    CardClaim second(dir.path(), "card 1");
    ASSERT_FALSE(second.ours());
    ASSERT_TRUE(second.holder().has_value());
    EXPECT_EQ(second.holder()->pid, QCoreApplication::applicationPid());
    first.reset();
    ASSERT_TRUE(waitFor([&] { return second.ours(); }));
    EXPECT_FALSE(second.holder().has_value());
}

TEST(CardClaim, AClaimOfAProgramThatDiedCountsForNothing) {
    QTemporaryDir dir;
    // A child claims the card and its guest's place, and is killed with both held.
    const pid_t child = ::fork();
    if (child == 0) {
        QLockFile held(QDir(dir.path()).filePath("card%202.lock"));
        QLockFile guest(QDir(dir.path()).filePath("card%202.guest-1.lock"));
        ::_exit(held.tryLock(0) && guest.tryLock(0) ? 0 : 1);  // no destructors: the files stay
    }
    ASSERT_GT(child, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    ASSERT_TRUE(QFile::exists(QDir(dir.path()).filePath("card%202.lock")));

    CardClaim claim(dir.path(), "card 2");
    EXPECT_TRUE(claim.ours());
    EXPECT_TRUE(claim.guests().empty());
    EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath("card%202.guest-1.lock"))) << "the dead guest's lock is removed";
}

}  // namespace
