#pragma once
// SessionFeed: the class view's Feed over this run's measurements: the
// session's circuit values and readouts, and the lab's record, graph and
// fits. It reads the session and the lab session, never a widget; it tells
// of each measured block and of each change of the record.
#include "app/classview/feed.h"

namespace app::session {
class Session;
}
namespace app::lab {
class LabSession;
}

namespace app::classview {

class SessionFeed final : public Feed {
public:
    SessionFeed(const session::Session& session, const lab::LabSession& lab, QObject* parent = nullptr);

    QJsonObject live() const override;
    QJsonObject state() const override;
    QByteArray recordCsv(const ::lab::CsvDialect& dialect) const override;
    QJsonArray recordRows() const override;

private:
    QJsonArray row(std::size_t index) const;

    const session::Session& session_;
    const lab::LabSession& lab_;
};

}  // namespace app::classview
