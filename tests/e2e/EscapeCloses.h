#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace kavo::test {

// What the code below a folder declares closes on Escape, read by Universal Ctags whatever
// the spelling: every class or struct (nested ones too) that is an EscapeTarget through
// any line of bases and has a closeItself of its own or from a base, by its name without
// the "kavo::" namespace ("ShopViewDetail", "Outer::Inner"), so that each sheet kind is a
// close of its own; and every closing view, by "<file that makes it> <identifier>", its
// identifier written as a string or as a named constant. The Escape walk test checks that
// it walked each of them.
class EscapeCloses {
public:
    // Reads the C++ files below `root` (the client's: "<source tree>/src").
    static EscapeCloses read(const std::string& root);

    // Why the reading could not be made or is not whole ("" when it is): ctags missing or
    // failing, a closing view whose identifier is a constant with no value found.
    const std::string& error() const { return error_; }
    const std::set<std::string>& declared() const { return declared_; }
    // The declared closes that a close of `kind` (as EscapeWalk records it) ran: a closing
    // view's name; a class with the bases up to the one whose closeItself it runs. Empty
    // when the code declares no close for it.
    std::set<std::string> walkedBy(const std::string& kind) const;

private:
    struct ClassInfo {
        std::string scope;              // the class or namespace it is declared in, without "kavo"
        std::vector<std::string> bases; // as written, without template arguments
        bool closes = false;            // declares closeItself
    };
    void readTags(const std::string& root);
    void readClosingViews(const std::string& root);
    // The class a base named `base` in a class declared in `scope` is ("" when not in the code).
    std::string resolve(const std::string& base, const std::string& scope) const;
    bool isTarget(const std::string& name, int depth = 0) const;
    bool hasClose(const std::string& name, int depth = 0) const;
    bool isOwnedClose(const std::string& name, int depth = 0) const;
    // The string a named constant holds, by its tags ("" when none is found).
    std::string constantValue(const std::string& name, const std::string& file) const;
    void addError(const std::string& what);

    struct Constant {
        std::string file;
        int line = 0;
    };
    std::map<std::string, ClassInfo> classes_;
    std::multimap<std::string, Constant> constants_; // by the constant's own name
    std::set<std::string> declared_;
    std::string error_;
};

} // namespace kavo::test
