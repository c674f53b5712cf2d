#include "games/tetris/TetrisService.h"

namespace kavo {

TetrisService& TetrisService::getInstance() {
    static TetrisService instance;
    return instance;
}

} // namespace kavo
