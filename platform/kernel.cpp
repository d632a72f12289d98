// Kernel services: sleeping, module file names, full paths and reads of
// memory that may not be there.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/win_api.h"

void Sleep(DWORD milliseconds) {
  timespec remaining{static_cast<time_t>(milliseconds / 1000),
                     static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
  }
}

HMODULE ModuleOfAddress(const void* address) {
  Dl_info info{};
  if (address == nullptr || dladdr(address, &info) == 0) return nullptr;
  return info.dli_fbase;
}

DWORD GetModuleFileNameA(HMODULE module, char* path, DWORD size) {
  if (path == nullptr || size == 0) return 0;
  char found[4096];
  std::size_t length = 0;
  if (module == nullptr) {
    const ssize_t n = readlink("/proc/self/exe", found, sizeof found - 1);
    if (n <= 0) return 0;
    length = static_cast<std::size_t>(n);
  } else {
    // A module handle is the library's base address, which lies in its own
    // mapping: the dynamic linker names the file mapped there.
    Dl_info info{};
    if (dladdr(module, &info) == 0 || info.dli_fname == nullptr) return 0;
    length = std::strlen(info.dli_fname);
    if (length >= sizeof found) return 0;
    std::memcpy(found, info.dli_fname, length);
  }
  const std::size_t copied = length < size ? length : size - 1;
  std::memcpy(path, found, copied);
  path[copied] = '\0';
  return static_cast<DWORD>(copied);
}

DWORD GetFullPathNameA(const char* name, DWORD size, char* buffer, char** file_part) {
  if (file_part != nullptr) *file_part = nullptr;
  if (name == nullptr || *name == '\0') return 0;
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(name, error);
  if (error) return 0;
  const std::string full = absolute.lexically_normal().string();
  if (buffer == nullptr || full.size() >= size) return static_cast<DWORD>(full.size() + 1);
  std::memcpy(buffer, full.c_str(), full.size() + 1);
  if (file_part != nullptr) {
    const std::size_t slash = full.rfind('/');
    if (slash + 1 < full.size()) *file_part = buffer + slash + 1;
  }
  return static_cast<DWORD>(full.size());
}

HANDLE GetCurrentProcess() { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)); }

namespace {

// The kernel copies from address and reports EFAULT where it cannot read,
// without a signal: process_vm_readv first, a pipe where a sandbox forbids
// that call.
bool ReadThroughKernel(const void* address, void* buffer, std::size_t size) {
  iovec local{buffer, size};
  iovec remote{const_cast<void*>(address), size};
  const ssize_t copied = process_vm_readv(getpid(), &local, 1, &remote, 1, 0);
  if (copied >= 0) return static_cast<std::size_t>(copied) == size;
  if (errno == EFAULT) return false;
  int ends[2];
  if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  bool whole = true;
  auto* out = static_cast<char*>(buffer);
  const auto* in = static_cast<const char*>(address);
  for (std::size_t done = 0; done < size && whole;) {
    const std::size_t piece = std::min<std::size_t>(size - done, 4096);
    whole = write(ends[1], in + done, piece) == static_cast<ssize_t>(piece) &&
            read(ends[0], out + done, piece) == static_cast<ssize_t>(piece);
    done += piece;
  }
  close(ends[0]);
  close(ends[1]);
  return whole;
}

}  // namespace

BOOL ReadProcessMemory(HANDLE process, const void* address, void* buffer, SIZE_T size, SIZE_T* read) {
  if (read != nullptr) *read = 0;
  if (process != GetCurrentProcess() || buffer == nullptr || !ReadThroughKernel(address, buffer, size)) return FALSE;
  if (read != nullptr) *read = size;
  return TRUE;
}
