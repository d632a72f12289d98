// The Windows API as the library uses it. On Windows this is <windows.h>;
// elsewhere it declares our stand-ins (this folder), which behave as the
// library expects of them on a German Windows: OEM code page 850, ANSI code
// page 1252.
#ifndef LERV32_PLATFORM_WIN_API_H
#define LERV32_PLATFORM_WIN_API_H

#if defined(_WIN32)

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <oleauto.h>

#else

#include <sql.h>  // unixODBC's stand-ins for BOOL, DWORD, HWND, HINSTANCE, WCHAR

#include <cstddef>
#include <cstdint>

#include "include/lebase32.h"

typedef unsigned int UINT;
typedef std::size_t SIZE_T;
typedef WCHAR OLECHAR;
typedef OLECHAR* BSTR;
typedef void* HMODULE;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// ---- Code pages
constexpr UINT CP_ACP = 0;    // the ANSI code page: 1252
constexpr UINT CP_OEMCP = 1;  // the OEM code page: 850

// Only the two code pages above (and 850, 1252 by number) are known; flags are
// ignored. Characters without a counterpart take Windows' best fit, else '?'.
// Results and errors as on Windows: the count of units written (or needed when
// the output size is 0), 0 on failure.
int MultiByteToWideChar(UINT code_page, DWORD flags, const char* src, int src_len,
                        WCHAR* dest, int dest_len);
int WideCharToMultiByte(UINT code_page, DWORD flags, const WCHAR* src, int src_len,
                        char* dest, int dest_len, const char* default_char, BOOL* used_default);

// OEM (850) to ANSI (1252) and back, zero-terminated; src and dest may be the
// same buffer. TRUE, or FALSE when a pointer is null.
BOOL OemToCharA(const char* src, char* dest);
BOOL CharToOemA(const char* src, char* dest);
// The same for exactly length bytes, zero bytes included.
BOOL OemToCharBuffA(const char* src, char* dest, DWORD length);
BOOL CharToOemBuffA(const char* src, char* dest, DWORD length);

// ---- Kernel
void Sleep(DWORD milliseconds);
// Path of the shared library loaded at module (null: the main program), cut to
// size - 1 characters and zero-terminated; its length, 0 on failure.
DWORD GetModuleFileNameA(HMODULE module, char* path, DWORD size);
// The handle (base address) of the shared library that contains address.
HMODULE ModuleOfAddress(const void* address);
// name made absolute against the working folder, "." and ".." resolved. Its
// length; when size cannot hold it and its zero byte, the size it needs (zero
// byte included) and nothing written. *file_part (may be null) points at the
// last name in buffer, null when the path ends in a slash. 0 on failure.
DWORD GetFullPathNameA(const char* name, DWORD size, char* buffer, char** file_part);

// ---- Profiles (INI files): see platform/profile.h for the reading rules.
// The value of key in section of the file, else fallback without its
// trailing blanks, cut to size - 1 characters and zero-terminated; its
// length. The file's name takes backslashes as separators, resolves
// against the working folder and matches its last name without regard to
// case. Null section or key (Windows' lists of names) give the fallback.
DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* fallback, char* buffer,
                               DWORD size, const char* file_name);
// The number in the key's value (platform::ProfileNumber), fallback when the
// key is missing or empty.
UINT GetPrivateProfileIntA(const char* section, const char* key, int fallback, const char* file_name);

// ---- Global memory: GlobalAlloc and its kin are exported by the support
// library (include/lebase32.h), so that a host and the library share them.

// ---- Files: what the spill file of statement cursors needs
typedef void* HANDLE;
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));
// Only QuadPart: the library never uses the halves.
struct LARGE_INTEGER {
  int64_t QuadPart;
};
constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD FILE_SHARE_READ = 0x1;
constexpr DWORD FILE_SHARE_WRITE = 0x2;
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD FILE_FLAG_RANDOM_ACCESS = 0x10000000;
constexpr DWORD FILE_FLAG_DELETE_ON_CLOSE = 0x04000000;
constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_CURRENT = 1;
constexpr DWORD FILE_END = 2;
// The folder for temporary files, with its closing slash: TMPDIR (as Windows
// takes TMP), else /tmp. Its length; when size cannot hold it and its zero
// byte, the size it needs (zero byte included) and nothing written.
DWORD GetTempPathA(DWORD size, char* buffer);
// Opens or creates a file (sharing and attributes are not modelled). With
// FILE_FLAG_DELETE_ON_CLOSE the name is gone at once: the file lives until
// its handle is closed or the process ends, however it ends.
// INVALID_HANDLE_VALUE on failure.
HANDLE CreateFileA(const char* name, DWORD access, DWORD share, void* security, DWORD disposition, DWORD flags,
                   HANDLE template_file);
// Whole reads and writes: a read stops early only at the end of the file; a
// write that cannot write everything fails, with the bytes it wrote in
// *written. Overlapped operation is not supported (must be null).
BOOL ReadFile(HANDLE file, void* buffer, DWORD count, DWORD* read, void* overlapped);
BOOL WriteFile(HANDLE file, const void* buffer, DWORD count, DWORD* written, void* overlapped);
// 64-bit positions; position may be null.
BOOL SetFilePointerEx(HANDLE file, LARGE_INTEGER distance, LARGE_INTEGER* position, DWORD method);
BOOL CloseHandle(HANDLE handle);

// The current process (a pseudo handle, as on Windows).
HANDLE GetCurrentProcess();
// Copies size bytes at address of the current process (no other) into
// buffer: FALSE, with *read (may be null) 0, when any of them cannot be read,
// so that an address handed in from outside is tried without a fault.
BOOL ReadProcessMemory(HANDLE process, const void* address, void* buffer, SIZE_T size, SIZE_T* read);

// ---- User interface
// Message box types and answers; the library shows its boxes through
// frame/message_boxes.h, which needs no screen.
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_ABORTRETRYIGNORE = 0x2;
constexpr UINT MB_YESNOCANCEL = 0x3;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_RETRYCANCEL = 0x5;
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONASTERISK = 0x40;
constexpr UINT MB_DEFBUTTON1 = 0x0;
constexpr UINT MB_DEFBUTTON2 = 0x100;
constexpr UINT MB_DEFBUTTON3 = 0x200;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
// Does nothing here; TRUE.
BOOL MessageBeep(UINT type);
// A handle that stands for the desktop; only ever passed on as an owner.
HWND GetDesktopWindow();

// ---- OLE automation strings
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
BSTR SysAllocString(const OLECHAR* text);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);

#endif  // _WIN32

#endif  // LERV32_PLATFORM_WIN_API_H
