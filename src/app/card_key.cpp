#include "app/card_key.h"

namespace app {

QString cardKey(const Options& options, const std::string& mixerProductName) {
    if (options.audio != QLatin1String("alsa")) return options.audio;
    const QString product =
        mixerProductName.empty() ? QStringLiteral("(no mixer)") : QString::fromStdString(mixerProductName);
    return QStringLiteral("%1 | capture %2 | playback %3").arg(product, options.inputDevice, options.outputDevice);
}

}  // namespace app
