// Feeds arbitrary bytes through what the reader thread does with received data:
// frame splitting, deciphering, message building, and every kind of field read.
//
// Input: byte 0 picks the key (bit 0: a fixed key, or the next 8 bytes as the key)
// and the piece size in which the stream arrives; the rest is the stream.

#include "net/FrameReader.h"
#include "net/Message.h"
#include "net/TEA.h"
#include "platform/runtime/Log.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// Reads fields of every kind until the body is used up, the choice of reader
// steered by the body itself.
void readEverything(kavo::Message& m) {
    int steps = 0;
    while (m.available() && steps++ < 4096) {
        int32_t before = m.idx();
        switch (static_cast<uint8_t>(m.data()[size_t(m.idx())]) % 10) {
        case 0:
            m.readByte();
            break;
        case 1:
            m.readBool();
            break;
        case 2:
            m.readShort();
            break;
        case 3:
            m.readInt();
            break;
        case 4:
            m.readLong();
            break;
        case 5:
            m.readFloat();
            break;
        case 6:
            m.readUTF();
            break;
        case 7:
            m.readDataWithLength(static_cast<int16_t>(m.readShort()));
            break;
        case 8:
            m.readDataWithIntLength(m.readInt());
            break;
        case 9:
            m.setIdx(m.idx() + 1);
            break;
        }
        // A failed fixed-width read leaves the cursor: step past one byte.
        if (m.idx() == before) m.readByte();
    }
    // Reads at the end and past it must stay harmless.
    m.readInt();
    m.readUTF();
    m.readDataWithLength(1);
    // Rebuilding it must keep the bytes.
    auto copy = kavo::Message::fromRawData(m.rawData());
    if (!copy || copy->data() != m.data() || copy->commandId() != m.commandId()) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    platform::setLogSink([](const std::string&) {}); // the readers log every miss
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    uint8_t control = data[0];
    ++data, --size;
    int64_t key = 1700000000000LL;
    if ((control & 1) && size >= 8) {
        uint64_t k = 0;
        for (int i = 0; i < 8; ++i)
            k = (k << 8) | data[i];
        key = static_cast<int64_t>(k);
        data += 8, size -= 8;
    }
    size_t piece = (control >> 1) == 0 ? size : size_t(control >> 1);
    if (piece == 0) piece = 1;

    kavo::TEA tea(key);
    kavo::FrameReader reader;
    std::vector<uint8_t> body;
    bool broken = false;
    for (size_t at = 0; at < size && !broken; at += piece) {
        reader.append(data + at, std::min(piece, size - at));
        for (;;) {
            auto result = reader.next(body);
            broken = result == kavo::FrameReader::Result::Error;
            if (result != kavo::FrameReader::Result::Frame) break;
            if (auto message = kavo::decodeFrameBody(tea, body)) readEverything(*message);
            // Whatever deciphers must encipher back to the same plain bytes.
            if (auto plain = tea.decrypt(body)) {
                auto again = tea.decrypt(tea.encrypt(*plain));
                if (!again || *again != *plain) __builtin_trap();
            }
        }
    }

    // The body bytes on their own, as a plain message.
    if (auto direct = kavo::Message::fromRawData(data, size)) readEverything(*direct);
    return 0;
}
