#include "platform/wave/alsa/card_of_pcm.h"

#include <alsa/asoundlib.h>

namespace platform::wave::alsa {

std::string cardOfPcm(const std::string& pcm) {
    const std::size_t colon = pcm.find(':');
    if (colon == std::string::npos) return pcm;
    const std::string arguments = pcm.substr(colon + 1);
    // CARD=<id or number> anywhere, or the first argument.
    std::string card;
    const std::size_t named = arguments.find("CARD=");
    if (named != std::string::npos)
        card = arguments.substr(named + 5, arguments.find(',', named) - named - 5);
    else
        card = arguments.substr(0, arguments.find(','));
    if (card.size() >= 2 && card.front() == '"' && card.back() == '"') card = card.substr(1, card.size() - 2);
    const int index = card.empty() ? -1 : snd_card_get_index(card.c_str());
    return index >= 0 ? "card " + std::to_string(index) : pcm;
}

}  // namespace platform::wave::alsa
