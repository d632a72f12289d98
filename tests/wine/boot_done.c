/* Marks the start-up of a Wine session as finished.
 *
 * Every program started from Linux first waits for the session's start-up
 * program (wineboot) to signal an event. Where wineboot hangs or ends without
 * signalling, as on some sandboxed machines, each program waits minutes for it
 * and then goes on regardless. Run once at the start of a test session (after
 * its own wait), this signals the event, so that the test programs after it
 * start at once. On a healthy session the event is already set and this
 * changes nothing. */
#include <windows.h>
#include <winternl.h>
#include <stdio.h>

NTSTATUS NTAPI NtOpenEvent(HANDLE *event, ACCESS_MASK access, OBJECT_ATTRIBUTES *attributes);
NTSTATUS NTAPI NtSetEvent(HANDLE event, LONG *previous_state);

int main(void) {
  static WCHAR name_text[] = L"\\KernelObjects\\__wineboot_event";
  UNICODE_STRING name;
  name.Buffer = name_text;
  name.Length = (USHORT)(sizeof(name_text) - sizeof(WCHAR));
  name.MaximumLength = (USHORT)sizeof(name_text);
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &name, 0, NULL, NULL);
  HANDLE event = NULL;
  NTSTATUS status = NtOpenEvent(&event, EVENT_MODIFY_STATE, &attributes);
  if (status != 0) {
    fprintf(stderr, "boot_done: no start-up event (status 0x%08lx)\n", (unsigned long)status);
    return 1;
  }
  LONG was_set = 0;
  status = NtSetEvent(event, &was_set);
  CloseHandle(event);
  if (status != 0) {
    fprintf(stderr, "boot_done: the start-up event could not be set (status 0x%08lx)\n",
            (unsigned long)status);
    return 1;
  }
  printf("start-up of the Wine session %s\n", was_set ? "had finished" : "marked as finished");
  return 0;
}
