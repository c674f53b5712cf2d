#pragma once

#include <any>
#include <utility>

namespace kavo {

// What a dialog's buttons do: an action code of UIController's table (-1 none) and the
// value that action needs (see UIController's context objects). It travels with the
// dialog it was opened with, so no other dialog runs it.
struct DialogAction {
    DialogAction() = default;
    DialogAction(int code, std::any context = {}) : code(code), context(std::move(context)) {}

    int code = -1;
    std::any context;
};

} // namespace kavo
