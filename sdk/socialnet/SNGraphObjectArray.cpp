#include "sdk/socialnet/SNGraphObjectArray.h"

#include "sdk/socialnet/SNGraphObject.h"

namespace socialnet {

SNArrayPtr SNGraphObjectArray::wrapping(const SNArrayPtr& array) {
    if (std::dynamic_pointer_cast<SNGraphObjectArray>(array)) return array;
    auto copy = array ? SNArray::make(array->allObjects()) : SNArray::make();
    return std::make_shared<SNGraphObjectArray>(Private{}, copy);
}

size_t SNGraphObjectArray::count() const {
    return jsonArray_->count();
}

SNValue SNGraphObjectArray::graphObjectifyAtIndex(size_t index) {
    SNValue stored = jsonArray_->objectAtIndex(index);
    SNValue wrapped = SNGraphObject::graphObjectWrappingObject(stored);
    if (!wrapped.isIdenticalTo(stored)) jsonArray_->replaceObjectAtIndex(index, wrapped);
    return wrapped;
}

SNValue SNGraphObjectArray::objectAtIndex(size_t index) {
    return graphObjectifyAtIndex(index);
}

void SNGraphObjectArray::graphObjectifyAll() {
    for (size_t i = 0; i < jsonArray_->count(); ++i)
        graphObjectifyAtIndex(i);
}

std::vector<SNValue> SNGraphObjectArray::allObjects() {
    graphObjectifyAll();
    return jsonArray_->allObjects();
}

void SNGraphObjectArray::addObject(SNValue value) {
    jsonArray_->addObject(std::move(value));
}

void SNGraphObjectArray::insertObject(SNValue value, size_t index) {
    jsonArray_->insertObject(std::move(value), index);
}

void SNGraphObjectArray::removeObjectAtIndex(size_t index) {
    jsonArray_->removeObjectAtIndex(index);
}

void SNGraphObjectArray::removeLastObject() {
    jsonArray_->removeLastObject();
}

void SNGraphObjectArray::replaceObjectAtIndex(size_t index, SNValue value) {
    jsonArray_->replaceObjectAtIndex(index, std::move(value));
}

} // namespace socialnet
