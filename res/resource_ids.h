#pragma once
// Resource identifiers shared by qijuan.rc and the program.
#define IDI_PROGRAM 1
#define IDB_BANNER 101
#define IDB_HELP 102
