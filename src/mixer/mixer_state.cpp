#include "mixer/mixer_state.h"

#include "mixer/audio_mixer.h"

#include <QJsonArray>

namespace mixer {

namespace {

QJsonObject lineJson(const TSource& line) {
    QJsonObject o;
    o.insert(QStringLiteral("Name"), QString::fromUtf8(line.Name));
    o.insert(QStringLiteral("ShortName"), QString::fromUtf8(line.ShortName));
    o.insert(QStringLiteral("Available"), line.Available);
    if (const TVolume* v = line.GetVolume()) {
        o.insert(QStringLiteral("Volume"), QJsonObject{{QStringLiteral("Left"), static_cast<qint64>(v->Left())},
                                                       {QStringLiteral("Right"), static_cast<qint64>(v->Right())}});
    } else {
        o.insert(QStringLiteral("Volume"), QJsonValue::Null);
    }
    return o;
}

QJsonValue slotJson(const TSource* line) { return line != nullptr ? QJsonValue(lineJson(*line)) : QJsonValue::Null; }

}  // namespace

QJsonObject mixerStateJson(const TAudioMixer& mixer) {
    QJsonObject o;
    o.insert(QStringLiteral("Active"), mixer.Active());
    o.insert(QStringLiteral("ProductName"), QString::fromUtf8(mixer.ProductName()));
    o.insert(QStringLiteral("MixerCount"), static_cast<qint64>(mixer.MixerCount()));
    QJsonArray destinations;
    for (const auto& d : mixer.Destinations) {
        QJsonObject dj = lineJson(*d);
        QJsonArray sources;
        for (const auto& s : d->Sources) sources.append(lineJson(*s));
        dj.insert(QStringLiteral("Sources"), sources);
        destinations.append(dj);
    }
    o.insert(QStringLiteral("Destinations"), destinations);
    o.insert(QStringLiteral("WaveOut"), slotJson(mixer.WaveOut));
    o.insert(QStringLiteral("SpeakersDest"), slotJson(mixer.SpeakersDest));
    o.insert(QStringLiteral("RecordDest"), slotJson(mixer.RecordDest));
    return o;
}

}  // namespace mixer
