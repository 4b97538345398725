#include "rtf_samples.h"

namespace rtfsamples {

QByteArray wordPad()
{
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}"
           "{\\f1\\fnil\\fcharset2 Symbol;}}\r\n"
           "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
           "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
           "\\pard\\sa200\\sl276\\slmult1\\cf1\\b\\f0\\fs22\\lang9 Meeting\\cf0\\b0\\par\r\n"
           "\\i Bring \\u8364?5 \\f1\\'b3\\f0  10\\i0\\par\r\n"
           "\\pard\\qc{\\pict{\\*\\picprop}\\wmetafile8\\picw265\\pich265\\picwgoal150\\pichgoal150 \r\n"
           "010009000003500000000000270000000000040000000301080005000000\r\n"
           "0b0200000000050000000c02090009000300000000000000\r\n"
           "}\\par\r\n"
           "}\r\n";
}

QByteArray word()
{
    return "{\\rtf1\\adeflang1025\\ansi\\ansicpg1252\\uc1\\adeff31507\\deff0\\stshfdbch31505\\stshfloch31506\\stshfhich31506"
           "\\stshfbi31507\\deflang1033\\deflangfe1033\\themelang1033\\themelangfe0\\themelangcs0{\\fonttbl{\\f0\\fbidi \\froman"
           "\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}Times New Roman;}{\\f3\\fbidi \\froman\\fcharset2\\fprq2"
           "{\\*\\panose 05050102010706020507}Symbol;}\r\n"
           "{\\f37\\fbidi \\fswiss\\fcharset0\\fprq2{\\*\\panose 020f0502020204030204}Calibri;}{\\f39\\fbidi \\fswiss"
           "\\fcharset238\\fprq2 Calibri CE;}{\\f40\\fbidi \\fswiss\\fcharset204\\fprq2 Calibri Cyr;}}"
           "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\ctextone\\ctint255\\cshade255\\red0\\green0\\blue0;}"
           "{\\*\\defchp \\fs22\\loch\\af31506\\hich\\af31506\\dbch\\af31505 }{\\*\\defpap \\ql \\li0\\ri0\\sa160\\sl259"
           "\\slmult1\\widctlpar\\wrapdefault\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0 }\\noqfpromote "
           "{\\stylesheet{\\ql \\li0\\ri0\\sa160\\sl259\\slmult1\\widctlpar\\wrapdefault\\aspalpha\\aspnum\\faauto\\adjustright"
           "\\rin0\\lin0\\itap0 \\rtlch\\fcs1 \\af31507\\afs22\\alang1025 \\ltrch\\fcs0 \\fs22\\lang1033\\langfe1033\\loch"
           "\\f31506\\hich\\af31506\\dbch\\af31505\\cgrid\\langnp1033\\langfenp1033 \\snext0 \\sqformat \\spriority0 Normal;}"
           "{\\*\\cs10 \\additive \\ssemihidden \\sunhideused \\spriority1 Default Paragraph Font;}}\r\n"
           "{\\*\\listtable{\\list\\listtemplateid-1\\listhybrid{\\listlevel\\levelnfc23\\levelnfcn23\\leveljc0\\leveljcn0"
           "\\levelfollow0\\levelstartat1\\lvltentative{\\leveltext\\leveltemplateid67698689\\'01\\u-3913 ?;}{\\levelnumbers;}"
           "\\f3\\fbias0 \\fi-360\\li720\\lin720 }{\\listname ;}\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1"
           "\\listoverridecount0\\ls1}}\r\n"
           "{\\*\\rsidtbl \\rsid1\\rsid2}{\\mmathPr\\mmathFont34\\mbrkBin0}{\\*\\xmlnstbl {\\xmlns1 http://schemas.microsoft.com/office/word/2003/wordml}}\r\n"
           "{\\*\\generator Microsoft Word 16.0;}{\\info{\\title Notes}{\\author A. User}{\\creatim\\yr2024\\mo3\\dy1\\hr9\\min5}"
           "{\\version1}{\\edmins0}{\\nofpages1}}\r\n"
           "\\paperw12240\\paperh15840\\margl1440\\margr1440\\margt1440\\margb1440 \\fet0\\sectd \\ltrsect\\linex0\\endnhere"
           "\\sectlinegrid360\\sectdefaultcl\\sftnbj {\\*\\pnseclvl1\\pnucrm\\pnstart1\\pnindent720\\pnhang {\\pntxta .}}\r\n"
           "\\pard\\plain \\ltrpar\\ql \\li0\\ri0\\sa160\\sl259\\slmult1\\widctlpar\\wrapdefault\\aspalpha\\aspnum\\faauto"
           "\\adjustright\\rin0\\lin0\\itap0 \\rtlch\\fcs1 \\af31507\\afs22\\alang1025 \\ltrch\\fcs0 \\fs22\\lang1033"
           "\\langfe1033\\loch\\af31506\\hich\\af31506\\dbch\\af31505\\cgrid\\langnp1033\\langfenp1033 {\\rtlch\\fcs1 \\af31507 "
           "\\ltrch\\fcs0 \\b\\cf2\\insrsid1 Team }{\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\i\\insrsid2 lunch\\par }\r\n"
           "{\\listtext\\pard\\plain\\ltrpar \\rtlch\\fcs1 \\af0\\afs22 \\ltrch\\fcs0 \\f3\\fs22\\insrsid1 \\loch\\af3\\hich\\af3"
           "\\dbch\\af31505\\insrsid1 \\'b7\\tab}\\pard\\plain \\ltrpar\\ql \\fi-360\\li720\\ri0\\sa160\\widctlpar\\ls1\\rin0"
           "\\lin720\\itap0 {\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\fs22\\insrsid1 Item \\hich\\af39\\dbch\\af31505\\loch\\f39 "
           "\\'9a\\loch\\f40 \\'c4\\'e0\\par }\r\n"
           "\\pard \\ltrpar\\qc {\\field{\\*\\fldinst {\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\insrsid1  HYPERLINK \"http://x.example\" }}"
           "{\\fldrslt {\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\ul\\cf2\\insrsid1 link}}}{\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 "
           "\\insrsid1 \\par }\r\n"
           "{\\*\\themedata 504b030414000600080000002100e9de0fbfff0000001c020000130000005b436f6e74656e745f54797065735d2e786d6c}\r\n"
           "{\\*\\colorschememapping 3c3f786d6c2076657273696f6e3d22312e30}\r\n"
           "{\\*\\latentstyles\\lsdstimax376\\lsdlockeddef0{\\lsdlockedexcept \\lsdqformat1 \\lsdpriority0 \\lsdlocked0 Normal;}}\r\n"
           "{\\*\\datastore 01050000020000001800000050006100}}\r\n";
}

QByteArray libreOffice()
{
    return "{\\rtf1\\ansi\\deff4\\adeflang1025\r\n"
           "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f1\\froman\\fprq2\\fcharset2 Symbol;}"
           "{\\f2\\fswiss\\fprq2\\fcharset0 Arial;}{\\f3\\froman\\fprq2\\fcharset0 Liberation Serif{\\*\\falt Times New Roman};}"
           "{\\f4\\fswiss\\fprq2\\fcharset0 Liberation Sans{\\*\\falt Arial};}{\\f5\\fnil\\fprq2\\fcharset0 Noto Sans CJK SC;}}\r\n"
           "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}\r\n"
           "{\\stylesheet{\\s0\\snext0\\dbch\\af5\\langfe2052\\dbch\\af6\\afs24\\alang1081\\loch\\f3\\hich\\af3\\fs24\\lang1033 Normal;}\r\n"
           "{\\s15\\sbasedon0\\snext16\\ql\\sb240\\sa120\\keepn\\dbch\\af5\\dbch\\af6\\afs28\\loch\\f4\\fs28 Heading;}\r\n"
           "}{\\*\\generator LibreOffice/7.4.7.2$Linux_X86_64 LibreOffice_project/40$Build-2}{\\info{\\creatim\\yr2024\\mo1\\dy5"
           "\\hr10\\min3}{\\revtim\\yr2024\\mo1\\dy5\\hr10\\min4}{\\printim\\yr0\\mo0\\dy0\\hr0\\min0}}{\\*\\userprops}\\deftab709\r\n"
           "\\hyphauto1\\viewscale100\r\n"
           "{\\*\\pgdsctbl\r\n"
           "{\\pgdsc0\\pgdscuse451\\pgwsxn11906\\pghsxn16838\\marglsxn1134\\margrsxn1134\\margtsxn1134\\margbsxn1134\\pgdscnxt0 "
           "Default Page Style;}}\r\n"
           "\\formshade{\\*\\pgdscno0}\\paperh16838\\paperw11906\\margl1134\\margr1134\\margt1134\\margb1134\\sectd\\sbknone"
           "\\sftnnar\\saftnnar\\pgwsxn11906\\pghsxn16838\\marglsxn1134\\margrsxn1134\\margtsxn1134\\margbsxn1134\\ftnbj"
           "\\ftnstart1\\ftnrstcont\\ftnnar\\aenddoc\\aftnrstcont\\aftnstart1\\aftnnrlc\r\n"
           "{\\*\\ftnsep\\chftnsep}\\pgndec\\pard\\plain \\s0\\dbch\\af5\\langfe2052\\dbch\\af6\\afs24\\alang1081\\loch\\f3\\hich"
           "\\af3\\fs24\\lang1033\\qc{\\loch\\f2\\fs20\\cf2\\b\\loch\r\n"
           "Birthday}{\\loch\\f2\\fs20\\loch\r\n"
           " \\u8211\\'96 Anna \\u1040\\'3f}\r\n"
           "\\par \\pard\\plain \\s0\\dbch\\af5\\langfe2052\\dbch\\af6\\afs24\\alang1081\\loch\\f3\\hich\\af3\\fs24\\lang1033\\ql"
           "{\\i\\strike\\loch\r\n"
           "Done}{\\loch\\f1 \\'61}\r\n"
           "\\par }";
}

QByteArray pastedFromWord()
{
    // What the clipboard's "Rich Text Format" holds after copying part of a line.
    return "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fswiss\\fcharset0 Calibri;}}"
           "{\\colortbl;\\red0\\green0\\blue0;\\red192\\green0\\blue0;}{\\*\\generator Microsoft Word 11.0.8173;}"
           "{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}}\\listid7}}"
           "{\\*\\rsidtbl \\rsid7304\\rsid4485}\\viewkind1{\\*\\pgptbl {\\pgp\\ipgp0\\itap0\\li0\\ri0\\sb0\\sa0}}"
           "\\pard\\plain \\ql \\li0\\ri0\\widctlpar\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0\\pararsid4485 "
           "\\fs24\\lang1033\\langfe1033\\cgrid\\langnp1033\\langfenp1033 {\\f1\\fs20\\cf2\\b\\insrsid7304 Dentist 3pm}"
           "{\\f1\\fs20\\insrsid7304 \\endash  bring card}{\\*\\bkmkstart _Hlk1}{\\*\\bkmkend _Hlk1}}";
}

QList<Sample> all()
{
    return {{"WordPad", wordPad()}, {"Word", word()}, {"LibreOffice", libreOffice()}, {"pasted from Word", pastedFromWord()}};
}

} // namespace rtfsamples
