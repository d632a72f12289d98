// The fixed text of a generated record class header, line by line. Every
// line is a wsprintf format: %% is one percent sign, and in the fixed blocks
// every %s is the table name as part of an identifier, every %q the table
// name as the text of a string literal.
#ifndef LERV32_CODEGEN_CPP_CLASS_TEMPLATES_H
#define LERV32_CODEGEN_CPP_CLASS_TEMPLATES_H

namespace lerv32 {
namespace cpp_class {

inline constexpr const char* kPreamble[] = {
    "#ifndef INC_%s_H\r\n",
    "#define INC_%s_H\r\n",
    "#ifndef RC_INVOKED\r\n",
    "#ifndef TAB_DATA_CLASS\r\n",
    "#define TAB_DATA_CLASS(Class_Name) class FAR Class_Name\r\n",
    "#endif\r\n",
    "#ifdef GEN_CODE_TAB_DATA_CLASS_ALL\r\n",
    "#ifndef GEN_CODE_FOR_%s\r\n",
    "#define GEN_CODE_FOR_%s\r\n",
    "#endif\r\n",
    "#endif\r\n\r\n",
    "#pragma pack(push)\r\n",
    "#pragma pack(1)\r\n",
    "// Strukturdefinition %s\r\n\r\n",
    "// TAB_DATA_CLASS( c_%s )\r\n",
    "class FAR c_%s\r\n{\r\n",
    "public: /* Datenfelder im Direktzugriff */\r\n\r\n",
};

inline constexpr char kAddressSection[] = "\r\npublic: /* Datenfelder als Adressen darstellen */\r\n\r\n";
inline constexpr char kAccessorSection[] = "\r\npublic:\r\n\r\n";

inline constexpr const char* kInitHead[] = {
    "\r\n  void Init()\r\n  {\r\n",
    "  #ifdef TAB_DATA_DEBUG\r\n",
    "     if (! CheckCompilerType())\r\n",
    "        ::MessageBox(::GetDesktopWindow(),\"Unerwartetes sizeof()-Ergebnis in 'c_%s'\",NULL,MB_OK );\r\n",
    "  #endif\r\n\r\n",
};

inline constexpr const char* kMetadataDeclarations[] = {
    "  LPSTR  GetFieldName(int nFld);\r\n",
    "  LPVOID GetFieldAddr(int nFld);\r\n",
    "  int    GetFieldType(int nFld);\r\n",
    "  int    GetFieldLen(int nFld);\r\n",
    "  int    GetFieldDec(int nFld);\r\n",
};

// A text date goes into the key as year-month-day; every %s is the field name.
inline constexpr const char* kDateKeyPart[] = {
    "      _fmemcpy(lpDst  ,lp%s()+6,4);\r\n",
    "      *(lpDst+4) = '-';\r\n",
    "      _fmemcpy(lpDst+5,lp%s()+3,2);\r\n",
    "      *(lpDst+7) = '-';\r\n",
    "      _fmemcpy(lpDst+8,lp%s()  ,2);\r\n",
    "      lpDst  += 10;\r\n",
    "      __nLen += 10;\r\n",
};

inline constexpr char kGenXmlDeclaration[] =
    "  void GenXML(\r\n"
    "     LPSTR lpDst             // Zielpuffer\r\n"
    "    ,LPSTR lpTagName         // NULL == Default\r\n"
    "    ,WORD  bAsAttributes     // 0=keine Werte 1=Attribute 2=Subtags\r\n"
    "    ,BOOL  bOpenTag          // Tag-Open anlegen\r\n"
    "    ,BOOL  bCloseTag         // Tag abschliessen\r\n"
    "    ,INT   nVonFieldNo = 0   // von Feld\r\n"
    "    ,INT   nBisFieldNo = -1  // bis Feld\r\n"
    "             );\r\n";

inline constexpr char kGenXmlHead[] =
    "void c_%s::GenXML(\r\n"
    "     LPSTR lpDst          // Zielpuffer\r\n"
    "    ,LPSTR lpTagName      // NULL == Default\r\n"
    "    ,WORD  bAsAttributes  // Werteformat\r\n"
    "    ,BOOL  bOpenTag       // Tag-Open anlegen\r\n"
    "    ,BOOL  bCloseTag      // Tag abschliessen\r\n"
    "    ,INT   nVonFieldNo    // von Feld\r\n"
    "    ,INT   nBisFieldNo    // bis Feld\r\n"
    "             )\r\n";

inline constexpr char kScanXmlHead[] =
    "void c_%s::ScanXML(\r\n"
    "     leXML XML            // XML-Quellitem\r\n"
    "    ,BOOL  bAnsi\r\n"
    "    ,INT   nVonFieldNo    // von Feld\r\n"
    "    ,INT   nBisFieldNo    // bis Feld\r\n"
    "             )\r\n";

inline constexpr const char* kClassTail[] = {
    "  void GenExport(LPSTR lpDst);\r\n",
    "  BOOL GetImport(LPSTR lpDst);\r\n",
    kGenXmlDeclaration,
    "  void ScanXML( leXML XML,BOOL bAnsi = TRUE, INT nVonFieldNo = 0,INT nBisFieldNo = -1 );\r\n",
    "};\r\n",
    "typedef c_%s  FAR * LPc_%s;\r\n",
    "#pragma pack(pop)\r\n",
};

// One of the functions that answer by field number.
struct MetadataFunction {
  const char* head;
  const char* case_line;  // the field number, then the answer
  const char* default_line;
};

enum MetadataAnswer { kFieldName, kFieldAddress, kFieldType, kFieldLength, kFieldDecimals };

// In MetadataAnswer order.
inline constexpr MetadataFunction kMetadataFunctions[] = {
    {"LPSTR c_%s::GetFieldName(int nFld)\r\n", "  case %d: return \"%s\";\r\n", "  default: return NULL;\r\n"},
    {"LPVOID c_%s::GetFieldAddr(int nFld)\r\n", "  case %d: return lp%s();\r\n", "  default: return NULL;\r\n"},
    {"int c_%s::GetFieldType(int nFld)\r\n", "  case %d: return '%c';\r\n", "  default: return 0;\r\n"},
    {"int c_%s::GetFieldLen(int nFld)\r\n", "  case %d: return %d;\r\n", "  default: return 0;\r\n"},
    {"int c_%s::GetFieldDec(int nFld)\r\n", "  case %d: return %d;\r\n", "  default: return 0;\r\n"},
};

inline constexpr const char* kExport[] = {
    "\r\n#ifdef GEN_CODE_FOR_%s\r\n",
    "void c_%s::GenExport(LPSTR lpDst)\r\n",
    "{\r\n",
    "     int i;\r\n\r\n",
    "     lstrcpy(lpDst,\"%q\");\r\n",
    "     for (i=0; i < GetNumFields();i++ )\r\n",
    "       rv_FieldExport(lpDst,(LPSTR)GetFieldAddr(i),GetFieldType(i),GetFieldLen(i),GetFieldDec(i),TRUE );\r\n",
    "}\r\n",
    "#endif\r\n",
};

inline constexpr const char* kImport[] = {
    "\r\n#ifdef GEN_CODE_FOR_%s\r\n",
    "BOOL c_%s::GetImport(LPSTR lpDst)\r\n",
    "{\r\n",
    "   char  szTmp[32];\r\n",
    "   int   i;\r\n",
    "   LPSTR lpTmp;\r\n\r\n",
    "   lpTmp = rv_FieldImport( lpDst,szTmp,'c',32,0 );\r\n",
    "   if (0 != lstrcmp(szTmp,\"%q\"))\r\n",
    "        return FALSE;\r\n\r\n",
    "   for (i=0; i < GetNumFields();i++ )\r\n",
    "       lpTmp = rv_FieldImport(lpTmp,(LPSTR)GetFieldAddr(i),GetFieldType(i),GetFieldLen(i),GetFieldDec(i) );\r\n",
    "   return TRUE;\r\n",
    "}\r\n",
    "#endif\r\n",
};

inline constexpr const char* kXmlOutput[] = {
    "\r\n#ifdef GEN_CODE_FOR_%s\r\n",
    kGenXmlHead,
    "{\r\n",
    "  char szTmp[256];\r\n",
    "  int  i;\r\n",
    "  *lpDst = 0;\r\n",
    "  if (! lpTagName) lpTagName = \"%q\";\r\n",
    "  if (bOpenTag)\r\n",
    "  {  lstrcpy(lpDst,\"<\" );\r\n",
    "     lstrcat(lpDst,lpTagName );\r\n",
    "     if (1 != bAsAttributes)  lstrcat(lpDst,\">\\r\\n\" );\r\n",
    "  }\r\n",
    "  if (nVonFieldNo < 0) nVonFieldNo = 0;\r\n",
    "  if ((nBisFieldNo < 0) || (nBisFieldNo > GetNumFields()))  nBisFieldNo = GetNumFields();\r\n",
    "  for (i=nVonFieldNo;(bAsAttributes != 0) && (i < nBisFieldNo);i++)\r\n",
    "  {\r\n",
    "     lpDst    = lpDst + lstrlen(lpDst);\r\n",
    "     szTmp[0] = 0;\r\n",
    "     rv_FieldExport(szTmp,(LPSTR)GetFieldAddr(i),GetFieldType(i),GetFieldLen(i),GetFieldDec(i),FALSE);\r\n",
    "     OemToAnsi(szTmp,szTmp);\r\n",
    "     if (1 == bAsAttributes)\r\n",
    "     {  wsprintf( lpDst+lstrlen(lpDst),\" %%s=\\042\",GetFieldName(i) );\r\n",
    "        rv_AnsiToXML( lpDst+lstrlen(lpDst),szTmp );\r\n",
    "        wsprintf( lpDst+lstrlen(lpDst),\"\\042\" );\r\n",
    "     }\r\n",
    "     else\r\n",
    "     {  wsprintf( lpDst+lstrlen(lpDst),\"  <%%s>\",GetFieldName(i) );\r\n",
    "        rv_AnsiToXML( lpDst+lstrlen(lpDst),szTmp );\r\n",
    "        wsprintf( lpDst+lstrlen(lpDst),\"</%%s>\\r\\n\",GetFieldName(i) );\r\n",
    "     }\r\n",
    "  }\r\n",
    "  if (bOpenTag && (1 == bAsAttributes))\r\n",
    "  {  lstrcat(lpDst,\">\\r\\n\" );\r\n",
    "  }\r\n",
    "  if (bCloseTag)\r\n",
    "  {  lstrcat(lpDst,\"</\" );\r\n",
    "     lstrcat(lpDst,lpTagName );\r\n",
    "     lstrcat(lpDst,\">\\r\\n\" );\r\n",
    "  }\r\n",
    "}\r\n",
    "#endif\r\n",
};

inline constexpr const char* kXmlInput[] = {
    "\r\n#ifdef GEN_CODE_FOR_%s\r\n",
    kScanXmlHead,
    "{\r\n",
    "  char szBuffer[256];\r\n",
    "  int  i;\r\n\r\n",
    "  if ((nBisFieldNo < 0)  || (nBisFieldNo > GetNumFields()))\r\n",
    "    nBisFieldNo = GetNumFields();\r\n\r\n",
    "  for (i=nVonFieldNo; i < nBisFieldNo;i++ )\r\n",
    "  {\r\n",
    "    leXML _xItem_ = XML.GetChildByName( GetFieldName(i) );\r\n",
    "    szBuffer[0]   = 0;\r\n",
    "    if (_xItem_.IsItem())\r\n",
    "    {\r\n",
    "      _xItem_.GetValue( szBuffer, 256 );\r\n",
    "      if (bAnsi) AnsiToOem(szBuffer,szBuffer);\r\n",
    "    }\r\n",
    "    rv_FieldImport(szBuffer,(LPSTR)GetFieldAddr(i),GetFieldType(i),GetFieldLen(i),GetFieldDec(i) );\r\n",
    "  }\r\n",
    "}\r\n",
    "#endif\r\n",
};

inline constexpr const char* kEnd[] = {
    "#endif /* RC_INVOKED */\r\n",
    "#endif /* INC_%s_H */\r\n",
};

// Numbers that follow the field name (given twice) in an accessor line.
enum AccessorNumbers {
  kNoNumbers,
  kBufferAndWidth,  // w + 1, w
  kWidth,
  kWidthAndDecimals,
  kDecimals,
};

struct AccessorLine {
  const char* format;
  AccessorNumbers numbers;
};

inline constexpr AccessorLine kTextAccessors[] = {
    {"  void  sGet%s(LPSTR _p)\t\t\t{ CharNToString(_p,(lp%s()),%d,%d); }\r\n", kBufferAndWidth},
    {"  void  sSet%s(LPSTR _p)\t\t\t{ CharNFromString(_p,(lp%s()),%d); }\r\n", kWidth},
    {"  void  cGet%s(LPSTR _p,int _n)\t{ CharNToString(_p,(lp%s()),_n,%d); }\r\n", kWidth},
    {"  void  Init%s( )                 { _fmemset((lp%s()),' ',%d); }\r\n", kWidth},
};

inline constexpr AccessorLine kKeyTextAccessors[] = {
    {"  void  sGet%s(LPSTR _p)\t\t\t{ CharNToString(_p,(lp%s()),%d,%d); }\r\n", kBufferAndWidth},
    {"  void  sSet%s(LPSTR _p)\t\t\t{ CharUFromString(_p,(lp%s()),%d); }\r\n", kWidth},
    {"  void  cGet%s(LPSTR _p,int _n)\t{ CharNToString(_p,(lp%s()),_n,%d); }\r\n", kWidth},
    {"  void  Init%s( )                 { _fmemset((lp%s()),' ',%d); }\r\n", kWidth},
};

inline constexpr AccessorLine kDateAccessors[] = {
    {"  long    Get%s( )         { return StrDatumToLong((lp%s())); }\r\n", kNoNumbers},
    {"  void    Set%s(long _p)   { StrDatumFromLong((lp%s()),_p); }\r\n", kNoNumbers},
    {"  void    sGet%s(LPSTR _p) { _fmemcpy(_p,(lp%s()),10); _p[10] = 0; }\r\n", kNoNumbers},
    {"  void    sSet%s(LPSTR _p) { _fmemcpy((lp%s()),_p,10); }\r\n", kNoNumbers},
    {"  void    Init%s( )        { Set%s(0); }\r\n", kNoNumbers},
};

inline constexpr AccessorLine kLogicalAccessors[] = {
    {"  BOOL    Get%s()          { return(((lp%s())[0] == 'T') ? TRUE : FALSE); }\r\n", kNoNumbers},
    {"  void    Set%s(BOOL _p)   { (lp%s())[0] = ( _p ? 'T' : 'F'); }\r\n", kNoNumbers},
    {"  void    Init%s( )        { Set%s(FALSE); }\r\n", kNoNumbers},
};

inline constexpr AccessorLine kWholeNumberTextAccessors[] = {
    {"  long    Get%s()          { return CharNToLong((lp%s()),%d); }\r\n", kWidth},
    {"  void    Set%s(long _p)   { LongToCharN((lp%s()),%d,_p); }\r\n", kWidth},
    {"  void    Init%s( )        { Set%s(0); }\r\n", kNoNumbers},
};

inline constexpr AccessorLine kDecimalNumberTextAccessors[] = {
    {"  double  Get%s()          { return CharNToDouble((lp%s()),%d,%d); }\r\n", kWidthAndDecimals},
    {"  void    Set%s(double _p) { DoubleToCharN((lp%s()),%d,%d,_p); }\r\n", kWidthAndDecimals},
    {"  void    Init%s( )        { Set%s(0.00); }\r\n", kNoNumbers},
};

inline constexpr AccessorLine kByteAccessors[] = {
    {"  BYTE    Get%s()          { return *((BYTE FAR *)(lp%s())); }\r\n", kNoNumbers},
    {"  void    Set%s(BYTE _p)   { *((BYTE FAR *)(lp%s())) = _p; }\r\n", kNoNumbers},
    {"  void    Init%s( )        { Set%s(0); }\r\n", kNoNumbers},
};

inline constexpr AccessorLine kDoubleAccessors[] = {
    {"  double  Get%s()          { return dRnd(*((double FAR *)(lp%s())),%d); }\r\n", kDecimals},
    {"  void    Set%s(double _p) { *((double FAR *)(lp%s())) = _p; }\r\n", kNoNumbers},
    {"  void    Init%s( )        { Set%s(0.00); }\r\n", kNoNumbers},
};

inline constexpr AccessorLine kLongAccessors[] = {
    {"  long    Get%s()          { return *((long FAR *)(lp%s())); }\r\n", kNoNumbers},
    {"  void    Set%s(long _p)   { *((long FAR *)(lp%s())) = _p; }\r\n", kNoNumbers},
    {"  void    Init%s( )        { Set%s(0); }\r\n", kNoNumbers},
};

inline constexpr AccessorLine kCobolNumberAccessors[] = {
    {"  double  Get%s()          { return CobolNToDouble((lp%s()),%d,%d); }\r\n", kWidthAndDecimals},
    {"  void    Set%s(double _p) { DoubleToCobolN((lp%s()),%d,%d,_p); }\r\n", kWidthAndDecimals},
    {"  void    Init%s( )        { Set%s(0.00); }\r\n", kNoNumbers},
};

inline constexpr AccessorLine kCobolDateAccessors[] = {
    {"  long    Get%s( )            { return CobolDatumToLong((lp%s())); }\r\n", kNoNumbers},
    {"  void    Set%s(long _p)      { CobolDatumFromLong((lp%s()),_p); }\r\n", kNoNumbers},
    {"  void    sGet%s(LPSTR _p)    { CobolDatumToString(_p,(lp%s())); }\r\n", kNoNumbers},
    {"  void    sSet%s(LPSTR _p)    { CobolDatumFromString(_p,(lp%s())); }\r\n", kNoNumbers},
    {"  void    Init%s( )           { Set%s(0); }\r\n", kNoNumbers},
};

inline constexpr AccessorLine kShortAccessors[] = {
    {"  short   Get%s()          { return *((short FAR *)(lp%s())); }\r\n", kNoNumbers},
    {"  void    Set%s(short _p)  { *((short FAR *)(lp%s())) = _p; }\r\n", kNoNumbers},
    {"  void    Init%s( )        { Set%s(0); }\r\n", kNoNumbers},
};

inline constexpr AccessorLine kCobolBinaryAccessors[] = {
    {"  long    Get%s()          { return CobolXToLong((lp%s()),%d); }\r\n", kWidth},
    {"  void    Set%s(long _p)   { LongToCobolX((lp%s()),%d,_p); }\r\n", kWidth},
    {"  void    Init%s( )        { Set%s(0); }\r\n", kNoNumbers},
};

}  // namespace cpp_class
}  // namespace lerv32

#endif  // LERV32_CODEGEN_CPP_CLASS_TEMPLATES_H
