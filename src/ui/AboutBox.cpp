#include "ui/AboutBox.h"
