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

#define TEXT_DESCRIPTION "Quelmar 3D Screen Saver"
#define TEXT_INIFILE "Quelmar.ini"
#define TEXT_SECTION "Quelmar 3D ScreenSaver"

#endif
