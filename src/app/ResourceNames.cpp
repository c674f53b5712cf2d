#include "app/ResourceNames.h"

namespace kavo {

std::vector<std::string> cardPictureNames() {
    std::vector<std::string> names{"100.png"};
    for (int card = 1; card < kCardPictureCount; ++card)
        names.push_back(std::to_string(card) + ".png");
    return names;
}

std::vector<std::string> caroClockPictureNames() {
    std::vector<std::string> names;
    for (int step = 0; step < kCaroClockPictureCount; ++step)
        names.push_back("caro-" + std::to_string(step) + ".png");
    return names;
}

} // namespace kavo
