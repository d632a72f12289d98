#include "frame/odbc_errors.h"

#include <cstring>

#include "frame/lifecycle.h"
#include "frame/message_boxes.h"
#include "frame/odbc_trace.h"
#include "frame/settings.h"
#include "include/lebase32.h"

namespace lerv32 {
namespace {

constexpr size_t kMessageSize = 1024;
// Room is left for the two lines a box may add.
constexpr SQLSMALLINT kMessageMax = 824;

constexpr char kInvalidKeys[] = "\r\nEs wurden ung\xfcltige Schl\xfcsselwerte \xfc" "bergeben";
constexpr char kMoreMessages[] = "\r\nWeitere Folgemeldungen anzeigen ?";

void Append(char* message, const char* text) {
  const size_t used = std::strlen(message);
  const size_t room = kMessageSize - 1 - used;
  std::strncat(message, text, room);
}

}  // namespace

int32_t OdbcReportErrors(SQLHDBC dbc, SQLHSTMT stmt, int32_t retry_pending) {
  char message[kMessageSize] = {};
  SQLCHAR state[6] = {};
  SQLINTEGER native = 0;
  SQLSMALLINT length = 0;
  bool integrity = false;
  bool user_said_no = false;
  for (;;) {
    std::memset(message, 0, sizeof message);
    std::memset(state, 0, sizeof state);
    SQLRETURN rc = ODBC_CALL(SQLError, EnvHandle(), dbc, stmt, state, &native,
                             reinterpret_cast<SQLCHAR*>(message), kMessageMax, &length);
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) break;
    const char* sqlstate = reinterpret_cast<const char*>(state);
    leEventLogWrite(1, sqlstate, message);
    if (std::strcmp(sqlstate, "23000") == 0) integrity = true;
    const bool show = Display_Errors != 0 && !user_said_no && !(retry_pending != 0 && integrity) &&
                      std::strcmp(sqlstate, "S1000") != 0;
    if (!show) continue;
    MessageBeep(0);
    if (integrity) Append(message, kInvalidKeys);
    Append(message, kMoreMessages);
    if (ShowMessageBox(message, sqlstate, MB_YESNO) == IDNO) user_said_no = true;
  }
  return integrity ? 1 : 0;
}

}  // namespace lerv32
