// The same layout checks as c_check.c, compiled as C++ so that the headers stay valid C++ too.
#include "c_check.c"
