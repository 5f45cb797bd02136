#include "support/testenv.h"
