#pragma once

#include "sdk/socialnet/json/SNDictionary.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace socialnet {

// A declared interface a graph object may be asked to serve: its name, the
// interfaces it adopts and the accessor names it requires or offers optionally.
struct SNProtocol {
    std::string name;
    std::vector<const SNProtocol*> adopted;
    std::vector<std::string> requiredAccessors;
    std::vector<std::string> optionalAccessors;
};

// The base interface every graph-object interface derives from.
const SNProtocol& SNGraphObjectProtocol();

enum class SNAccessorKind { None = 0, Getter = 1, Setter = 2 };

// One JSON object of the social network's graph, as a dictionary that wraps another.
// Nested dictionaries and arrays become graph objects and graph-object arrays the
// first time they are read, and the wrapper is stored back in their place, so every
// later read returns the same wrapper and changes through it stay in the parent.
// Accessor names ("first_name", "setFirst_name:") read and store keys.
class SNGraphObject : public SNDictionary {
public:
    struct Private {};
    SNGraphObject(Private, SNDictionaryPtr jsonObject) : jsonObject_(std::move(jsonObject)) {}

    // A graph object over a new empty dictionary.
    static std::shared_ptr<SNGraphObject> graphObject();
    // The dictionary itself when it already is a graph object; otherwise a graph
    // object over a shallow copy (later changes do not reach the argument).
    static SNDictionaryPtr graphObjectWrappingDictionary(const SNDictionaryPtr& dictionary);
    // Dictionaries and arrays wrapped as above; any other value unchanged.
    static SNValue graphObjectWrappingObject(const SNValue& value);
    // The same object, or both have equal string ids (a numeric id never matches).
    static bool isGraphObjectID(const SNDictionaryPtr& a, const SNDictionaryPtr& b);
    static SNAccessorKind inferredImplTypeForSelector(std::string_view name);
    // For a setter name: the key it stores under ("setFirst_name:" -> "first_name").
    static std::string keyForSetter(std::string_view name);
    static bool isProtocolImplementationInferable(const SNProtocol& protocol, bool checkSNGraphObjectAdoption);

    size_t count() const override;
    SNValue objectForKey(const SNValue& key) override;
    using SNDictionary::objectForKey;
    void setObject(SNValue value, const SNValue& key) override;
    using SNDictionary::setObject;
    void removeObjectForKey(const SNValue& key) override;
    using SNDictionary::removeObjectForKey;
    // Wraps every value first.
    std::vector<SNValue> keys() override;
    bool containsKey(const SNValue& key) const override;
    using SNDictionary::containsKey;

    bool respondsToSelector(std::string_view name) const;
    bool conformsToProtocol(const SNProtocol& protocol) const;
    // A getter returns the value under its name; a setter stores the argument and
    // returns null. nullopt for a name that is no accessor.
    std::optional<SNValue> performAccessor(std::string_view name, const SNValue& argument = {});

    void graphObjectifyAll();

private:
    SNValue graphObjectifyAtKey(const SNValue& key);

    SNDictionaryPtr jsonObject_;
};

} // namespace socialnet
