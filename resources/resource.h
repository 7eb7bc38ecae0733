/* Resource identifiers of both programs. */
#pragma once

#define IDI_ORBELIN 1
#define IDI_UNINSTALL 2

#define IDB_POWER 101
#define IDB_LOGO 102
#define IDB_BADGE_CORTONA 111
#define IDB_BADGE_BLAXXUN 112
#define IDB_BADGE_PIVORON 113
#define IDB_BADGE_COSMOPLAYER 114
#define IDB_BADGE_BSCONTACT 115
#define IDB_BADGE_OCTAGA 116
#define IDB_BADGE_FLUX 117
