// Pieces of the printed form shared by the expression and statement printers.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "sqlsim/front/ast.h"

namespace sqlsim::testing {

// "(a b c)" of the non-empty parts.
std::string List(std::initializer_list<std::string> parts);
std::string Join(const std::vector<std::string>& parts, std::string_view separator);
// Name parts print bare when plain, in brackets otherwise.
std::string Parts(const std::vector<std::string>& parts);
std::string Name(const ast::ObjectName& name);
std::string Type(const ast::TypeName& type);

}  // namespace sqlsim::testing
