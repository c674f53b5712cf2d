// The reader of the Escape closes finds a close however the code spells it: in a struct,
// in a class nested in another, inherited by a sheet kind, and a closing view whose
// identifier is a named constant; a small source tree written for the test is read.
#include "tests/e2e/EscapeCloses.h"

#include "tests/e2e/ChildProcess.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <string>

using namespace kavo::test;

namespace {

namespace fs = std::filesystem;

class EscapeClosesReading : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "escape-closes-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        if (!findInPath("ctags")) GTEST_FAIL() << "ctags is not on PATH (scripts/setup installs universal-ctags)";
    }
    void TearDown() override {
        if (!root_.empty()) fs::remove_all(root_);
    }
    void write(const std::string& name, const std::string& text) {
        fs::create_directories((fs::path(root_) / name).parent_path());
        std::ofstream(fs::path(root_) / name) << text;
    }

    std::string root_;
};

TEST_F(EscapeClosesReading, FindsACloseInAStructANestedClassAnInheritedOneAndAViewNamedByAConstant) {
    write("app/Target.h", R"(#pragma once
namespace kavo {
enum class EscapeAnswer { notOpen, closed, keepsEscape };
class EscapeTarget {
public:
    virtual ~EscapeTarget() = default;
    virtual EscapeAnswer closeItself() = 0;
};
}
)");
    // A struct, its close defined out of line.
    write("lobby/Picker.h", R"(#pragma once
#include "app/Target.h"
namespace kavo {
struct PickerPanel : EscapeTarget {
    EscapeAnswer closeItself() override;
};
}
)");
    write("lobby/Picker.cpp", R"(#include "lobby/Picker.h"
namespace kavo {
EscapeAnswer PickerPanel::closeItself() { return EscapeAnswer::closed; }
}
)");
    // A class nested in another, its base named through a namespace; a sheet base and two
    // sheet kinds that inherit its close, one through another kind.
    write("table/Table.h", R"(#pragma once
#include "app/Target.h"
namespace kavo {
class Table {
public:
    class SeatMenu : public platform::ui::View,
                     public kavo::EscapeTarget {
    public:
        EscapeAnswer closeItself() override { return EscapeAnswer::closed; }
    };
};
class Sheet : public platform::ui::ViewController, public EscapeTarget {
public:
    EscapeAnswer closeItself() override;
};
class BetSheet final : public Sheet {};
class RaiseSheet : public BetSheet {};
class Plain : public platform::ui::View {};
}
)");
    // Closing views: one by a constant of its file, one by a constant of another file
    // through its namespace, one by a local constant, one by a string.
    write("table/Ids.h", R"(#pragma once
namespace kavo::ids {
inline constexpr char kCaptured[] = "viewCaptured";
}
)");
    write("table/Table.cpp", R"(#include "table/Table.h"
#include "table/Ids.h"
namespace kavo {
namespace {
constexpr const char* kPeek = "viewPeek";
}
void Table::build() {
    constexpr const char* board =
        "emoBoard";
    peek_ = closingView<platform::ui::View>({0, 0, 480, 320}, kPeek, [this] { return closePeek(); });
    captured_ = closingView<platform::ui::View>(at({0, 0, 10, 10}), ids::kCaptured,
                                                [this] { return true; });
    board_ = closingView<platform::ui::View>(frame(), board, [] { return true; });
    menu_ = closingView<platform::ui::View>(phoneRect(0, 0, 480, 320), "viewMenu", [this] {
        return true;
    });
    // closingView<platform::ui::View>(frame, "commentedOut", close) is no call.
}
}
)");
    const EscapeCloses closes = EscapeCloses::read(root_);
    ASSERT_EQ(closes.error(), "");
    const std::set<std::string> expected = {"PickerPanel",
                                            "Table::SeatMenu",
                                            "Sheet",
                                            "BetSheet",
                                            "RaiseSheet",
                                            "Table.cpp viewPeek",
                                            "Table.cpp viewCaptured",
                                            "Table.cpp emoBoard",
                                            "Table.cpp viewMenu"};
    EXPECT_EQ(closes.declared(), expected);
    // A sheet kind's close runs its base's: both are walked by it, and only they.
    EXPECT_EQ(closes.walkedBy("RaiseSheet"), (std::set<std::string>{"RaiseSheet", "BetSheet", "Sheet"}));
    EXPECT_EQ(closes.walkedBy("Table::SeatMenu"), (std::set<std::string>{"Table::SeatMenu"}));
    EXPECT_EQ(closes.walkedBy("Table.cpp viewPeek"), (std::set<std::string>{"Table.cpp viewPeek"}));
    EXPECT_TRUE(closes.walkedBy("Plain").empty());
    EXPECT_TRUE(closes.walkedBy("Table.cpp commentedOut").empty());
}

TEST_F(EscapeClosesReading, SaysSoWhenAViewsIdentifierHasNoValueInTheCode) {
    write("Panel.cpp", R"(namespace kavo {
void Panel::build() {
    view_ = closingView<platform::ui::View>(frame(), identifierFromSomewhere, [] { return true; });
}
}
)");
    const EscapeCloses closes = EscapeCloses::read(root_);
    EXPECT_NE(closes.error().find("identifierFromSomewhere"), std::string::npos) << closes.error();
}

} // namespace
