/*
 * LEBASE32 - support library of LERV32.
 *
 * Field codecs for fixed-width record buffers, number and text helpers, plain
 * file I/O, tracked memory blocks, unique names, the settings store and the
 * event log.
 *
 * Rules that hold for every function below:
 * - "long" values are signed 32-bit (int32_t) on every platform.
 * - A field is addressed by p (its first byte) and w (its width in bytes);
 *   nothing before p or at p + w or beyond is ever read or written. A width
 *   below 1 makes a reader return 0 and a writer write nothing.
 * - Record text is blank-padded and not zero-terminated. Functions that take
 *   "text" expect a zero-terminated string; a null text counts as empty.
 * - Output buffers without a length argument belong to the caller; each
 *   declaration says how much it needs.
 * - Dates are long values year * 10000 + month * 100 + day; 0 is no date.
 * - Nothing here throws, and nothing here keeps a pointer it was given.
 */
#ifndef LEBASE32_H
#define LEBASE32_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define LEBASE32_CALL __stdcall
#else
#define LEBASE32_CALL
#endif

#if defined(_WIN32)
#define LEBASE32_API
#else
#define LEBASE32_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Numeric text fields (type N): right-aligned, blank-padded, optional
 * leading minus, '.' as decimal point when dec > 0. A value that does not fit
 * the width is written as w asterisks. */

/* Value of the number at the start of the field (leading blanks skipped);
 * digits after a decimal separator are dropped. 0 for no number. */
LEBASE32_API int32_t LEBASE32_CALL CharNToLong(const char* p, int32_t w);
/* Value of the numeric text in the field, '.' or ',' as separator. */
LEBASE32_API double LEBASE32_CALL CharNToDouble(const char* p, int32_t w, int32_t dec);
/* Writes value right-aligned into the w bytes at p. */
LEBASE32_API void LEBASE32_CALL LongToCharN(char* p, int32_t w, int32_t value);
/* Writes value rounded half away from zero to dec decimals (0 to 15). A value
 * below 1 whose leading zero alone does not fit is written without it ("-.50"). */
LEBASE32_API void LEBASE32_CALL DoubleToCharN(char* p, int32_t w, int32_t dec, double value);

/* ---- Text fields (types C and u) */

/* Copies text into the field, cut at w and padded with blanks. */
LEBASE32_API void LEBASE32_CALL CharNFromString(const char* text, char* p, int32_t w);
/* As CharNFromString, upper-casing letters of code page 850 (umlauts too). */
LEBASE32_API void LEBASE32_CALL CharUFromString(const char* text, char* p, int32_t w);

/* ---- COBOL numeric (type n): packed decimal, 2w-1 digits, dec implied
 * decimals, last nibble the sign (C positive, D negative; on reading B and D
 * are negative, every other sign nibble positive). */

LEBASE32_API double LEBASE32_CALL CobolNToDouble(const char* p, int32_t w, int32_t dec);
/* A value with more digits than the field holds is written as the largest
 * value of its sign (all nines). */
LEBASE32_API void LEBASE32_CALL DoubleToCobolN(char* p, int32_t w, int32_t dec, double value);

/* ---- COBOL binary (type x): two's complement, big-endian, w bytes (1 to 8;
 * a wider field holds the value in its last 8 bytes, sign-filled in front). */

/* A stored value outside the long range gives the nearest long. */
LEBASE32_API int32_t LEBASE32_CALL CobolXToLong(const char* p, int32_t w);
/* A value outside the range of w bytes is written as the nearest value that fits. */
LEBASE32_API void LEBASE32_CALL LongToCobolX(char* p, int32_t w, int32_t value);

/* ---- Dates. Text date (type D): 10 bytes "DD.MM.YYYY", the empty date ten
 * blanks. COBOL date (type o): DDMMYY as a 4-byte COBOL binary; two-digit years
 * below 50 read as 20xx, the others as 19xx. */

/* Date of a text date field; blanks or no digits give 0. */
LEBASE32_API int32_t LEBASE32_CALL StrDatumToLong(const char* p);
/* Writes 10 bytes; 0, a negative date or a year above 9999 give ten blanks. */
LEBASE32_API void LEBASE32_CALL StrDatumFromLong(char* p, int32_t date);
/* Date of a COBOL date field; 0 stays 0. */
LEBASE32_API int32_t LEBASE32_CALL CobolDatumToLong(const char* p);
/* Writes 4 bytes; 0 or a negative date writes 0. */
LEBASE32_API void LEBASE32_CALL CobolDatumFromLong(char* p, int32_t date);
/* Writes the 10 bytes of the text date form of date and a terminating zero
 * (dest needs 11 bytes). */
LEBASE32_API void LEBASE32_CALL ld_ToStringEx(char* dest, int32_t date);

/* ---- Numbers and text */

/* Number at the start of text: leading blanks, optional sign, digits. Values
 * beyond the long range give the nearest long. No number gives 0. */
LEBASE32_API int32_t LEBASE32_CALL StringToLong(const char* text);
/* As StringToLong, with one decimal separator '.' or ','. */
LEBASE32_API double LEBASE32_CALL StringToDouble(const char* text);
/* Writes value right-aligned in width characters and a terminating zero; a
 * value wider than width is written whole (dest needs max(width, 11) + 1). */
LEBASE32_API void LEBASE32_CALL LongToString(char* dest, int32_t value, int32_t width);
/* Writes value rounded to dec decimals (0 to 15), right-aligned in width
 * characters, '.' as point, and a terminating zero. A value that does not fit
 * is written as width asterisks (dest needs width + 1). A width below 1 means
 * as wide as needed, at most 63 characters. */
LEBASE32_API void LEBASE32_CALL DoubleToString(char* dest, double value, int32_t width, int32_t dec);
/* value rounded half away from zero to dec decimals (0 to 15), the tie decided
 * on the shortest decimal text of value: 2.675 gives 2.68, 1e13 stays 1e13. */
LEBASE32_API double LEBASE32_CALL dRnd(double value, int32_t dec);
/* Strips trailing blanks in place; returns text. */
LEBASE32_API char* LEBASE32_CALL lstrtrim(char* text);
/* Strips leading blanks in place; returns text. */
LEBASE32_API char* LEBASE32_CALL llstrtrim(char* text);

/* ---- Files: handles of the operating system's files, -1 on failure. */

/* mode 0 read only, 1 write only, 2 read and write; the file must exist. */
LEBASE32_API int32_t LEBASE32_CALL X_Open(const char* path, int32_t mode);
/* Creates or empties the file and opens it for reading and writing. */
LEBASE32_API int32_t LEBASE32_CALL X_Creat(const char* path);
/* Bytes read, 0 at the end, -1 on failure. */
LEBASE32_API int32_t LEBASE32_CALL X_Read(int32_t handle, void* buffer, int32_t count);
/* Bytes written, -1 on failure. */
LEBASE32_API int32_t LEBASE32_CALL X_Write(int32_t handle, const void* buffer, int32_t count);
/* origin 0 start, 1 current, 2 end; the new position, -1 on failure. */
LEBASE32_API int32_t LEBASE32_CALL X_Seek(int32_t handle, int32_t offset, int32_t origin);
/* Reads the next line (LF or CR LF ended) into buffer, zero-terminated and
 * without its line end; a line longer than size - 1 bytes is cut to them and
 * its rest skipped. Non-zero while a line was read, 0 at the end or on error. */
LEBASE32_API int32_t LEBASE32_CALL X_Readln(int32_t handle, char* buffer, int32_t size);
/* 0 when closed, -1 on failure. */
LEBASE32_API int32_t LEBASE32_CALL X_Close(int32_t handle);

/* ---- Memory blocks */

/* Zero-filled block of bytes (0 gives a valid empty block); null on failure.
 * The caller frees it with FreeGlobal. */
LEBASE32_API void* LEBASE32_CALL AllocGlobal(uint32_t bytes);
/* Frees a block of AllocGlobal; null, a block already freed and any other
 * address are ignored. */
LEBASE32_API void LEBASE32_CALL FreeGlobal(void* block);
/* Bytes and blocks currently allocated through AllocGlobal; a null out-value
 * is skipped. */
LEBASE32_API void LEBASE32_CALL GetGlobalUsage(int32_t* bytes, int32_t* blocks);

/* ---- Wide text (UTF-16 code units, as OLE automation uses them); 8-bit text
 * is in the ANSI code page 1252. */

typedef uint16_t LEBASE32_WCHAR;
/* OLE automation string: UTF-16 with its byte length stored in front; freed
 * with SysFreeString. */
typedef LEBASE32_WCHAR* LEBASE32_BSTR;

/* Copies text into dest as UTF-16 with a terminating zero (dest needs
 * strlen(text) + 1 units); returns dest. */
LEBASE32_API LEBASE32_WCHAR* LEBASE32_CALL lstrcpy_A2U(LEBASE32_WCHAR* dest, const char* text);
/* Copies at most size - 1 characters of src into dest as 8-bit text with a
 * terminating zero; characters without a counterpart become their nearest
 * look-alike or '?'. Returns dest. */
LEBASE32_API char* LEBASE32_CALL lstrcpyn_U2A(char* dest, const LEBASE32_WCHAR* src, int32_t size);
/* Stores a new automation string made from text in *out (the caller frees it
 * with SysFreeString; *out is null when it could not be allocated). */
LEBASE32_API void LEBASE32_CALL lSetBstr_A(LEBASE32_BSTR* out, const char* text);

/* ---- Names, settings, event log */

/* A name unique among the processes of this machine: letters and digits, at
 * most 31 characters, made of the process id, a process-wide sequence, the
 * caller's counter and the time. The text lives in a buffer of the calling
 * thread until its next call. */
LEBASE32_API const char* LEBASE32_CALL UniqName(int32_t counter);

/* Settings store: a text file of key=value lines, named by the environment
 * variable LEBASE32_SETTINGS, else settings.conf in the lebase32 folder of the
 * user's configuration directory. Keys compare without regard to case. */

/* Copies the value of key into buffer, cut to size - 1 characters and
 * zero-terminated. Non-zero when the key has a value (which may be empty);
 * 0 (buffer empty) when it has none or the store cannot be read. */
LEBASE32_API int32_t LEBASE32_CALL uGetHwpKeyString(const char* key, char* buffer, int32_t size);
/* Stores text under key, replacing the file atomically. 1 when stored, 0 when
 * not (bad key or value, unwritable store); a failure leaves the old store. */
LEBASE32_API int32_t LEBASE32_CALL uSetHwpKeyString(const char* key, const char* text);

/* Event log levels. */
#define LEBASE32_LOG_RETRY 0 /* a retried operation; source: the table name */
#define LEBASE32_LOG_ODBC 1  /* an ODBC diagnostic; source: the SQLSTATE */

/* Appends one line (time, level, source, text; line breaks and tabs escaped)
 * to the file named by LEBASE32_EVENTLOG, else events.log in the lebase32
 * folder of the user's state directory. 1 when written, 0 when not. */
LEBASE32_API int32_t LEBASE32_CALL leEventLogWrite(int32_t level, const char* source, const char* text);

#if !defined(_WIN32)
/* ---- Global memory blocks, as the Windows kernel hands them out (only off
 * Windows: there these are kernel32's own). A handle names one live block;
 * every call checks it against the blocks alive now, so a freed or made-up
 * handle fails instead of touching memory. A fixed block's handle is its
 * address; a movable block's is not, and a movable block of 0 bytes cannot
 * be locked. */
typedef void* HGLOBAL;
#define GMEM_FIXED 0x0000u
#define GMEM_MOVEABLE 0x0002u
#define GMEM_ZEROINIT 0x0040u
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)
/* A new block of bytes (zero-filled with GMEM_ZEROINIT), at most 2 GiB - 1
 * as on 32-bit Windows; null on failure. Flags other than GMEM_MOVEABLE and
 * GMEM_ZEROINIT are accepted and have no effect. */
LEBASE32_API HGLOBAL LEBASE32_CALL GlobalAlloc(unsigned int flags, size_t bytes);
/* The block's first byte, its lock count raised; null for an unknown handle
 * or an empty movable block. */
LEBASE32_API void* LEBASE32_CALL GlobalLock(HGLOBAL block);
/* Lowers the lock count; non-zero while the block stays locked, 0 when it is
 * unlocked now or the handle is unknown. */
LEBASE32_API int LEBASE32_CALL GlobalUnlock(HGLOBAL block);
/* The block's size in bytes; 0 for an unknown handle. */
LEBASE32_API size_t LEBASE32_CALL GlobalSize(HGLOBAL block);
/* Frees the block; null on success, the handle itself when it is unknown. */
LEBASE32_API HGLOBAL LEBASE32_CALL GlobalFree(HGLOBAL block);
#endif

#ifdef __cplusplus
}
#endif

#endif /* LEBASE32_H */
