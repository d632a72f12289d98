// A host program in plain C that knows the library only through its public
// header: it catches declaration and calling-convention mistakes that C++
// tests would not. Run with an empty settings store.
#include <stdio.h>
#include <string.h>

#include "lerv32.h"

static int failed = 0;

static void Check(int ok, const char* what) {
  if (!ok) {
    ++failed;
    printf("FAILED: %s\n", what);
  }
}

// Builds a definition by calls and from a file, converts values both ways,
// builds a key and asks for the SQL types.
static void CheckDefinitions(void) {
  static const char* const kFields[] = {"TEXT,C,6", "KEY,u,4", "DATE,D", "NUM,N,7,2", "DBL,d,0,3", "LONG,l"};
  static const char* const kValues[] = {"abc", "K\x84", "2024-02-29", "-12.50", "1234.567", "-70000"};
  const char* path = "c_host_table.def";
  char record[64];
  char text[64];
  char key[64];
  int i;
  TableDef* td = rv_AllocTableDef();
  TableDef* loaded = rv_AllocTableDef();
  FILE* file;

  if (td == NULL || loaded == NULL) {
    Check(0, "allocate definitions");
    return;
  }
  for (i = 0; i < 6; ++i) Check(rv_AddFieldDef(td, kFields[i]) == 1, kFields[i]);
  Check(rv_AddKeyDef(td, "K,KEY,LONG") == 1, "key by call");
  Check(rv_FieldCnt(td) == 6 && rv_FieldOffset(td, 2) == 10 && rv_FieldLen(td, 2) == 10, "layout");
  memset(record, ' ', sizeof record);
  for (i = 0; i < 6; ++i) {
    Check(rv_FieldFromString(td, i, record, kValues[i]) == 1, kValues[i]);
    Check(strcmp(rv_FieldToString(td, i, record, text), i == 1 ? "K\x8E" : kValues[i]) == 0, kValues[i]);
  }
  Check(rv_FieldToLong(td, 5, record) == -70000 && rv_FieldToDouble(td, 3, record) == -12.5, "numbers");
  Check(rv_MakeKeyFromRecord(td, 0, record, key) == 8 && memcmp(key, "K\x8E  ", 4) == 0, "key value");
  Check(rv_SqlFieldType(td, 2) == 9 && strcmp(rv_SqlFieldTypeName(td, 0), "char(6)") == 0 &&
            strcmp(rv_SqlFieldDefault(td, 3), "0") == 0,
        "SQL types");

  file = fopen(path, "wb");
  if (file != NULL) {
    fputs("ALIAS=Artikel\r\nFIELD=NR,l\r\nFIELD=NAME,C,30\r\nPKEY=NR_KEY,NR\r\n", file);
    fclose(file);
  }
  Check(rv_LoadTableDef(loaded, path) == 1 && rv_FieldCnt(loaded) == 2 && rv_KeyCnt(loaded) == 1 &&
            strcmp(rv_KeyName(loaded, 0), "NR_KEY") == 0 && strcmp(rv_FieldName(loaded, 1), "NAME") == 0,
        "definition file");
  Check(rv_SaveTableDef(td, path) == 1 && rv_LoadTableDef(loaded, path) == 1 && rv_FieldCnt(loaded) == 6,
        "save and load");
  remove(path);
  rv_FreeTableDef(td);
  rv_FreeTableDef(loaded);
}

// Generates the whole script of a table (table, procedures, every key) into
// one bounded buffer by chaining the bounded generators; returns the length,
// or -1 when it does not fit.
static long FullScript(const TableDef* td, char* out, int32_t capacity) {
  int32_t used = 0;
  int32_t n;
  int32_t key;
  if ((n = rv_GenSqlTableDefN(td, out, capacity, 1)) < 0) return -1;
  used += n;
  if ((n = rv_GenSqlTableBasicProcN(td, out + used, capacity - used, 1)) < 0) return -1;
  used += n;
  for (key = 0; key < rv_KeyCnt(td); ++key) {
    if ((n = rv_GenSqlIndexDefN(td, out + used, capacity - used, key, 1)) < 0) return -1;
    used += n;
  }
  return used;
}

static void CheckScripts(void) {
  static char script[400000];
  char small[64];
  long length;
  TableDef* td = rv_AllocTableDef();
  if (td == NULL) return;
  rv_AddFieldDef(td, "NR,l");
  rv_AddFieldDef(td, "NAME,C,30");
  rv_AddKeyDef(td, "NR_KEY,NR");
  rv_AddKeyDef(td, "NAME_KEY,NAME,NR");
  length = FullScript(td, script, (int32_t)sizeof script);
  Check(length > 0 && (size_t)length == strlen(script), "full script into a bounded buffer");
  Check(strstr(script, "CREATE VIEW") != NULL && strstr(script, "up_Next_") != NULL, "script content");
  Check(FullScript(td, small, (int32_t)sizeof small) == -1 && small[0] == '\0', "too small a buffer");
  rv_FreeTableDef(td);
}

// Every blob call through the library's own exports, on the test data
// source of the stand-in server.
static void CheckBlobs(void) {
  const char* in = "c_host_blob.bin";
  const char* out = "c_host_blob_copy.bin";
  char errors[512] = "";
  char copy[16] = "";
  int32_t id = 0;
  int32_t empty = 0;
  LERV32_HGLOBAL block = (LERV32_HGLOBAL)1;
  FILE* file = fopen(in, "wb");
  LERV32_HDBC db = rv_OdbcConnect("sqlsim_test", "", "");
  Check(db != NULL && file != NULL, "blob database and file");
  if (db == NULL || file == NULL) return;
  fputs("Blobdaten", file);
  fclose(file);
  Check(rv_CallSqlFile(db, NULL, LERV32_BLOBS_SQL, errors, (int32_t)sizeof errors) == 1, errors);
  Check(rv_OdbcInsertBlobFromFile(db, &id, in) == LERV32_BLOB_OK && id > 0, "blob from a file");
  Check(rv_OdbcSizeOfBlob(db, id) == 9, "blob size");
  Check(rv_OdbcSelectBlobToFile(db, id, out) == LERV32_BLOB_OK, "blob to a file");
  file = fopen(out, "rb");
  Check(file != NULL && fread(copy, 1, sizeof copy - 1, file) == 9 && strcmp(copy, "Blobdaten") == 0, "blob copy");
  if (file != NULL) fclose(file);
  Check(rv_OdbcUpdateBlobFromFile(db, id, in) == LERV32_BLOB_OK, "blob update from a file");
  Check(rv_OdbcUpdateBlobFromHGlobal(db, id, NULL) == LERV32_BLOB_OK && rv_OdbcSizeOfBlob(db, id) == 0,
        "blob emptied by a null block");
  Check(rv_OdbcSelectBlobToHGlobal(db, id, &block) == LERV32_BLOB_NO_DATA && block == NULL, "empty blob to memory");
  Check(rv_OdbcInsertBlobFromHGlobal(db, &empty, NULL) == LERV32_BLOB_OK && empty > id, "empty blob from memory");
  Check(rv_OdbcDeleteBlob(db, id) == 0 && rv_OdbcDeleteBlob(db, empty) == 0, "blobs deleted");
  Check(rv_OdbcUpdateBlobFromFile(db, 0, in) == LERV32_BLOB_UNEXPECTED_RESULT, "blob id 0");
  rv_OdbcDisconnect(db);
  remove(in);
  remove(out);
}

int main(void) {
  LERV32_HDBC connection;
  char connect[256] = "DRIVER=NoSuchDriver;";

  Check(rv_GetDllInstance() != NULL && rv_GetEnvHandle() != NULL, "module and environment handles");
  Check(rv_GetExtendedLevel() == 1 && rv_GetOemConvert() == 1, "default switches");
  Check(rv_SetOemConvert(5) == 1 && rv_GetOemConvert() == 5, "the setter returns the old value, stores the new");
  Check(rv_SetExtendedLevel(0) == 1 && rv_GetExtendedLevel() == 0, "procedure switch");
  Check(rv_GetMemUsage(0) >= 0 && rv_GetMemUsage(1) >= 0, "memory counters");
  Check(rv_OdbcQfwSearch(1, 2, 3, 4, 5) == 0 && rv_OdbcQfwReorg(NULL, NULL) == 1 &&
            rv_OdbcFindFirstRecId(NULL, NULL, 0, "A", 1) == 0 && rv_OdbcFindLastRecId(NULL, NULL, 0, "A", 1) == 0,
        "key search without a table");

  connection = rv_OdbcConnect("lerv32_test", "", "");
  Check(connection != NULL && rv_OdbcDisconnect(connection) == 0, "connect to the test data source");
  Check(rv_OdbcDriverConnectEx(NULL, connect, 2) == NULL, "unknown driver");
  Check(strcmp(connect, "DRIVER=NoSuchDriver;") == 0, "failed connect leaves the string");

  CheckDefinitions();
  CheckScripts();
  CheckBlobs();
  printf("%d failed\n", failed);
  return failed == 0 ? 0 : 1;
}
