#pragma once
// CardClaim: two instances of the program on one sound card disturb each
// other (the second one's generator plays into the card whose input the
// first one measures), so each tells the other that it is there.
//
// The first instance to use a card holds a lock named after the card in a
// folder shared by the user's instances (QLockFile "<folder>/<card>.lock",
// with its pid; the file's time is when it was taken). One that finds the
// lock held by another running instance knows who has the card, and holds a
// lock of its own beside it ("<card>.guest-<pid>.lock") for as long as it
// runs, from which the first learns that its output is disturbed, and by
// whom. The folder is watched; a lock of a program that died counts for
// nothing (the first lock is taken over, a guest's is removed). A guest takes
// the card over when its holder ends.
//
// UI thread only (it needs the event loop to learn of changes).
#include <QDateTime>
#include <QFileSystemWatcher>
#include <QLockFile>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace platform::wave {

// Another instance of the program on the card.
struct CardUser {
    qint64 pid = 0;
    QString host;
    QDateTime since;  // when it took the card (or came to it)
};

// The user's folder for the locks: "pristroje-cards" in the runtime
// location (XDG_RUNTIME_DIR).
QString defaultClaimFolder();

class CardClaim {
public:
    // Claims `card` ("card 1", "default": see alsa/card_of_pcm.h) in `folder`.
    CardClaim(const QString& folder, const QString& card);
    ~CardClaim();
    CardClaim(const CardClaim&) = delete;
    CardClaim& operator=(const CardClaim&) = delete;

    const QString& card() const { return card_; }
    // This instance has the card to itself (no one else had it first). False
    // too when the folder cannot be used: then `problem` says why.
    bool ours() const { return ours_; }
    // The instance that has the card, when it is not ours.
    const std::optional<CardUser>& holder() const { return holder_; }
    // The other running instances that came to our card after us.
    const std::vector<CardUser>& guests() const { return guests_; }
    const QString& problem() const { return problem_; }

    // Calls `changed` whenever the holder or the guests change.
    void onChange(std::function<void()> changed) { listeners_.push_back(std::move(changed)); }

    // Looks at the folder again (the watcher and a timer call it).
    void look();

private:
    QString guestPrefix() const;
    bool takeCard();

    QString folder_;
    QString card_;
    QString fileName_;  // the card as it stands in the folder's file names
    QLockFile lock_;
    std::unique_ptr<QLockFile> guestLock_;
    bool ours_ = false;
    std::optional<CardUser> holder_;
    std::vector<CardUser> guests_;
    QString problem_;
    QFileSystemWatcher watcher_;
    QTimer recheck_;  // a guest killed with -9 changes nothing in the folder
    QTimer relook_;  // a guest's lock seen before its program wrote it
    std::vector<std::function<void()>> listeners_;
};

}  // namespace platform::wave
