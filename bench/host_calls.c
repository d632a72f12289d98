/* Record access per call from a host program built from lerv32.h alone, so
 * that one program measures the native library and the Windows DLL: read by
 * RecId, next by key and append, each by plain SQL (the table's definition
 * with ExLevel 0) and by the generated procedures (ExLevel 1), on RECORDS
 * records appended to a new table in a sqlsim database in DATA_FOLDER, which
 * must be empty. Prints one line per operation and path: its name and the
 * microseconds per call, best of REPETITIONS runs of CALLS calls each.
 *
 *   host_calls DRIVER_PATH DATA_FOLDER DEFINITION_FILE SERVER_FUNCTIONS_SQL
 *              [RECORDS [REPETITIONS [CALLS]]]
 * The definition needs the fields of examples/kunde.def.
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

enum Operation { kRead, kNext, kAppend, kOperations };
static const char* const kOperationNames[] = {"read", "next", "append"};
static const char* const kPathNames[] = {"plain", "procedure"};

static long records = 2000;
static int32_t nr_field; /* the field NR */

static int RecordSize(const TableDef* td) {
  int size = 0;
  for (int i = 0; i < td->FieldCnt; ++i) {
    int end = td->Fields[i].Offset + td->Fields[i].Len;
    if (end > size) size = end;
  }
  return size;
}

/* The i-th record (from 1): NR is i, so that it is also the RecId the
 * i-th append into the new table gets. */
static void Sample(const TableDef* td, long i, char* rec) {
  static const char* const names[] = {"Meier", "Schmidt", "O'Neill", "M\xfcller", "Becker", "Wagner", "Hoffmann"};
  static const char* const towns[] = {"Bonn", "K\xf6ln", "Essen", "Ulm", "Hamburg"};
  char text[64];
  memset(rec, ' ', (size_t)RecordSize(td));
  snprintf(text, sizeof text, "%ld", i);
  rv_FieldFromString(td, rv_FieldNo(td, "NR"), rec, text);
  snprintf(text, sizeof text, "%s %ld", names[i % 7], (i * 7919) % records);
  rv_FieldFromString(td, rv_FieldNo(td, "NAME"), rec, text);
  rv_FieldFromString(td, rv_FieldNo(td, "ORT"), rec, towns[i % 5]);
  snprintf(text, sizeof text, "%ld.%02ld", (i * 37) % 100000, i % 100);
  rv_FieldFromString(td, rv_FieldNo(td, "UMSATZ"), rec, text);
  snprintf(text, sizeof text, "20%02ld-%02ld-%02ld", i % 25, i % 12 + 1, i % 28 + 1);
  rv_FieldFromString(td, rv_FieldNo(td, "SEIT"), rec, text);
}

/* One call; *state is the count of reads, the current RecId of the walk by
 * the first key, or the last RecId appended. 0 when the call failed. */
static int Call(LERV32_HDBC dbc, const TableDef* td, enum Operation operation, long* state, char* rec) {
  int32_t id;
  switch (operation) {
    case kRead: /* every record once per round, out of order */
      id = (int32_t)(*state * 7919 % records + 1);
      ++*state;
      return rv_OdbcGetRecord(dbc, td, id, rec) == 1 && rv_FieldToLong(td, nr_field, rec) == id;
    case kNext: /* starting over at the end */
      id = rv_OdbcNextRecId(dbc, td, 0, (int32_t)*state);
      *state = id != 0 ? id : rv_OdbcFirstRecId(dbc, td, 0);
      return *state != 0;
    default: /* a copy of the record read last */
      id = rv_OdbcAppendRecord(dbc, td, rec);
      if (id <= *state) return 0;
      *state = id;
      return 1;
  }
}

/* The definition of td with ExLevel 0, through a copy of it in folder. */
static int LoadPlain(TableDef* plain, const TableDef* td, const char* folder) {
  char path[1024];
  snprintf(path, sizeof path, "%s/plain.def", folder);
  FILE* file = rv_SaveTableDef(td, path) ? fopen(path, "ab") : NULL;
  if (file == NULL) return 0;
  int written = fputs("EXLEVEL=0\r\n", file) >= 0;
  return fclose(file) == 0 && written && rv_LoadTableDef(plain, path) && plain->ExLevel == 0;
}

int main(int argc, char** argv) {
  if (argc < 5) {
    fprintf(stderr, "usage: %s DRIVER_PATH DATA_FOLDER DEFINITION_FILE SERVER_FUNCTIONS_SQL [RECORDS [REPETITIONS [CALLS]]]\n",
            argv[0]);
    return 2;
  }
  if (argc > 5) records = atol(argv[5]);
  int repetitions = argc > 6 ? atoi(argv[6]) : 3;
  long calls = argc > 7 ? atol(argv[7]) : 200;
  if (records < 1 || repetitions < 1 || calls < 1) return 2;
  char connect[1024];
  snprintf(connect, sizeof connect, "DRIVER=%s;DATADIR=%s;DATABASE=bench;AUTOCREATE=1", argv[1], argv[2]);
  LERV32_HDBC dbc = rv_OdbcDriverConnect(NULL, connect);
  if (dbc == NULL) {
    fprintf(stderr, "no connection: %s\n", connect);
    return 1;
  }
  /* tds[0] plain SQL, tds[1] procedures: the same table. */
  TableDef* tds[2] = {rv_AllocTableDef(), rv_AllocTableDef()};
  char errors[2048] = "";
  if (tds[0] == NULL || tds[1] == NULL || !rv_LoadTableDef(tds[1], argv[3]) || tds[1]->ExLevel != 1 ||
      !LoadPlain(tds[0], tds[1], argv[2])) {
    fprintf(stderr, "cannot read the definition %s (it must have EXLEVEL=1)\n", argv[3]);
    return 1;
  }
  if (!rv_CallSqlFile(dbc, NULL, argv[4], errors, sizeof errors) || !rv_CreateTable(dbc, tds[1], 1, NULL)) {
    fprintf(stderr, "the table could not be created: %s\n", errors);
    return 1;
  }
  nr_field = rv_FieldNo(tds[1], "NR");
  char* rec = (char*)calloc((size_t)RecordSize(tds[1]) + 1, 1);
  for (long i = 1; i <= records; ++i) {
    Sample(tds[1], i, rec);
    if (rv_OdbcAppendRecord(dbc, tds[1], rec) != i) {
      fprintf(stderr, "append %ld of %ld failed (is the folder empty?)\n", i, records);
      return 1;
    }
  }
  printf("# us per call, best of %d x %ld calls, %ld records\n", repetitions, calls, records);
  /* Reads and walks of both paths before the appends: both see the same table. */
  for (int operation = kRead; operation < kOperations; ++operation) {
    for (int path = 0; path < 2; ++path) {
      long state = operation == kNext ? rv_OdbcFirstRecId(dbc, tds[path], 0) : 0;
      double best = 0;
      for (int repetition = 0; repetition < repetitions; ++repetition) {
        double start = Seconds();
        for (long call = 0; call < calls; ++call) {
          if (!Call(dbc, tds[path], (enum Operation)operation, &state, rec)) {
            fprintf(stderr, "%s %s failed\n", kOperationNames[operation], kPathNames[path]);
            return 1;
          }
        }
        double us = (Seconds() - start) * 1e6 / (double)calls;
        if (repetition == 0 || us < best) best = us;
      }
      printf("%s/%s %.1f\n", kOperationNames[operation], kPathNames[path], best);
      fflush(stdout);
    }
  }
  free(rec);
  rv_FreeTableDef(tds[0]);
  rv_FreeTableDef(tds[1]);
  rv_OdbcDisconnect(dbc);
  return 0;
}
