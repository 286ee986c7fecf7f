#include "ui/SystemDesktop.h"
