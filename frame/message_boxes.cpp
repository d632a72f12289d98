#include "frame/message_boxes.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

namespace lerv32 {

namespace {

struct Button {
  int id;
  const char* label;
  char letter;
};

std::vector<Button> ButtonsOf(UINT type) {
  switch (type & 0xF) {
    case MB_OKCANCEL: return {{IDOK, "OK", 'O'}, {IDCANCEL, "Cancel", 'C'}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, "Abort", 'A'}, {IDRETRY, "Retry", 'R'}, {IDIGNORE, "Ignore", 'I'}};
    case MB_YESNOCANCEL: return {{IDYES, "Yes", 'Y'}, {IDNO, "No", 'N'}, {IDCANCEL, "Cancel", 'C'}};
    case MB_YESNO: return {{IDYES, "Yes", 'Y'}, {IDNO, "No", 'N'}};
    case MB_RETRYCANCEL: return {{IDRETRY, "Retry", 'R'}, {IDCANCEL, "Cancel", 'C'}};
    default: return {{IDOK, "OK", 'O'}};
  }
}

// ANSI (1252) text as UTF-8, for a terminal and a log a person reads.
std::string Utf8(const char* text) {
  std::string out;
  if (text == nullptr) return out;
  for (const char* c = text; *c != '\0'; ++c) {
    WCHAR wide = 0;
    if (MultiByteToWideChar(1252, 0, c, 1, &wide, 1) != 1) wide = static_cast<unsigned char>(*c);
    unsigned code = wide;
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default: out += c; break;
    }
  }
  return out;
}

// The process's environment: on Windows not the C runtime's copy, which a
// host's SetEnvironmentVariable (or another runtime's putenv) never reaches.
std::string Environment(const char* name) {
#if defined(_WIN32)
  const DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
  if (needed == 0) return "";
  std::string value(needed, '\0');
  const DWORD length = GetEnvironmentVariableA(name, value.data(), needed);
  value.resize(length < needed ? length : 0);
  return value;
#else
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
#endif
}

// The scripted answers: consumed in order; a new value starts again.
std::mutex g_answers_mutex;
std::string g_answers;
size_t g_next_answer = 0;

char NextScriptedAnswer() {
  std::string answers = Environment("LERV32_MSGBOX_ANSWERS");
  std::lock_guard<std::mutex> lock(g_answers_mutex);
  if (answers != g_answers) {
    g_answers = answers;
    g_next_answer = 0;
  }
  if (g_next_answer >= g_answers.size()) return 0;
  char letter = g_answers[g_next_answer++];
  return static_cast<char>(letter >= 'a' && letter <= 'z' ? letter - 32 : letter);
}

void AppendToLog(const std::string& line) {
  const std::string path = Environment("LERV32_MSGBOX_LOG");
  if (path.empty()) return;
  if (FILE* log = std::fopen(path.c_str(), "ab")) {
    std::fputs(line.c_str(), log);
    std::fclose(log);
  }
}

int ScriptedMessageBox(const char* text, const char* caption, UINT type) {
  const std::vector<Button> buttons = ButtonsOf(type);
  size_t default_index = ((type >> 8) & 0xF) < buttons.size() ? ((type >> 8) & 0xF) : 0;
  const Button* answer = &buttons[default_index];
  if (char letter = NextScriptedAnswer()) {
    for (const Button& b : buttons) {
      if (b.letter == letter) answer = &b;
    }
  }
  std::string labels;
  for (const Button& b : buttons) labels += (labels.empty() ? "" : "/") + std::string(b.label);
  // Without a caption Windows shows its own, "Fehler" on a German system.
  const std::string caption_text = Utf8(caption != nullptr ? caption : "Fehler");
  const std::string body = Utf8(text);
  std::fprintf(stderr, "[message box] %s\n%s\n[%s] -> %s\n", caption_text.c_str(), body.c_str(), labels.c_str(),
               answer->label);
  AppendToLog(Escaped(caption_text) + "\t" + Escaped(body) + "\t" + labels + "\t" + answer->label + "\n");
  return answer->id;
}

}  // namespace

int ShowMessageBox(const char* text, const char* caption, UINT type) {
#if defined(_WIN32)
  if (Environment("LERV32_MSGBOX_ANSWERS").empty() && Environment("LERV32_MSGBOX_LOG").empty()) {
    return MessageBoxA(GetDesktopWindow(), text, caption, type);
  }
#endif
  return ScriptedMessageBox(text, caption, type);
}

}  // namespace lerv32
