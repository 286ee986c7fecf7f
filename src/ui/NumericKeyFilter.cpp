#include "ui/NumericKeyFilter.h"
