#include "ui/Emblem.h"
