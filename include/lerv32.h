/*
 * LERV32 - record access for ISAM-style applications on SQL Server over ODBC.
 *
 * Rules that hold for every export below:
 * - Exports use the standard Windows calling convention on 32-bit Windows
 *   (LERV32_CALL) and carry their plain names.
 * - Integers are signed 32-bit unless a declaration says otherwise.
 * - Results: 1 (or a handle) for success, 0 (or null) for failure.
 * - Strings are zero-terminated 8-bit text. Handles and buffers passed in stay
 *   the caller's; the library keeps no pointer to them after the call.
 * - No export throws, and none leaves the process in a half-changed state
 *   when it fails.
 * - A handle that is not one (null, made up such as -1, or already given
 *   back: a closed cursor, a disconnected connection) gives the export's
 *   failure value, as does a TableDef that is not valid (below).
 * - Threads may share a connection handle, each with its own TableDef: the
 *   exports on one connection run one at a time, so an append or a blob write
 *   the library makes of several statements takes in no other thread's call,
 *   and is committed when it returns (unless the host's own transaction is
 *   under way on that connection).
 */
#ifndef LERV32_H
#define LERV32_H

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define LERV32_CALL __stdcall
#else
#define LERV32_CALL
#endif

#if defined(_WIN32)
#define LERV32_API
#else
#define LERV32_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef void* LERV32_HENV;      /* ODBC environment handle (SQLHENV) */
typedef void* LERV32_HDBC;      /* ODBC connection handle (SQLHDBC) */
typedef void* LERV32_HWND;      /* window handle (HWND) */
typedef void* LERV32_HINSTANCE; /* module handle of the library (HINSTANCE) */

/* ---- Table definitions. A TableDef describes one table: its fields laid end
 * to end in a record buffer (no gaps, no alignment) and up to 16 keys made of
 * field numbers. The library allocates it (rv_AllocTableDef) and the host owns
 * it until rv_FreeTableDef. Hosts may read the members; they change them only
 * through the calls below. Numbers of fields and keys are 0-based.
 * A definition is valid when its members are ones the calls can make:
 * FieldCnt 0 to 128, KeyCnt 0 to 16, fields laid end to end from offset 0
 * with Len 0 to 255, keys of at most 11 positions each naming a field below
 * FieldCnt, PrimaryKey 0 to KeyCnt, and TableName and the names of the
 * fields and keys in use zero-terminated within their arrays. Every call
 * that reads a definition refuses any other one as it refuses null: it gives
 * its failure value and changes nothing. rv_LoadTableDef and rv_FreeTableDef,
 * which replace or free what td holds, and rv_OdbcUnprepareAll take any. */

#define LERV32_MAX_FIELDS 128
#define LERV32_MAX_KEYS 16
#define LERV32_MAX_KEY_FIELDS 11

typedef struct FieldDef {
  uint16_t Offset; /* byte offset in the record buffer */
  uint16_t Len;    /* width in bytes, 0 to 255 */
  uint8_t Type;    /* type letter: C u D L b N d l s n x o */
  uint8_t Dec;     /* decimals */
  char Name[16];   /* at most 15 characters, zero-terminated */
} FieldDef;

typedef struct KeyDef {
  uint8_t TokenCnt;                            /* fields in the key, 0 to 11 */
  uint8_t TokenFieldNo[LERV32_MAX_KEY_FIELDS]; /* field numbers, most significant first */
  char Name[20];                               /* at most 19 characters, zero-terminated */
} KeyDef;

typedef struct TableDef {
  char TableName[32];  /* at most 31 characters, zero-terminated */
  int32_t FieldCnt;    /* fields in use, 0 to 128 */
  int32_t KeyCnt;      /* keys in use, 0 to 16 */
  int32_t ExLevel;     /* 0 plain SQL, 1 procedures, 2 prepared procedures */
  FieldDef Fields[LERV32_MAX_FIELDS];
  KeyDef Keys[LERV32_MAX_KEYS];
  int32_t PrimaryKey;  /* number of the primary key */
  int32_t AppendEx;    /* non-zero: optimised append */
  void* SqlRec;        /* prepared statement set, null when none */
  uint32_t SqlKeyMask; /* bit k: key k is an SQL key */
  int32_t UseKeyTable; /* non-zero: keys are kept in key tables; keys may carry filters */
  char* KeyFilter[LERV32_MAX_KEYS]; /* per key, the filter text owned by the TableDef, or null */
  int32_t UseMandant;  /* non-zero: SQL names carry the tenant prefix */
} TableDef;

/* ---- Library, environment and switches */

/* Module handle of the loaded library; owned by the system. */
LERV32_API LERV32_HINSTANCE LERV32_CALL rv_GetDllInstance(void);
/* The process's one ODBC environment; owned by the library, never free it. */
LERV32_API LERV32_HENV LERV32_CALL rv_GetEnvHandle(void);
/* Whether record access may call the generated procedures (ExSQL_Enabled). */
LERV32_API int32_t LERV32_CALL rv_GetExtendedLevel(void);
/* Sets ExSQL_Enabled for this process (not stored); returns the old value. */
LERV32_API int32_t LERV32_CALL rv_SetExtendedLevel(int32_t level);
/* Whether record text is converted between OEM and ANSI (OemConvert). */
LERV32_API int32_t LERV32_CALL rv_GetOemConvert(void);
/* Sets OemConvert for this process (not stored); returns the old value. */
LERV32_API int32_t LERV32_CALL rv_SetOemConvert(int32_t convert);
/* Shows the database settings dialog, modal to parent (null: the desktop), in
 * which the user edits the five settings. OK saves them to the settings store
 * and gives 1; Abbrechen (or closing it) leaves them as they were and gives 0;
 * -1 when the dialog cannot be shown, also while another is open in the
 * process. Off Windows the dialog is a form on the process's controlling
 * terminal (parent is not used); -1 without one that can show it, or when the
 * host shows a curses screen of its own. */
LERV32_API int32_t LERV32_CALL rv_OdbcSettingsDialog(LERV32_HWND parent);
/* Memory held through the support library: selector 0 the bytes, any other
 * selector the blocks currently allocated. */
LERV32_API int32_t LERV32_CALL rv_GetMemUsage(int32_t selector);

/* ---- Connections. The caller owns every handle returned and gives it back
 * through rv_OdbcDisconnect; a handle given back is no handle any more (the
 * driver manager reads its freed memory), so no call may pass it again, as
 * no ODBC call may pass a freed handle. */

/* Connects to a data source; null (and nothing left allocated) on failure. A
 * null user id or password is passed as an empty text. */
LERV32_API LERV32_HDBC LERV32_CALL rv_OdbcConnect(const char* dsn, const char* uid, const char* pwd);
/* rv_OdbcDriverConnectEx with mode 0. */
LERV32_API LERV32_HDBC LERV32_CALL rv_OdbcDriverConnect(LERV32_HWND window, const char* connect);
/* Connects with a connection string. Mode 0 never asks the user; any other
 * mode lets the driver complete the string (on Windows, given a parent
 * window, in its dialog; without one, from what the string holds). With
 * mode 2 the completed string is copied back into connect, which must then
 * hold 256 bytes (a string not ended within them is refused). Null on
 * failure. */
LERV32_API LERV32_HDBC LERV32_CALL rv_OdbcDriverConnectEx(LERV32_HWND window, char* connect, int32_t mode);
/* Disconnects and frees the handle; the ODBC return code of freeing it. */
LERV32_API int16_t LERV32_CALL rv_OdbcDisconnect(LERV32_HDBC connection);

/* ---- Table definitions */

/* A new, empty definition (ExLevel 1, no fields, no keys); null when memory
 * is exhausted. Free it with rv_FreeTableDef. */
LERV32_API TableDef* LERV32_CALL rv_AllocTableDef(void);
/* Frees a definition of rv_AllocTableDef with its key filters and prepared
 * set; null, a definition already freed and any other pointer are ignored. */
LERV32_API void LERV32_CALL rv_FreeTableDef(TableDef* td);
/* Adds a field (name without surrounding blanks, cut to 15 characters); width
 * and decimals are normalised by the type letter. 1 added, 0 when 128 fields
 * exist, the name is null, empty or holds control characters, or it names a
 * field already there or the table's own columns RecId and MandId: names
 * are compared after the cut and without case (letters of Windows-1252
 * too), as the server compares column names. */
LERV32_API int32_t LERV32_CALL rv_AddField(TableDef* td, const char* name, int32_t type, int32_t width, int32_t dec);
/* Adds a field from "name[,type[,width[,decimals]]]" (at most 127 characters
 * are read); the result of rv_AddField, 0 for a null definition. */
LERV32_API int32_t LERV32_CALL rv_AddFieldDef(TableDef* td, const char* definition);
/* Adds a key from "name,field[,field...][;filter]" (at most 127 characters
 * are read); unknown field names are skipped. 1 added, 0 refused (also for
 * an empty name or one with control characters, and for the name of a key
 * already there, compared after the cut to 19 characters and without case
 * as field names are). */
LERV32_API int32_t LERV32_CALL rv_AddKeyDef(TableDef* td, const char* definition);
/* Removes a field, closing the gap in the record and renumbering the keys. */
LERV32_API void LERV32_CALL rv_DelField(TableDef* td, int32_t field);
/* Number of fields. */
LERV32_API int32_t LERV32_CALL rv_FieldCnt(const TableDef* td);
/* Name of a field, pointing into td; null for a number not below FieldCnt. */
LERV32_API const char* LERV32_CALL rv_FieldName(const TableDef* td, int32_t field);
/* Type letter, width, decimals and offset of a field (field below FieldCnt). */
LERV32_API int32_t LERV32_CALL rv_FieldType(const TableDef* td, int32_t field);
LERV32_API int32_t LERV32_CALL rv_FieldLen(const TableDef* td, int32_t field);
LERV32_API int32_t LERV32_CALL rv_FieldDec(const TableDef* td, int32_t field);
LERV32_API int32_t LERV32_CALL rv_FieldOffset(const TableDef* td, int32_t field);
/* Number of the first field of that exact name, -1 when none. */
LERV32_API int32_t LERV32_CALL rv_FieldNo(const TableDef* td, const char* name);
/* As rv_FieldNo; relaxed non-zero also matches names that differ only in
 * surrounding blanks. */
LERV32_API int32_t LERV32_CALL rv_FieldNoEx(const TableDef* td, const char* name, int32_t relaxed);
/* Number of keys. */
LERV32_API int32_t LERV32_CALL rv_KeyCnt(const TableDef* td);
/* Name of a key, pointing into td; null for a number not below KeyCnt. */
LERV32_API const char* LERV32_CALL rv_KeyName(const TableDef* td, int32_t key);
/* Number of the first key of that exact name, -1 when none. */
LERV32_API int32_t LERV32_CALL rv_KeyNo(const TableDef* td, const char* name);
/* Fields in a key, and the field number at a position (key below KeyCnt). */
LERV32_API int32_t LERV32_CALL rv_KeyTokenCnt(const TableDef* td, int32_t key);
LERV32_API int32_t LERV32_CALL rv_KeyTokenFieldNo(const TableDef* td, int32_t key, int32_t position);
/* The primary key's number. */
LERV32_API int32_t LERV32_CALL rv_GetPrimaryKey(const TableDef* td);
/* Makes key the primary key: 1, or 0 (and primary key 0) for a number not
 * below KeyCnt. */
LERV32_API int32_t LERV32_CALL rv_SetPrimaryKey(TableDef* td, int32_t key);
/* The tenant is one per process. A host that switches it while other
 * threads work gets every script and statement built wholly with the tenant
 * before the switch or wholly with the one after, never a mix. */
/* The tenant text: copied into buffer (at most size - 1 characters) and
 * buffer returned, or with a null buffer the library's own copy for the
 * calling thread, valid until that thread's next rv_GetMandant or
 * rv_SetMandant. */
LERV32_API const char* LERV32_CALL rv_GetMandant(char* buffer, int32_t size);
/* Sets the tenant text (cut to 63 characters; null empties it); returns the
 * library's own copy for the calling thread, as rv_GetMandant does. */
LERV32_API const char* LERV32_CALL rv_SetMandant(const char* text);

/* ---- Definition files */

/* Loads a definition file into td, replacing what it held. 1 loaded, 0 when
 * the file cannot be read (td is then reset to an empty definition). Field
 * and key lines are taken as rv_AddFieldDef and rv_AddKeyDef take them (a
 * line they refuse, such as a second field of one name, is skipped); an
 * ALIAS that is empty or holds control characters keeps the name before. */
LERV32_API int32_t LERV32_CALL rv_LoadTableDef(TableDef* td, const char* path);
/* Writes td as a definition file that rv_LoadTableDef reads back to the same
 * definition (a definition without a table name comes back named as a file
 * without one, "neue_Tabelle"). The file is written beside the earlier one
 * and takes its place when complete; a symbolic link stays a link and the
 * file it names is written, the earlier file's permissions stay. 1 written,
 * 0 not (an existing file is then left unchanged). */
LERV32_API int32_t LERV32_CALL rv_SaveTableDef(const TableDef* td, const char* path);

/* ---- Field values. rec is a record buffer laid out by td; p is the address
 * of one field inside a record buffer. Output buffers have no length: each
 * declaration says what they need. */

/* Value of an integer or date field as a long; 0 for double and text fields. */
LERV32_API int32_t LERV32_CALL rv_FieldToLong(const TableDef* td, int32_t field, const char* rec);
/* Value of a numeric field as a double; 0.0 for every other type. */
LERV32_API double LERV32_CALL rv_FieldToDouble(const TableDef* td, int32_t field, const char* rec);
/* Display text of a field (numbers without leading blanks, '.' as point,
 * dates as YYYY-MM-DD, text without trailing blanks) into out, which needs
 * max(Len, 20) + 1 bytes; returns out. */
LERV32_API char* LERV32_CALL rv_FieldToString(const TableDef* td, int32_t field, const char* rec, char* out);
/* Writes a field of rec from text. 1 converted, 0 for a type it does not know
 * or a null text. */
LERV32_API int32_t LERV32_CALL rv_FieldFromString(const TableDef* td, int32_t field, char* rec, const char* text);
/* As rv_FieldToString, text fields in double quotes; out needs
 * max(Len, 20) + 3 bytes. */
LERV32_API void LERV32_CALL rv_FormatFieldForExport(char* out, const TableDef* td, int32_t field, const char* rec);
/* Appends one field to the export line in out (after a TAB when tab is
 * non-zero); returns the address of the terminating zero, for chaining. */
LERV32_API char* LERV32_CALL rv_FieldExport(char* out, const char* p, int32_t type, int32_t width, int32_t dec, int32_t tab);
/* Reads the next TAB-separated item of an export line into the field at p;
 * returns the address of the item after it in text (or of its terminating
 * zero). Type 'c' stores the item as a zero-terminated text of at most
 * width - 1 characters (generated classes read their table name so). */
LERV32_API char* LERV32_CALL rv_FieldImport(const char* text, char* p, int32_t type, int32_t width, int32_t dec);
/* Copies text into out with every character but letters, digits and a few
 * safe signs written as "&#n;"; out needs 6 bytes per character + 1. Returns
 * out; null (nothing written) for a null text. */
LERV32_API char* LERV32_CALL rv_AnsiToXML(char* out, const char* text);

/* ---- Record keys */

/* Writes the key value of key (its fields' bytes in key order) and a zero byte
 * into dest, which needs the key size + 1 bytes; returns the key size. */
LERV32_API int32_t LERV32_CALL rv_MakeKeyFromRecord(const TableDef* td, int32_t key, const char* rec, char* dest);

/* ---- SQL type mapping of a field (field below FieldCnt) */

/* ODBC SQL type code: 1 char, 4 integer, 5 smallint, 8 double, 9 date, -6 tinyint. */
LERV32_API int32_t LERV32_CALL rv_SqlFieldType(const TableDef* td, int32_t field);
/* Bytes of the value when exchanged with the driver. */
LERV32_API uint32_t LERV32_CALL rv_SqlFieldLen(const TableDef* td, int32_t field);
/* Decimals of numeric fields, else 0. */
LERV32_API uint32_t LERV32_CALL rv_SqlFieldScale(const TableDef* td, int32_t field);
/* Column type for generated SQL; transactSql 0 gives the standard-SQL names.
 * Owned by the library; "char(n)" and "varchar(n)" live in one buffer that
 * the next such call overwrites. */
LERV32_API const char* LERV32_CALL rv_SqlFieldTypeNameEx(const TableDef* td, int32_t field, int32_t transactSql);
/* rv_SqlFieldTypeNameEx with transactSql 1. */
LERV32_API const char* LERV32_CALL rv_SqlFieldTypeName(const TableDef* td, int32_t field);
/* SQL literal of the column default; a constant owned by the library. */
LERV32_API const char* LERV32_CALL rv_SqlFieldDefault(const TableDef* td, int32_t field);

/* ---- Generators. Each writes its text from the given address, overwriting
 * what is there, and ends it with a zero, so that several can be chained by
 * passing the address of the current terminating zero. The plain form has no
 * length argument: the caller provides room and the result is the number of
 * characters written. The bounded form (suffix N) takes the capacity of out in
 * bytes, zero included, and returns the characters written, or -1 with an
 * empty text when the text does not fit. Scripts use CR LF line ends and end
 * each batch with a line "GO". Every name stands in brackets (in literals with
 * its quotes doubled), whatever characters it holds; a definition written
 * directly whose table, tenant, field or key names hold control characters
 * gets -1 and an empty text from either form. */

/* The table script: Transact-SQL (transactSql non-zero: table, column
 * upgrades, view, key table and triggers) or standard SQL. */
LERV32_API int32_t LERV32_CALL rv_GenSqlTableDef(const TableDef* td, char* out, int32_t transactSql);
LERV32_API int32_t LERV32_CALL rv_GenSqlTableDefN(const TableDef* td, char* out, int32_t capacity, int32_t transactSql);
/* The index of one key (key below KeyCnt); in the Transact-SQL form followed
 * by the key's navigation procedures. */
LERV32_API int32_t LERV32_CALL rv_GenSqlIndexDef(const TableDef* td, char* out, int32_t key, int32_t transactSql);
LERV32_API int32_t LERV32_CALL rv_GenSqlIndexDefN(const TableDef* td, char* out, int32_t capacity, int32_t key, int32_t transactSql);
/* Drop statements for the table and its procedures. */
LERV32_API int32_t LERV32_CALL rv_GenSqlDropDef(const TableDef* td, char* out);
LERV32_API int32_t LERV32_CALL rv_GenSqlDropDefN(const TableDef* td, char* out, int32_t capacity);
/* The record-id function and the per-table procedures (unused has no effect). */
LERV32_API int32_t LERV32_CALL rv_GenSqlTableBasicProc(const TableDef* td, char* out, int32_t unused);
LERV32_API int32_t LERV32_CALL rv_GenSqlTableBasicProcN(const TableDef* td, char* out, int32_t capacity, int32_t unused);
/* The navigation procedures of one key (key below KeyCnt; unused has no effect). */
LERV32_API int32_t LERV32_CALL rv_GenSqlTableIndexProc(const TableDef* td, char* out, int32_t key, int32_t unused);
LERV32_API int32_t LERV32_CALL rv_GenSqlTableIndexProcN(const TableDef* td, char* out, int32_t capacity, int32_t key, int32_t unused);
/* The structure files below carry field names bare, in lines NAME=C;10;0;
 * and key expressions UPPER(A+STR(B,5,0)), where the engine reads - as a
 * joining of texts, quotes and brackets as texts: a definition with a field
 * name holding one of these characters (of ASCII only letters, digits and _
 * pass), or starting with a digit, gets -1 and an empty text from them (the
 * unbounded forms give -1 for nothing else). */
#define LERV32_STRUCT_NAME_STOPS " !\"#$%&'()*+,-./:;<=>?@[\\]^`{|}~\x7f"
/* Structure file of the table for the ISAM engine. */
LERV32_API int32_t LERV32_CALL rv_GenCodebaseStruct(const TableDef* td, char* out);
LERV32_API int32_t LERV32_CALL rv_GenCodebaseStructN(const TableDef* td, char* out, int32_t capacity);
/* Structure file of the trigger companion table. */
LERV32_API int32_t LERV32_CALL rv_GenSqlTriggerStruct(const TableDef* td, char* out);
LERV32_API int32_t LERV32_CALL rv_GenSqlTriggerStructN(const TableDef* td, char* out, int32_t capacity);
/* C++ header with a record class c_<TableName> for the host's programs. */
LERV32_API void LERV32_CALL rv_GenCppTableDef(const TableDef* td, char* out);
LERV32_API int32_t LERV32_CALL rv_GenCppTableDefN(const TableDef* td, char* out, int32_t capacity);

/* ---- Scripts: batches separated by lines that read GO, run one after the
 * other until one fails. */
/* 1 when every batch ran; otherwise 0 and, when errors is not null and
 * length above 20, the server's messages of the failed batch in errors. */
LERV32_API int32_t LERV32_CALL rv_CallStatement(LERV32_HDBC connection, const char* script, char* errors, int32_t length);
/* Runs a script file, first switching to database when it is not null;
 * errors (required) gets "file not open" or the server's messages. */
LERV32_API int32_t LERV32_CALL rv_CallSqlFile(LERV32_HDBC connection, const char* database, const char* path, char* errors,
                                              int32_t length);
/* Generates td's script (table, procedures when transactSql is non-zero,
 * indexes) and runs it, after USE database when that is not null. 1 or 0. */
LERV32_API int32_t LERV32_CALL rv_CreateTable(LERV32_HDBC connection, TableDef* td, int32_t transactSql, const char* database);
/* Does nothing; 0. */
LERV32_API int32_t LERV32_CALL rv_DropTable(int32_t a, int32_t b, int32_t c);

/* ---- Record access. rec is the caller's record buffer laid out by td; it
 * is changed whole or not at all. Failed ODBC calls are reported (event log,
 * and a message box when the setting Display_Errors is on). */
/* Reads the record with id rec_id into rec: 1, or 0 when there is none or
 * the table's columns do not match td. */
LERV32_API int32_t LERV32_CALL rv_OdbcGetRecord(LERV32_HDBC connection, const TableDef* td, int32_t rec_id, char* rec);
/* Record ids in the order of key (negative: RecId order); 0 when there is
 * none, and for a key at or above KeyCnt. */
LERV32_API int32_t LERV32_CALL rv_OdbcFirstRecId(LERV32_HDBC connection, const TableDef* td, int32_t key);
LERV32_API int32_t LERV32_CALL rv_OdbcLastRecId(LERV32_HDBC connection, const TableDef* td, int32_t key);
LERV32_API int32_t LERV32_CALL rv_OdbcNextRecId(LERV32_HDBC connection, const TableDef* td, int32_t key, int32_t rec_id);
LERV32_API int32_t LERV32_CALL rv_OdbcPriorRecId(LERV32_HDBC connection, const TableDef* td, int32_t key, int32_t rec_id);
/* Appends a record with the column defaults: its new RecId, or 0. */
LERV32_API int32_t LERV32_CALL rv_OdbcAppendBlank(LERV32_HDBC connection, const TableDef* td);
/* Appends rec: its new RecId, or 0 when no record with its values was
 * stored. Appends through the procedures are retried while another client
 * takes the same id. */
LERV32_API int32_t LERV32_CALL rv_OdbcAppendRecord(LERV32_HDBC connection, const TableDef* td, const char* rec);
/* Writes every field of rec to the record rec_id: 1, or 0 on failure (1 as
 * well when there is no such record). */
LERV32_API int32_t LERV32_CALL rv_OdbcUpdateRecord(LERV32_HDBC connection, const TableDef* td, int32_t rec_id, const char* rec);
/* Deletes the record rec_id: 1 when the statement ran, also when there was
 * no such record; 0 on failure. */
LERV32_API int32_t LERV32_CALL rv_OdbcDeleteRecord(LERV32_HDBC connection, const TableDef* td, int32_t rec_id);
/* Deletes every record of the table: 1, or 0 on failure. */
LERV32_API int32_t LERV32_CALL rv_OdbcZap(LERV32_HDBC connection, const TableDef* td);
/* Renumbers the records 1, 2, 3, ... in the order of their ids and rebuilds
 * the table's indexes (through the table's procedure). */
LERV32_API void LERV32_CALL rv_OdbcReorg(LERV32_HDBC connection, const TableDef* td);

/* ---- Key search. value holds the first len bytes of a key value as
 * rv_MakeKeyFromRecord builds it; bytes beyond the key are ignored. It stays
 * the caller's. */
/* The RecId of the first (last) record in key order whose key starts with
 * value; among equal keys the lowest (highest) RecId. 0 when there is none,
 * and at once for a key outside 0 to KeyCnt - 1, a null value, len below 1,
 * a value ending inside a number or date field, and, through the
 * procedures, len above 128. */
LERV32_API int32_t LERV32_CALL rv_OdbcFindFirstRecId(LERV32_HDBC connection, const TableDef* td, int32_t key,
                                                     const char* value, int32_t len);
LERV32_API int32_t LERV32_CALL rv_OdbcFindLastRecId(LERV32_HDBC connection, const TableDef* td, int32_t key,
                                                    const char* value, int32_t len);
/* Writes into page the ids of up to 50 records that follow (prior 0) or
 * precede rec_id in the order of key, nearest first; returns how many, and
 * writes no entry beyond them. 0 for a key outside 0 to KeyCnt - 1, a null
 * page, a record not found or none beyond it, and (reported, page untouched)
 * when a statement fails before the page is whole. */
LERV32_API int32_t LERV32_CALL rv_OdbcPrevNext50(LERV32_HDBC connection, const TableDef* td, int32_t rec_id,
                                                 int32_t* page, int32_t prior, int32_t key);
/* Does nothing; 0. */
LERV32_API int32_t LERV32_CALL rv_OdbcQfwSearch(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e);
/* rv_OdbcReorg; 1 whatever happened. */
LERV32_API int32_t LERV32_CALL rv_OdbcQfwReorg(LERV32_HDBC connection, const TableDef* td);

/* ---- Prepared statement sets. At ExLevel 2 a table can have every
 * statement of record access prepared once on one connection, with the
 * parameters and results bound to one block, its SqlRec: each access then
 * only fills the bound buffers, executes and reads them back. The block
 * belongs to the TableDef; it goes with rv_OdbcUnprepareAll, rv_FreeTableDef,
 * rv_LoadTableDef and the disconnection of its connection. The ...Ex calls
 * use the set when ExSQL_Enabled is on, ExLevel is 2 or more, the set was
 * prepared on the connection they are given and the definition's fields and
 * keys are those it was prepared for; otherwise each is its counterpart
 * without Ex. A set serves one call at a time. */

#if defined(_WIN64)
typedef long long LERV32_SQLLEN; /* SQLLEN */
#else
typedef long LERV32_SQLLEN; /* SQLLEN */
#endif
typedef void* LERV32_HSTMT; /* ODBC statement handle (SQLHSTMT) */

#define LERV32_FIND_KEY_WIDTH 128

/* The block's fixed part; the fields' buffers follow it, each reached
 * through Value. On 32-bit Windows every member lies where the 32-bit layout
 * has it (the fixed part is 2872 bytes). */
typedef struct SqlRec {
  int32_t RecId;              /* parameter of read, update, delete, next, prior; the appended RecId */
  LERV32_SQLLEN RecIdInd;     /* its indicator, and that of every RecId result */
  int32_t ResultRecId;        /* result of first, last, next, prior and the finds */
  int32_t FieldCnt;           /* fields at preparation */
  int32_t KeyCnt;             /* keys whose statements the set holds */
  LERV32_HDBC Connection;     /* the connection the set was prepared on */
  LERV32_HSTMT ReadStmt;      /* EXECUTE [up_Sel_<base>] ? */
  LERV32_HSTMT AppendStmt;    /* EXECUTE [up_Append_<base>] ?,... */
  LERV32_HSTMT UpdateStmt;    /* EXECUTE [up_Upd_<base>] ?,?,... */
  LERV32_HSTMT DeleteStmt;    /* EXECUTE [up_Del_<base>] ? */
  LERV32_HSTMT FirstStmt[LERV32_MAX_KEYS];
  LERV32_HSTMT LastStmt[LERV32_MAX_KEYS];
  LERV32_HSTMT NextStmt[LERV32_MAX_KEYS];
  LERV32_HSTMT PriorStmt[LERV32_MAX_KEYS];
  LERV32_HSTMT FindFirstStmt[LERV32_MAX_KEYS];
  LERV32_HSTMT FindLastStmt[LERV32_MAX_KEYS];
  int32_t ValueSize[LERV32_MAX_FIELDS];     /* bytes of each field's value as bound */
  int16_t CType[LERV32_MAX_FIELDS];         /* its ODBC C type */
  int16_t SqlType[LERV32_MAX_FIELDS];       /* its ODBC SQL type */
  LERV32_SQLLEN Indicator[LERV32_MAX_FIELDS]; /* its length/indicator */
  int16_t Decimals[LERV32_MAX_FIELDS];      /* its decimal digits */
  char* Value[LERV32_MAX_FIELDS];           /* its buffer behind the fixed part */
  char KeyText[LERV32_FIND_KEY_WIDTH + 1];  /* the finds' search value, blank-padded */
  int32_t KeyLen;                           /* its length */
  LERV32_SQLLEN KeyTextInd;                 /* always 128 */
  LERV32_SQLLEN KeyLenInd;                  /* always 4 */
} SqlRec;

/* Prepares td's set on connection (definition first); any earlier set goes
 * first. Below ExLevel 2, or when a statement cannot be prepared (reported),
 * the table stays without a set. */
LERV32_API void LERV32_CALL rv_OdbcPrepareAll(TableDef* td, LERV32_HDBC connection);
/* Frees td's set, if it has one. */
LERV32_API void LERV32_CALL rv_OdbcUnprepareAll(TableDef* td);
/* td's own set, or null (also for a copy of a definition that has one). */
LERV32_API SqlRec* LERV32_CALL rv_GetSqlRecPtr(const TableDef* td);
/* Converts the fields of rec into the set's buffers (as a write sends them):
 * 1, or 0 when td has no usable set. */
LERV32_API int32_t LERV32_CALL rv_OdbcFillSqlRec(const TableDef* td, const char* rec);
/* Converts the set's buffers into the fields of rec (as a read stores them):
 * 1, or 0 when td has no usable set. */
LERV32_API int32_t LERV32_CALL rv_OdbcScanSqlRec(const TableDef* td, char* rec);
LERV32_API int32_t LERV32_CALL rv_OdbcFirstRecIdEx(LERV32_HDBC connection, const TableDef* td, int32_t key);
LERV32_API int32_t LERV32_CALL rv_OdbcLastRecIdEx(LERV32_HDBC connection, const TableDef* td, int32_t key);
LERV32_API int32_t LERV32_CALL rv_OdbcNextRecIdEx(LERV32_HDBC connection, const TableDef* td, int32_t key,
                                                  int32_t rec_id);
LERV32_API int32_t LERV32_CALL rv_OdbcPriorRecIdEx(LERV32_HDBC connection, const TableDef* td, int32_t key,
                                                   int32_t rec_id);
LERV32_API int32_t LERV32_CALL rv_OdbcFindFirstRecIdEx(LERV32_HDBC connection, const TableDef* td, int32_t key,
                                                       const char* value, int32_t len);
LERV32_API int32_t LERV32_CALL rv_OdbcFindLastRecIdEx(LERV32_HDBC connection, const TableDef* td, int32_t key,
                                                      const char* value, int32_t len);
/* Through the set, rec may be null: the values then stay in the set's
 * buffers (rv_OdbcScanSqlRec copies them). */
LERV32_API int32_t LERV32_CALL rv_OdbcGetRecordEx(LERV32_HDBC connection, const TableDef* td, int32_t rec_id,
                                                  char* rec);
LERV32_API int32_t LERV32_CALL rv_OdbcAppendRecordEx(LERV32_HDBC connection, const TableDef* td, const char* rec);
LERV32_API int32_t LERV32_CALL rv_OdbcUpdateRecordEx(LERV32_HDBC connection, const TableDef* td, int32_t rec_id,
                                                     const char* rec);
LERV32_API int32_t LERV32_CALL rv_OdbcDeleteRecordEx(LERV32_HDBC connection, const TableDef* td, int32_t rec_id);

/* ---- Statement cursors. A cursor runs a query and walks its result into
 * record buffers laid out by a TableDef describing the result
 * (rv_StmtGetStructure): text columns become C fields of their width (at
 * most 255; 255 for text of no fixed width), bit and tinyint b, integer l,
 * smallint s, decimal and floating point d (decimals: rv_StmtSetDoublePrecision),
 * date and datetime D, every other type a C field of 20 named "Type-<n>" by
 * its ODBC type; names are cut to 15 characters, columns after the 128th are
 * left out. Every column is a field in its place, unnamed ones (an empty
 * name) and names given twice included. A statement without columns gives a message cursor: one record
 * of 142 bytes, native code (4 bytes), state (10) and message (128). The
 * caller owns a cursor until rv_StmtClose; a cursor serves one thread at a
 * time. */

typedef void* LERV32_CURSOR;

/* Fetch codes; every other value is a bookmark, or with a spill file a
 * record number from 1. */
#define DB_GETSAME (-5)
#define DB_GETNEXT (-4)
#define DB_GETPRIOR (-3)
#define DB_GETLAST (-2)
#define DB_GETFIRST (-1)

/* Open flags. */
#define DB_OPEN_BOOKMARKS 1   /* keyset-driven cursor with bookmarks, else dynamic without */
#define DB_OPEN_RECORDBUF 2   /* an internal record buffer (rv_StmtGetRecordPtr) */
#define DB_OPEN_OWNCONNECT 4  /* rv_StmtClose and a failed open disconnect the connection */
#define DB_OPEN_SPILL 8       /* a forward-only result is copied into a temporary file at once */

/* Reads every field of a definition from its table: table is the path of a
 * definition file or "=" and the address of the caller's TableDef (decimal,
 * or hexadecimal after 0x), which is copied without its key filters and
 * prepared set. clause (WHERE, ORDER BY) follows the statement after a
 * blank. Null on failure, also when the server's columns are not the
 * definition's fields, and when a spill asked for fails. */
LERV32_API LERV32_CURSOR LERV32_CALL rv_StmtOpen(LERV32_HDBC connection, const char* table, const char* clause,
                                                 int32_t flags);
/* Runs sql, followed by a blank and extra when extra is not null. Null on
 * failure. The result is named "SQL_nnnnnnnn". */
LERV32_API LERV32_CURSOR LERV32_CALL rv_StmtOpenSQL(LERV32_HDBC connection, const char* sql, const char* extra,
                                                    int32_t flags);
/* Copies the rest of the current result of the caller's executed stmt into
 * a temporary file and returns a cursor on it, named "SQLTMP_nnnnnnnn", with
 * an internal record buffer; stmt and connection stay the caller's (its
 * bound columns receive each row as it is copied; its rowset size is kept).
 * Null when stmt was not executed or its rows could not all be copied, and
 * for a connection the driver manager does not know. */
LERV32_API LERV32_CURSOR LERV32_CALL rv_StmtSaveResult(LERV32_HDBC connection, LERV32_HSTMT stmt);
/* Fetches by code into buffer (rv_StmtGetRecordSize bytes; null: the
 * internal buffer, if any). A forward-only cursor without spill reads its
 * first row whatever the first code is, and then takes only DB_GETNEXT and
 * DB_GETSAME (state "C1C00"). DB_GETSAME gives the current row again, 0
 * before the first row and after the end. 1, or 0 (the diagnostic in
 * rv_StmtGetErrorCode). */
LERV32_API int32_t LERV32_CALL rv_StmtFetch(LERV32_CURSOR cursor, char* buffer, int32_t code);
/* Closes the cursor (null is ignored); its temporary file goes with it. */
LERV32_API void LERV32_CALL rv_StmtClose(LERV32_CURSOR cursor);
/* The bookmark, or with a temporary file the number, of the current record;
 * 0 without bookmarks or current record; 1 for a message cursor. A jump to
 * a bookmark or number that finds no record does not move the cursor. */
LERV32_API int32_t LERV32_CALL rv_StmtGetBookmark(LERV32_CURSOR cursor);
/* Fills a description block of 13328 bytes: 16-bit values 48 at 0, the
 * entry count at 2 and the record size at 8 and 10; 128 field entries of
 * 20 bytes at 9744 (type, width, decimals as 16-bit values, name of at most
 * 13 characters); four texts of 256 bytes from 12304: "ODBC", the result's
 * name with its kind, version, attribution. 1, or 0 for a null cursor or
 * block. */
LERV32_API int32_t LERV32_CALL rv_StmtGetCbStru(LERV32_CURSOR cursor, void* block);
/* The native code of the last failure, its state (state: 10 bytes) and
 * message (message: 128 bytes); either buffer may be null. Without one,
 * 0 and state "ERV32". The native code of "C1C00" is 0xC1C00. */
LERV32_API int32_t LERV32_CALL rv_StmtGetErrorCode(LERV32_CURSOR cursor, char* state, char* message);
/* Fields of the result; 3 for a message cursor. */
LERV32_API int32_t LERV32_CALL rv_StmtGetNumCols(LERV32_CURSOR cursor);
/* The internal record buffer (null when there is none), or the message
 * record of a message cursor. Owned by the cursor. */
LERV32_API void* LERV32_CALL rv_StmtGetRecordPtr(LERV32_CURSOR cursor);
/* Bytes of a record; 142 for a message cursor. */
LERV32_API int32_t LERV32_CALL rv_StmtGetRecordSize(LERV32_CURSOR cursor);
/* The result's description, owned by the cursor: read it, never free it
 * (a description changed into one that is not valid fails rv_StmtFetch and
 * rv_StmtGetCbStru). */
LERV32_API TableDef* LERV32_CALL rv_StmtGetStructure(LERV32_CURSOR cursor);
/* Sets the decimals of numeric fields of results described from now on
 * (initially 4); returns the previous value. */
LERV32_API int32_t LERV32_CALL rv_StmtSetDoublePrecision(int32_t decimals);

/* ---- Blobs: binary objects of any size kept beside the records, known by
 * a blob id (0: no blob). The database needs the blob tables and procedures
 * of sql/blobs.sql. Data travel in pieces of 512 bytes; the server keeps
 * them in parts of 16 MiB. On a connection in autocommit mode a write runs
 * in a transaction of its own: it replaces the whole blob or, when it fails,
 * leaves it as it was. On one in manual-commit mode it runs inside the
 * caller's transaction, which the caller rolls back after a failed write.
 * Writers of one blob wait for each other. A negative blob id names no
 * blob. Results are these codes (0 success): */
#define LERV32_BLOB_OK 0
#define LERV32_BLOB_CANNOT_OPEN_SOURCE 1 /* "XFILE::open(...,FALSE)" */
#define LERV32_BLOB_CANNOT_PREPARE 2     /* "SQLPrepare( )" */
#define LERV32_BLOB_CANNOT_EXECUTE 3     /* "SQLExecute( )" */
#define LERV32_BLOB_UNEXPECTED_RESULT 4  /* "unexpected resultcode" */
#define LERV32_BLOB_NO_DATA 5            /* "no blobdata available" */
#define LERV32_BLOB_CANNOT_CREATE 6      /* "XFILE::creat(...)" */
#define LERV32_BLOB_UNEXPECTED_END 7     /* "unexpected end of data" */
#define LERV32_BLOB_UNEXPECTED_FETCH 8   /* "unexpected fetch status" */
#define LERV32_BLOB_NO_MEMORY 9          /* "GlobalAlloc( ) / GlobalLock( )" */

typedef void* LERV32_HGLOBAL; /* global memory handle (HGLOBAL) */

/* A new blob holding the file's bytes; its id in *blob_id (0 on failure,
 * when the new blob is removed again). 1 when the file cannot be opened or
 * its size read (files of 2 GiB and more), 8 when the server gives no id. */
LERV32_API int32_t LERV32_CALL rv_OdbcInsertBlobFromFile(LERV32_HDBC connection, int32_t* blob_id,
                                                          const char* file_name);
/* The same from the bytes of a global memory block (null: an empty blob). */
LERV32_API int32_t LERV32_CALL rv_OdbcInsertBlobFromHGlobal(LERV32_HDBC connection, int32_t* blob_id,
                                                             LERV32_HGLOBAL block);
/* Replaces the blob's data by the file's bytes. 4 for blob id 0, 5 for a
 * blob that does not exist, 4 when the file ends before its size. */
LERV32_API int32_t LERV32_CALL rv_OdbcUpdateBlobFromFile(LERV32_HDBC connection, int32_t blob_id,
                                                          const char* file_name);
/* The same from a global memory block; a null block empties the blob, a
 * block that cannot be locked (such as a movable one of 0 bytes) gives 9. */
LERV32_API int32_t LERV32_CALL rv_OdbcUpdateBlobFromHGlobal(LERV32_HDBC connection, int32_t blob_id,
                                                             LERV32_HGLOBAL block);
/* Writes the blob to the file, replacing it only once the whole blob has
 * arrived (a failure leaves an earlier file of that name as it was; the new
 * file is made beside it and keeps its permissions and links). A file with
 * further hard links stays the same file: the whole blob, received and
 * synced beside it, is then copied over it in place after the room for it
 * was taken. Should that copy still fail, the file holds a mix, the result
 * is 6 and the whole blob stays in the new file beside it, which an
 * event-log entry (level 1, the file name as source) names. 5 for an
 * empty or missing blob (no file made), 3 when its size cannot be read, 6
 * when the file cannot be made, is read-only or cannot be put in place, 7
 * when the data do not arrive whole. */
LERV32_API int32_t LERV32_CALL rv_OdbcSelectBlobToFile(LERV32_HDBC connection, int32_t blob_id,
                                                        const char* file_name);
/* The blob in a new movable global memory block in *block, which the caller
 * frees with GlobalFree; *block is null on failure. 5 for an empty or
 * missing blob, 3 when its size cannot be read, 7 when its data do not fill
 * the block exactly. */
LERV32_API int32_t LERV32_CALL rv_OdbcSelectBlobToHGlobal(LERV32_HDBC connection, int32_t blob_id,
                                                           LERV32_HGLOBAL* block);
/* The blob's size in bytes (0 for a missing blob), -1 when it cannot be read. */
LERV32_API int32_t LERV32_CALL rv_OdbcSizeOfBlob(LERV32_HDBC connection, int32_t blob_id);
/* Removes the blob and its parts. 0 (SQL_SUCCESS), or the ODBC return code
 * of the call that failed (-1 SQL_ERROR, -2 SQL_INVALID_HANDLE). */
LERV32_API int16_t LERV32_CALL rv_OdbcDeleteBlob(LERV32_HDBC connection, int32_t blob_id);

/* An automation object for the blobs of the connection, which must stay open
 * while the object is used: the dual interface IDbBlobHandler of the type
 * library DbBlobLib, carried in the library's file as resource TYPELIB 1.
 * Its IUnknown in *unknown, with one reference for the caller (who calls
 * Release); 1 when made, 0 (and *unknown null) when not. Off Windows there
 * is no type library: the object answers only through its vtable. */
LERV32_API int32_t LERV32_CALL rv_CreateBlobHandler(LERV32_HDBC connection, void** unknown);

/* ---- Virtual tables: read-only statement cursors opened from a short
 * table spec, for hosts that read tables through a generic table interface.
 * Tables and connections are named in the profile RVVTAB.INI of the working
 * folder: section [CONNECT] holds connection entries, "mode,DSN,UID,PWD" or
 * "mode,!connection string" (mode 1: the connection belongs to the one
 * table; any other: shared under its name while a table is open or a lock
 * is held, at most 10 at once), of at most 255 characters. A section per
 * table holds CONNECT (a [CONNECT] name, or "?" for the default entry),
 * BOOKMARK (default 1), STATEMENT (default "SELECT * FROM <table>") and
 * KLAUSEL (appended after a blank), each of at most 1023 characters; longer
 * values fail the open. A table spec is a table name, "#conn#SQL" or
 * "*conn#definition#clause" (names of at most 49 characters; definition as
 * for rv_StmtOpen). Every table can be stepped both ways and reached by
 * record number (_vt_GetRecno). Connection names match as profile keys do,
 * without regard to case. Handles that are not open tables are ignored; a
 * closed table's handle may come back for a later table, so a host forgets
 * it at _vt_CloseTable. */

/* The interface le_vTable, {3EDB5BF9-7C51-40A7-9482-DE087DA0F9E0}, of the
 * one static object; every method after the IUnknown three forwards to the
 * export of its name. AddRef and Release return 2 and 1 and change nothing;
 * QueryInterface gives the object for le_vTable and IUnknown (S_OK), else
 * null and E_NOINTERFACE (0x80004002). */
typedef struct LERV32_GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
} LERV32_GUID;
typedef struct le_vTable le_vTable;
typedef struct le_vTableVtbl {
  int32_t(LERV32_CALL* QueryInterface)(le_vTable* self, const LERV32_GUID* iid, void** object);
  uint32_t(LERV32_CALL* AddRef)(le_vTable* self);
  uint32_t(LERV32_CALL* Release)(le_vTable* self);
  LERV32_CURSOR(LERV32_CALL* OpenTable)(le_vTable* self, const char* spec);
  void(LERV32_CALL* CloseTable)(le_vTable* self, LERV32_CURSOR table);
  int32_t(LERV32_CALL* NumKeys)(le_vTable* self, LERV32_CURSOR table);
  int32_t(LERV32_CALL* RecSize)(le_vTable* self, LERV32_CURSOR table);
  int32_t(LERV32_CALL* GetRecno)(le_vTable* self, LERV32_CURSOR table);
  int32_t(LERV32_CALL* FindRecData)(le_vTable* self, int32_t a, int32_t b, int32_t c);
  int32_t(LERV32_CALL* FindKeyN)(le_vTable* self, int32_t a, int32_t b, int32_t c, int32_t d);
  int32_t(LERV32_CALL* ReservedSlot)(le_vTable* self, int32_t a, int32_t b, int32_t c, int32_t d);
  int32_t(LERV32_CALL* EvalKey)(le_vTable* self, int32_t a, int32_t b, int32_t c, int32_t d);
  int32_t(LERV32_CALL* GetRec)(le_vTable* self, LERV32_CURSOR table, int32_t unused, char* buffer, int32_t code);
  int32_t(LERV32_CALL* UpdateRec)(le_vTable* self, int32_t a, int32_t b, int32_t c, int32_t d);
  int32_t(LERV32_CALL* DelRec)(le_vTable* self, int32_t a, int32_t b, int32_t c, int32_t d);
  int32_t(LERV32_CALL* GetProperties)(le_vTable* self, LERV32_CURSOR table, void* block);
} le_vTableVtbl;
struct le_vTable {
  const le_vTableVtbl* lpVtbl;
};

/* The static object, after AddRef. */
LERV32_API le_vTable* LERV32_CALL _vt_CreateInstance(void);
/* The table's cursor, or null. */
LERV32_API LERV32_CURSOR LERV32_CALL _vt_OpenTable(const char* spec);
/* Closes it (null is ignored); a connection of its own goes with it. */
LERV32_API void LERV32_CALL _vt_CloseTable(LERV32_CURSOR table);
/* rv_StmtFetch into buffer (rv_StmtGetRecordSize bytes; may be null) by
 * code: DB_GET* or a record number. 0 for a null table or code 0. */
LERV32_API int32_t LERV32_CALL _vt_GetRec(LERV32_CURSOR table, int32_t unused, char* buffer, int32_t code);
/* rv_StmtGetBookmark, rv_StmtGetRecordSize, rv_StmtGetCbStru. */
LERV32_API int32_t LERV32_CALL _vt_GetRecno(LERV32_CURSOR table);
LERV32_API int32_t LERV32_CALL _vt_RecSize(LERV32_CURSOR table);
LERV32_API int32_t LERV32_CALL _vt_GetProperties(LERV32_CURSOR table, void* block);
/* Virtual tables have no keys and cannot be written: 0, nothing done. */
LERV32_API int32_t LERV32_CALL _vt_NumKeys(LERV32_CURSOR table);
LERV32_API int32_t LERV32_CALL _vt_FindRecData(int32_t a, int32_t b, int32_t c);
LERV32_API int32_t LERV32_CALL _vt_FindKeyN(int32_t a, int32_t b, int32_t c, int32_t d);
LERV32_API int32_t LERV32_CALL _vt_EvalKey(int32_t a, int32_t b, int32_t c, int32_t d);
LERV32_API int32_t LERV32_CALL _vt_UpdateRec(int32_t a, int32_t b, int32_t c, int32_t d);
LERV32_API int32_t LERV32_CALL _vt_DelRec(int32_t a, int32_t b, int32_t c, int32_t d);
/* The connection of the [CONNECT] name (or "?"), held open until the
 * matching rv_UnlockVtDsn; null when it cannot be had, also for a shared
 * name new to a cache already holding ten. A mode-1 connection is the
 * caller's, to disconnect. */
LERV32_API LERV32_HDBC LERV32_CALL rv_LockVtDsn(const char* name);
/* Gives a lock back; without a lock held, nothing. */
LERV32_API void LERV32_CALL rv_UnlockVtDsn(void);
/* The default connection entry (initially "1,Default DSN,,") into dest of
 * at least 256 bytes; a new one, its first 255 characters (null: kept),
 * serves every later "?"; open tables keep their connection. */
LERV32_API void LERV32_CALL rv_vt_GetDefaultDSN(char* dest);
LERV32_API void LERV32_CALL rv_vt_SetDefaultDSN(const char* entry);

#ifdef __cplusplus
}
#endif

#endif /* LERV32_H */
