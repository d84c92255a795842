// Placeholder translation unit until placement and the search land.
#include "search/solution.h"
