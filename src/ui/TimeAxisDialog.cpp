#include "ui/TimeAxisDialog.h"
