#include "sdk/socialnet/SNGraphObject.h"

#include "sdk/socialnet/SNGraphObjectArray.h"
#include "sdk/socialnet/json/SNArray.h"
#include "sdk/socialnet/json/SNJSON.h"

#include <gtest/gtest.h>

namespace socialnet {
namespace {

SNDictionaryPtr parsed(const std::string& text) {
    SNJSON json;
    auto value = json.objectWithString(text);
    return value ? value->dictionary() : nullptr;
}

TEST(SNGraphObjectTest, NestedObjectsAreWrappedOnceAndWriteThroughToTheParent) {
    auto source = parsed(R"({"id":"7","from":{"name":"An"},"likes":[{"id":"1"}],"n":3})");
    auto graph = SNGraphObject::graphObjectWrappingDictionary(source);
    EXPECT_EQ(graph->count(), 4u);
    auto from = graph->objectForKey("from");
    ASSERT_TRUE(std::dynamic_pointer_cast<SNGraphObject>(from.dictionary()));
    from.dictionary()->setObject(SNValue("Binh"), "name");
    auto again = graph->objectForKey("from");
    EXPECT_EQ(again.dictionary(), from.dictionary());
    EXPECT_EQ(again.dictionary()->objectForKey("name").string(), "Binh");
    EXPECT_EQ(graph->count(), 4u);

    auto likes = graph->objectForKey("likes").array();
    ASSERT_TRUE(std::dynamic_pointer_cast<SNGraphObjectArray>(likes));
    auto first = likes->objectAtIndex(0).dictionary();
    ASSERT_TRUE(std::dynamic_pointer_cast<SNGraphObject>(first));
    EXPECT_EQ(likes->objectAtIndex(0).dictionary(), first);
    EXPECT_EQ(graph->objectForKey("n").number()->text(), "3");
    // The wrapped copy is the graph object's own: the parsed source is untouched.
    EXPECT_EQ(source->objectForKey("from").dictionary()->objectForKey("name").string(), "An");
    EXPECT_FALSE(std::dynamic_pointer_cast<SNGraphObject>(source->objectForKey("from").dictionary()));
}

TEST(SNGraphObjectTest, WrappingAWrapperReturnsItAndOtherValuesPassThrough) {
    auto graph = SNGraphObject::graphObject();
    EXPECT_EQ(SNGraphObject::graphObjectWrappingDictionary(graph), graph);
    EXPECT_EQ(SNGraphObject::graphObjectWrappingObject(SNValue(SNDictionaryPtr(graph))).dictionary(), graph);
    auto array = SNGraphObjectArray::wrapping(SNArray::make());
    EXPECT_EQ(SNGraphObjectArray::wrapping(array), array);
    EXPECT_EQ(SNGraphObject::graphObjectWrappingObject(SNValue("text")).string(), "text");
    graph->setObject(SNValue(SNDictionary::make()), "plain");
    // Stored as given, wrapped only when read.
    EXPECT_EQ(graph->count(), 1u);
    EXPECT_TRUE(std::dynamic_pointer_cast<SNGraphObject>(graph->objectForKey("plain").dictionary()));
}

TEST(SNGraphObjectTest, IdsMatchOnlyAsEqualStrings) {
    auto a = parsed(R"({"id":"42","x":1})");
    auto b = parsed(R"({"id":"42"})");
    auto c = parsed(R"({"id":42})");
    auto d = parsed(R"({"id":42})");
    EXPECT_TRUE(SNGraphObject::isGraphObjectID(a, b));
    EXPECT_FALSE(SNGraphObject::isGraphObjectID(c, d));
    EXPECT_TRUE(SNGraphObject::isGraphObjectID(c, c));
    EXPECT_FALSE(SNGraphObject::isGraphObjectID(nullptr, nullptr));
    EXPECT_FALSE(SNGraphObject::isGraphObjectID(a, parsed(R"({"id":"43"})")));
}

TEST(SNGraphObjectTest, AccessorNamesReadAndStoreKeys) {
    struct Case {
        const char* name;
        SNAccessorKind kind;
    };
    for (auto c : {Case{"first_name", SNAccessorKind::Getter}, Case{"name", SNAccessorKind::Getter},
                   Case{"setFirst_name:", SNAccessorKind::Setter}, Case{"setName:", SNAccessorKind::Setter},
                   Case{"setX:", SNAccessorKind::Setter}, Case{"set:", SNAccessorKind::None},
                   Case{"setValue:forKey:", SNAccessorKind::None}, Case{"objectForKey:", SNAccessorKind::None}})
        EXPECT_EQ(SNGraphObject::inferredImplTypeForSelector(c.name), c.kind) << c.name;

    auto graph = SNGraphObject::graphObject();
    EXPECT_TRUE(graph->performAccessor("setFirst_name:", SNValue("An")));
    EXPECT_TRUE(graph->performAccessor("setName:", SNValue("Binh")));
    EXPECT_TRUE(graph->performAccessor("setX:", SNValue(1)));
    EXPECT_EQ(graph->objectForKey("first_name").string(), "An");
    EXPECT_EQ(graph->objectForKey("name").string(), "Binh");
    EXPECT_EQ(graph->objectForKey("x").number()->text(), "1");
    EXPECT_EQ(graph->performAccessor("first_name")->string(), "An");
    EXPECT_FALSE(graph->performAccessor("setValue:forKey:", SNValue(1)));
    EXPECT_TRUE(graph->respondsToSelector("anything"));
    EXPECT_TRUE(graph->respondsToSelector("setObject:forKey:"));
    EXPECT_FALSE(graph->respondsToSelector("set:"));
}

TEST(SNGraphObjectTest, AProtocolIsServedWhenEveryAccessorIsInferable) {
    SNProtocol named{"SNNamed", {&SNGraphObjectProtocol()}, {"name", "setName:"}, {}};
    SNProtocol user{"SNUser", {&named}, {"first_name"}, {}};
    SNProtocol optional{"SNOptional", {&SNGraphObjectProtocol()}, {"name"}, {"birthday"}};
    SNProtocol badMethod{"SNBad", {&SNGraphObjectProtocol()}, {"objectAtIndex:"}, {}};
    SNProtocol badAdopted{"SNBadAdopted", {&SNGraphObjectProtocol(), &badMethod}, {"name"}, {}};
    SNProtocol unrelated{"SNUnrelated", {}, {"name"}, {}};
    auto graph = SNGraphObject::graphObject();
    EXPECT_TRUE(graph->conformsToProtocol(SNGraphObjectProtocol()));
    EXPECT_TRUE(graph->conformsToProtocol(named));
    EXPECT_TRUE(graph->conformsToProtocol(user));
    EXPECT_FALSE(graph->conformsToProtocol(optional));
    EXPECT_FALSE(graph->conformsToProtocol(badMethod));
    EXPECT_FALSE(graph->conformsToProtocol(badAdopted));
    EXPECT_FALSE(graph->conformsToProtocol(unrelated));
    EXPECT_TRUE(SNGraphObject::isProtocolImplementationInferable(unrelated, false));
}

} // namespace
} // namespace socialnet
