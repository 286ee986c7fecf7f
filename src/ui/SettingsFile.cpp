#include "ui/SettingsFile.h"
