// The library's switches, the settings dialog, connections and the tenant
// text: hostile numbers, null pointers, texts that fill their stated size
// without a terminator, and connection handles that are none.
#include "hostile/hostile.h"

namespace hostile {
namespace {

// Sets a switch, reads what the setter gave back, and puts the old value back.
template <typename Set>
std::string Switched(Set set, int32_t value) {
  const int32_t previous = set(value);
  set(previous);
  return Num(previous);
}

Rows Switches() {
  return {
      {"rv_GetDllInstance", "no arguments to spoil", "ptr", [](World&) { return Ptr(rv_GetDllInstance()); }},
      {"rv_GetEnvHandle", "no arguments to spoil", "ptr", [](World&) { return Ptr(rv_GetEnvHandle()); }},
      {"rv_GetExtendedLevel", "no arguments to spoil", "1", [](World&) { return Num(rv_GetExtendedLevel()); }},
      {"rv_SetExtendedLevel", "level -1 (non-zero: on; the old value back)", "1",
       [](World&) { return Switched(rv_SetExtendedLevel, -1); }},
      {"rv_GetOemConvert", "no arguments to spoil", "1", [](World&) { return Num(rv_GetOemConvert()); }},
      {"rv_SetOemConvert", "convert -1 (non-zero: on; the old value back)", "1",
       [](World&) { return Switched(rv_SetOemConvert, -1); }},
      {"rv_GetMemUsage", "selector -1 (any but 0: the blocks)", "blocks",
       [](World&) { return std::string(rv_GetMemUsage(-1) == rv_GetMemUsage(1) ? "blocks" : "?"); }},
      {"rv_StmtSetDoublePrecision", "decimals -1 (the old value back)", "4",
       [](World&) { return Switched(rv_StmtSetDoublePrecision, -1); }},
      // Off Windows the dialog is a form on the controlling terminal; without
      // one it cannot be shown, whatever the parent.
      {"rv_OdbcSettingsDialog", "null parent, no terminal", "-1",
       [](World&) { return Num(InDetachedChild([] { return rv_OdbcSettingsDialog(nullptr) + 10; }) - 10); }},
      {"rv_OdbcSettingsDialog", "parent -1, no terminal", "-1",
       [](World&) { return Num(InDetachedChild([] { return rv_OdbcSettingsDialog(MinusOne()) + 10; }) - 10); }},
  };
}

Rows Connections() {
  return {
      {"rv_OdbcConnect", "null DSN", "null", [](World&) { return Ptr(rv_OdbcConnect(nullptr, "", "")); }},
      {"rv_OdbcConnect", "unknown DSN, null user and password", "null",
       [](World&) { return Ptr(rv_OdbcConnect("KeineSolcheQuelle", nullptr, nullptr)); }},
      {"rv_OdbcDriverConnect", "null connection string", "null",
       [](World&) { return Ptr(rv_OdbcDriverConnect(nullptr, nullptr)); }},
      {"rv_OdbcDriverConnect", "window -1, unknown driver", "null",
       [](World&) { return Ptr(rv_OdbcDriverConnect(MinusOne(), "DRIVER=KeinTreiber")); }},
      {"rv_OdbcDriverConnectEx", "null connection string", "null",
       [](World&) { return Ptr(rv_OdbcDriverConnectEx(nullptr, nullptr, 2)); }},
      {"rv_OdbcDriverConnectEx", "mode 2, 256 bytes unterminated", "null",
       [](World& w) {
         // A string that would connect, were it read past its 256 bytes.
         std::string text = w.connect + ";";
         text.resize(256, ' ');
         Buffer connect(256);
         std::memcpy(connect.data(), text.data(), 256);
         return Ptr(rv_OdbcDriverConnectEx(nullptr, connect.data(), 2));
       }},
      {"rv_OdbcDriverConnectEx", "mode -1, unknown driver", "null untouched",
       [](World&) {
         Buffer connect(256, '\0');
         std::memcpy(connect.data(), "DRIVER=KeinTreiber", 18);
         LERV32_HDBC dbc = rv_OdbcDriverConnectEx(nullptr, connect.data(), -1);
         return Join({Ptr(dbc), (std::string(connect.data()) == "DRIVER=KeinTreiber" ? " untouched" : " written")});
       }},
      {"rv_OdbcDisconnect", "null", "-2", [](World&) { return Num(rv_OdbcDisconnect(nullptr)); }},
      {"rv_OdbcDisconnect", "-1", "-2", [](World&) { return Num(rv_OdbcDisconnect(MinusOne())); }},
  };
}

// Sets the tenant text, runs body and empties the text again.
Call WithMandant(const char* mandant, std::function<std::string()> body) {
  return [mandant, body](World&) {
    rv_SetMandant(mandant);
    std::string result = body();
    rv_SetMandant("");
    return result;
  };
}

Rows Mandant() {
  Rows rows = {
      {"rv_GetMandant", "null buffer (the library's own text)", "ptr ''",
       [](World&) {
         return Join({Ptr(rv_GetMandant(nullptr, 10)), " ", Text(rv_GetMandant(nullptr, 10))});
       }},
      {"rv_GetMandant", "size 2, a longer text", "out 'M'",
       WithMandant("MANDANT",
                   [] {
                     Buffer out(2);
                     return Join({Same(rv_GetMandant(out.data(), 2), out.data()), " ", Text(out.data())});
                   })},
      {"rv_SetMandant", "null (emptied, as documented)", "''",
       [](World&) {
         rv_SetMandant("M1");
         return Text(rv_SetMandant(nullptr));
       }},
      {"rv_SetMandant", "63 characters, unterminated", "63",
       WithMandant("",
                   [] {
                     return Num(
                         static_cast<int64_t>(std::strlen(rv_SetMandant(Unterminated(std::string(63, 'M')).get()))));
                   })},
  };
  for (int32_t size : {0, -1}) {
    rows.push_back({"rv_GetMandant", "size " + Num(size), "out untouched", WithMandant("M1", [size] {
                      Buffer out(4);
                      return Join({Same(rv_GetMandant(out.data(), size), out.data()), Touched(out)});
                    })});
  }
  return rows;
}

}  // namespace

Rows LibraryRows() {
  Rows rows = Switches();
  for (Rows part : {Connections(), Mandant()}) rows.insert(rows.end(), part.begin(), part.end());
  return rows;
}

}  // namespace hostile
