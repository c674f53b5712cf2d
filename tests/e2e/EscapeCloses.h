#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace kavo::test {

// What the client's code (below src/) declares closes on Escape, read from the source
// as it stands: every class that is an EscapeTarget and gives its own closeItself, by
// name, and every closing view, by "<file that makes it> <identifier>". The Escape walk
// test checks that it closed each of them.
class EscapeCloses {
public:
    static EscapeCloses read();

    const std::set<std::string>& declared() const { return declared_; }
    // What a kind EscapeWalk recorded stands for: a closing view's name as it is, a
    // class's name as the class whose close it runs ("" when the code declares none).
    std::string declarerOf(const std::string& kind) const;

private:
    struct ClassInfo {
        std::vector<std::string> bases;
        bool closes = false; // declares closeItself in its body
    };
    bool isTarget(const std::string& name, int depth = 0) const;

    std::map<std::string, ClassInfo> classes_;
    std::set<std::string> declared_;
};

} // namespace kavo::test
