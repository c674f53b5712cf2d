#include "sdk/socialnet/json/SNArray.h"

namespace socialnet {

SNArrayPtr SNArray::mutableCopy() {
    return make(allObjects());
}

size_t SNArray::count() const {
    return values_.size();
}

SNValue SNArray::objectAtIndex(size_t index) {
    return index < values_.size() ? values_[index] : SNValue();
}

void SNArray::addObject(SNValue value) {
    values_.push_back(std::move(value));
}

void SNArray::insertObject(SNValue value, size_t index) {
    if (index <= values_.size()) values_.insert(values_.begin() + long(index), std::move(value));
}

void SNArray::removeObjectAtIndex(size_t index) {
    if (index < values_.size()) values_.erase(values_.begin() + long(index));
}

void SNArray::removeLastObject() {
    if (!values_.empty()) values_.pop_back();
}

void SNArray::replaceObjectAtIndex(size_t index, SNValue value) {
    if (index < values_.size()) values_[index] = std::move(value);
}

std::vector<SNValue> SNArray::allObjects() {
    return values_;
}

} // namespace socialnet
