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

// Procedural statements and modules (ast_printer_procedural.cpp).
std::string PrintProcedural(const ast::Declare& d);
std::string PrintProcedural(const ast::DeclareCursor& d);
std::string PrintProcedural(const ast::SetVariable& s);
std::string PrintProcedural(const ast::Block& b);
std::string PrintProcedural(const ast::If& i);
std::string PrintProcedural(const ast::While& w);
std::string PrintProcedural(const ast::Break& b);
std::string PrintProcedural(const ast::Continue& c);
std::string PrintProcedural(const ast::Return& r);
std::string PrintProcedural(const ast::Print& p);
std::string PrintProcedural(const ast::RaiseError& r);
std::string PrintProcedural(const ast::TryCatch& t);
std::string PrintProcedural(const ast::CursorCommand& c);
std::string PrintProcedural(const ast::Fetch& f);
std::string PrintProcedural(const ast::WaitFor& w);
std::string PrintProcedural(const ast::Dbcc& d);
std::string PrintProcedural(const ast::CreateModule& m);

}  // namespace sqlsim::testing
