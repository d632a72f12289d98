#include "frame/settings.h"

#include <cstdio>

#include "include/lebase32.h"

namespace lerv32 {

int32_t OemConvert = 1;
int32_t ExSQL_Enabled = 1;
int32_t ExSQL_Maximum = 2;
int32_t ExSQL_Append = 1;
int32_t Display_Errors = 1;

namespace {

struct SettingSlot {
  const char* key;
  int32_t* value;
};

// In the order in which they are loaded and saved.
const SettingSlot kSettings[] = {
    {"LEXO32_OemConvert", &OemConvert},
    {"LEXO32_ExSQL_Enabled", &ExSQL_Enabled},
    {"LEXO32_ExSQL_Maximum", &ExSQL_Maximum},
    {"LEXO32_ExSQL_Append", &ExSQL_Append},
    {"LEXO32_Display_Errors", &Display_Errors},
};

}  // namespace

int32_t ReadSettingLong(const char* key, int32_t current) {
  char buffer[20] = {};
  if (uGetHwpKeyString(key, buffer, 12) == 0 || buffer[0] == '\0') return current;
  return StringToLong(buffer);
}

void WriteSettingLong(const char* key, int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  uSetHwpKeyString(key, text);
}

void LoadSettings() {
  for (const SettingSlot& slot : kSettings) *slot.value = ReadSettingLong(slot.key, *slot.value);
}

void SaveSettings() {
  for (const SettingSlot& slot : kSettings) WriteSettingLong(slot.key, *slot.value);
}

}  // namespace lerv32
