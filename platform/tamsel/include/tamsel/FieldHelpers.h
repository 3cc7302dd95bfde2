// Field helpers of the attribute-database library.
#pragma once

#include <dao/DaoFieldInfo.h>

// The number of bytes the attribute database stores for one value of the described field:
// boolean 1, byte 1, integer 2, long 4, single 4, currency 8, double 8, date 8; text the description's
// own size when it is positive, else 50 (the default text length); memo 0 (its length varies).
// Every other type code gives 0.
LONG GetFieldSize(CDaoFieldInfo info);
