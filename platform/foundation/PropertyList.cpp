#include "platform/foundation/PropertyList.h"

#include "platform/foundation/Base64.h"
#include "platform/foundation/DateFormat.h"
#include "platform/foundation/FileSystem.h"
#include "platform/runtime/Log.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <tinyxml2.h>
#include <vector>

namespace platform {

namespace {

// Deeper nesting than this is refused: no real property list comes near it, and
// the readers and writers recurse.
constexpr int kMaxDepth = 64;

std::string_view textOf(const tinyxml2::XMLElement* element) {
    const char* text = element->GetText();
    return text ? std::string_view(text) : std::string_view();
}

std::optional<int64_t> readInteger(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\n' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\n' || text.back() == '\t'))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int64_t value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<double> readReal(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<Value> readElement(const tinyxml2::XMLElement* element, int depth);

std::optional<Value> readDictionary(const tinyxml2::XMLElement* element, int depth) {
    Value dict = Value::emptyDictionary();
    for (auto child = element->FirstChildElement(); child; child = child->NextSiblingElement()) {
        if (std::string_view(child->Name()) != "key") return std::nullopt;
        std::string key(textOf(child));
        child = child->NextSiblingElement();
        if (!child) return std::nullopt;
        auto value = readElement(child, depth + 1);
        if (!value) return std::nullopt;
        dict.set(key, std::move(*value));
    }
    return dict;
}

// Base64 texts from this length on are decoded when first read.
constexpr size_t kLazyDataText = 64 * 1024;

// The text without the white space data may be wrapped and indented with. Copied a run
// at a time: a stored mailbox is tens of megabytes of text.
Bytes withoutWhiteSpace(std::string_view text) {
    Bytes compact;
    compact.reserve(text.size());
    const char* at = text.data();
    const char* const end = at + text.size();
    auto white = [](char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; };
    while (at < end) {
        const char* run = at;
        while (at < end && !white(*at))
            ++at;
        compact.insert(compact.end(), run, at);
        while (at < end && white(*at))
            ++at;
    }
    return compact;
}

// Large data bodies are taken out of the text before the XML parser reads it, and each
// is left as a mark naming it: the parser then never walks (and copies) the megabytes.
constexpr std::string_view kBodyMark = "#cut-data-";
constexpr std::string_view kDataOpen = "<data>";
constexpr std::string_view kDataClose = "</data>";

struct CutText {
    std::string xml;
    std::vector<Bytes> bodies; // without white space, not yet checked
};

// Only plain bodies are cut (no entity, comment or other markup inside), and only when
// nothing in the file could make a cut wrong: a mark already in the text, comments or
// character data sections (which could hold "<data>" that is not an element).
std::optional<CutText> cutLargeBodies(std::string_view xml) {
    if (xml.size() < kLazyDataText || xml.find(kBodyMark) != std::string_view::npos ||
        xml.find("<!--") != std::string_view::npos || xml.find("<![CDATA[") != std::string_view::npos)
        return std::nullopt;
    CutText cut;
    size_t copied = 0;
    size_t open = xml.find(kDataOpen);
    while (open != std::string_view::npos) {
        const size_t body = open + kDataOpen.size();
        const size_t close = xml.find('<', body);
        if (close == std::string_view::npos) break;
        const std::string_view text = xml.substr(body, close - body);
        if (text.size() >= kLazyDataText && xml.compare(close, kDataClose.size(), kDataClose) == 0 &&
            text.find('&') == std::string_view::npos) {
            cut.xml.append(xml.substr(copied, body - copied));
            cut.xml.append(kBodyMark);
            cut.xml.append(std::to_string(cut.bodies.size()));
            cut.bodies.push_back(withoutWhiteSpace(text));
            copied = close;
        }
        open = xml.find(kDataOpen, close);
    }
    if (cut.bodies.empty()) return std::nullopt;
    cut.xml.append(xml.substr(copied));
    return cut;
}

// The bodies cut from the text being read (one parse at a time per thread).
thread_local std::vector<Bytes>* cutBodies = nullptr;

std::optional<Value> readElement(const tinyxml2::XMLElement* element, int depth) {
    if (depth > kMaxDepth) return std::nullopt;
    std::string_view name = element->Name();
    if (name == "dict") return readDictionary(element, depth);
    if (name == "array") {
        Value array = Value::emptyArray();
        for (auto child = element->FirstChildElement(); child; child = child->NextSiblingElement()) {
            auto value = readElement(child, depth + 1);
            if (!value) return std::nullopt;
            array.append(std::move(*value));
        }
        return array;
    }
    if (name == "string") return Value(std::string(textOf(element)));
    if (name == "true") return Value(true);
    if (name == "false") return Value(false);
    if (name == "integer") {
        auto v = readInteger(textOf(element));
        return v ? std::optional<Value>(Value(*v)) : std::nullopt;
    }
    if (name == "real") {
        auto v = readReal(textOf(element));
        return v ? std::optional<Value>(Value(*v)) : std::nullopt;
    }
    if (name == "data") {
        const std::string_view text = textOf(element);
        if (text.substr(0, kBodyMark.size()) == kBodyMark && cutBodies) {
            size_t index = 0;
            const auto digits = text.substr(kBodyMark.size());
            auto parsed = std::from_chars(digits.data(), digits.data() + digits.size(), index);
            if (parsed.ec != std::errc() || parsed.ptr != digits.data() + digits.size() || index >= cutBodies->size())
                return std::nullopt;
            Bytes& body = (*cutBodies)[index];
            return isBase64(asText(body)) ? std::optional<Value>(Value::lazyData(std::move(body))) : std::nullopt;
        }
        Bytes compact = withoutWhiteSpace(text); // data may be wrapped over lines and indented
        // Large data (a stored mailbox) stays text until it is read: a file read for one
        // switch need not decode it.
        if (compact.size() >= kLazyDataText)
            return isBase64(asText(compact)) ? std::optional<Value>(Value::lazyData(std::move(compact))) : std::nullopt;
        auto bytes = base64Decode(asText(compact));
        return bytes ? std::optional<Value>(Value(std::move(*bytes))) : std::nullopt;
    }
    if (name == "date") {
        auto date = parseIso8601(textOf(element));
        return date ? std::optional<Value>(Value::date(*date)) : std::nullopt;
    }
    return std::nullopt;
}

// Where the XML goes: kept whole (toXml), or handed to a file a piece at a time so that a
// file of tens of megabytes never sits in memory as one text.
class XmlOut {
public:
    explicit XmlOut(const ChunkSink* sink = nullptr) : sink_(sink) {}

    void put(std::string_view text) {
        // A long piece (stored Base64) goes out as it stands, never through the buffer.
        if (sink_ && text.size() >= kChunk) {
            drain();
            (*sink_)(text);
            return;
        }
        text_.append(text);
        if (sink_ && text_.size() >= kChunk) drain();
    }
    void put(char c) { put(std::string_view(&c, 1)); }
    void tabs(int count) { text_.append(size_t(count), '\t'); }
    void drain() {
        if (sink_ && !text_.empty()) {
            (*sink_)(text_);
            text_.clear();
        }
    }
    std::string& text() { return text_; }

private:
    static constexpr size_t kChunk = 64 * 1024;
    const ChunkSink* sink_;
    std::string text_;
};

// Escapes text for an element, copying the runs between the characters that need it.
// Carriage returns and text made only of white space are written as character references:
// an XML reader would otherwise fold the first into line feeds and drop the second.
void appendEscaped(XmlOut& out, std::string_view text) {
    const bool onlyWhitespace = text.find_first_not_of(" \t\n\r") == std::string_view::npos;
    const std::string_view special = onlyWhitespace ? std::string_view("&<>\r \t\n") : std::string_view("&<>\r");
    size_t at = 0;
    while (at < text.size()) {
        const size_t next = text.find_first_of(special, at);
        out.put(text.substr(at, next - at));
        if (next == std::string_view::npos) break;
        switch (text[next]) {
        case '&':
            out.put("&amp;");
            break;
        case '<':
            out.put("&lt;");
            break;
        case '>':
            out.put("&gt;");
            break;
        case '\r':
            out.put("&#13;");
            break;
        case ' ':
            out.put("&#32;");
            break;
        case '\t':
            out.put("&#9;");
            break;
        default: // '\n'
            out.put("&#10;");
            break;
        }
        at = next + 1;
    }
}

void openElement(XmlOut& out, std::string_view name, int indent) {
    out.tabs(indent);
    out.put('<');
    out.put(name);
    out.put('>');
}

void closeElement(XmlOut& out, std::string_view name) {
    out.put("</");
    out.put(name);
    out.put(">\n");
}

void appendElement(XmlOut& out, std::string_view name, std::string_view text, int indent) {
    if (text.empty()) {
        out.tabs(indent);
        out.put('<');
        out.put(name);
        out.put("/>\n");
        return;
    }
    openElement(out, name, indent);
    appendEscaped(out, text);
    closeElement(out, name);
}

// Base64 needs no escaping. Text still held from the read goes out as it stands, a slice
// at a time (a decode on another thread waits for the slice being written, never longer):
// when the value is decoded meanwhile, the rest is encoded from the bytes. Bytes are
// encoded a slice at a time (a multiple of three bytes, so the slices join without padding).
void appendData(XmlOut& out, const Value& value, int indent) {
    if (value.size() == 0) return appendElement(out, "data", "", indent);
    openElement(out, "data", indent);
    constexpr size_t kTextSlice = 256 * 1024;
    constexpr size_t kByteSlice = kTextSlice / 4 * 3;
    size_t done = 0; // bytes written
    while (done < value.size()) {
        const bool fromText = value.readBase64Text(
            [&out, done](std::string_view text) { out.put(text.substr(done / 3 * 4, kTextSlice)); });
        if (!fromText) {
            const auto* at = reinterpret_cast<const char*>(value.dataValue().data());
            out.put(base64Encode(std::string_view(at + done, std::min(kByteSlice, value.size() - done))));
        }
        done = std::min(value.size(), done + kByteSlice);
    }
    closeElement(out, "data");
}

void writeValue(XmlOut& out, const Value& value, int indent) {
    if (indent > kMaxDepth) {
        log("PropertyList: nesting too deep; value left out");
        return;
    }
    switch (value.type()) {
    case ValueType::Null:
        break;
    case ValueType::Bool:
        out.tabs(indent);
        out.put(value.boolValue() ? "<true/>\n" : "<false/>\n");
        break;
    case ValueType::Integer:
        appendElement(out, "integer", std::to_string(value.int64Value()), indent);
        break;
    case ValueType::Real:
        appendElement(out, "real", formatReal(value.doubleValue()), indent);
        break;
    case ValueType::String:
        appendElement(out, "string", value.stringValue(), indent);
        break;
    case ValueType::Data:
        appendData(out, value, indent);
        break;
    case ValueType::Date:
        // Whole seconds: the standard form that every property-list reader takes.
        appendElement(out, "date", formatIso8601(std::floor(value.dateValue())), indent);
        break;
    case ValueType::Array:
        if (value.arrayValue().empty()) {
            out.tabs(indent);
            out.put("<array/>\n");
            break;
        }
        out.tabs(indent);
        out.put("<array>\n");
        for (auto& item : value.arrayValue())
            writeValue(out, item, indent + 1);
        out.tabs(indent);
        out.put("</array>\n");
        break;
    case ValueType::Dictionary:
        out.tabs(indent);
        out.put("<dict>\n");
        for (auto& [key, item] : value.dictValue()) {
            if (item.isNull()) continue;
            out.tabs(indent + 1);
            out.put("<key>");
            appendEscaped(out, key);
            out.put("</key>\n");
            writeValue(out, item, indent + 1);
        }
        out.tabs(indent);
        out.put("</dict>\n");
        break;
    }
}

void writeDocument(XmlOut& out, const Value& value) {
    out.put("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n");
    writeValue(out, value, 0);
    out.put("</plist>\n");
    out.drain();
}

} // namespace

namespace {

bool parseDocument(tinyxml2::XMLDocument& doc, std::string_view xml) {
    if (doc.Parse(xml.data(), xml.size()) == tinyxml2::XML_SUCCESS) return true;
    log(std::string("PropertyList: malformed XML: ") + doc.ErrorStr());
    return false;
}

Value readDocument(const tinyxml2::XMLDocument& doc, std::vector<Bytes>* bodies = nullptr) {
    cutBodies = bodies;
    struct Clear {
        ~Clear() { cutBodies = nullptr; }
    } clear;
    const tinyxml2::XMLElement* root = doc.RootElement();
    if (root && std::string_view(root->Name()) == "plist") root = root->FirstChildElement();
    if (!root) return {};
    auto value = readElement(root, 0);
    if (!value) {
        log("PropertyList: unexpected content");
        return {};
    }
    return *value;
}

} // namespace

namespace {

Value parseText(std::string_view xml, std::optional<std::string>* source = nullptr) {
    tinyxml2::XMLDocument doc;
    std::optional<CutText> cut = cutLargeBodies(xml);
    if (!parseDocument(doc, cut ? std::string_view(cut->xml) : xml)) return {};
    // The document holds its own copy: the file's text goes before the values are made.
    if (source) source->reset();
    return readDocument(doc, cut ? &cut->bodies : nullptr);
}

} // namespace

Value PropertyList::readFile(const std::string& path) {
    auto bytes = platform::readTextFile(path);
    if (!bytes) return {};
    Value value = parseText(*bytes, &bytes);
    if (value.isNull()) log("PropertyList: cannot read " + path);
    return value;
}

Value PropertyList::parse(std::string_view xml) {
    return parseText(xml);
}

std::string PropertyList::toXml(const Value& value) {
    XmlOut out;
    writeDocument(out, value);
    return std::move(out.text());
}

bool PropertyList::writeFile(const std::string& path, const Value& value) {
    return writeFileAtomically(path, [&value](const ChunkSink& sink) {
        XmlOut out(&sink);
        writeDocument(out, value);
    });
}

} // namespace platform
