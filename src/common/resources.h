/* Resource ids and the texts of the string table. Plain #defines: the
   resource script includes this file as well as the C++ code. */
#ifndef QUELMAR_RESOURCES_H
#define QUELMAR_RESOURCES_H

#define IDI_QUELMAR 100
#define IDB_TITLE 102
#define IDB_SHIPNAME 105
#define IDB_WINDOWS 106
#define IDB_CUBE 107
#define IDB_MAKERMARK 108
#define IDB_ARROWSTRIPE 109
#define IDB_CAPTION 110
#define IDB_ENERGYPANEL 111

#define IDS_DESCRIPTION 1
#define IDS_INIFILE 1001
#define IDS_SECTION 1007

#define IDD_SETTINGS 2003
/* The settings dialog's controls: four scroll bars, three radio buttons. */
#define IDC_STARS 1000
#define IDC_WARPLINES 1004
#define IDC_CAMERAPAUSE 1006
#define IDC_WARPPAUSE 1007
#define IDC_DETAIL_HIGH 1013
#define IDC_DETAIL_LOW 1014
#define IDC_DETAIL_NONE 1015

#define TEXT_DESCRIPTION "Quelmar 3D Screen Saver"
#define TEXT_INIFILE "Quelmar.ini"
#define TEXT_SECTION "Quelmar 3D ScreenSaver"

#endif
