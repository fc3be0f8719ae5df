#pragma once
// Resource ids shared by qijuan.rc and the program's code.

// The program icon: id 1, the lowest, so Explorer shows it for the file.
#define IDI_PROGRAM 1

// The picture strip 图片框底座 (1104 x 90) with the logo.
#define IDB_BANNER 101
// The help picture of 图片疑点说明 (64 x 64), drawn on the strip's background.
#define IDB_HELP 102
