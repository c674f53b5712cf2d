#pragma once

namespace platform {

// Stops the program, naming `where`, when called off the main thread (the thread
// bound to the main run loop). Before any thread is bound every thread passes.
void assertMainThread(const char* where);

} // namespace platform

// Views and the logic handlers' screen operations belong to the main thread. Debug
// builds (the sanitizer build the tests run in) check it, so a thread fault fails a
// test instead of racing; release builds check nothing.
#ifdef NDEBUG
#define KAVO_ASSERT_MAIN_THREAD() ((void)0)
#else
#define KAVO_ASSERT_MAIN_THREAD() ::platform::assertMainThread(__func__)
#endif
