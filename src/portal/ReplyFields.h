#pragma once

#include "portal/ReplyReader.h"

#include <memory>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace kavo {

// Describes a reply by its fields in wire order instead of spelling out one read
// and one setter call per field. The fields of a record are read one after the
// other; a field that runs past the end reads as 0 or "" and leaves the reader
// failed (ReplyReader::ok()), so whoever takes the record decides what a cut-short
// one means:
//
//     auto avatars = readRecords<Avatar>(reader, asInt32(&Avatar::setAvatarId), asUtf(&Avatar::setName));
//     readAndCall(reader, logic, &GlobalLogicHandler::onVersionWithInfo, asUtf, asUtf);

// One field of `Record`: read with `Read`, handed to `set`.
template <typename Record, typename Param, auto Read> struct ReplyField {
    void (Record::*set)(Param);

    void readInto(ReplyReader& reader, Record& record) const { (record.*set)((reader.*Read)()); }
};

// A field read and dropped: the reply carries it, nothing uses it.
template <auto Read> struct SkippedField {
    template <typename Record> void readInto(ReplyReader& reader, Record&) const { (reader.*Read)(); }
};

// A wire type: `read` takes one value of it; called with a setter it names a field.
template <auto Read> struct WireType {
    auto read(ReplyReader& reader) const { return (reader.*Read)(); }
    constexpr SkippedField<Read> skipped() const { return {}; }

    template <typename Record, typename Param>
    constexpr ReplyField<Record, Param, Read> operator()(void (Record::*set)(Param)) const {
        return {set};
    }
};

inline constexpr WireType<&ReplyReader::byte> asByte{};
inline constexpr WireType<&ReplyReader::boolean> asFlag{};
inline constexpr WireType<&ReplyReader::int16> asInt16{};
inline constexpr WireType<&ReplyReader::int32> asInt32{};
inline constexpr WireType<&ReplyReader::int64> asInt64{};
inline constexpr WireType<&ReplyReader::utf> asUtf{};

// Reads `fields` in order into `record`.
template <typename Record, typename... Fields>
void readInto(ReplyReader& reader, Record& record, const Fields&... fields) {
    (fields.readInto(reader, record), ...);
}

// A new record read from `fields`, whether or not they were all there.
template <typename Record, typename... Fields>
std::shared_ptr<Record> readRecord(ReplyReader& reader, const Fields&... fields) {
    auto record = std::make_shared<Record>();
    readInto(reader, *record, fields...);
    return record;
}

// One value of each wire type, in order (a braced list is evaluated left to right,
// which an argument list is not).
template <typename... Wires> auto readValues(ReplyReader& reader, const Wires&... wires) {
    return std::tuple<decltype(wires.read(reader))...>{wires.read(reader)...};
}

// Reads one value of each wire type and hands them to `call` on `target`, only when
// they and every field before them were there: a reply cut short calls nothing.
template <typename Target, typename Class, typename... Params, typename... Wires>
void readAndCall(ReplyReader& reader, Target& target, void (Class::*call)(Params...), const Wires&... wires) {
    auto values = readValues(reader, wires...);
    if (reader.ok()) std::apply([&](auto&&... read) { (target.*call)(read...); }, std::move(values));
}

// A new record built from one value of each wire type, in order.
template <typename Record, typename... Wires>
std::shared_ptr<Record> readConstructed(ReplyReader& reader, const Wires&... wires) {
    return std::apply([](auto&&... values) { return std::make_shared<Record>(values...); },
                      readValues(reader, wires...));
}

// Rows until the body ends. The first row that cannot be read whole ends the list
// and is dropped; the rows before it are kept.
template <typename ReadRow> auto readRows(ReplyReader& reader, ReadRow readRow) {
    std::vector<std::invoke_result_t<ReadRow&, ReplyReader&>> rows;
    while (reader.hasMore()) {
        auto row = readRow(reader);
        if (!reader.ok()) break;
        rows.push_back(std::move(row));
    }
    return rows;
}

// Rows of records of `fields`, as readRows.
template <typename Record, typename... Fields>
std::vector<std::shared_ptr<Record>> readRecords(ReplyReader& reader, const Fields&... fields) {
    return readRows(reader, [&](ReplyReader& row) { return readRecord<Record>(row, fields...); });
}

} // namespace kavo
