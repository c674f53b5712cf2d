// ui-sample: one screen made of each kind of view, to look at the view layer by hand or
// to drive it with an automation script.
//
//   ui-sample [--tablet] [--headless] [--drive SCRIPT] [--shot PATH]
//
// With a desktop it opens a window; --headless (or no desktop) runs without one. A script
// runs first, then the screenshot is written. Headless with a script or a shot ends when
// they are done (exit status 1 when the script failed); otherwise it runs until killed.

#include "platform/automation/Driver.h"
#include "platform/render/Renderer.h"
#include "platform/render/WindowHost.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/PlatformServices.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "tools/ui-sample/SampleScreen.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

struct Options {
    bool tablet = false;
    bool headless = false;
    std::string script;
    std::string shot;
};

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--tablet") {
            options.tablet = true;
        } else if (arg == "--headless") {
            options.headless = true;
        } else if ((arg == "--drive" || arg == "--shot") && i + 1 < argc) {
            (arg == "--drive" ? options.script : options.shot) = argv[++i];
        } else {
            std::cerr << "unknown or incomplete option: " << arg << "\n";
            return false;
        }
    }
    return true;
}

// Runs the script and writes the shot; 0 when all went well.
int runTasks(const Options& options) {
    int status = 0;
    if (!options.script.empty()) {
        std::ifstream in(options.script);
        if (!in) {
            std::cerr << "cannot read " << options.script << "\n";
            return 2;
        }
        std::stringstream text;
        text << in.rdbuf();
        platform::automation::Driver driver(&std::cout);
        auto result = driver.run(text.str());
        std::cout << (result.ok ? "script passed" : "script failed") << "\n";
        if (!result.ok) status = 1;
    }
    if (!options.shot.empty()) {
        if (platform::render::Renderer::writeScreenshot(options.shot)) {
            std::cout << "wrote " << options.shot << "\n";
        } else {
            std::cerr << "cannot write " << options.shot << "\n";
            status = status ? status : 2;
        }
    }
    return status;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::cerr << "usage: ui-sample [--tablet] [--headless] [--drive SCRIPT] [--shot PATH]\n";
        return 2;
    }
    platform::RunLoop::main().bindToCurrentThread();
    if (options.tablet) platform::ui::Screen::setIdiom(platform::ui::Idiom::Tablet);
    platform::installPlatformServices();
    platform::ui::Application::shared().launch();
    auto sample = platform::sample::showSample();

    bool hasTasks = !options.script.empty() || !options.shot.empty();
    if (options.headless || !platform::render::WindowHost::displayAvailable()) {
        if (hasTasks) return runTasks(options);
        platform::RunLoop::main().run();
        return 0;
    }

    platform::render::WindowHost host;
    // The script runs once the window shows; the window stays open afterwards.
    if (hasTasks) platform::runOnMainThread([&options] { runTasks(options); });
    return host.run() ? 0 : 1;
}
