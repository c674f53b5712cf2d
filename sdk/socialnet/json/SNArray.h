#pragma once

#include "sdk/socialnet/json/SNValue.h"

#include <vector>

namespace socialnet {

// A mutable array. Reads are virtual because a graph-object array wraps another array
// and replaces what it stores as it is read. An index out of range reads as null and
// is ignored by the changing operations.
class SNArray {
public:
    SNArray() = default;
    explicit SNArray(std::vector<SNValue> values) : values_(std::move(values)) {}
    virtual ~SNArray() = default;

    static SNArrayPtr make(std::vector<SNValue> values = {}) { return std::make_shared<SNArray>(std::move(values)); }
    virtual SNArrayPtr mutableCopy();

    virtual size_t count() const;
    virtual SNValue objectAtIndex(size_t index);
    virtual void addObject(SNValue value);
    virtual void insertObject(SNValue value, size_t index);
    virtual void removeObjectAtIndex(size_t index);
    virtual void removeLastObject();
    virtual void replaceObjectAtIndex(size_t index, SNValue value);
    // Every element in order (after any wrapping the array does on read).
    virtual std::vector<SNValue> allObjects();

    void reserve(size_t capacity) { values_.reserve(capacity); }

private:
    std::vector<SNValue> values_;
};

} // namespace socialnet
