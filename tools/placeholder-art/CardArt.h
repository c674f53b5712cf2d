#pragma once

#include <string>

// Draws the card pictures of the Tien Len order into IMAGES_DIR: the faces "100.png"
// (index 0) and "1.png" .. "51.png" (rank index / 4 from the three to the two, suit
// index mod 4: spades, clubs, diamonds, hearts, the last two red), and the backs
// "52.png", "53.png", "54.png" of the three room levels. Returns the failures.
int drawCards(const std::string& imagesDir);
