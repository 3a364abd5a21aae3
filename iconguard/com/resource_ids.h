#pragma once
// Resource identifiers shared by Corvane.rc and the code.

#define IDR_CORVANEEXT 101
#define IDS_PROJNAME 100
#define IDI_BLOCKED 202
