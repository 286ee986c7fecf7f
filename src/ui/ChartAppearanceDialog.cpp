#include "ui/ChartAppearanceDialog.h"
