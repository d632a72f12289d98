#ifndef INC_KUNDE_H
#define INC_KUNDE_H
#ifndef RC_INVOKED
#ifndef TAB_DATA_CLASS
#define TAB_DATA_CLASS(Class_Name) class FAR Class_Name
#endif
#ifdef GEN_CODE_TAB_DATA_CLASS_ALL
#ifndef GEN_CODE_FOR_KUNDE
#define GEN_CODE_FOR_KUNDE
#endif
#endif

#pragma pack(push)
#pragma pack(1)
// Strukturdefinition KUNDE

// TAB_DATA_CLASS( c_KUNDE )
class FAR c_KUNDE
{
public: /* Datenfelder im Direktzugriff */

  T3Long        m_NR;
  T3LKey20      m_NAME;
  T3Ktext15     m_ORT;
  T3Ktext1      m_KZ;
  T3Date        m_DATUM;
  T3Bool_TF     m_AKTIV;
  T3Tiny        m_STUFE;
  T3Num_9n2     m_BETRAG;
  T3Num_6x      m_MENGE;
  T3Num_12x     m_GROSS;
  T3Double_4    m_KURS;
  T3Short       m_ANZAHL;
  T3Cobol_5n2   m_PACKED;
  T3Cobol_3x    m_BIN;
  T3Cobol_Dat   m_ALTDAT;
  T3Ktext40     m_NOTIZ;

public: /* Datenfelder als Adressen darstellen */

  LPSTR  lpNR()           { return (LPSTR)(m_NR.GetDataAddr()); }
  LPSTR  lpNAME()         { return (LPSTR)(m_NAME.GetDataAddr()); }
  LPSTR  lpORT()          { return (LPSTR)(m_ORT.GetDataAddr()); }
  LPSTR  lpKZ()           { return (LPSTR)(m_KZ.GetDataAddr()); }
  LPSTR  lpDATUM()        { return (LPSTR)(m_DATUM.GetDataAddr()); }
  LPSTR  lpAKTIV()        { return (LPSTR)(m_AKTIV.GetDataAddr()); }
  LPSTR  lpSTUFE()        { return (LPSTR)(m_STUFE.GetDataAddr()); }
  LPSTR  lpBETRAG()       { return (LPSTR)(m_BETRAG.GetDataAddr()); }
  LPSTR  lpMENGE()        { return (LPSTR)(m_MENGE.GetDataAddr()); }
  LPSTR  lpGROSS()        { return (LPSTR)(m_GROSS.GetDataAddr()); }
  LPSTR  lpKURS()         { return (LPSTR)(m_KURS.GetDataAddr()); }
  LPSTR  lpANZAHL()       { return (LPSTR)(m_ANZAHL.GetDataAddr()); }
  LPSTR  lpPACKED()       { return (LPSTR)(m_PACKED.GetDataAddr()); }
  LPSTR  lpBIN()          { return (LPSTR)(m_BIN.GetDataAddr()); }
  LPSTR  lpALTDAT()       { return (LPSTR)(m_ALTDAT.GetDataAddr()); }
  LPSTR  lpNOTIZ()        { return (LPSTR)(m_NOTIZ.GetDataAddr()); }

public:

  long    GetNR()          { return *((long FAR *)(lpNR())); }
  void    SetNR(long _p)   { *((long FAR *)(lpNR())) = _p; }
  void    InitNR( )        { SetNR(0); }
  void  sGetNAME(LPSTR _p)			{ CharNToString(_p,(lpNAME()),21,20); }
  void  sSetNAME(LPSTR _p)			{ CharUFromString(_p,(lpNAME()),20); }
  void  cGetNAME(LPSTR _p,int _n)	{ CharNToString(_p,(lpNAME()),_n,20); }
  void  InitNAME( )                 { _fmemset((lpNAME()),' ',20); }
  void  sGetORT(LPSTR _p)			{ CharNToString(_p,(lpORT()),16,15); }
  void  sSetORT(LPSTR _p)			{ CharNFromString(_p,(lpORT()),15); }
  void  cGetORT(LPSTR _p,int _n)	{ CharNToString(_p,(lpORT()),_n,15); }
  void  InitORT( )                 { _fmemset((lpORT()),' ',15); }
  void  sGetKZ(LPSTR _p)			{ CharNToString(_p,(lpKZ()),2,1); }
  void  sSetKZ(LPSTR _p)			{ CharNFromString(_p,(lpKZ()),1); }
  void  cGetKZ(LPSTR _p,int _n)	{ CharNToString(_p,(lpKZ()),_n,1); }
  void  InitKZ( )                 { _fmemset((lpKZ()),' ',1); }
  long    GetDATUM( )         { return StrDatumToLong((lpDATUM())); }
  void    SetDATUM(long _p)   { StrDatumFromLong((lpDATUM()),_p); }
  void    sGetDATUM(LPSTR _p) { _fmemcpy(_p,(lpDATUM()),10); _p[10] = 0; }
  void    sSetDATUM(LPSTR _p) { _fmemcpy((lpDATUM()),_p,10); }
  void    InitDATUM( )        { SetDATUM(0); }
  BOOL    GetAKTIV()          { return(((lpAKTIV())[0] == 'T') ? TRUE : FALSE); }
  void    SetAKTIV(BOOL _p)   { (lpAKTIV())[0] = ( _p ? 'T' : 'F'); }
  void    InitAKTIV( )        { SetAKTIV(FALSE); }
  BYTE    GetSTUFE()          { return *((BYTE FAR *)(lpSTUFE())); }
  void    SetSTUFE(BYTE _p)   { *((BYTE FAR *)(lpSTUFE())) = _p; }
  void    InitSTUFE( )        { SetSTUFE(0); }
  double  GetBETRAG()          { return CharNToDouble((lpBETRAG()),9,2); }
  void    SetBETRAG(double _p) { DoubleToCharN((lpBETRAG()),9,2,_p); }
  void    InitBETRAG( )        { SetBETRAG(0.00); }
  long    GetMENGE()          { return CharNToLong((lpMENGE()),6); }
  void    SetMENGE(long _p)   { LongToCharN((lpMENGE()),6,_p); }
  void    InitMENGE( )        { SetMENGE(0); }
  long    GetGROSS()          { return CharNToLong((lpGROSS()),12); }
  void    SetGROSS(long _p)   { LongToCharN((lpGROSS()),12,_p); }
  void    InitGROSS( )        { SetGROSS(0); }
  double  GetKURS()          { return dRnd(*((double FAR *)(lpKURS())),4); }
  void    SetKURS(double _p) { *((double FAR *)(lpKURS())) = _p; }
  void    InitKURS( )        { SetKURS(0.00); }
  short   GetANZAHL()          { return *((short FAR *)(lpANZAHL())); }
  void    SetANZAHL(short _p)  { *((short FAR *)(lpANZAHL())) = _p; }
  void    InitANZAHL( )        { SetANZAHL(0); }
  double  GetPACKED()          { return CobolNToDouble((lpPACKED()),5,2); }
  void    SetPACKED(double _p) { DoubleToCobolN((lpPACKED()),5,2,_p); }
  void    InitPACKED( )        { SetPACKED(0.00); }
  long    GetBIN()          { return CobolXToLong((lpBIN()),3); }
  void    SetBIN(long _p)   { LongToCobolX((lpBIN()),3,_p); }
  void    InitBIN( )        { SetBIN(0); }
  long    GetALTDAT( )            { return CobolDatumToLong((lpALTDAT())); }
  void    SetALTDAT(long _p)      { CobolDatumFromLong((lpALTDAT()),_p); }
  void    sGetALTDAT(LPSTR _p)    { CobolDatumToString(_p,(lpALTDAT())); }
  void    sSetALTDAT(LPSTR _p)    { CobolDatumFromString(_p,(lpALTDAT())); }
  void    InitALTDAT( )           { SetALTDAT(0); }
  void  sGetNOTIZ(LPSTR _p)			{ CharNToString(_p,(lpNOTIZ()),41,40); }
  void  sSetNOTIZ(LPSTR _p)			{ CharNFromString(_p,(lpNOTIZ()),40); }
  void  cGetNOTIZ(LPSTR _p,int _n)	{ CharNToString(_p,(lpNOTIZ()),_n,40); }
  void  InitNOTIZ( )                 { _fmemset((lpNOTIZ()),' ',40); }

  LPVOID GetDataAddr()        { return (LPVOID)(lpNR()); }
  int    GetDataSize()        { return 141; }
  BOOL   CheckCompilerType()  { return(GetDataSize() == sizeof(*this)); }

  void Init()
  {
  #ifdef TAB_DATA_DEBUG
     if (! CheckCompilerType())
        ::MessageBox(::GetDesktopWindow(),"Unerwartetes sizeof()-Ergebnis in 'c_KUNDE'",NULL,MB_OK );
  #endif

    InitNR();
    InitNAME();
    InitORT();
    InitKZ();
    InitDATUM();
    InitAKTIV();
    InitSTUFE();
    InitBETRAG();
    InitMENGE();
    InitGROSS();
    InitKURS();
    InitANZAHL();
    InitPACKED();
    InitBIN();
    InitALTDAT();
    InitNOTIZ();
  }
  c_KUNDE()  { Init(); }
  int    GetNumKeys()   { return 5; }
  int    GetNumFields()   { return 16; }
  LPSTR  GetFieldName(int nFld);
  LPVOID GetFieldAddr(int nFld);
  int    GetFieldType(int nFld);
  int    GetFieldLen(int nFld);
  int    GetFieldDec(int nFld);
  int    GetKeySize(int nKey)
  {
    if (nKey==0)  return 4;
    if (nKey==1)  return 35;
    if (nKey==2)  return 14;
    if (nKey==3)  return 1;
    if (nKey==4)  return 15;
    return 0;
  }
  int MakeKey(int nKey,LPSTR lpDst)
  {
    int __nLen = 0;
    if (nKey==0)
    {
      _fmemcpy(lpDst,lpNR(),4);
      lpDst  += 4;
      __nLen += 4;
      return __nLen;
    }
    if (nKey==1)
    {
      _fmemcpy(lpDst,lpNAME(),20);
      lpDst  += 20;
      __nLen += 20;
      _fmemcpy(lpDst,lpORT(),15);
      lpDst  += 15;
      __nLen += 15;
      return __nLen;
    }
    if (nKey==2)
    {
      _fmemcpy(lpDst  ,lpDATUM()+6,4);
      *(lpDst+4) = '-';
      _fmemcpy(lpDst+5,lpDATUM()+3,2);
      *(lpDst+7) = '-';
      _fmemcpy(lpDst+8,lpDATUM()  ,2);
      lpDst  += 10;
      __nLen += 10;
      _fmemcpy(lpDst,lpNR(),4);
      lpDst  += 4;
      __nLen += 4;
      return __nLen;
    }
    if (nKey==3)
    {
      _fmemcpy(lpDst,lpKZ(),1);
      lpDst  += 1;
      __nLen += 1;
      return __nLen;
    }
    if (nKey==4)
    {
      _fmemcpy(lpDst,lpBETRAG(),9);
      lpDst  += 9;
      __nLen += 9;
      _fmemcpy(lpDst,lpMENGE(),6);
      lpDst  += 6;
      __nLen += 6;
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
typedef c_KUNDE  FAR * LPc_KUNDE;
#pragma pack(pop)

#ifdef GEN_CODE_FOR_KUNDE
LPSTR c_KUNDE::GetFieldName(int nFld)
{
  switch(nFld)
  {
  case 0: return "NR";
  case 1: return "NAME";
  case 2: return "ORT";
  case 3: return "KZ";
  case 4: return "DATUM";
  case 5: return "AKTIV";
  case 6: return "STUFE";
  case 7: return "BETRAG";
  case 8: return "MENGE";
  case 9: return "GROSS";
  case 10: return "KURS";
  case 11: return "ANZAHL";
  case 12: return "PACKED";
  case 13: return "BIN";
  case 14: return "ALTDAT";
  case 15: return "NOTIZ";
  default: return NULL;
  }
}
#endif

#ifdef GEN_CODE_FOR_KUNDE
LPVOID c_KUNDE::GetFieldAddr(int nFld)
{
  switch(nFld)
  {
  case 0: return lpNR();
  case 1: return lpNAME();
  case 2: return lpORT();
  case 3: return lpKZ();
  case 4: return lpDATUM();
  case 5: return lpAKTIV();
  case 6: return lpSTUFE();
  case 7: return lpBETRAG();
  case 8: return lpMENGE();
  case 9: return lpGROSS();
  case 10: return lpKURS();
  case 11: return lpANZAHL();
  case 12: return lpPACKED();
  case 13: return lpBIN();
  case 14: return lpALTDAT();
  case 15: return lpNOTIZ();
  default: return NULL;
  }
}
#endif

#ifdef GEN_CODE_FOR_KUNDE
int c_KUNDE::GetFieldType(int nFld)
{
  switch(nFld)
  {
  case 0: return 'l';
  case 1: return 'u';
  case 2: return 'C';
  case 3: return 'C';
  case 4: return 'D';
  case 5: return 'L';
  case 6: return 'b';
  case 7: return 'N';
  case 8: return 'N';
  case 9: return 'N';
  case 10: return 'd';
  case 11: return 's';
  case 12: return 'n';
  case 13: return 'x';
  case 14: return 'o';
  case 15: return 'C';
  default: return 0;
  }
}
#endif

#ifdef GEN_CODE_FOR_KUNDE
int c_KUNDE::GetFieldLen(int nFld)
{
  switch(nFld)
  {
  case 0: return 4;
  case 1: return 20;
  case 2: return 15;
  case 3: return 1;
  case 4: return 10;
  case 5: return 1;
  case 6: return 1;
  case 7: return 9;
  case 8: return 6;
  case 9: return 12;
  case 10: return 8;
  case 11: return 2;
  case 12: return 5;
  case 13: return 3;
  case 14: return 4;
  case 15: return 40;
  default: return 0;
  }
}
#endif

#ifdef GEN_CODE_FOR_KUNDE
int c_KUNDE::GetFieldDec(int nFld)
{
  switch(nFld)
  {
  case 0: return 0;
  case 1: return 0;
  case 2: return 0;
  case 3: return 0;
  case 4: return 0;
  case 5: return 0;
  case 6: return 0;
  case 7: return 2;
  case 8: return 0;
  case 9: return 0;
  case 10: return 4;
  case 11: return 0;
  case 12: return 2;
  case 13: return 0;
  case 14: return 0;
  case 15: return 0;
  default: return 0;
  }
}
#endif

#ifdef GEN_CODE_FOR_KUNDE
void c_KUNDE::GenExport(LPSTR lpDst)
{
     int i;

     lstrcpy(lpDst,"KUNDE");
     for (i=0; i < GetNumFields();i++ )
       rv_FieldExport(lpDst,(LPSTR)GetFieldAddr(i),GetFieldType(i),GetFieldLen(i),GetFieldDec(i),TRUE );
}
#endif

#ifdef GEN_CODE_FOR_KUNDE
BOOL c_KUNDE::GetImport(LPSTR lpDst)
{
   char  szTmp[32];
   int   i;
   LPSTR lpTmp;

   lpTmp = rv_FieldImport( lpDst,szTmp,'c',32,0 );
   if (0 != lstrcmp(szTmp,"KUNDE"))
        return FALSE;

   for (i=0; i < GetNumFields();i++ )
       lpTmp = rv_FieldImport(lpTmp,(LPSTR)GetFieldAddr(i),GetFieldType(i),GetFieldLen(i),GetFieldDec(i) );
   return TRUE;
}
#endif

#ifdef GEN_CODE_FOR_KUNDE
void c_KUNDE::GenXML(
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
  if (! lpTagName) lpTagName = "KUNDE";
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

#ifdef GEN_CODE_FOR_KUNDE
void c_KUNDE::ScanXML(
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
#endif /* INC_KUNDE_H */
