#pragma once

#include <cstdint>
#include <vector>

namespace kavo {

// Builds the Tien Len MB table's own requests; nothing else. Safe from any thread.
class TienLenMBService {
public:
    static TienLenMBService& getInstance();
    // 21: fire these cards, in the order given (the count byte is the low 8 bits of
    // the length).
    void moveWithRoomId(int8_t roomId, int8_t boardId, const std::vector<uint8_t>& cards);
    // 53: claim the instant win of the hand just dealt.
    void forceFinishWithRoomId(int8_t roomId, int8_t boardId);
    // 49: skip the turn.
    void skipWithRoomId(int8_t roomId, int8_t boardId);

    // 56: the most players the board takes.
    void setMaxPlayerWithRoomId(int8_t roomId, int8_t boardId, int8_t max);

private:
    TienLenMBService() = default;
};

} // namespace kavo
