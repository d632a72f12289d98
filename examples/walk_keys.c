/* A host program of the library, built from lerv32.h alone: it connects to a
 * sqlsim database in a folder of its own, creates a table from a definition
 * file by running the generated script, appends records, walks them by key
 * in both directions and says what it did and how long it took.
 *
 *   walk_keys DRIVER_PATH DATA_FOLDER DEFINITION_FILE SERVER_FUNCTIONS_SQL [RECORDS]
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "lerv32.h"

#if defined(_WIN32)
#include <windows.h>

/* MinGW's C runtime has no timespec_get. */
static double Seconds(void) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return (double)now.QuadPart / (double)frequency.QuadPart;
}
#else
static double Seconds(void) {
  struct timespec now;
  timespec_get(&now, TIME_UTC);
  return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}
#endif

static int RecordSize(const TableDef* td) {
  int size = 0;
  for (int i = 0; i < td->FieldCnt; ++i) {
    int end = td->Fields[i].Offset + td->Fields[i].Len;
    if (end > size) size = end;
  }
  return size;
}

static const char* const kNames[] = {"Meier", "Schmidt", "O'Neill", "M\xfcller", "Becker", "Wagner", "Hoffmann"};
static const char* const kTowns[] = {"Bonn", "K\xf6ln", "Essen", "Ulm", "Hamburg"};

/* Walks key in one direction; returns the number of records visited. */
static long Walk(LERV32_HDBC dbc, const TableDef* td, int key, int backwards) {
  long visited = 0;
  int32_t id = backwards ? rv_OdbcLastRecId(dbc, td, key) : rv_OdbcFirstRecId(dbc, td, key);
  while (id != 0) {
    ++visited;
    id = backwards ? rv_OdbcPriorRecId(dbc, td, key, id) : rv_OdbcNextRecId(dbc, td, key, id);
  }
  return visited;
}

int main(int argc, char** argv) {
  if (argc < 5) {
    fprintf(stderr, "usage: %s DRIVER_PATH DATA_FOLDER DEFINITION_FILE SERVER_FUNCTIONS_SQL [RECORDS]\n", argv[0]);
    return 2;
  }
  long records = argc > 5 ? atol(argv[5]) : 3000;
  char connect[1024];
  snprintf(connect, sizeof connect, "DRIVER=%s;DATADIR=%s;DATABASE=beispiel;AUTOCREATE=1", argv[1], argv[2]);
  LERV32_HDBC dbc = rv_OdbcDriverConnect(NULL, connect);
  if (dbc == NULL) {
    fprintf(stderr, "no connection: %s\n", connect);
    return 1;
  }
  TableDef* td = rv_AllocTableDef();
  if (td == NULL || !rv_LoadTableDef(td, argv[3])) {
    fprintf(stderr, "cannot read the definition %s\n", argv[3]);
    return 1;
  }
  char errors[2048];
  if (!rv_CallSqlFile(dbc, NULL, argv[4], errors, sizeof errors) || !rv_CreateTable(dbc, td, 1, NULL)) {
    fprintf(stderr, "the table could not be created: %s\n", errors);
    return 1;
  }
  printf("table %s: %d fields, %d keys, created in %s\n", td->TableName, td->FieldCnt, td->KeyCnt, argv[2]);

  char* rec = (char*)calloc((size_t)RecordSize(td) + 1, 1);
  double start = Seconds();
  long appended = 0;
  for (long i = 0; i < records; ++i) {
    char text[64];
    memset(rec, ' ', (size_t)RecordSize(td));
    snprintf(text, sizeof text, "%ld", i + 1);
    rv_FieldFromString(td, rv_FieldNo(td, "NR"), rec, text);
    snprintf(text, sizeof text, "%s %ld", kNames[i % 7], (i * 7919) % records);
    rv_FieldFromString(td, rv_FieldNo(td, "NAME"), rec, text);
    rv_FieldFromString(td, rv_FieldNo(td, "ORT"), rec, kTowns[i % 5]);
    snprintf(text, sizeof text, "%ld.%02ld", (i * 37) % 100000, i % 100);
    rv_FieldFromString(td, rv_FieldNo(td, "UMSATZ"), rec, text);
    snprintf(text, sizeof text, "20%02ld-%02ld-%02ld", i % 25, i % 12 + 1, i % 28 + 1);
    rv_FieldFromString(td, rv_FieldNo(td, "SEIT"), rec, text);
    if (rv_OdbcAppendRecord(dbc, td, rec) != 0) ++appended;
  }
  double appended_at = Seconds();
  printf("appended %ld of %ld records in %.2f s\n", appended, records, appended_at - start);

  int failed = appended != records;
  for (int key = 0; key < td->KeyCnt; ++key) {
    double walk_start = Seconds();
    long forward = Walk(dbc, td, key, 0);
    long backward = Walk(dbc, td, key, 1);
    printf("key %s: %ld records forward, %ld backward in %.2f s\n", td->Keys[key].Name, forward, backward,
           Seconds() - walk_start);
    failed = failed || forward != appended || backward != appended;
  }
  free(rec);
  rv_FreeTableDef(td);
  rv_OdbcDisconnect(dbc);
  printf(failed ? "FAILED\n" : "done\n");
  return failed ? 1 : 0;
}
