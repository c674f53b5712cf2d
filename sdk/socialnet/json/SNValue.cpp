#include "sdk/socialnet/json/SNValue.h"

#include "sdk/socialnet/json/SNArray.h"
#include "sdk/socialnet/json/SNDictionary.h"

#include <cstdio>

namespace socialnet {

namespace {

const std::string kEmptyString;
const SNDictionaryPtr kNoDictionary;
const SNArrayPtr kNoArray;
const SNObjectPtr kNoObject;
const SNBytes kNoBytes;

} // namespace

SNValue::SNValue(SNDictionaryPtr v) {
    if (v) data_ = std::move(v);
}

SNValue::SNValue(SNArrayPtr v) {
    if (v) data_ = std::move(v);
}

SNValue::SNValue(SNObjectPtr v) {
    if (v) data_ = std::move(v);
}

SNValue SNValue::date(double secondsSince1970) {
    SNValue value;
    value.data_ = DateBox{secondsSince1970};
    return value;
}

SNValue SNValue::data(SNBytes bytes) {
    SNValue value;
    value.data_ = DataBox{std::move(bytes)};
    return value;
}

SNValue::Kind SNValue::kind() const {
    switch (data_.index()) {
    case 1:
        return Kind::Bool;
    case 2:
        return Kind::Number;
    case 3:
        return Kind::String;
    case 4:
        return Kind::Dictionary;
    case 5:
        return Kind::Array;
    case 6:
        return Kind::Date;
    case 7:
        return Kind::Data;
    case 8:
        return Kind::Object;
    default:
        return Kind::Null;
    }
}

bool SNValue::boolValue() const {
    if (auto b = std::get_if<bool>(&data_)) return *b;
    if (auto n = std::get_if<SNDecimal>(&data_)) return n->isFinite() ? n->digits() != "0" : true;
    return false;
}

const SNDecimal* SNValue::number() const {
    return std::get_if<SNDecimal>(&data_);
}

const std::string& SNValue::string() const {
    auto s = std::get_if<std::string>(&data_);
    return s ? *s : kEmptyString;
}

const SNDictionaryPtr& SNValue::dictionary() const {
    auto d = std::get_if<SNDictionaryPtr>(&data_);
    return d ? *d : kNoDictionary;
}

const SNArrayPtr& SNValue::array() const {
    auto a = std::get_if<SNArrayPtr>(&data_);
    return a ? *a : kNoArray;
}

double SNValue::dateValue() const {
    auto d = std::get_if<DateBox>(&data_);
    return d ? d->seconds : 0;
}

const SNBytes& SNValue::bytes() const {
    auto d = std::get_if<DataBox>(&data_);
    return d ? d->bytes : kNoBytes;
}

const SNObjectPtr& SNValue::object() const {
    auto o = std::get_if<SNObjectPtr>(&data_);
    return o ? *o : kNoObject;
}

std::string SNValue::description() const {
    switch (kind()) {
    case Kind::Null:
        return "<null>";
    case Kind::Bool:
        return boolValue() ? "1" : "0";
    case Kind::Number:
        return number()->text();
    case Kind::String:
        return string();
    case Kind::Dictionary: {
        std::string text = "{";
        for (auto& key : dictionary()->keys())
            text += key.description() + " = " + dictionary()->objectForKey(key).description() + "; ";
        return text + "}";
    }
    case Kind::Array: {
        std::string text = "(";
        bool first = true;
        for (auto& element : array()->allObjects()) {
            text += (first ? "" : ", ") + element.description();
            first = false;
        }
        return text + ")";
    }
    case Kind::Date: {
        char buffer[48];
        std::snprintf(buffer, sizeof buffer, "<date %.3f>", dateValue());
        return buffer;
    }
    case Kind::Data:
        return "<" + std::to_string(bytes().size()) + " bytes>";
    case Kind::Object:
        return object()->description();
    }
    return {};
}

std::string SNValue::className() const {
    switch (kind()) {
    case Kind::Null:
        return "Null";
    case Kind::Bool:
        return "Boolean";
    case Kind::Number:
        return "Decimal";
    case Kind::String:
        return "String";
    case Kind::Dictionary:
        return "Dictionary";
    case Kind::Array:
        return "Array";
    case Kind::Date:
        return "Date";
    case Kind::Data:
        return "Data";
    case Kind::Object:
        return object()->className();
    }
    return {};
}

bool SNValue::isIdenticalTo(const SNValue& other) const {
    if (kind() != other.kind()) return false;
    switch (kind()) {
    case Kind::Dictionary:
        return dictionary() == other.dictionary();
    case Kind::Array:
        return array() == other.array();
    case Kind::Object:
        return object() == other.object();
    default:
        return *this == other;
    }
}

bool SNValue::operator==(const SNValue& other) const {
    if (kind() != other.kind()) return false;
    switch (kind()) {
    case Kind::Null:
        return true;
    case Kind::Bool:
        return boolValue() == other.boolValue();
    case Kind::Number:
        return *number() == *other.number();
    case Kind::String:
        return string() == other.string();
    case Kind::Date:
        return dateValue() == other.dateValue();
    case Kind::Data:
        return bytes() == other.bytes();
    case Kind::Object:
        return object() == other.object();
    case Kind::Dictionary: {
        auto& a = dictionary();
        auto& b = other.dictionary();
        if (a == b) return true;
        if (a->count() != b->count()) return false;
        for (auto& key : a->keys())
            if (!b->containsKey(key) || !(a->objectForKey(key) == b->objectForKey(key))) return false;
        return true;
    }
    case Kind::Array: {
        auto& a = array();
        auto& b = other.array();
        if (a == b) return true;
        if (a->count() != b->count()) return false;
        for (size_t i = 0; i < a->count(); ++i)
            if (!(a->objectAtIndex(i) == b->objectAtIndex(i))) return false;
        return true;
    }
    }
    return false;
}

} // namespace socialnet
