// The five process-wide settings and their store.
#ifndef LERV32_FRAME_SETTINGS_H
#define LERV32_FRAME_SETTINGS_H

#include <cstdint>

namespace lerv32 {

// Read without locking by every part of the library.
extern int32_t OemConvert;     // 1: record text is OEM, converted to ANSI at the server
extern int32_t ExSQL_Enabled;  // non-zero: record access may call the generated procedures
extern int32_t ExSQL_Maximum;  // procedure level: default and cap of a table's ExLevel
extern int32_t ExSQL_Append;   // non-zero: optimised append; default and cap of AppendEx
extern int32_t Display_Errors; // non-zero: ODBC errors are shown in message boxes

// Replaces every setting whose key holds a value in the store.
void LoadSettings();
// Writes all five settings to the store.
void SaveSettings();
// The stored value of key, or current when the key has none (or an empty one).
int32_t ReadSettingLong(const char* key, int32_t current);
void WriteSettingLong(const char* key, int32_t value);

}  // namespace lerv32

#endif  // LERV32_FRAME_SETTINGS_H
