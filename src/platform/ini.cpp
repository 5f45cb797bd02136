#include "platform/ini.h"
