#ifndef INC_ARTIKEL_H
#define INC_ARTIKEL_H
#ifndef RC_INVOKED
#ifndef TAB_DATA_CLASS
#define TAB_DATA_CLASS(Class_Name) class FAR Class_Name
#endif
#ifdef GEN_CODE_TAB_DATA_CLASS_ALL
#ifndef GEN_CODE_FOR_ARTIKEL
#define GEN_CODE_FOR_ARTIKEL
#endif
#endif

#pragma pack(push)
#pragma pack(1)
// Strukturdefinition ARTIKEL

// TAB_DATA_CLASS( c_ARTIKEL )
class FAR c_ARTIKEL
{
public: /* Datenfelder im Direktzugriff */

  T3Ktext10     m_ARTNR;
  T3LKey30      m_BEZ;
  T3Num_9n2     m_PREIS;
  T3Long        m_LAGER;
  T3Date        m_SEIT;
  T3Ktext1      m_STATUS;

public: /* Datenfelder als Adressen darstellen */

  LPSTR  lpARTNR()        { return (LPSTR)(m_ARTNR.GetDataAddr()); }
  LPSTR  lpBEZ()          { return (LPSTR)(m_BEZ.GetDataAddr()); }
  LPSTR  lpPREIS()        { return (LPSTR)(m_PREIS.GetDataAddr()); }
  LPSTR  lpLAGER()        { return (LPSTR)(m_LAGER.GetDataAddr()); }
  LPSTR  lpSEIT()         { return (LPSTR)(m_SEIT.GetDataAddr()); }
  LPSTR  lpSTATUS()       { return (LPSTR)(m_STATUS.GetDataAddr()); }

public:

  void  sGetARTNR(LPSTR _p)			{ CharNToString(_p,(lpARTNR()),11,10); }
  void  sSetARTNR(LPSTR _p)			{ CharNFromString(_p,(lpARTNR()),10); }
  void  cGetARTNR(LPSTR _p,int _n)	{ CharNToString(_p,(lpARTNR()),_n,10); }
  void  InitARTNR( )                 { _fmemset((lpARTNR()),' ',10); }
  void  sGetBEZ(LPSTR _p)			{ CharNToString(_p,(lpBEZ()),31,30); }
  void  sSetBEZ(LPSTR _p)			{ CharUFromString(_p,(lpBEZ()),30); }
  void  cGetBEZ(LPSTR _p,int _n)	{ CharNToString(_p,(lpBEZ()),_n,30); }
  void  InitBEZ( )                 { _fmemset((lpBEZ()),' ',30); }
  double  GetPREIS()          { return CharNToDouble((lpPREIS()),9,2); }
  void    SetPREIS(double _p) { DoubleToCharN((lpPREIS()),9,2,_p); }
  void    InitPREIS( )        { SetPREIS(0.00); }
  long    GetLAGER()          { return *((long FAR *)(lpLAGER())); }
  void    SetLAGER(long _p)   { *((long FAR *)(lpLAGER())) = _p; }
  void    InitLAGER( )        { SetLAGER(0); }
  long    GetSEIT( )         { return StrDatumToLong((lpSEIT())); }
  void    SetSEIT(long _p)   { StrDatumFromLong((lpSEIT()),_p); }
  void    sGetSEIT(LPSTR _p) { _fmemcpy(_p,(lpSEIT()),10); _p[10] = 0; }
  void    sSetSEIT(LPSTR _p) { _fmemcpy((lpSEIT()),_p,10); }
  void    InitSEIT( )        { SetSEIT(0); }
  void  sGetSTATUS(LPSTR _p)			{ CharNToString(_p,(lpSTATUS()),2,1); }
  void  sSetSTATUS(LPSTR _p)			{ CharNFromString(_p,(lpSTATUS()),1); }
  void  cGetSTATUS(LPSTR _p,int _n)	{ CharNToString(_p,(lpSTATUS()),_n,1); }
  void  InitSTATUS( )                 { _fmemset((lpSTATUS()),' ',1); }

  LPVOID GetDataAddr()        { return (LPVOID)(lpARTNR()); }
  int    GetDataSize()        { return 64; }
  BOOL   CheckCompilerType()  { return(GetDataSize() == sizeof(*this)); }

  void Init()
  {
  #ifdef TAB_DATA_DEBUG
     if (! CheckCompilerType())
        ::MessageBox(::GetDesktopWindow(),"Unerwartetes sizeof()-Ergebnis in 'c_ARTIKEL'",NULL,MB_OK );
  #endif

    InitARTNR();
    InitBEZ();
    InitPREIS();
    InitLAGER();
    InitSEIT();
    InitSTATUS();
  }
  c_ARTIKEL()  { Init(); }
  int    GetNumKeys()   { return 4; }
  int    GetNumFields()   { return 6; }
  LPSTR  GetFieldName(int nFld);
  LPVOID GetFieldAddr(int nFld);
  int    GetFieldType(int nFld);
  int    GetFieldLen(int nFld);
  int    GetFieldDec(int nFld);
  int    GetKeySize(int nKey)
  {
    if (nKey==0)  return 10;
    if (nKey==1)  return 40;
    if (nKey==2)  return 10;
    if (nKey==3)  return 9;
    return 0;
  }
  int MakeKey(int nKey,LPSTR lpDst)
  {
    int __nLen = 0;
    if (nKey==0)
    {
      _fmemcpy(lpDst,lpARTNR(),10);
      lpDst  += 10;
      __nLen += 10;
      return __nLen;
    }
    if (nKey==1)
    {
      _fmemcpy(lpDst,lpBEZ(),30);
      lpDst  += 30;
      __nLen += 30;
      _fmemcpy(lpDst,lpARTNR(),10);
      lpDst  += 10;
      __nLen += 10;
      return __nLen;
    }
    if (nKey==2)
    {
      _fmemcpy(lpDst  ,lpSEIT()+6,4);
      *(lpDst+4) = '-';
      _fmemcpy(lpDst+5,lpSEIT()+3,2);
      *(lpDst+7) = '-';
      _fmemcpy(lpDst+8,lpSEIT()  ,2);
      lpDst  += 10;
      __nLen += 10;
      return __nLen;
    }
    if (nKey==3)
    {
      _fmemcpy(lpDst,lpPREIS(),9);
      lpDst  += 9;
      __nLen += 9;
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
typedef c_ARTIKEL  FAR * LPc_ARTIKEL;
#pragma pack(pop)

#ifdef GEN_CODE_FOR_ARTIKEL
LPSTR c_ARTIKEL::GetFieldName(int nFld)
{
  switch(nFld)
  {
  case 0: return "ARTNR";
  case 1: return "BEZ";
  case 2: return "PREIS";
  case 3: return "LAGER";
  case 4: return "SEIT";
  case 5: return "STATUS";
  default: return NULL;
  }
}
#endif

#ifdef GEN_CODE_FOR_ARTIKEL
LPVOID c_ARTIKEL::GetFieldAddr(int nFld)
{
  switch(nFld)
  {
  case 0: return lpARTNR();
  case 1: return lpBEZ();
  case 2: return lpPREIS();
  case 3: return lpLAGER();
  case 4: return lpSEIT();
  case 5: return lpSTATUS();
  default: return NULL;
  }
}
#endif

#ifdef GEN_CODE_FOR_ARTIKEL
int c_ARTIKEL::GetFieldType(int nFld)
{
  switch(nFld)
  {
  case 0: return 'C';
  case 1: return 'u';
  case 2: return 'N';
  case 3: return 'l';
  case 4: return 'D';
  case 5: return 'C';
  default: return 0;
  }
}
#endif

#ifdef GEN_CODE_FOR_ARTIKEL
int c_ARTIKEL::GetFieldLen(int nFld)
{
  switch(nFld)
  {
  case 0: return 10;
  case 1: return 30;
  case 2: return 9;
  case 3: return 4;
  case 4: return 10;
  case 5: return 1;
  default: return 0;
  }
}
#endif

#ifdef GEN_CODE_FOR_ARTIKEL
int c_ARTIKEL::GetFieldDec(int nFld)
{
  switch(nFld)
  {
  case 0: return 0;
  case 1: return 0;
  case 2: return 2;
  case 3: return 0;
  case 4: return 0;
  case 5: return 0;
  default: return 0;
  }
}
#endif

#ifdef GEN_CODE_FOR_ARTIKEL
void c_ARTIKEL::GenExport(LPSTR lpDst)
{
     int i;

     lstrcpy(lpDst,"ARTIKEL");
     for (i=0; i < GetNumFields();i++ )
       rv_FieldExport(lpDst,(LPSTR)GetFieldAddr(i),GetFieldType(i),GetFieldLen(i),GetFieldDec(i),TRUE );
}
#endif

#ifdef GEN_CODE_FOR_ARTIKEL
BOOL c_ARTIKEL::GetImport(LPSTR lpDst)
{
   char  szTmp[32];
   int   i;
   LPSTR lpTmp;

   lpTmp = rv_FieldImport( lpDst,szTmp,'c',32,0 );
   if (0 != lstrcmp(szTmp,"ARTIKEL"))
        return FALSE;

   for (i=0; i < GetNumFields();i++ )
       lpTmp = rv_FieldImport(lpTmp,(LPSTR)GetFieldAddr(i),GetFieldType(i),GetFieldLen(i),GetFieldDec(i) );
   return TRUE;
}
#endif

#ifdef GEN_CODE_FOR_ARTIKEL
void c_ARTIKEL::GenXML(
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
  if (! lpTagName) lpTagName = "ARTIKEL";
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

#ifdef GEN_CODE_FOR_ARTIKEL
void c_ARTIKEL::ScanXML(
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
#endif /* INC_ARTIKEL_H */
