#include "sqlsim/diagnostic.h"

#include <utility>

namespace sqlsim {

std::string SqlStateOfServerError(int32_t number) {
  switch (number) {
    case 2627: case 2601: case 515: case 547: return "23000";
    case 208: return "42S02";
    case 207: return "42S22";
    case 2714: return "42S01";       // object already exists
    case 1913: return "42S11";       // index already exists
    case 3701: return "42S02";       // cannot drop: does not exist
    case 102: case 156: case 105: case 2812: case 170: case 911:
    case 137: case 4104: case 8144: case 201: case 174: case 189:
    case 131: case 243: case 281: case 536: case 537: case 8117: case 195: case 1038:
    case 104: case 205: case 4151: case 10741:
    case 10709: case 10710: case 10713: case 10714: case 8155: case 5334:
      return "42000";
    case 529: return "22018";        // conversion not allowed
    case 506: return "22019";        // invalid escape character
    case 8152: return "22001";
    case 245: case 8114: return "22018";
    case 241: return "22007";
    case 242: return "22008";        // datetime out of range
    case 8115: case 220: case 232: case 244: case 248: return "22003";
    case 8134: return "22012";
    case 155: case 1023: case 4145: case 8116: case 9810: return "42000";  // bad datepart, argument, condition
    case 517: return "22008";        // date arithmetic out of range
    case 535: return "22003";        // DATEDIFF overflow
    case 1205: return "40001";       // deadlock victim / lock conflict
    case 1222: return "HYT00";       // lock request time out
    default: return "HY000";
  }
}

namespace {

// Duplicate keys are severity 14 on the server, a full filegroup 17; the
// rest here are 16.
int32_t SeverityOf(int32_t number) {
  if (number == 2627 || number == 2601) return 14;
  return number == 1105 ? 17 : 16;
}

}  // namespace

Diagnostic ServerError(int32_t number, std::string message, int32_t line) {
  Diagnostic d;
  d.sqlstate = SqlStateOfServerError(number);
  d.native = number;
  d.severity = SeverityOf(number);
  d.message = std::move(message);
  d.line = line;
  return d;
}

Diagnostic ServerInfo(int32_t number, std::string message) {
  Diagnostic d;
  d.sqlstate = "01000";
  d.native = number;
  d.severity = 0;
  d.message = std::move(message);
  return d;
}

}  // namespace sqlsim
