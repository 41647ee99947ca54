// Resource IDs of the Win32 program (tavrin.rc) and the control IDs of its
// main window, named after the controls.
#pragma once

#define IDI_TAVRIN 1
#define IDI_CLOSE 101
#define IDI_EXTRACT 102
#define IDI_ALLDATA 103
#define IDI_COPY 104
#define IDI_STAYONTOP 105
#define IDI_NORMAL 106
#define IDI_SETTINGS 107
#define IDI_HELP 108
#define IDI_VERSION 109
#define IDI_IMAGE1 110
#define IDI_ROW00 120 /* .. IDI_ROW00 + 10: the row icons */

#define IDB_LOGO 200 /* the version dialog's logo, a bitmap file */

#define IDM_POPUP 300

/* Controls of TfoMAIN */
#define IDC_SBCLOSE 1001
#define IDC_SBEXTRACTRUIJI 1002
#define IDC_SBGETALLDATA 1003
#define IDC_SBCOPYALL 1004
#define IDC_SBSWFORMSTYLE 1005
#define IDC_SBSET 1006
#define IDC_IMGHELP 1007
#define IDC_IMGVERSION 1008
#define IDC_GRADATIONEXPRS1 1011
#define IDC_GRADATIONEXPRS2 1012
#define IDC_GRADATIONEXPRS3 1013
#define IDC_GRADATIONEXPRS4 1014
#define IDC_GRADATIONEXPRS5 1015
#define IDC_LVRESULT 1020
#define IDC_SB 1021
#define IDC_BUTTON1 1022
#define IDC_BUTTON2 1023
#define IDC_MEMO1 1024

/* Items of PopupMenu1 */
#define IDM_PMCOPYALL 2001
#define IDM_PMCOPYSELECT 2002
#define IDM_PMDELETE 2003
#define IDM_PMCOPYNORMALIZED 2004
#define IDM_PMCOPYMAP 2005
#define IDM_PMMAKECANONICAL 2006
#define IDM_PMLEAVEGROUP 2007
#define IDM_PMJOINSELECTED 2008
#define IDM_PMUNDODICTIONARY 2009
