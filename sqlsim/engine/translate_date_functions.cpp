// The date functions. The datepart is a bare name, checked here and handed
// to the SQLite function as its full name.
#include "sqlsim/engine/translate_functions.h"
#include "sqlsim/functions/date_parts.h"

namespace sqlsim {
namespace {

SqlExpr PartArgument(const ast::Expr& e, const std::string& name) {
  const ast::Expr& arg = *e.args.at(0);
  if (arg.kind != ast::ExprKind::kColumn || arg.parts.size() != 1) {
    Fail(1023, "Invalid parameter 1 specified for " + name + ".", arg.pos);
  }
  std::optional<DatePart> part = DatePartOfName(arg.parts[0]);
  // DATEADD and DATEDIFF count no ISO weeks; DATEPART and DATENAME name them.
  bool counted = name == "dateadd" || name == "datediff";
  if (!part || (counted && *part == DatePart::kIsoWeek)) {
    Fail(155, "'" + arg.parts[0] + "' is not a recognized " + (counted ? name : "datepart") + " option.",
         arg.pos);
  }
  return {QuoteText(std::string(NameOfDatePart(*part)))};
}

std::string Call(const std::string& function, const std::vector<std::string>& args) {
  std::string sql = function + "(";
  for (size_t i = 0; i < args.size(); ++i) sql += (i ? ", " : "") + args[i];
  return sql + ")";
}

}  // namespace

std::optional<SqlExpr> TranslateDateFunction(Translator& t, const ast::Expr& e, const std::string& name) {
  auto arg = [&](size_t i) { return t.Expr(*e.args.at(i)).sql; };
  if (name == "dateadd" || name == "datediff") {
    CheckArgumentCount(e, name, 3, 3);
    std::string part = PartArgument(e, name).sql;
    std::string sql = Call("tsql_" + name, {part, arg(1), arg(2)});
    return name == "dateadd" ? SqlExpr(sql, SqlType::kDatetime) : SqlExpr(sql, SqlType::kInt);
  }
  if (name == "datepart" || name == "datename") {
    CheckArgumentCount(e, name, 2, 2);
    std::string part = PartArgument(e, name).sql;
    std::string sql = Call("tsql_" + name, {part, arg(1)});
    return name == "datepart" ? SqlExpr(sql, SqlType::kInt) : SqlExpr(sql, SqlType::kVarchar, 30);
  }
  if (name == "year" || name == "month" || name == "day") {
    CheckArgumentCount(e, name, 1, 1);
    return SqlExpr(Call("tsql_datepart", {QuoteText(name), arg(0)}), SqlType::kInt);
  }
  if (name == "eomonth") {
    CheckArgumentCount(e, name, 1, 2);
    std::vector<std::string> args{arg(0)};
    if (e.args.size() > 1) args.push_back(arg(1));
    return SqlExpr(Call("tsql_eomonth", args), SqlType::kDatetime);
  }
  return std::nullopt;
}

}  // namespace sqlsim
