#include "options/themes.h"

// The appearance and theme commands of the options window.
void themes::connectAppearance() {}
