// The timer test's sanitizer suppressions (Qt's own hand-overs only).
#include "support/TsanSuppressions.h"
