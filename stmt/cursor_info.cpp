// What a statement cursor tells about itself: its result's shape, its
// position, its last diagnostic, and the description block CbStru.
#include <cstring>
#include <string>

#include "frame/export_guard.h"
#include "stmt/statement_cursor.h"
#include "tabledef/table_def.h"

namespace lerv32 {
namespace {

// The CbStru block.
constexpr size_t kCbStruSize = 13328;
constexpr size_t kEntriesAt = 9744;
constexpr size_t kEntrySize = 20;
constexpr size_t kEntryNameSize = 14;
constexpr size_t kTextSize = 256;
constexpr size_t kSourceAt = 12304;
constexpr size_t kDescriptionAt = 12560;
constexpr size_t kVersionAt = 12816;
constexpr size_t kAttributionAt = 13072;


void Put16(unsigned char* at, uint32_t value) {
  at[0] = static_cast<unsigned char>(value & 0xFF);
  at[1] = static_cast<unsigned char>((value >> 8) & 0xFF);
}

// The block is zero-filled before: the text keeps its terminator.
void PutText(unsigned char* at, size_t size, const char* text) {
  std::memcpy(at, text, strnlen(text, size - 1));
}

void PutEntry(unsigned char* block, int number, const char* name, int type, int width, int dec) {
  unsigned char* entry = block + kEntriesAt + static_cast<size_t>(number) * kEntrySize;
  Put16(entry, static_cast<uint32_t>(type));
  Put16(entry + 2, static_cast<uint32_t>(width));
  Put16(entry + 4, static_cast<uint32_t>(dec));
  PutText(entry + 6, kEntryNameSize, name);
}

void FillCbStru(const StatementCursor* cursor, unsigned char* block) {
  std::memset(block + 2, 0, kCbStruSize - 2);
  Put16(block, 48);
  PutText(block + kSourceAt, kTextSize, "ODBC");
  PutText(block + kVersionAt, kTextSize, "V1.0 (05/2000)");
  PutText(block + kAttributionAt, kTextSize, "LERV32 record access");
  std::string description = cursor->result.TableName;
  int entries = 0;
  int32_t size = cursor->record_size;
  if (cursor->is_message_cursor()) {
    description += " message-record(s)";
    size = kMessageRecordSize;
    PutEntry(block, entries++, "Code", 'l', 4, 0);
    PutEntry(block, entries++, "State", 'c', kStateSize, 0);
    PutEntry(block, entries++, "Message", 'c', kMessageSize, 0);
  } else {
    description += cursor->forward_only ? " forward only" : cursor->bookmarks ? " use bookmarks" : " no bookmarks";
    for (; entries < cursor->result.FieldCnt; ++entries) {
      const FieldDef& f = cursor->result.Fields[entries];
      PutEntry(block, entries, f.Name, f.Type, f.Len, f.Dec);
    }
  }
  Put16(block + 2, static_cast<uint32_t>(entries));
  Put16(block + 8, static_cast<uint32_t>(size));
  Put16(block + 10, static_cast<uint32_t>(size));
  PutText(block + kDescriptionAt, kTextSize, description.c_str());
}

}  // namespace
}  // namespace lerv32

using lerv32::Guarded;
using lerv32::LiveCursor;

extern "C" {

void LERV32_CALL rv_StmtClose(void* handle) {
  Guarded<int>(0, [&] {
    delete lerv32::TakeLiveCursor(handle);
    return 0;
  });
}

int32_t LERV32_CALL rv_StmtGetBookmark(void* handle) {
  const lerv32::StatementCursor* cursor = LiveCursor(handle);
  if (cursor == nullptr) return 0;
  if (cursor->is_message_cursor()) return 1;
  if (cursor->spill) {
    const int32_t number = cursor->spill->position();
    return number >= 1 && number <= cursor->spill->count() ? number : 0;
  }
  return cursor->bookmarks && cursor->place == lerv32::Place::kOnRow ? cursor->position : 0;
}

int32_t LERV32_CALL rv_StmtGetCbStru(void* handle, void* buffer) {
  return Guarded<int32_t>(0, [&] {
    const lerv32::StatementCursor* cursor = LiveCursor(handle);
    if (cursor == nullptr || buffer == nullptr || !lerv32::ValidTableDef(&cursor->result)) return 0;
    lerv32::FillCbStru(cursor, static_cast<unsigned char*>(buffer));
    return 1;
  });
}

int32_t LERV32_CALL rv_StmtGetErrorCode(void* handle, char* state, char* message) {
  const lerv32::StatementCursor* cursor = LiveCursor(handle);
  if (cursor == nullptr) return 0;
  if (state != nullptr) std::strcpy(state, cursor->diagnostics ? cursor->state() : "ERV32");
  if (message != nullptr) std::strcpy(message, cursor->message());
  return cursor->diagnostics ? cursor->native() : 0;
}

int32_t LERV32_CALL rv_StmtGetNumCols(void* handle) {
  const lerv32::StatementCursor* cursor = LiveCursor(handle);
  if (cursor == nullptr) return 0;
  return cursor->is_message_cursor() ? 3 : cursor->result.FieldCnt;
}

void* LERV32_CALL rv_StmtGetRecordPtr(void* handle) {
  lerv32::StatementCursor* cursor = LiveCursor(handle);
  if (cursor == nullptr) return nullptr;
  if (cursor->is_message_cursor()) return cursor->message_record;
  return cursor->record_buffer.empty() ? nullptr : cursor->record_buffer.data();
}

int32_t LERV32_CALL rv_StmtGetRecordSize(void* handle) {
  const lerv32::StatementCursor* cursor = LiveCursor(handle);
  if (cursor == nullptr) return 0;
  return cursor->is_message_cursor() ? lerv32::kMessageRecordSize : cursor->record_size;
}

TableDef* LERV32_CALL rv_StmtGetStructure(void* handle) {
  lerv32::StatementCursor* cursor = LiveCursor(handle);
  return cursor == nullptr ? nullptr : &cursor->result;
}

}  // extern "C"
