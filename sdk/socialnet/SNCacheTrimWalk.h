#pragma once

#include <cstdint>

namespace socialnet {

// A size as the index file holds it: normally an integer, but the file is not trusted.
struct SNStoredSize {
    enum class Kind { Missing, Integer, Other };
    Kind kind = Kind::Missing;
    int64_t integer = 0;
    double real = 0; // an Other value read as a number
};

// Picks the entries a trim drops, fed the index's rows in ascending access time: an entry
// goes when its own size plus the sizes of every entry used strictly before it stays
// within the limit. Entries used at the same moment do not count one another, so of
// several used together each small enough goes even when together they are not. One pass,
// so a trim of tens of thousands of entries does not hold up the stores queued behind it.
//
// Sizes add up as the database's SUM does: integers exactly (a total beyond 64 bits fails
// the trim), a size that is not an integer makes the total a floating-point one, and a
// missing size counts as nothing (an entry with no size before it and none of its own has
// no total and stays).
class SNCacheTrimWalk {
public:
    explicit SNCacheTrimWalk(int64_t limit) : limit_(limit) {}

    // The next row; answers whether its entry goes.
    bool next(double accessTime, const SNStoredSize& size);
    // Some total went beyond 64 bits: nothing may be trimmed.
    bool overflowed() const { return overflowed_; }

private:
    struct Total {
        bool any = false;
        bool approximate = false;
        bool overflow = false;
        int64_t integer = 0;
        double real = 0;
        void add(const SNStoredSize& size);
        void add(const Total& other);
        bool within(int64_t limit) const;
    };

    const int64_t limit_;
    bool started_ = false;
    double groupTime_ = 0;
    Total earlier_; // every entry used before the current access time
    Total group_;   // the entries used at the current access time
    bool overflowed_ = false;
};

} // namespace socialnet
