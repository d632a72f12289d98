#ifndef INC_LEER_H
#define INC_LEER_H
#ifndef RC_INVOKED
#ifndef TAB_DATA_CLASS
#define TAB_DATA_CLASS(Class_Name) class FAR Class_Name
#endif
#ifdef GEN_CODE_TAB_DATA_CLASS_ALL
#ifndef GEN_CODE_FOR_LEER
#define GEN_CODE_FOR_LEER
#endif
#endif

#pragma pack(push)
#pragma pack(1)
// Strukturdefinition LEER

// TAB_DATA_CLASS( c_LEER )
class FAR c_LEER
{
public: /* Datenfelder im Direktzugriff */


public: /* Datenfelder als Adressen darstellen */


public:


  LPVOID GetDataAddr()        { return (LPVOID)(lp()); }
  int    GetDataSize()        { return 0; }
  BOOL   CheckCompilerType()  { return(GetDataSize() == sizeof(*this)); }

  void Init()
  {
  #ifdef TAB_DATA_DEBUG
     if (! CheckCompilerType())
        ::MessageBox(::GetDesktopWindow(),"Unerwartetes sizeof()-Ergebnis in 'c_LEER'",NULL,MB_OK );
  #endif

  }
  c_LEER()  { Init(); }
  int    GetNumKeys()   { return 0; }
  int    GetNumFields()   { return 0; }
  LPSTR  GetFieldName(int nFld);
  LPVOID GetFieldAddr(int nFld);
  int    GetFieldType(int nFld);
  int    GetFieldLen(int nFld);
  int    GetFieldDec(int nFld);
  int    GetKeySize(int nKey)
  {
    return 0;
  }
  int MakeKey(int nKey,LPSTR lpDst)
  {
    int __nLen = 0;
    return __nLen;
  }
  void GenExport(LPSTR lpDst);
  BOOL GetImport(LPSTR lpDst);
  void GenXML(
     LPSTR lpDst             // Zielpuffer
    ,LPSTR lpTagName         // NULL == Default
    ,WORD  bAsAttributes     // 0=keine Werte 1=Attribute 2=Subtags
    ,BOOL  bOpenTag          // Tag-Open anlegen
    ,BOOL  bCloseTag         // Tag abschliessen
    ,INT   nVonFieldNo = 0   // von Feld
    ,INT   nBisFieldNo = -1  // bis Feld
             );
  void ScanXML( leXML XML,BOOL bAnsi = TRUE, INT nVonFieldNo = 0,INT nBisFieldNo = -1 );
};
typedef c_LEER  FAR * LPc_LEER;
#pragma pack(pop)

#ifdef GEN_CODE_FOR_LEER
LPSTR c_LEER::GetFieldName(int nFld)
{
  switch(nFld)
  {
  default: return NULL;
  }
}
#endif

#ifdef GEN_CODE_FOR_LEER
LPVOID c_LEER::GetFieldAddr(int nFld)
{
  switch(nFld)
  {
  default: return NULL;
  }
}
#endif

#ifdef GEN_CODE_FOR_LEER
int c_LEER::GetFieldType(int nFld)
{
  switch(nFld)
  {
  default: return 0;
  }
}
#endif

#ifdef GEN_CODE_FOR_LEER
int c_LEER::GetFieldLen(int nFld)
{
  switch(nFld)
  {
  default: return 0;
  }
}
#endif

#ifdef GEN_CODE_FOR_LEER
int c_LEER::GetFieldDec(int nFld)
{
  switch(nFld)
  {
  default: return 0;
  }
}
#endif

#ifdef GEN_CODE_FOR_LEER
void c_LEER::GenExport(LPSTR lpDst)
{
     int i;

     lstrcpy(lpDst,"LEER");
     for (i=0; i < GetNumFields();i++ )
       rv_FieldExport(lpDst,(LPSTR)GetFieldAddr(i),GetFieldType(i),GetFieldLen(i),GetFieldDec(i),TRUE );
}
#endif

#ifdef GEN_CODE_FOR_LEER
BOOL c_LEER::GetImport(LPSTR lpDst)
{
   char  szTmp[32];
   int   i;
   LPSTR lpTmp;

   lpTmp = rv_FieldImport( lpDst,szTmp,'c',32,0 );
   if (0 != lstrcmp(szTmp,"LEER"))
        return FALSE;

   for (i=0; i < GetNumFields();i++ )
       lpTmp = rv_FieldImport(lpTmp,(LPSTR)GetFieldAddr(i),GetFieldType(i),GetFieldLen(i),GetFieldDec(i) );
   return TRUE;
}
#endif

#ifdef GEN_CODE_FOR_LEER
void c_LEER::GenXML(
     LPSTR lpDst          // Zielpuffer
    ,LPSTR lpTagName      // NULL == Default
    ,WORD  bAsAttributes  // Werteformat
    ,BOOL  bOpenTag       // Tag-Open anlegen
    ,BOOL  bCloseTag      // Tag abschliessen
    ,INT   nVonFieldNo    // von Feld
    ,INT   nBisFieldNo    // bis Feld
             )
{
  char szTmp[256];
  int  i;
  *lpDst = 0;
  if (! lpTagName) lpTagName = "LEER";
  if (bOpenTag)
  {  lstrcpy(lpDst,"<" );
     lstrcat(lpDst,lpTagName );
     if (1 != bAsAttributes)  lstrcat(lpDst,">\r\n" );
  }
  if (nVonFieldNo < 0) nVonFieldNo = 0;
  if ((nBisFieldNo < 0) || (nBisFieldNo > GetNumFields()))  nBisFieldNo = GetNumFields();
  for (i=nVonFieldNo;(bAsAttributes != 0) && (i < nBisFieldNo);i++)
  {
     lpDst    = lpDst + lstrlen(lpDst);
     szTmp[0] = 0;
     rv_FieldExport(szTmp,(LPSTR)GetFieldAddr(i),GetFieldType(i),GetFieldLen(i),GetFieldDec(i),FALSE);
     OemToAnsi(szTmp,szTmp);
     if (1 == bAsAttributes)
     {  wsprintf( lpDst+lstrlen(lpDst)," %s=\042",GetFieldName(i) );
        rv_AnsiToXML( lpDst+lstrlen(lpDst),szTmp );
        wsprintf( lpDst+lstrlen(lpDst),"\042" );
     }
     else
     {  wsprintf( lpDst+lstrlen(lpDst),"  <%s>",GetFieldName(i) );
        rv_AnsiToXML( lpDst+lstrlen(lpDst),szTmp );
        wsprintf( lpDst+lstrlen(lpDst),"</%s>\r\n",GetFieldName(i) );
     }
  }
  if (bOpenTag && (1 == bAsAttributes))
  {  lstrcat(lpDst,">\r\n" );
  }
  if (bCloseTag)
  {  lstrcat(lpDst,"</" );
     lstrcat(lpDst,lpTagName );
     lstrcat(lpDst,">\r\n" );
  }
}
#endif

#ifdef GEN_CODE_FOR_LEER
void c_LEER::ScanXML(
     leXML XML            // XML-Quellitem
    ,BOOL  bAnsi
    ,INT   nVonFieldNo    // von Feld
    ,INT   nBisFieldNo    // bis Feld
             )
{
  char szBuffer[256];
  int  i;

  if ((nBisFieldNo < 0)  || (nBisFieldNo > GetNumFields()))
    nBisFieldNo = GetNumFields();

  for (i=nVonFieldNo; i < nBisFieldNo;i++ )
  {
    leXML _xItem_ = XML.GetChildByName( GetFieldName(i) );
    szBuffer[0]   = 0;
    if (_xItem_.IsItem())
    {
      _xItem_.GetValue( szBuffer, 256 );
      if (bAnsi) AnsiToOem(szBuffer,szBuffer);
    }
    rv_FieldImport(szBuffer,(LPSTR)GetFieldAddr(i),GetFieldType(i),GetFieldLen(i),GetFieldDec(i) );
  }
}
#endif
#endif /* RC_INVOKED */
#endif /* INC_LEER_H */
