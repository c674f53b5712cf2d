#pragma once

#include "sdk/socialnet/json/SNArray.h"

namespace socialnet {

// An array of a graph object: elements that are dictionaries or arrays are wrapped
// as graph objects the first time they are read, and the wrapper is stored back.
class SNGraphObjectArray : public SNArray {
public:
    struct Private {};
    SNGraphObjectArray(Private, SNArrayPtr jsonArray) : jsonArray_(std::move(jsonArray)) {}

    // The array itself when it already is a graph-object array; otherwise one over a
    // shallow copy.
    static SNArrayPtr wrapping(const SNArrayPtr& array);

    size_t count() const override;
    SNValue objectAtIndex(size_t index) override;
    void addObject(SNValue value) override;
    void insertObject(SNValue value, size_t index) override;
    void removeObjectAtIndex(size_t index) override;
    void removeLastObject() override;
    void replaceObjectAtIndex(size_t index, SNValue value) override;
    std::vector<SNValue> allObjects() override;

    void graphObjectifyAll();

private:
    SNValue graphObjectifyAtIndex(size_t index);

    SNArrayPtr jsonArray_;
};

} // namespace socialnet
