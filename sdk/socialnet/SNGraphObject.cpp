#include "sdk/socialnet/SNGraphObject.h"

#include "sdk/socialnet/SNGraphObjectArray.h"

#include <algorithm>
#include <cctype>

namespace socialnet {

namespace {

// What a plain dictionary answers besides the accessors.
constexpr std::string_view kDictionaryOperations[] = {"count", "objectForKey:", "keyEnumerator",
                                                      "removeObjectForKey:", "setObject:forKey:"};

bool derivesFrom(const SNProtocol& protocol, const SNProtocol& base) {
    if (&protocol == &base) return true;
    return std::any_of(protocol.adopted.begin(), protocol.adopted.end(),
                       [&](const SNProtocol* adopted) { return adopted && derivesFrom(*adopted, base); });
}

} // namespace

const SNProtocol& SNGraphObjectProtocol() {
    static const SNProtocol protocol{
        "SNGraphObject",
        {},
        {"count", "objectForKey:", "keyEnumerator", "removeObjectForKey:", "setObject:forKey:"},
        {}};
    return protocol;
}

std::shared_ptr<SNGraphObject> SNGraphObject::graphObject() {
    return std::make_shared<SNGraphObject>(Private{}, SNDictionary::make());
}

SNDictionaryPtr SNGraphObject::graphObjectWrappingDictionary(const SNDictionaryPtr& dictionary) {
    if (std::dynamic_pointer_cast<SNGraphObject>(dictionary)) return dictionary;
    auto copy = SNDictionary::make();
    if (dictionary)
        for (auto& key : dictionary->keys())
            copy->setObject(dictionary->objectForKey(key), key);
    return std::make_shared<SNGraphObject>(Private{}, copy);
}

SNValue SNGraphObject::graphObjectWrappingObject(const SNValue& value) {
    if (value.isDictionary()) return SNValue(graphObjectWrappingDictionary(value.dictionary()));
    if (value.isArray()) return SNValue(SNGraphObjectArray::wrapping(value.array()));
    return value;
}

bool SNGraphObject::isGraphObjectID(const SNDictionaryPtr& a, const SNDictionaryPtr& b) {
    if (a && a == b) return true;
    if (!a || !b) return false;
    SNValue idA = a->objectForKey("id");
    SNValue idB = b->objectForKey("id");
    return idA.isString() && idB.isString() && idA.string() == idB.string();
}

SNAccessorKind SNGraphObject::inferredImplTypeForSelector(std::string_view name) {
    size_t colons = std::count(name.begin(), name.end(), ':');
    if (colons == 0) return SNAccessorKind::Getter;
    if (colons == 1 && name.back() == ':' && name.substr(0, 3) == "set" && name.size() >= 5)
        return SNAccessorKind::Setter;
    return SNAccessorKind::None;
}

std::string SNGraphObject::keyForSetter(std::string_view name) {
    std::string key(name.substr(3, name.size() - 4));
    if (!key.empty()) key[0] = char(std::tolower(static_cast<unsigned char>(key[0])));
    return key;
}

bool SNGraphObject::isProtocolImplementationInferable(const SNProtocol& protocol, bool checkSNGraphObjectAdoption) {
    if (checkSNGraphObjectAdoption && !derivesFrom(protocol, SNGraphObjectProtocol())) return false;
    if (&protocol == &SNGraphObjectProtocol()) return true;
    if (!protocol.optionalAccessors.empty()) return false;
    for (auto& name : protocol.requiredAccessors)
        if (inferredImplTypeForSelector(name) == SNAccessorKind::None) return false;
    for (auto* adopted : protocol.adopted)
        if (adopted && !isProtocolImplementationInferable(*adopted, false)) return false;
    return true;
}

size_t SNGraphObject::count() const {
    return jsonObject_->count();
}

SNValue SNGraphObject::graphObjectifyAtKey(const SNValue& key) {
    SNValue stored = jsonObject_->objectForKey(key);
    SNValue wrapped = graphObjectWrappingObject(stored);
    if (!wrapped.isIdenticalTo(stored)) jsonObject_->setObject(wrapped, key);
    return wrapped;
}

SNValue SNGraphObject::objectForKey(const SNValue& key) {
    return graphObjectifyAtKey(key);
}

void SNGraphObject::setObject(SNValue value, const SNValue& key) {
    jsonObject_->setObject(std::move(value), key);
}

void SNGraphObject::removeObjectForKey(const SNValue& key) {
    jsonObject_->removeObjectForKey(key);
}

bool SNGraphObject::containsKey(const SNValue& key) const {
    return jsonObject_->containsKey(key);
}

void SNGraphObject::graphObjectifyAll() {
    for (auto& key : jsonObject_->keys())
        graphObjectifyAtKey(key);
}

std::vector<SNValue> SNGraphObject::keys() {
    graphObjectifyAll();
    return jsonObject_->keys();
}

bool SNGraphObject::respondsToSelector(std::string_view name) const {
    if (std::find(std::begin(kDictionaryOperations), std::end(kDictionaryOperations), name) !=
        std::end(kDictionaryOperations))
        return true;
    return inferredImplTypeForSelector(name) != SNAccessorKind::None;
}

bool SNGraphObject::conformsToProtocol(const SNProtocol& protocol) const {
    return isProtocolImplementationInferable(protocol, true);
}

std::optional<SNValue> SNGraphObject::performAccessor(std::string_view name, const SNValue& argument) {
    switch (inferredImplTypeForSelector(name)) {
    case SNAccessorKind::Getter:
        return objectForKey(SNValue(name));
    case SNAccessorKind::Setter:
        setObject(argument, SNValue(keyForSetter(name)));
        return SNValue();
    case SNAccessorKind::None:
        break;
    }
    return std::nullopt;
}

} // namespace socialnet
