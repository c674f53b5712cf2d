#include "platform/foundation/KeyedArchive.h"

#include "platform/runtime/Log.h"

#include <bit>

namespace platform {

// Layout (all numbers big-endian):
//   "KVKA" version:u8 recordCount:u32
//   per record: className:str fieldCount:u32, per field: key:str tag:u8 payload
//   crc32 of everything before:u32
// where str is length:u32 followed by the UTF-8 bytes.

namespace {

constexpr uint8_t kMagic[] = {'K', 'V', 'K', 'A'};
constexpr uint8_t kVersion = 1;

enum Tag : uint8_t { kInteger = 1, kBool = 2, kReal = 3, kString = 4, kData = 5, kDate = 6 };

// Eight tables of the reflected polynomial 0xEDB88320: table[k][b] is the CRC of byte b
// followed by k zero bytes, so eight bytes are folded in with eight look-ups.
struct CrcTables {
    uint32_t t[8][256];
    constexpr CrcTables() : t{} {
        for (uint32_t b = 0; b < 256; ++b) {
            uint32_t crc = b;
            for (int k = 0; k < 8; ++k)
                crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
            t[0][b] = crc;
        }
        for (uint32_t b = 0; b < 256; ++b)
            for (int k = 1; k < 8; ++k)
                t[k][b] = (t[k - 1][b] >> 8) ^ t[0][t[k - 1][b] & 0xFF];
    }
};
constexpr CrcTables kCrc;

} // namespace

uint32_t crc32Checksum(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    // A stored mailbox is tens of megabytes: bit by bit its checksum took longer than the
    // rest of reading it.
    while (size >= 8) {
        const uint32_t lo =
            crc ^ (uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 | uint32_t(data[3]) << 24);
        crc = kCrc.t[7][lo & 0xFF] ^ kCrc.t[6][(lo >> 8) & 0xFF] ^ kCrc.t[5][(lo >> 16) & 0xFF] ^ kCrc.t[4][lo >> 24] ^
              kCrc.t[3][data[4]] ^ kCrc.t[2][data[5]] ^ kCrc.t[1][data[6]] ^ kCrc.t[0][data[7]];
        data += 8;
        size -= 8;
    }
    while (size-- > 0)
        crc = (crc >> 8) ^ kCrc.t[0][(crc ^ *data++) & 0xFF];
    return ~crc;
}

namespace {

// Every read checks the remaining length; after the first failure all reads fail.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool ok() const { return ok_; }
    bool atEnd() const { return pos_ == size_; }
    uint8_t u8() { return need(1) ? data_[pos_++] : 0; }
    uint32_t u32() {
        if (!need(4)) return 0;
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = (v << 8) | data_[pos_++];
        return v;
    }
    uint64_t u64() {
        if (!need(8)) return 0;
        uint64_t v = 0;
        for (int i = 0; i < 8; ++i)
            v = (v << 8) | data_[pos_++];
        return v;
    }
    std::string_view str() {
        uint32_t length = u32();
        if (!need(length)) return {};
        std::string_view view(reinterpret_cast<const char*>(data_ + pos_), length);
        pos_ += length;
        return view;
    }
    void fail() { ok_ = false; }

private:
    bool need(size_t n) {
        if (!ok_ || size_ - pos_ < n) ok_ = false;
        return ok_;
    }
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
};

// Reads one field's payload into `field`; a bad tag or payload fails the reader.
void readField(Reader& r, uint8_t tag, uint64_t& number, std::string_view& bytes) {
    switch (tag) {
    case kInteger:
    case kReal:
    case kDate:
        number = r.u64();
        return;
    case kBool:
        number = r.u8();
        if (number > 1) r.fail();
        return;
    case kString:
    case kData:
        bytes = r.str();
        return;
    default:
        r.fail();
    }
}

Value valueOf(uint8_t tag, uint64_t number, std::string_view bytes) {
    switch (tag) {
    case kInteger:
        return Value(int64_t(number));
    case kBool:
        return Value(number == 1);
    case kReal:
        return Value(std::bit_cast<double>(number));
    case kString:
        return Value(std::string(bytes));
    case kData:
        return Value(Bytes(bytes.begin(), bytes.end()));
    case kDate:
        return Value::date(std::bit_cast<double>(number));
    default:
        return {};
    }
}

// How a walk of an archive ended.
enum class Walked { Whole, Malformed, Stopped };

// Walks the archive body once; hands each record to `each` when given, until it returns false.
Walked walk(const Bytes& data, ArchiveRecordView& view, const std::function<bool(const ArchiveRecordView&)>* each,
            const std::function<void(ArchiveRecordView&, std::string_view, uint8_t, uint64_t, std::string_view)>& add,
            const std::function<void(ArchiveRecordView&, std::string_view)>& begin) {
    constexpr size_t kHeader = sizeof kMagic + 1 + 4;
    if (data.size() < kHeader + 4) return Walked::Malformed;
    size_t body = data.size() - 4;
    Reader r(data.data(), body);
    for (uint8_t m : kMagic)
        if (r.u8() != m) return Walked::Malformed;
    if (r.u8() != kVersion) return Walked::Malformed;
    uint32_t recordCount = r.u32();
    for (uint32_t i = 0; i < recordCount && r.ok(); ++i) {
        begin(view, r.str());
        uint32_t fieldCount = r.u32();
        for (uint32_t f = 0; f < fieldCount && r.ok(); ++f) {
            std::string_view key = r.str();
            uint8_t tag = r.u8();
            uint64_t number = 0;
            std::string_view bytes;
            readField(r, tag, number, bytes);
            if (r.ok()) add(view, key, tag, number, bytes);
        }
        if (r.ok() && each && !(*each)(view)) return Walked::Stopped;
    }
    return r.ok() && r.atEnd() ? Walked::Whole : Walked::Malformed;
}

void appendU32(Bytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(v >> shift));
}

void appendHeader(Bytes& out, uint32_t recordCount) {
    // Byte by byte: GCC 12 misreads a range insert into the fresh vector as an overrun.
    for (uint8_t m : kMagic)
        out.push_back(m);
    out.push_back(kVersion);
    appendU32(out, recordCount);
}

uint32_t storedChecksum(const Bytes& data) {
    size_t body = data.size() - 4;
    return uint32_t(data[body]) << 24 | uint32_t(data[body + 1]) << 16 | uint32_t(data[body + 2]) << 8 |
           uint32_t(data[body + 3]);
}

} // namespace

// ---------------------------------------------------------------- record view

const ArchiveRecordView::Field* ArchiveRecordView::find(std::string_view key) const {
    if (next_ < fields_.size() && fields_[next_].key == key) return &fields_[next_++];
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i].key == key) {
            next_ = i + 1;
            return &fields_[i];
        }
    }
    return nullptr;
}

int64_t ArchiveRecordView::decodeInt64(std::string_view key) const {
    const Field* field = find(key);
    return field && (field->tag == kInteger || field->tag == kBool) ? int64_t(field->number) : 0;
}

bool ArchiveRecordView::decodeBool(std::string_view key) const {
    const Field* field = find(key);
    return field && (field->tag == kInteger || field->tag == kBool) && field->number != 0;
}

std::string_view ArchiveRecordView::decodeString(std::string_view key) const {
    const Field* field = find(key);
    return field && (field->tag == kString || field->tag == kData) ? field->bytes : std::string_view{};
}

// ---------------------------------------------------------------- encoder

ArchiveEncoder::ArchiveEncoder(uint32_t recordCount, size_t expectedSize) {
    out_.reserve(expectedSize ? expectedSize : 64 + size_t(recordCount) * 128);
    appendHeader(out_, recordCount);
}

void ArchiveEncoder::u32(uint32_t v) {
    appendU32(out_, v);
}

void ArchiveEncoder::u64(uint64_t v) {
    for (int shift = 56; shift >= 0; shift -= 8)
        out_.push_back(uint8_t(v >> shift));
}

void ArchiveEncoder::str(std::string_view s) {
    u32(uint32_t(s.size()));
    out_.insert(out_.end(), s.begin(), s.end());
}

void ArchiveEncoder::patchFieldCount() {
    if (!inRecord_) return;
    for (int i = 0; i < 4; ++i)
        out_[countAt_ + size_t(i)] = uint8_t(fieldCount_ >> (24 - 8 * i));
    inRecord_ = false;
}

void ArchiveEncoder::beginRecord(std::string_view className) {
    patchFieldCount();
    str(className);
    countAt_ = out_.size();
    u32(0);
    fieldCount_ = 0;
    inRecord_ = true;
}

void ArchiveEncoder::encodeInt64(int64_t value, std::string_view key) {
    str(key);
    u8(kInteger);
    u64(uint64_t(value));
    ++fieldCount_;
}

void ArchiveEncoder::encodeBool(bool value, std::string_view key) {
    str(key);
    u8(kBool);
    u8(value ? 1 : 0);
    ++fieldCount_;
}

void ArchiveEncoder::encodeString(std::string_view value, std::string_view key) {
    str(key);
    u8(kString);
    str(value);
    ++fieldCount_;
}

bool ArchiveEncoder::encodeValue(const Value& value, std::string_view key) {
    switch (value.type()) {
    case ValueType::Integer:
        encodeInt64(value.int64Value(), key);
        return true;
    case ValueType::Bool:
        encodeBool(value.boolValue(), key);
        return true;
    case ValueType::String:
        encodeString(value.stringValue(), key);
        return true;
    case ValueType::Real:
    case ValueType::Date:
        str(key);
        u8(value.type() == ValueType::Real ? kReal : kDate);
        u64(std::bit_cast<uint64_t>(value.type() == ValueType::Real ? value.doubleValue() : value.dateValue()));
        ++fieldCount_;
        return true;
    case ValueType::Data: {
        const Bytes& data = value.dataValue();
        str(key);
        u8(kData);
        str(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
        ++fieldCount_;
        return true;
    }
    default:
        return false;
    }
}

Bytes ArchiveEncoder::finish() {
    patchFieldCount();
    u32(crc32Checksum(out_.data(), out_.size()));
    return std::move(out_);
}

// ---------------------------------------------------------------- archive

Bytes KeyedArchive::archive(const std::vector<ArchiveRecord>& records) {
    ArchiveEncoder encoder(uint32_t(records.size()));
    for (auto& record : records) {
        encoder.beginRecord(record.className_);
        for (auto& [key, value] : record.fields_.dictValue()) {
            if (!encoder.encodeValue(value, key))
                log("KeyedArchive: field " + key + " has a kind that cannot be archived; left out");
        }
    }
    return encoder.finish();
}

bool KeyedArchive::forEachRecord(const Bytes& data, const std::function<bool(const ArchiveRecordView&)>& each) {
    if (data.size() < sizeof kMagic + 1 + 4 + 4) return false;
    if (crc32Checksum(data.data(), data.size() - 4) != storedChecksum(data)) {
        log("KeyedArchive: checksum mismatch; archive ignored");
        return false;
    }
    auto begin = [](ArchiveRecordView& view, std::string_view className) {
        view.className_ = className;
        view.fields_.clear();
        view.next_ = 0;
    };
    auto add = [](ArchiveRecordView& view, std::string_view key, uint8_t tag, uint64_t number, std::string_view bytes) {
        // A key given twice keeps its last value, as a dictionary would.
        for (auto& field : view.fields_) {
            if (field.key == key) {
                field = {key, tag, number, bytes};
                return;
            }
        }
        view.fields_.push_back({key, tag, number, bytes});
    };
    ArchiveRecordView view;
    // One pass: a mailbox of 100,000 mails is read on the way to the game grid.
    switch (walk(data, view, &each, add, begin)) {
    case Walked::Whole:
        return true;
    case Walked::Malformed:
        log("KeyedArchive: malformed archive ignored");
        return false;
    case Walked::Stopped:
        return false;
    }
    return false;
}

std::optional<std::vector<ArchiveRecord>> KeyedArchive::unarchive(const Bytes& data) {
    std::vector<ArchiveRecord> records;
    const bool ok = forEachRecord(data, [&records](const ArchiveRecordView& view) {
        ArchiveRecord record{std::string(view.className())};
        for (const auto& field : view.fields_)
            record.fields_.set(field.key, valueOf(field.tag, field.number, field.bytes));
        records.push_back(std::move(record));
        return true;
    });
    if (!ok) return std::nullopt;
    return records;
}

} // namespace platform
