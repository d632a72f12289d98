#ifndef INC_ZAHLEN_H
#define INC_ZAHLEN_H
#ifndef RC_INVOKED
#ifndef TAB_DATA_CLASS
#define TAB_DATA_CLASS(Class_Name) class FAR Class_Name
#endif
#ifdef GEN_CODE_TAB_DATA_CLASS_ALL
#ifndef GEN_CODE_FOR_ZAHLEN
#define GEN_CODE_FOR_ZAHLEN
#endif
#endif

#pragma pack(push)
#pragma pack(1)
// Strukturdefinition ZAHLEN

// TAB_DATA_CLASS( c_ZAHLEN )
class FAR c_ZAHLEN
{
public: /* Datenfelder im Direktzugriff */

  T3Long        m_A;
  T3Num_8n3     m_B;

public: /* Datenfelder als Adressen darstellen */

  LPSTR  lpA()            { return (LPSTR)(m_A.GetDataAddr()); }
  LPSTR  lpB()            { return (LPSTR)(m_B.GetDataAddr()); }

public:

  long    GetA()          { return *((long FAR *)(lpA())); }
  void    SetA(long _p)   { *((long FAR *)(lpA())) = _p; }
  void    InitA( )        { SetA(0); }
  double  GetB()          { return CharNToDouble((lpB()),8,3); }
  void    SetB(double _p) { DoubleToCharN((lpB()),8,3,_p); }
  void    InitB( )        { SetB(0.00); }

  LPVOID GetDataAddr()        { return (LPVOID)(lpA()); }
  int    GetDataSize()        { return 12; }
  BOOL   CheckCompilerType()  { return(GetDataSize() == sizeof(*this)); }

  void Init()
  {
  #ifdef TAB_DATA_DEBUG
     if (! CheckCompilerType())
        ::MessageBox(::GetDesktopWindow(),"Unerwartetes sizeof()-Ergebnis in 'c_ZAHLEN'",NULL,MB_OK );
  #endif

    InitA();
    InitB();
  }
  c_ZAHLEN()  { Init(); }
  int    GetNumKeys()   { return 1; }
  int    GetNumFields()   { return 2; }
  LPSTR  GetFieldName(int nFld);
  LPVOID GetFieldAddr(int nFld);
  int    GetFieldType(int nFld);
  int    GetFieldLen(int nFld);
  int    GetFieldDec(int nFld);
  int    GetKeySize(int nKey)
  {
    if (nKey==0)  return 4;
    return 0;
  }
  int MakeKey(int nKey,LPSTR lpDst)
  {
    int __nLen = 0;
    if (nKey==0)
    {
      _fmemcpy(lpDst,lpA(),4);
      lpDst  += 4;
      __nLen += 4;
      return __nLen;
    }
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
typedef c_ZAHLEN  FAR * LPc_ZAHLEN;
#pragma pack(pop)

#ifdef GEN_CODE_FOR_ZAHLEN
LPSTR c_ZAHLEN::GetFieldName(int nFld)
{
  switch(nFld)
  {
  case 0: return "A";
  case 1: return "B";
  default: return NULL;
  }
}
#endif

#ifdef GEN_CODE_FOR_ZAHLEN
LPVOID c_ZAHLEN::GetFieldAddr(int nFld)
{
  switch(nFld)
  {
  case 0: return lpA();
  case 1: return lpB();
  default: return NULL;
  }
}
#endif

#ifdef GEN_CODE_FOR_ZAHLEN
int c_ZAHLEN::GetFieldType(int nFld)
{
  switch(nFld)
  {
  case 0: return 'l';
  case 1: return 'N';
  default: return 0;
  }
}
#endif

#ifdef GEN_CODE_FOR_ZAHLEN
int c_ZAHLEN::GetFieldLen(int nFld)
{
  switch(nFld)
  {
  case 0: return 4;
  case 1: return 8;
  default: return 0;
  }
}
#endif

#ifdef GEN_CODE_FOR_ZAHLEN
int c_ZAHLEN::GetFieldDec(int nFld)
{
  switch(nFld)
  {
  case 0: return 0;
  case 1: return 3;
  default: return 0;
  }
}
#endif

#ifdef GEN_CODE_FOR_ZAHLEN
void c_ZAHLEN::GenExport(LPSTR lpDst)
{
     int i;

     lstrcpy(lpDst,"ZAHLEN");
     for (i=0; i < GetNumFields();i++ )
       rv_FieldExport(lpDst,(LPSTR)GetFieldAddr(i),GetFieldType(i),GetFieldLen(i),GetFieldDec(i),TRUE );
}
#endif

#ifdef GEN_CODE_FOR_ZAHLEN
BOOL c_ZAHLEN::GetImport(LPSTR lpDst)
{
   char  szTmp[32];
   int   i;
   LPSTR lpTmp;

   lpTmp = rv_FieldImport( lpDst,szTmp,'c',32,0 );
   if (0 != lstrcmp(szTmp,"ZAHLEN"))
        return FALSE;

   for (i=0; i < GetNumFields();i++ )
       lpTmp = rv_FieldImport(lpTmp,(LPSTR)GetFieldAddr(i),GetFieldType(i),GetFieldLen(i),GetFieldDec(i) );
   return TRUE;
}
#endif

#ifdef GEN_CODE_FOR_ZAHLEN
void c_ZAHLEN::GenXML(
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
  if (! lpTagName) lpTagName = "ZAHLEN";
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

#ifdef GEN_CODE_FOR_ZAHLEN
void c_ZAHLEN::ScanXML(
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
#endif /* INC_ZAHLEN_H */
