// The report globals that utest.h declares, defined once for every program that runs cases.
#include "utest.h"

char utest_printBuffer[256];
char utest_printErrorBuffer[409600]; // starts empty: the cases only ever append to it
int utest_flagTestError;
int utest_lineTestError;
char* utest_fileTestError;
int utest_totalTestsCounter;
int utest_okTestsCounter;
int utest_varAux;
unsigned long long utest_checkCount;
unsigned long long utest_checkDigest;
