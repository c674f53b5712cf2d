#pragma once

#include <string>
#include <typeinfo>

namespace platform::ui {

// The demangled name of a type without its namespaces ("platform::ui::Button" -> "Button").
std::string demangledClassName(const std::type_info& type);

} // namespace platform::ui
